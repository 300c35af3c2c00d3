#include "plugin/host_features.h"

#include <lv2/atom/atom.h>
#include <lv2/midi/midi.h>
#include <lv2/patch/patch.h>

#include <cstring>

namespace {

SInstrumentUris MapUris(LV2_URID_Map& map) {
  const auto id = [&map](const char* uri) { return map.map(map.handle, uri); };
  SInstrumentUris uris;
  uris.atomString = id(LV2_ATOM__String);
  uris.atomLiteral = id(LV2_ATOM__Literal);
  uris.atomPath = id(LV2_ATOM__Path);
  uris.atomObject = id(LV2_ATOM__Object);
  uris.atomUrid = id(LV2_ATOM__URID);
  uris.midiEvent = id(LV2_MIDI__MidiEvent);
  uris.patchSet = id(LV2_PATCH__Set);
  uris.patchProperty = id(LV2_PATCH__property);
  uris.patchValue = id(LV2_PATCH__value);
  uris.sound = id(kSoundStateUri);
  uris.soundFile = id(kSoundFileUri);
  return uris;
}

}  // namespace

bool ReadHostFeatures(const LV2_Feature* const* features, SHostFeatures& host,
                      std::string& missing) {
  LV2_Log_Log* log = nullptr;
  for (const LV2_Feature* const* feature = features; feature != nullptr && *feature != nullptr;
       ++feature) {
    const char* uri = (*feature)->URI;
    void* data = (*feature)->data;
    if (std::strcmp(uri, LV2_URID__map) == 0) host.map = static_cast<LV2_URID_Map*>(data);
    if (std::strcmp(uri, LV2_WORKER__schedule) == 0)
      host.worker = static_cast<LV2_Worker_Schedule*>(data);
    if (std::strcmp(uri, LV2_LOG__log) == 0) log = static_cast<LV2_Log_Log*>(data);
  }
  lv2_log_logger_init(&host.logger, host.map, log);
  if (host.map == nullptr) {
    missing = LV2_URID__map;
    return false;
  }
  if (host.worker == nullptr) {
    missing = LV2_WORKER__schedule;
    return false;
  }
  host.uris = MapUris(*host.map);
  return true;
}
