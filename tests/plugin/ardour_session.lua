-- Ardour's headless session tool (ardour7-lua) with the instrument: a new session on JACK, a MIDI
-- track with "Zelmar" on it, a region recorded from the JACK MIDI client ZELMAR_KEYBOARD, played
-- back and exported to ZELMAR_EXPORT/zelmar.wav. Paths and names come from the environment.
local session_folder = os.getenv("ZELMAR_SESSION")
local keyboard = os.getenv("ZELMAR_KEYBOARD")
local export_folder = os.getenv("ZELMAR_EXPORT")
local rate = 44100

local function wait_until(condition, seconds)
  for _ = 1, seconds * 10 do
    if condition() then return true end
    ARDOUR.LuaAPI.usleep(100000)
  end
  return condition()
end

AudioEngine:set_backend("JACK", "", "")
assert(create_session(session_folder, "zelmar", rate), "no session")

local instrument = ARDOUR.LuaAPI.new_plugin_info("urn:zelmar:instrument", ARDOUR.PluginType.LV2)
assert(not instrument:isnil(), "Ardour does not find urn:zelmar:instrument")
local tracks = Session:new_midi_track(ARDOUR.ChanCount(ARDOUR.DataType("midi"), 1),
  ARDOUR.ChanCount(ARDOUR.DataType("audio"), 2), true, instrument, nil, nil, 1, "Synth",
  ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true, false)
local track = tracks:front()
print("plugin on the track: " .. track:nth_plugin(0):name())

-- Record the keyboard's notes into a region.
local input = track:input():midi(0)
assert(input:connect(keyboard) == 0, "cannot connect " .. keyboard)
track:rec_enable_control():set_value(1, PBD.GroupControlDisposition.NoGroup)
Session:maybe_enable_record(false)
Session:request_roll(ARDOUR.TransportRequestSource.TRS_UI)
assert(wait_until(function() return Session:actively_recording() end, 10), "not recording")
ARDOUR.LuaAPI.usleep(2500000)
Session:request_stop(false, false, ARDOUR.TransportRequestSource.TRS_UI)
assert(wait_until(function() return not Session:transport_rolling() end, 10), "still rolling")
input:disconnect_all()
track:rec_enable_control():set_value(0, PBD.GroupControlDisposition.NoGroup)
local playlist = track:to_track():playlist()
assert(wait_until(function() return playlist:region_list():size() == 1 end, 10), "no region")
for region in playlist:region_list():iter() do
  print(string.format("region %s from %d, %d samples", region:name(), region:position():samples(),
    region:length():samples()))
end

-- Play the region back into a file.
local export = Session:simple_export()
export:set_folder(export_folder)
export:set_name("zelmar")
export:set_range(0, 2 * rate)
assert(export:check_outputs(), "nothing to export")
assert(export:run_export(), "the export failed")
Session:save_state("", false, false, false, false, false)
print("exported")
