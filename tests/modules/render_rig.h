// Runs a sound document offline through the file devices, as the headless renderer does: a WAV
// file takes what the speaker plays, a WAV file (optional) is the microphone's recording and a
// list of timed MIDI messages is MIDI input device 0. The WAV output device plays two frames per
// engine sample, so the speaker's clock follows the engine exactly.
//
// The rig owns the document it renders, so that the sound is stopped before the document goes
// and the document's modules close their devices before the devices go.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "engine/device_services.h"
#include "engine/midi_in_file_device.h"
#include "engine/offline_runner.h"
#include "patch/dokument_klang.h"

class TWavFileInDevice;
class TWavFileOutDevice;

// What the speaker wrote: 44100 Hz frames as they stand in the file.
struct SRenderedSound {
  std::uint16_t channels = 0;         // 0 when no speaker played
  std::vector<std::int16_t> samples;  // interleaved when stereo
  std::size_t leadFrames = 0;         // silence ahead of engine sample 0 (the output latency)

  std::size_t FrameCount() const { return channels == 0 ? 0 : samples.size() / channels; }
  // Engine samples the file holds after the lead.
  std::size_t EngineSampleCount() const;
  // The value written for engine sample `index` on `channel` (the second frame of its pair: the
  // first one is the midpoint to the previous sample). Renders shorter than about 1.6 s keep this
  // exact; later the speaker skips one sample at each change of its 1.8 s buffers.
  std::int16_t EngineSample(std::size_t index, int channel = 0) const;
};

class TRenderRig {
 public:
  explicit TRenderRig(std::vector<SMidiInEvent> midi = {}, std::filesystem::path recording = {});
  ~TRenderRig();
  TRenderRig(const TRenderRig&) = delete;
  TRenderRig& operator=(const TRenderRig&) = delete;

  // The sound the rig plays; build the patch in its module list.
  TDokumentKlang& Document() { return *document_; }

  // Start, Run and Finish in one.
  SRenderedSound Render(std::int64_t samples);

  // Opens the document's devices as loading a sound does (tree message 0), re-validates the
  // patch and binds the sound. Returns the engine's start result (0 when started).
  int Start();
  // Computes `samples` more samples; the MIDI messages due are delivered before each one.
  void Run(std::int64_t samples);
  // Lets the device play out what the speaker wrote ahead, stops the sound, closes the speakers
  // (which completes the file) and returns what was written.
  SRenderedSound Finish();

  TMidiInFileDevice& Midi() { return *midi_; }
  const std::filesystem::path& OutputPath() const { return output_; }
  std::int64_t SamplesComputed() const { return runner_ ? runner_->SamplesComputed() : 0; }

 private:
  class TMidiDevices;

  std::filesystem::path output_;
  std::unique_ptr<TWavFileOutDevice> waveOut_;
  std::unique_ptr<TWavFileInDevice> waveIn_;
  std::unique_ptr<TMidiInFileDevice> midi_;
  std::unique_ptr<TMidiDevices> midiDevices_;
  SDeviceServices previous_;
  std::unique_ptr<TDokumentKlang> document_;
  std::unique_ptr<TOfflineRunner> runner_;
};
