// One sound as the plugin plays it: the document read from the sound's text, bound and prepared
// as the offline runner does it, with every speaker in the direct mode aimed at a buffer of its
// own and mixed to the stereo output (a mono speaker to both channels, a stereo speaker to its
// two) and converted to the host's rate, every MIDI input listening to the host, and the Panel
// faders that the controls drive. A sound starts with a converter of its own, so that it plays
// the same samples whenever it starts, in a fresh instance or after another sound.
// Loaded and destroyed outside the audio thread under the model lock (LoadPluginSound,
// DisposePluginSound); the audio thread only renders it and moves its faders.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/offline_runner.h"
#include "engine/speaker_kernels.h"
#include "patch/dokument_klang.h"
#include "platform/resampled_output.h"
#include "plugin/midi_schedule.h"
#include "plugin/panel_faders.h"
#include "plugin/plugin_devices.h"

class TPluginSound {
 public:
  // The model lock must be held (the document counts its sounds). `hostRate` in hertz.
  explicit TPluginSound(unsigned hostRate);
  // The model lock must be held.
  ~TPluginSound() = default;
  TPluginSound(const TPluginSound&) = delete;
  TPluginSound& operator=(const TPluginSound&) = delete;

  // Reads the sound from `text` and binds it; the model lock must be held. False, with `error`
  // saying why, when the text is no readable sound or the engine cannot take it. `notes` gets
  // what the model would have shown the user (dropped wires and the like).
  bool Load(const std::string& text, std::string& error, std::string& notes);

  // Audio thread: `frames` frames at the host's rate into `left` and `right`, 1.0 the output's
  // full scale (16 times a speaker's). Each event of `midi` reaches the MIDI inputs just before
  // the engine sample it is due at.
  void Play(float* left, float* right, std::uint32_t frames, TMidiSchedule& midi);
  // Audio thread: the control of the `index`-th Panel fader (0 based) is at `position` (0..1).
  void SetFader(int index, double position);

  // The sound's text as the program saves it.
  const std::string& Text() const { return text_; }
  // Engine samples computed since the sound was bound.
  std::int64_t SamplesComputed() const { return runner_.SamplesComputed(); }
  // Speakers that play: none leaves the sound silent.
  std::size_t SpeakerCount() const { return monoSpeakers_ + stereoSpeakers_; }
  // False when the converter to the host's rate could not be set up.
  bool CanConvert() const { return output_.IsReady(); }

 private:
  struct SFaderRecord {
    std::int32_t* value = nullptr;  // the constant's record, engine units
    std::int32_t lower = 0;
    std::int32_t upper = 0;
  };

  // 44100 Hz frames computed at once: the converter's pulls.
  static constexpr std::uint32_t kMaxFrames = TResampledOutputOf<float>::kMaxPullFrames;
  // Host frames converted at once.
  static constexpr std::uint32_t kSliceFrames = 256;

  bool Bind(std::string& error);
  void FindFaders();
  // `frames` 44100 Hz stereo frames (even, at most kMaxFrames) into `out`, interleaved.
  void Render(float* out, std::uint32_t frames);
  void DeliverMidi(std::int64_t sampleIndex);
  void Mix(float* out, std::uint32_t frames) const;

  // The devices outlive the document, whose modules hold them open.
  SPluginDevices devices_;
  TDokumentKlang document_;
  TOfflineRunner runner_{document_.Engine()};
  std::string text_;
  TWorkLautsprecher* monoKernel_ = nullptr;
  TWorkLautsprecherStereo* stereoKernel_ = nullptr;
  std::size_t monoSpeakers_ = 0;
  std::size_t stereoSpeakers_ = 0;
  // kMaxFrames frames per speaker, one speaker after the other.
  std::vector<std::int16_t> monoFrames_;
  std::vector<std::int16_t> stereoFrames_;
  std::array<SFaderRecord, kFaderControls> faders_{};
  TResampledOutputOf<float> output_;
  std::array<float, 2 * kSliceFrames> interleaved_{};
  // The schedule of the Play under way.
  TMidiSchedule* midi_ = nullptr;
  const TOfflineRunner::TSampleHook deliverMidi_ = [this](std::int64_t index) {
    DeliverMidi(index);
  };
};

// Makes and loads a sound under the model lock; null, with `error` saying why, when it cannot
// be read or bound.
std::unique_ptr<TPluginSound> LoadPluginSound(const std::string& text, unsigned hostRate,
                                              std::string& error, std::string& notes);
// Destroys a sound under the model lock.
void DisposePluginSound(std::unique_ptr<TPluginSound> sound);
