// A work object computes one work type (a sine oscillator, an adder, a speaker, ...) for every
// module and voice of that type in a playing sound. Its records lie contiguously inside the
// sound's one record block; per engine sample the engine thread makes one virtual call,
// ProcessSample, and the kernel walks the records with a plain pointer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>

class TEngineModule;

// Signal conventions shared by every kernel: values are signed 32-bit integers; audio spans
// -2048..+2048 and an amplitude of 2048 is unity (product shifted right by 11); frequencies are
// hertz x 1024; the engine runs at 22050 samples per second.
inline constexpr std::int32_t kEngineSampleRate = 22050;
inline constexpr std::int32_t kAmplitudeShift = 11;

class TWorkBasisklassen {
 public:
  virtual ~TWorkBasisklassen() = default;

  // Stores `value` for `module` (used by the constant type only); other types ignore it.
  virtual int SetValue(int index, const TEngineModule* module, std::int32_t value, int extra);
  virtual void SetSampleRate(std::int32_t rate);
  // Size in bytes of one record of this type.
  virtual std::size_t GetRecordSize() const;
  // False for types whose records are storage written by other threads only.
  virtual bool NeedsProcessing() const;
  // Engine thread, before the first sample.
  virtual void Prepare();
  // Engine thread: one sample for every record, from the last record down to the first.
  virtual void ProcessSample();
  // Once when the sound stops.
  virtual void StopWork();

  // Adds `module` with `count` records; false (and nothing changes) when it is already there.
  bool RegisterModule(const TEngineModule* module, int count);
  void ClearModules();
  int GetRecordCount() const;
  // Address of the record of `module` for `voice`, or null when the module is not registered.
  // A module's records are consecutive, voice 0 first; modules follow in registration order.
  void* GetRecord(const TEngineModule* module, int voice) const;

  // First record inside the record block; null while stopped or without records.
  std::byte* records = nullptr;

 private:
  struct SEntry {
    int count;
    int firstIndex;
  };
  // Registration order gives a layout that is the same on every run of the same sound.
  std::map<const TEngineModule*, SEntry> moduleTable_;
  int recordCount_ = 0;
};

// Base of the kernels: typed access to the records of one work type.
template <class Record>
class TWorkRecords : public TWorkBasisklassen {
 public:
  std::size_t GetRecordSize() const override { return sizeof(Record); }
  void Prepare() override {
    firstRecord = reinterpret_cast<Record*>(records);
    lastRecord = firstRecord + (GetRecordCount() - 1);
  }

  Record* firstRecord = nullptr;
  Record* lastRecord = nullptr;
};
