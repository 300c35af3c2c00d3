// An engine thread that hangs is abandoned; whatever it still reads must stay alive after the
// next binding and after the document is gone. Every kind whose kernel reaches memory outside the
// record block is played here with a kernel that hangs, bound again, and torn down before the
// hung thread goes on; the AddressSanitizer build turns any read of freed memory into a failure.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "engine/work_factory.h"
#include "engine/work_type.h"
#include "patch/headless_canvas.h"
#include "persist/tree_message.h"
#include "tests/engine/wav_test_files.h"
#include "tests/modules/patch_builder.h"
#include "tests/modules/render_rig.h"

namespace {

using namespace std::chrono_literals;

struct SHang {
  std::atomic<bool> entered{false};
  std::atomic<bool> released{false};
  std::atomic<bool> ended{false};
  std::atomic<int> made{0};
};

// The first work object made hangs in its first sample until released; later ones compute
// nothing. Its StopWork, the last an abandoned thread calls, says that the thread is done.
class THangingWork : public TWorkRecords<std::int32_t> {
 public:
  THangingWork(std::shared_ptr<SHang> hang, bool hangs) : hang_(std::move(hang)), hangs_(hangs) {}
  void ProcessSample() override {
    if (!hangs_) return;
    hangs_ = false;
    hang_->entered = true;
    while (!hang_->released)
      std::this_thread::sleep_for(1ms);
  }
  void StopWork() override {
    if (hang_->released) hang_->ended = true;
  }

 private:
  std::shared_ptr<SHang> hang_;
  bool hangs_;
};

// The highest work code, so that the hung thread computes every other kind once more in the
// sample it hangs in, and 220 samples after it.
constexpr int kHangCode = kWorkAufloesung;

// Sits in the patch so that the hanging work object has a record and runs.
class THangModule : public TModulBild {
 public:
  int GetWorkType() const override { return kHangCode; }
  bool IsSink() const override { return true; }
};

struct SKind {
  const char* typeName;
  bool isSink;
};

class HungEngineThread : public ::testing::TestWithParam<SKind> {
 protected:
  // `kind` fed by a constant on every input and, unless a sink, read by a scope.
  static void BuildPatch(TDokumentKlang& document, const SKind& kind, THeadlessCanvas& canvas) {
    auto& module = Create(document, "Kind", kind.typeName);
    module.CreatePanel(&canvas, kPanelEditable);  // an adder gets its inputs
    module.CreatePanel(nullptr, kPanelWindowClosing);
    auto& source = Create(document, "Source", "ConstAnalog");
    for (TEinAusgang* port : module.InputList->Ports()) {
      if (auto* input = dynamic_cast<TEingang*>(port))
        input->Connect(source.OutputList->Output("1"), false);
    }
    if (!kind.isSink) Wire(module, Create(document, "Sink", "OutputLook"));
    Place(document, "Hang", std::make_shared<THangModule>());
  }
};

TEST_P(HungEngineThread, NeverReadsMemoryThatWasFreed) {
  auto hang = std::make_shared<SHang>();
  {
    const auto recording =
        WriteTestFile("hung.wav", Wav16(1, 22050, std::vector<std::int16_t>(50000, 300)));
    TRenderRig rig({}, recording);
    TDokumentKlang& document = rig.Document();
    document.Engine().SetWorkFactory([hang](int code) -> std::unique_ptr<TWorkBasisklassen> {
      if (code != kHangCode) return CreateWorkObject(code);
      return std::make_unique<THangingWork>(hang, hang->made++ == 0);
    });
    THeadlessCanvas canvas;
    BuildPatch(document, GetParam(), canvas);
    document.ModuleList->Broadcast(kTreeAfterRead, 0, &document);
    document.RevalidatePatch();
    ASSERT_EQ(document.StartSound(), TKlangEngine::kStarted);
    while (!hang->entered)
      std::this_thread::sleep_for(1ms);
    ASSERT_EQ(document.StopSound(), TKlangEngine::kStopThreadHung);

    // Binding again takes new memory for the new thread; the old stays with the hung one.
    ASSERT_EQ(document.StartSound(), TKlangEngine::kStarted);
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(document.StopSound(), TKlangEngine::kStopped);
    document.PollEngine();
  }  // the modules, their drivers and the devices are gone
  hang->released = true;
  for (int i = 0; i < 5000 && !hang->ended; ++i)
    std::this_thread::sleep_for(1ms);
  EXPECT_TRUE(hang->ended);
  // Let the thread drop its last shares before the next case starts.
  std::this_thread::sleep_for(20ms);
}

INSTANTIATE_TEST_SUITE_P(EveryKindWithMemoryOutsideItsRecord, HungEngineThread,
                         ::testing::Values(SKind{"MonoAddierer", false}, SKind{"PolyToMono", false},
                                           SKind{"MonoDelay", false}, SKind{"PolyDynDelay", false},
                                           SKind{"MonoSquare", false}, SKind{"OutputLook", true},
                                           SKind{"VolumeWork", true}, SKind{"Speaker", true},
                                           SKind{"SpeakerStereo", true}, SKind{"Microphon", false},
                                           SKind{"MidiPitch", false}),
                         [](const ::testing::TestParamInfo<SKind>& info) {
                           return std::string(info.param.typeName);
                         });

}  // namespace
