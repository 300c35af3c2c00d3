#include "engine/waveform_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "engine/work_object.h"

namespace {

class WaveformTablesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::srand(1);
    tables_ = new TWaveformTables(kEngineSampleRate);
  }
  static void TearDownTestSuite() { delete tables_; }
  static const std::int32_t* Table(int code) { return tables_->Table(code); }
  static inline TWaveformTables* tables_ = nullptr;
};

struct SEntryCase {
  int waveCode;
  int index;
  std::int32_t value;
};

TEST_F(WaveformTablesTest, SpotEntries) {
  const SEntryCase cases[] = {
      {kWaveSinus, 0, 0},
      {kWaveSinus, 5512, 2048},
      {kWaveSinus, 16537, -2047},
      {kWaveDreieck, 0, 2048},
      {kWaveDreieck, 11024, -2047},
      {kWaveDreieck, 11025, -2047},
      {kWaveDreieck, 22049, 2048},
      {kWaveRechteck, 0, 2048},
      {kWaveRechteck, 11024, 2048},
      {kWaveRechteck, 11025, -2048},
      {kWaveRechteck, 22049, -2048},
      {kWaveSaegezahn, 0, -2047},
      {kWaveSaegezahn, 11025, 0},
      {kWaveSaegezahn, 22049, 2048},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Table(c.waveCode)[c.index], c.value) << "wave " << c.waveCode << " entry " << c.index;
  }
}

TEST_F(WaveformTablesTest, RangesOfEveryTable) {
  struct SRange {
    int waveCode;
    std::int32_t low, high;
  };
  // Negative entries round toward zero after adding one half, so no smooth table reaches -2048.
  const SRange ranges[] = {{kWaveSinus, -2047, 2048},
                           {kWaveDreieck, -2047, 2048},
                           {kWaveRechteck, -2048, 2048},
                           {kWaveSaegezahn, -2047, 2048},
                           {kWaveRauschen, -2048, 2047}};
  for (const auto& r : ranges) {
    const auto* t = Table(r.waveCode);
    const auto [low, high] = std::minmax_element(t, t + kEngineSampleRate);
    EXPECT_GE(*low, r.low) << "wave " << r.waveCode;
    EXPECT_LE(*high, r.high) << "wave " << r.waveCode;
  }
}

TEST_F(WaveformTablesTest, NoiseFollowsTheSeededGenerator) {
  std::srand(7);
  const TWaveformTables first(64);
  std::srand(7);
  const TWaveformTables second(64);
  EXPECT_TRUE(std::equal(first.Table(kWaveRauschen), first.Table(kWaveRauschen) + 64,
                         second.Table(kWaveRauschen)));
  EXPECT_FALSE(std::all_of(first.Table(kWaveRauschen), first.Table(kWaveRauschen) + 64,
                           [&](std::int32_t v) { return v == first.Table(kWaveRauschen)[0]; }));
}

TEST_F(WaveformTablesTest, UnknownWaveCodesHaveNoTable) {
  EXPECT_EQ(tables_->Table(-1), nullptr);
  EXPECT_EQ(tables_->Table(kWaveCodeCount), nullptr);
  EXPECT_EQ(tables_->Length(), kEngineSampleRate);
}

}  // namespace
