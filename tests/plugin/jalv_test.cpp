// The plugin in a real host on the JACK fixture of the device tests: jalv loads it with a state
// directory that holds a sound (saved by lilv from an instance that had chosen the sound's file,
// which is gone by then), a JACK MIDI client plays a note into it, and a JACK recorder hears the
// note at its pitch.
#include <fcntl.h>
#include <jack/jack.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "tests/devices/jack_test_clients.h"
#include "tests/devices/program_process.h"
#include "tests/plugin/lv2_test_host.h"
#include "tests/plugin/test_sounds.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/tone_frequency.h"

namespace {

using namespace std::chrono_literals;

// Saves the state of an instance that played `sound` into the folder `directory`, as a host
// saves a project's plugin.
void SaveStateDirectory(const std::filesystem::path& sound,
                        const std::filesystem::path& directory) {
  TLv2World& world = TLv2World::Get();
  TTestInstrument instrument(48000);
  instrument.ChooseFile(sound.string());
  instrument.Run(64, 64);
  LilvState* state = instrument.Save();
  ASSERT_NE(state, nullptr);
  EXPECT_EQ(lilv_state_save(world.World(), world.MapFeature(), world.UnmapFeature(), state, nullptr,
                            directory.c_str(), "state.ttl"),
            0);
  lilv_state_free(state);
}

// A JACK client that only wires other clients' ports.
class TJackWiring {
 public:
  TJackWiring()
      : client_(jack_client_open(OwnClientName("wiring").c_str(), JackNoStartServer, nullptr)) {}
  ~TJackWiring() {
    if (client_ != nullptr) jack_client_close(client_);
  }
  bool IsOpen() const { return client_ != nullptr; }
  bool HasPort(const std::string& name) const {
    return jack_port_by_name(client_, name.c_str()) != nullptr;
  }
  bool Connect(const std::string& from, const std::string& to) {
    return jack_connect(client_, from.c_str(), to.c_str()) == 0;
  }

 private:
  jack_client_t* client_;
};

class JalvTest : public TScratchFolderTest {};

TEST_F(JalvTest, PlaysANoteFromAStateDirectoryAtItsPitch) {
  for (const unsigned rate : {44100U, 48000U}) {
    SCOPED_TRACE(rate);
    // The fixture's server at 44100 Hz is the default one; the others are named after it.
    const char* fixture = std::getenv("JACK_DEFAULT_SERVER");
    const TJackServerChoice server(rate == 44100 && fixture != nullptr ? fixture
                                                                       : JackServerAt(rate));
    const std::filesystem::path sound = WriteSound(folder, "sine.zmr", KeyboardSineSound());
    const std::filesystem::path state = folder / "state";
    SaveStateDirectory(sound, state);
    std::filesystem::remove(sound);

    // jalv reads commands from its standard input and ends at its end: a pipe held open.
    const std::filesystem::path commands = folder / "commands";
    ASSERT_EQ(mkfifo(commands.c_str(), 0600), 0);
    const int keepOpen = open(commands.c_str(), O_RDWR);
    const std::string name = OwnClientName("jalv");
    TProgramProcess jalv("/usr/bin/jalv", {"-x", "-n", name, "-l", state.string(), kPluginUri},
                         folder / "jalv.log", commands);
    ASSERT_TRUE(jalv.Started());

    TJackWiring wiring;
    ASSERT_TRUE(wiring.IsOpen());
    ASSERT_TRUE(WaitUntil([&] { return wiring.HasPort(name + ":out_l"); }, 10s)) << jalv.Output();
    TJackKeyboard keyboard(OwnClientName("keyboard"));
    const TJackRecorder recorder(OwnClientName("recorder"), 1, 3 * rate);
    ASSERT_TRUE(wiring.Connect(keyboard.name() + ":out", name + ":control"));
    ASSERT_TRUE(wiring.Connect(name + ":out_l", recorder.name() + ":in_1"));

    std::this_thread::sleep_for(200ms);
    ASSERT_TRUE(keyboard.Send({0x90, 69, 100}));
    ASSERT_TRUE(WaitUntil([&] { return recorder.Recorded() >= 2 * rate; }, 10s));
    const std::vector<int> recorded = recorder.Samples(0, 2 * rate);
    EXPECT_NEAR(ToneFrequency(recorded, 0, recorded.size(), 100, rate), 440.0, 440.0 * 0.005)
        << jalv.Output();
    EXPECT_EQ(jalv.Output().find("zelmar:"), std::string::npos) << jalv.Output();
    jalv.Stop();
    close(keepOpen);
    std::filesystem::remove_all(state);
    std::filesystem::remove(commands);
  }
}

}  // namespace
