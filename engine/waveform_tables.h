// The five one-cycle waveform tables every oscillator reads. A table holds one entry per engine
// sample of one second, so a phase increment of hertz x 1024 plays it at that frequency. The
// document builds them once, with its sample rate as the length, and hands their addresses to
// the generator records at binding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// Wave codes a generator module stores to pick its table.
enum EWaveCode : int {
  kWaveSinus = 0,
  kWaveDreieck = 1,
  kWaveRechteck = 2,
  kWaveSaegezahn = 3,
  kWaveRauschen = 4,
};
inline constexpr int kWaveCodeCount = 5;

// A heap block of table entries with its size in bytes; the derived classes fill it.
// Entries are audio values (about -2048..+2048).
class TWorkWellenSpeicher {
 public:
  explicit TWorkWellenSpeicher(int length);
  TWorkWellenSpeicher(const TWorkWellenSpeicher&) = delete;
  TWorkWellenSpeicher& operator=(const TWorkWellenSpeicher&) = delete;

  const std::int32_t* Data() const { return data_.get(); }
  int Length() const { return static_cast<int>(size_ / sizeof(std::int32_t)); }
  std::size_t Size() const { return size_; }

 protected:
  std::int32_t* Entries() { return data_.get(); }

 private:
  std::unique_ptr<std::int32_t[]> data_;
  std::size_t size_;  // bytes
};

// trunc(2048 sin(2 pi i / N) + 0.5).
class TWorkSinusSpeicher : public TWorkWellenSpeicher {
 public:
  explicit TWorkSinusSpeicher(int length);
};

// Falls from 2048 over the first half, then rises again from -2048.
class TWorkDreieckSpeicher : public TWorkWellenSpeicher {
 public:
  explicit TWorkDreieckSpeicher(int length);
};

// +2048 for the first half, -2048 for the rest.
class TWorkRechteckSpeicher : public TWorkWellenSpeicher {
 public:
  explicit TWorkRechteckSpeicher(int length);
};

// A rising ramp from -2047 to 2048.
class TWorkSaegezahnSpeicher : public TWorkWellenSpeicher {
 public:
  explicit TWorkSaegezahnSpeicher(int length);
};

// -2048..2047 from the C library's rand(); whoever wants a different table per run seeds it.
class TWorkRauschSpeicher : public TWorkWellenSpeicher {
 public:
  explicit TWorkRauschSpeicher(int length);
};

class TWaveformTables {
 public:
  // `length` is the engine sample rate: one cycle spans one second of samples.
  explicit TWaveformTables(int length);

  // The table of `waveCode` (EWaveCode), or null for any other code.
  const std::int32_t* Table(int waveCode) const;
  int Length() const { return sinus_.Length(); }

 private:
  TWorkSinusSpeicher sinus_;
  TWorkDreieckSpeicher dreieck_;
  TWorkRechteckSpeicher rechteck_;
  TWorkSaegezahnSpeicher saegezahn_;
  TWorkRauschSpeicher rausch_;
};
