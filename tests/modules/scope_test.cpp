#include "modules/scope.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "modules/panel_items.h"
#include "patch/headless_canvas.h"
#include "tests/modules/patch_builder.h"
#include "tests/modules/render_rig.h"
#include "tests/modules/scope_patch.h"

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

// A source -> volume view patch in a render rig, shown in the sound window as the editor shows
// it: the panel list first, then the structure.
struct SVolumePatch {
  explicit SVolumePatch(std::int32_t value) {
    auto& source = Place(rig.Document(), "Source", std::make_shared<TFixedSource>(value));
    view = &Create<TLautstaerkeSehenArbeiten>(rig.Document(), "View", "VolumeWork");
    Wire(source, *view);
    ShowWindow();
  }
  void ShowWindow() {
    rig.Document().ViewSound->ModuleList->SetView(&panelCanvas, kPanelEditable);
    rig.Document().ModuleList->SetView(&structureCanvas, kPanelEditable);
  }
  void CloseWindow() {
    rig.Document().ModuleList->SetView(nullptr, kPanelWindowClosing);
    rig.Document().ViewSound->ModuleList->SetView(nullptr, kPanelWindowClosing);
  }
  void Poll() { rig.Document().PollEngine(); }
  int MeterCovered() const { return view->LevelMeter()->CoveredHeight(); }

  TRenderRig rig;
  THeadlessCanvas panelCanvas;
  THeadlessCanvas structureCanvas;
  TLautstaerkeSehenArbeiten* view;
};

constexpr int kWindow = 3501;

TEST(VolumeView, ReportsTheMeanLevelAtMostThreeAheadOfThePoll) {
  SVolumePatch patch(1700);
  ASSERT_EQ(patch.rig.Start(), 0);
  patch.rig.Run(5 * kWindow);
  // 1700 x 3501 / 3500 is 1700; the fourth and fifth windows find three reports unpolled.
  EXPECT_EQ(patch.view->LevelText(), "0%%");
  EXPECT_EQ(patch.view->PendingReports(), 3);
  patch.Poll();
  EXPECT_EQ(patch.view->PendingReports(), 0);
  EXPECT_EQ(patch.view->LevelText(), "20 %");
  EXPECT_FALSE(patch.view->LevelRed());
  EXPECT_EQ(patch.MeterCovered(), 108 - 20);

  // The windows held back carried their sums into the next report: 1700 x 3 x 3501 / 3500 is
  // 5101, 60 %.
  patch.rig.Run(kWindow);
  patch.Poll();
  EXPECT_EQ(patch.view->LevelText(), "60 %");
  EXPECT_EQ(patch.MeterCovered(), 108 - 60);

  patch.rig.Finish();
  patch.Poll();
  EXPECT_EQ(patch.view->LevelText(), "0 %");  // a stopped sound shows 0
  EXPECT_EQ(patch.MeterCovered(), 108);
}

TEST(VolumeView, LevelsFromFullScaleOnAreRedAndUncoverTheMeter) {
  SVolumePatch patch(8500);
  patch.view->Title->value = " Drums";
  ASSERT_EQ(patch.rig.Start(), 0);
  patch.rig.Run(kWindow);
  patch.Poll();
  EXPECT_EQ(patch.view->LevelText(), "100 %");
  EXPECT_TRUE(patch.view->LevelRed());
  EXPECT_EQ(patch.MeterCovered(), 8);
  EXPECT_EQ(patch.view->LevelMeter()->Title->value, " Drums");  // the meter takes the title
  patch.rig.Finish();
  patch.Poll();
  EXPECT_FALSE(patch.view->LevelRed());
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
  TLautstaerkeSehenArbeiten view;
  EXPECT_EQ(view.LevelText(), "0%%");
}

TEST(VolumeView, WithoutAPanelThePollDropsTheReports) {
  SVolumePatch patch(100 * 85);
  patch.CloseWindow();
  ASSERT_EQ(patch.rig.Start(), 0);
  for (int window = 0; window < 10; ++window) {
    patch.rig.Run(kWindow);
    patch.Poll();
  }
  EXPECT_EQ(patch.view->PendingReports(), 0);
  EXPECT_EQ(patch.view->LevelText(), "0%%");
  patch.ShowWindow();
  patch.rig.Run(kWindow);
  patch.Poll();
  EXPECT_EQ(patch.view->LevelText(), "100 %");
}

TEST(VolumeView, TheLevelMeterComesAndGoesWithTheEditableView) {
  SVolumePatch patch(0);
  TModuleListe& panel = *patch.rig.Document().ViewSound->ModuleList;
  TModul* meter = patch.view->LevelMeter();
  ASSERT_NE(meter, nullptr);
  EXPECT_EQ(panel.Get("View").get(), meter);
  // Moving the meter moves the module's "ViewRect", which is saved with the module.
  meter->Rect->MoveTo(200, 40);
  EXPECT_EQ(patch.view->ViewRect->GetRect(), (TRect{200, 40, 243, 179}));
  patch.view->CreatePanel(nullptr, kPanelEditable);
  EXPECT_FALSE(panel.Get("View"));

  auto& placed =
      Place(patch.rig.Document(), "Hidden", std::make_shared<TLautstaerkeSehenArbeiten>());
  placed.ShowInView->value = 0;
  placed.CreatePanel(&patch.structureCanvas, kPanelEditable);
  EXPECT_FALSE(panel.Get("Hidden"));
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
