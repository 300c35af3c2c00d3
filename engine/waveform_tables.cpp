#include "engine/waveform_tables.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

constexpr double kFullScale = 2048.0;

// Rounds half up for positive values; the cast truncates toward zero, so -2047.5 gives -2047.
// NOLINTNEXTLINE(bugprone-incorrect-roundings): the header's table formula; renders rely on it.
std::int32_t RoundedEntry(double value) { return static_cast<std::int32_t>(value + 0.5); }

// Stores `count` entries starting at `start`, each `step` above the last; the value is
// accumulated entry by entry so that the tables carry the same rounding on every build.
void FillRamp(std::int32_t* entries, int count, double start, double step) {
  double value = start;
  for (int i = 0; i < count; ++i) {
    entries[i] = RoundedEntry(value);
    value += step;
  }
}

}  // namespace

TWorkWellenSpeicher::TWorkWellenSpeicher(int length)
    : data_(std::make_unique<std::int32_t[]>(static_cast<std::size_t>(length))),
      size_(static_cast<std::size_t>(length) * sizeof(std::int32_t)) {}

TWorkSinusSpeicher::TWorkSinusSpeicher(int length) : TWorkWellenSpeicher(length) {
  for (int i = 0; i < length; ++i) {
    Entries()[i] = RoundedEntry(kFullScale * std::sin(2.0 * std::numbers::pi * i / length));
  }
}

TWorkDreieckSpeicher::TWorkDreieckSpeicher(int length) : TWorkWellenSpeicher(length) {
  const int half = length / 2;
  const double step = 4.0 * kFullScale / length;
  FillRamp(Entries(), half, kFullScale, -step);
  FillRamp(Entries() + half, length - half, -kFullScale, step);
}

TWorkRechteckSpeicher::TWorkRechteckSpeicher(int length) : TWorkWellenSpeicher(length) {
  const int half = length / 2;
  for (int i = 0; i < length; ++i)
    Entries()[i] = i < half ? 2048 : -2048;
}

TWorkSaegezahnSpeicher::TWorkSaegezahnSpeicher(int length) : TWorkWellenSpeicher(length) {
  FillRamp(Entries(), length, -kFullScale, 2.0 * kFullScale / length);
}

TWorkRauschSpeicher::TWorkRauschSpeicher(int length) : TWorkWellenSpeicher(length) {
  for (int i = 0; i < length; ++i)
    Entries()[i] = std::rand() % 4096 - 2048;
}

TWaveformTables::TWaveformTables(int length)
    : sinus_(length), dreieck_(length), rechteck_(length), saegezahn_(length), rausch_(length) {}

const std::int32_t* TWaveformTables::Table(int waveCode) const {
  switch (waveCode) {
    case kWaveSinus:
      return sinus_.Data();
    case kWaveDreieck:
      return dreieck_.Data();
    case kWaveRechteck:
      return rechteck_.Data();
    case kWaveSaegezahn:
      return saegezahn_.Data();
    case kWaveRauschen:
      return rausch_.Data();
    default:
      return nullptr;
  }
}
