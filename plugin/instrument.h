// One instance of the LV2 instrument: the host's ports, the sound that plays and the hand-overs
// between the host's threads. The audio thread (Run, WorkResponse) renders the current sound and
// swaps a newly loaded one in between two blocks; the worker (Work) loads sound files and
// destroys the sounds that were swapped out; the state (Save, Restore) is the sound's whole text.
// Nothing that the audio thread calls allocates, takes a lock or waits.
#pragma once

#include <lv2/atom/atom.h>
#include <lv2/state/state.h>
#include <lv2/worker/worker.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "plugin/host_features.h"
#include "plugin/midi_schedule.h"
#include "plugin/panel_faders.h"

class TPluginSound;

class TInstrument {
 public:
  // The host rates the output is converted to.
  static constexpr double kLowestRate = 44100;
  static constexpr double kHighestRate = 192000;
  // The port indexes of the plugin's description: the atom input (MIDI and patch messages), the
  // two audio outputs and the controls "Fader 1" to "Fader 16".
  static constexpr std::uint32_t kControlPort = 0;
  static constexpr std::uint32_t kLeftPort = 1;
  static constexpr std::uint32_t kRightPort = 2;
  static constexpr std::uint32_t kFirstFaderPort = 3;
  // The sound an instance plays before it is given one, in its bundle.
  static constexpr char kDefaultSound[] = "default.zmr";

  // Starts with the bundle's default sound (silent when it cannot be read). `rate` must lie in
  // kLowestRate..kHighestRate.
  TInstrument(double rate, const std::string& bundlePath, const SHostFeatures& host);
  ~TInstrument();
  TInstrument(const TInstrument&) = delete;
  TInstrument& operator=(const TInstrument&) = delete;

  void ConnectPort(std::uint32_t port, void* data);
  // Audio thread.
  void Run(std::uint32_t frames);

  // Worker: loads a sound file, or destroys a sound that was swapped out.
  LV2_Worker_Status Work(LV2_Worker_Respond_Function respond, LV2_Worker_Respond_Handle handle,
                         std::uint32_t size, const void* data);
  // Audio thread, between two blocks: the sound the worker loaded plays from the next block on.
  LV2_Worker_Status WorkResponse(std::uint32_t size, const void* data);

  // Any thread but the audio thread; may run during Run.
  LV2_State_Status Save(LV2_State_Store_Function store, LV2_State_Handle handle);
  // While nothing else runs on the instance. A sound that cannot be read leaves the one that
  // plays; a state without a sound brings the default sound back.
  LV2_State_Status Restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle);

 private:
  // Sounds swapped out whose disposal the worker could not take yet.
  static constexpr std::size_t kMaxWaitingDisposals = 8;

  bool LoadFile(const std::string& path, std::unique_ptr<TPluginSound>& sound);
  void Play(std::unique_ptr<TPluginSound> sound);
  TPluginSound* Swap(TPluginSound* sound);
  void DisposeLater(TPluginSound* sound);
  void HandOverDisposals();
  void Dispose(TPluginSound* sound);
  std::int64_t EngineSampleAt(std::int64_t hostFrame) const;
  void ReadControl(std::uint32_t frames);
  void ReadMidi(const LV2_Atom_Event& event, std::uint32_t frames);
  void ReadPatch(const LV2_Atom_Object& object);
  void MoveFaders();

  const unsigned rate_;  // hertz
  const std::string bundlePath_;
  SHostFeatures host_;
  const LV2_Atom_Sequence* control_ = nullptr;
  float* left_ = nullptr;
  float* right_ = nullptr;
  std::array<const float*, kFaderControls> faders_{};

  // Written by the audio thread (and by Restore); Save reads it under soundLock_, under which
  // the worker destroys swapped-out sounds.
  std::atomic<TPluginSound*> sound_{nullptr};
  std::mutex soundLock_;

  // The audio thread only.
  TMidiSchedule midi_;
  // Host frames since the current sound began, and how many engine samples the sound ran ahead
  // of them at most (what the conversion holds; none at 44100 Hz): events are filed that much
  // later, so that each sounds at the same distance from its frame.
  std::int64_t hostFrames_ = 0;
  std::int64_t lead_ = 0;
  std::array<float, kFaderControls> faderPositions_{};
  bool fadersChanged_ = true;
  std::array<TPluginSound*, kMaxWaitingDisposals> waitingDisposals_{};
};
