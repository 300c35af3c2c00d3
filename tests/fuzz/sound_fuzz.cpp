// Reads arbitrary bytes as a sound file and renders a few hundred samples of it through the
// headless renderer, with one note played from a MIDI file: reading, activation, binding across
// macro boundaries and every kernel that binding reached. Any crash or sanitizer report is a
// fault; a refused sound is a fine answer.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "cli/headless_renderer.h"
#include "engine/midi_file.h"
#include "platform/message_box.h"

namespace {

namespace fs = std::filesystem;

class TQuietPresenter : public TMessagePresenter {
 public:
  TMessageAnswer Present(QWidget*, const SMessage&) override { return TMessageAnswer::Ok; }
};

// The renderer reads files, so each input goes through one of this process's own.
struct SFiles {
  SFiles()
      : folder(fs::temp_directory_path() / ("zelmar-sound-fuzz-" + std::to_string(::getpid()))) {
    fs::create_directories(folder);
    const auto bytes = EncodeMidiFile({{0, 0x90, 60, 100}, {60, 0x80, 60, 0}}, 480, 500000);
    std::ofstream(folder / "note.mid", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  fs::path folder;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const SFiles files;
  static TQuietPresenter quiet;
  SetMessagePresenter(&quiet);
  SRenderRequest request;
  request.sound = files.folder / "sound.zmr";
  request.output = files.folder / "out.wav";
  request.midi = files.folder / "note.mid";
  request.seconds = 300.0 / 22050.0;
  request.seed = 1;
  std::ofstream(request.sound, std::ios::binary)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  SRenderSummary summary;
  std::string error;
  RenderSound(request, summary, error);
  return 0;
}
