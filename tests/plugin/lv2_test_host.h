// A host for the plugin's tests that loads it as real hosts do: lilv finds the bundle on LV2_PATH
// (set to the build's lv2 folder), and each instance gets a URID map, a
// log that keeps what the plugin says, and a worker that does the scheduled work after each block
// and hands the answers back before the next, as a host rendering faster than real time does.
#pragma once

#include <lilv/lilv.h>
#include <lv2/atom/forge.h>
#include <lv2/log/log.h>
#include <lv2/urid/urid.h>
#include <lv2/worker/worker.h>

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

inline constexpr char kPluginUri[] = "urn:zelmar:instrument";

// Points lilv in this process, and the hosts it starts, at the build's bundle.
void UseTheBuildsBundle();

// The lilv world with the plugin, and the URID map that every instance of the process shares.
class TLv2World {
 public:
  static TLv2World& Get();

  LilvWorld* World() const { return world_; }
  // Null when the bundle is not on LV2_PATH.
  const LilvPlugin* Plugin() const { return plugin_; }
  LV2_URID Map(const char* uri);
  const char* Unmap(LV2_URID urid);
  LV2_URID_Map* MapFeature() { return &map_; }
  LV2_URID_Unmap* UnmapFeature() { return &unmap_; }

 private:
  TLv2World();

  LilvWorld* world_ = nullptr;
  const LilvPlugin* plugin_ = nullptr;
  std::mutex lock_;
  std::vector<std::string> uris_;
  LV2_URID_Map map_;
  LV2_URID_Unmap unmap_;
};

struct SStereo {
  std::vector<float> left;
  std::vector<float> right;
};

// One instance of the plugin with its ports.
class TTestInstrument {
 public:
  explicit TTestInstrument(double rate);
  ~TTestInstrument();
  TTestInstrument(const TTestInstrument&) = delete;
  TTestInstrument& operator=(const TTestInstrument&) = delete;

  bool IsOpen() const { return instance_ != nullptr; }

  // A MIDI message at `frame`, counted from the start of the next Run.
  void Midi(std::size_t frame, std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
  // A patch message choosing the sound file at `path`, at the start of the next Run.
  void ChooseFile(const std::string& path);
  // Control "Fader n" (1..16).
  void SetFader(int n, float value) { faders_[static_cast<std::size_t>(n - 1)] = value; }
  // Runs `frames` frames in blocks of `block` frames (the last may be shorter), doing the
  // worker's jobs after each block.
  SStereo Run(std::size_t frames, std::size_t block);

  // What the plugin logged.
  std::string Log();
  // The plugin's state, without the port values; the caller frees it with lilv_state_free.
  LilvState* Save();
  void Restore(const LilvState* state);

 private:
  struct SEvent {
    std::size_t frame;
    std::vector<std::uint8_t> midi;  // empty: a patch message choosing `path`
    std::string path;
  };
  void WriteEvents(std::size_t from, std::size_t frames);
  void DoWork();
  static LV2_Worker_Status Schedule(LV2_Worker_Schedule_Handle handle, std::uint32_t size,
                                    const void* data);
  static LV2_Worker_Status Respond(LV2_Worker_Respond_Handle handle, std::uint32_t size,
                                   const void* data);
  static int LogPrintf(LV2_Log_Handle handle, LV2_URID type, const char* format, ...);
  static int LogVprintf(LV2_Log_Handle handle, LV2_URID type, const char* format, va_list args);

  TLv2World& world_;
  LV2_Worker_Schedule schedule_{this, Schedule};
  LV2_Log_Log log_{this, LogPrintf, LogVprintf};
  std::array<LV2_Feature, 3> featureList_;
  std::array<const LV2_Feature*, 4> features_;
  LilvInstance* instance_ = nullptr;
  const LV2_Worker_Interface* worker_ = nullptr;

  LV2_Atom_Forge forge_;
  std::vector<std::uint64_t> control_;  // atom buffer, 8-byte aligned
  std::vector<float> left_;
  std::vector<float> right_;
  std::array<float, 16> faders_;
  std::vector<SEvent> events_;
  std::vector<std::vector<std::uint8_t>> jobs_;
  std::vector<std::vector<std::uint8_t>> responses_;
  std::mutex logLock_;
  std::string logText_;
};

// Counts the allocations made through operator new by the calling thread (the host's audio
// thread) between Start and Stop; the test program replaces the global operators, so the
// plugin's allocations are counted too.
namespace allocation_count {
void Start();
// The allocations since Start; counting stops.
std::size_t Stop();
// Not counted while alive: the host's own work, and the worker's, on the counting thread.
class TPause {
 public:
  TPause();
  ~TPause();

 private:
  bool was_;
};
}  // namespace allocation_count
