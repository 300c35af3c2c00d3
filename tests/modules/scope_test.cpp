#include "modules/scope.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "tests/modules/patch_builder.h"
#include "tests/modules/render_rig.h"

namespace {

std::uint32_t U32At(const std::vector<std::byte>& bytes, std::size_t at) {
  std::uint32_t value;
  std::memcpy(&value, bytes.data() + at, sizeof value);
  return value;
}

std::vector<std::byte> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> chars{std::istreambuf_iterator<char>(in), {}};
  std::vector<std::byte> bytes(chars.size());
  std::memcpy(bytes.data(), chars.data(), chars.size());
  return bytes;
}

// A source -> scope patch in a render rig.
struct SScopePatch {
  explicit SScopePatch(std::int32_t value, std::int32_t time = 100) {
    source = &Place(rig.Document(), "Source", std::make_shared<TFixedSource>(value));
    scope = &Create<TAusgabeSehen>(rig.Document(), "Scope", "OutputLook");
    scope->Time->value = time;
    Wire(*source, *scope);
  }
  TRenderRig rig;
  TFixedSource* source;
  TAusgabeSehen* scope;
};

TEST(Scope, CaptureLengthFollowsTime) {
  struct SCase {
    std::int32_t time;
    std::uint32_t samples;
    std::int32_t storedTime;
  };
  for (const SCase& c : {SCase{1000, 22050, 1000}, SCase{100, 2205, 100}, SCase{1, 22, 1},
                         SCase{0, 22, 1}, SCase{-50, 22, 1}, SCase{100000, 220477, 9999}}) {
    TAusgabeSehen scope;
    EXPECT_TRUE(scope.SetCaptureTime(c.time));
    EXPECT_EQ(scope.CaptureLength(), c.samples) << c.time;
    EXPECT_EQ(scope.Time->value, c.storedTime) << c.time;
  }
}

TEST(Scope, CapturesTheStartOfEverySoundAndReportsEachCaptureOnce) {
  SScopePatch patch(300);
  int callbacks = 0;
  patch.scope->CaptureCallback = TAMsgStandardCallback([&] { return ++callbacks; });
  patch.rig.Render(5000);
  EXPECT_EQ(patch.scope->CaptureLength(), 2205u);
  EXPECT_EQ(patch.scope->CaptureCount(), 1);
  // The window hears of it on the GUI thread, at the document's poll, once.
  EXPECT_EQ(callbacks, 0);
  patch.rig.Document().PollEngine();
  patch.rig.Document().PollEngine();
  EXPECT_EQ(callbacks, 1);
  const std::vector<std::int32_t> captured = patch.scope->CapturedSamples();
  EXPECT_TRUE(std::all_of(captured.begin(), captured.end(), [](auto v) { return v == 300; }));

  // A length applied while the sound plays takes effect at the next start.
  patch.source->value = -7;
  ASSERT_EQ(patch.rig.Start(), 0);
  EXPECT_TRUE(patch.scope->SetCaptureTime(200));
  EXPECT_EQ(patch.scope->CaptureLength(), 2205u);
  patch.rig.Run(3000);
  EXPECT_EQ(patch.scope->CaptureCount(), 2);
  patch.rig.Document().PollEngine();
  EXPECT_EQ(callbacks, 2);
  EXPECT_EQ(patch.scope->CapturedSamples().back(), -7);
  patch.rig.Finish();
  ASSERT_EQ(patch.rig.Start(), 0);
  EXPECT_EQ(patch.scope->CaptureLength(), 4410u);
}

TEST(Scope, WavExportHeaderAndSize) {
  SScopePatch patch(2048);
  patch.rig.Render(3000);
  const auto folder = std::filesystem::temp_directory_path();
  struct SCase {
    std::int32_t rate;
    std::size_t bytes;
  };
  for (const SCase& c : {SCase{22050, 4454}, SCase{44100, 8864}}) {
    const auto path = folder / ("zelmar-scope-" + std::to_string(c.rate) + ".wav");
    ASSERT_TRUE(patch.scope->ExportWav(path, c.rate));
    const std::vector<std::byte> file = ReadFile(path);
    std::filesystem::remove(path);
    ASSERT_EQ(file.size(), c.bytes) << c.rate;
    EXPECT_EQ(std::memcmp(file.data(), "RIFF", 4), 0);
    EXPECT_EQ(U32At(file, 4), c.bytes - 8);
    EXPECT_EQ(std::memcmp(file.data() + 8, "WAVEfmt ", 8), 0);
    EXPECT_EQ(U32At(file, 16), 16u);
    EXPECT_EQ(U32At(file, 20), 0x00010001u);  // PCM, one channel
    EXPECT_EQ(U32At(file, 24), static_cast<std::uint32_t>(c.rate));
    EXPECT_EQ(U32At(file, 28), static_cast<std::uint32_t>(2 * c.rate));
    EXPECT_EQ(U32At(file, 32), 0x00100002u);  // 2 bytes a frame, 16 bits
    EXPECT_EQ(std::memcmp(file.data() + 36, "data", 4), 0);
    EXPECT_EQ(U32At(file, 40), c.bytes - 44);
    std::int16_t last;
    std::memcpy(&last, file.data() + file.size() - 2, 2);
    EXPECT_EQ(last, 2048);  // engine full scale, not rescaled
  }
}

TEST(Scope, ExportSamplesDoubleTheRateWithMidpoints) {
  const std::int32_t captured[] = {100, 300, -100};
  EXPECT_EQ(ExportSamples(captured, false), (std::vector<std::int16_t>{100, 300, -100}));
  EXPECT_EQ(ExportSamples(captured, true),
            (std::vector<std::int16_t>{50, 100, 200, 300, 100, -100}));
  const std::int32_t wide[] = {70000, -3};
  EXPECT_EQ(ExportSamples(wide, false), (std::vector<std::int16_t>{4464, -3}));
}

TEST(Scope, AFailedExportLeavesTheOldFile) {
  TAusgabeSehen scope;
  EXPECT_FALSE(scope.ExportWav("/nonexistent-folder/x.wav", 22050));
}

class TLevelLog : public TVolumeLevelTarget {
 public:
  void ShowLevel(std::int32_t level) override { levels.push_back(level); }
  std::vector<std::int32_t> levels;
};

// A source -> volume view patch in a render rig, its reports logged.
struct SVolumePatch {
  explicit SVolumePatch(std::int32_t value) {
    auto& source = Place(rig.Document(), "Source", std::make_shared<TFixedSource>(value));
    view = &Create<TLautstaerkeSehenArbeiten>(rig.Document(), "View", "VolumeWork");
    Wire(source, *view);
    view->SetLevelTarget(&log);
  }
  TRenderRig rig;
  TLevelLog log;
  TLautstaerkeSehenArbeiten* view;
};

TEST(VolumeView, ReportsTheMeanLevelAtMostThreeAheadOfThePoll) {
  constexpr int kWindow = 3501;
  SVolumePatch patch(1700);
  ASSERT_EQ(patch.rig.Start(), 0);
  patch.rig.Run(5 * kWindow);
  // 1700 x 3501 / 3500 is 1700; the fourth and fifth windows find three reports unpolled.
  EXPECT_TRUE(patch.log.levels.empty());
  EXPECT_EQ(patch.view->PendingReports(), 3);
  patch.rig.Document().PollEngine();
  EXPECT_EQ(patch.log.levels, (std::vector<std::int32_t>{1700, 1700, 1700}));
  EXPECT_EQ(patch.view->PendingReports(), 0);
  EXPECT_EQ(TLautstaerkeSehenArbeiten::ShowLevelReport(1700).text, "20 %");

  // The windows held back carried their sums into the next report.
  patch.rig.Run(kWindow);
  patch.rig.Document().PollEngine();
  ASSERT_EQ(patch.log.levels.size(), 4u);
  EXPECT_EQ(patch.log.levels[3], 1700 * 3 * kWindow / 3500);

  patch.rig.Finish();
  patch.rig.Document().PollEngine();
  EXPECT_EQ(patch.log.levels.back(), 0);  // a stopped sound shows 0
}

TEST(VolumeView, LevelDisplay) {
  struct SCase {
    std::int32_t level;
    const char* text;
    bool red;
  };
  for (const SCase& c : {SCase{0, "0 %", false}, SCase{8499, "99 %", false},
                         SCase{8500, "100 %", true}, SCase{20480, "240 %", true}}) {
    TLautstaerkeSehenArbeiten view;
    const SVolumeLevelDisplay shown = view.ShowLevelReport(c.level);
    EXPECT_EQ(shown.text, c.text);
    EXPECT_EQ(shown.red, c.red);
  }
  EXPECT_STREQ(TLautstaerkeSehenArbeiten::kInitialLevelText, "0%%");
}

TEST(VolumeView, WithoutAPanelThePollDropsTheReports) {
  TLevelLog log;  // outlives the patch, whose stop still reports
  SVolumePatch patch(100);
  patch.view->SetLevelTarget(nullptr);
  ASSERT_EQ(patch.rig.Start(), 0);
  for (int window = 0; window < 10; ++window) {
    patch.rig.Run(3501);
    patch.rig.Document().PollEngine();
  }
  EXPECT_EQ(patch.view->PendingReports(), 0);
  patch.view->SetLevelTarget(&log);
  patch.rig.Run(3501);
  patch.rig.Document().PollEngine();
  EXPECT_EQ(log.levels, std::vector<std::int32_t>{100});
}

TEST(ScopeModules, SinksWithTheirPropertiesAndPorts) {
  TAusgabeSehen scope;
  EXPECT_EQ(scope.Title->value, " Look");
  EXPECT_EQ(scope.GetWorkType(), 16);
  EXPECT_TRUE(scope.IsSink());
  EXPECT_EQ(scope.InputList->Count(), 1);
  EXPECT_EQ(scope.ViewLook->GridSize->value, 3);
  EXPECT_EQ(scope.ViewLook->ColorGrid->value, 16744576);
  TLautstaerkeSehenArbeiten view;
  EXPECT_EQ(view.Title->value, " Volume");
  EXPECT_EQ(view.GetWorkType(), 20);
  EXPECT_TRUE(view.IsSink());
  EXPECT_EQ(view.ViewRect->GetRect(), (TRect{0, 0, 43, 139}));
}

}  // namespace
