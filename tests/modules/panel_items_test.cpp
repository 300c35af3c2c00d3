#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "modules/panel_items.h"
#include "patch/dokument_klang.h"
#include "patch/module_registry.h"
#include "tests/support/worked_example.h"

namespace {

TRPointer<TModul> AddItem(TModuleListe& panel, const std::string& typeName,
                          const std::string& key) {
  bool queryOnly = false;
  auto item = std::dynamic_pointer_cast<TModul>(panel.CreateModule(typeName, queryOnly));
  if (item) panel.Add(key, item);
  return item;
}

TEST(PanelItemTypes, ThePanelListCreatesExactlyTheThreeItemKinds) {
  struct SCase {
    const char* typeName;
    const char* title;
    TRect rect;
  };
  const SCase cases[] = {
      {"ViewFader", " Fader", {0, 0, 73, 150}},
      {"ViewText", " Text", TModul::kDefaultRect},
      {"VolumeView", " Vol.", {0, 0, 43, 139}},
  };
  TModuleListe panel;
  for (const auto& c : cases) {
    bool queryOnly = true;
    EXPECT_EQ(panel.CreateModule(c.typeName, queryOnly), nullptr);
    EXPECT_TRUE(queryOnly) << c.typeName;
    const TRPointer<TModul> item = AddItem(panel, c.typeName, c.typeName);
    ASSERT_NE(item, nullptr) << c.typeName;
    EXPECT_EQ(item->typeName, c.typeName);
    EXPECT_EQ(item->parent, &panel);
    EXPECT_EQ(item->Title->value, c.title);
    EXPECT_EQ(item->Rect->GetRect(), c.rect) << c.typeName;
  }
  bool queryOnly = true;
  panel.CreateModule("ConstAnalog", queryOnly);
  EXPECT_FALSE(queryOnly);
  EXPECT_EQ(AddItem(panel, "ConstAnalog", "C"), nullptr);
}

TEST(PanelItemFile, ASoundWithOneTextItemIsWrittenAsTheWorkedExample) {
  TDokumentKlang document;
  document.ViewSound->Title->value = "Sound1";
  document.ViewSound->Rect->Set(0, 0, 600, 400);
  AddItem(*document.ViewSound->ModuleList, "ViewText", "ViewText")->Rect->MoveTo(16, 24);

  std::ostringstream written;
  document.WriteSound(written);
  EXPECT_EQ(written.str(), kWorkedExampleSound);
}

TEST(PanelItemText, EditingTheNoteStoresItAndMarksTheSound) {
  TDokumentKlang document;
  auto item = AddItem(*document.ViewSound->ModuleList, "ViewText", "ViewText");
  auto& text = dynamic_cast<TModulText&>(*item);
  text.SetText("two\nlines");
  EXPECT_EQ(text.Text->value, "two\nlines");
  EXPECT_TRUE(document.IsModified());
}

TEST(PanelItemLevel, TheCoveredPartShrinksAsTheLevelRises) {
  struct SCase {
    std::int32_t percent;
    int covered;
  };
  const SCase cases[] = {{0, 108}, {50, 58}, {107, 1}, {108, 0}, {250, 0}, {-100, 125}};
  TModulLautstaerkeSehen meter;
  EXPECT_EQ(meter.CoveredHeight(), TModulLautstaerkeSehen::kMeterHeight);
  for (const auto& c : cases) {
    meter.ShowLevel(" Volume", c.percent);
    EXPECT_EQ(meter.CoveredHeight(), c.covered) << c.percent;
  }
  EXPECT_EQ(meter.Title->value, " Volume");
}

TEST(PanelItemResize, EdgesGrabAndItemsNeverShrinkBelowTheMinimum) {
  TModulText text;
  text.Rect->Set(10, 20, 110, 100);  // 100 x 80
  struct SZone {
    int x, y;
    TResizeZone zone;
  };
  const SZone zones[] = {
      {95, 75, TResizeZone::Diagonal},   {50, 75, TResizeZone::Vertical},
      {95, 40, TResizeZone::Horizontal}, {50, 40, TResizeZone::None},
      {95, 15, TResizeZone::None},       {91, 71, TResizeZone::None},
  };
  for (const auto& z : zones) {
    EXPECT_EQ(text.ZoneAt(z.x, z.y), z.zone) << z.x << ',' << z.y;
  }

  struct SResize {
    TResizeZone zone;
    int x, y;
    bool changed;
    TRect rect;
  };
  const SResize resizes[] = {
      {TResizeZone::Diagonal, 35, 60, true, {10, 20, 110, 80}},
      {TResizeZone::Diagonal, 35, 25, false, {10, 20, 110, 80}},
      {TResizeZone::Horizontal, 41, 200, true, {10, 20, 51, 80}},
      {TResizeZone::Vertical, 300, 31, true, {10, 20, 51, 51}},
      {TResizeZone::None, 90, 90, false, {10, 20, 51, 51}},
  };
  for (const auto& r : resizes) {
    EXPECT_EQ(text.ResizeTo(r.zone, r.x, r.y), r.changed) << r.x << ',' << r.y;
    EXPECT_EQ(text.Rect->GetRect(), r.rect) << r.x << ',' << r.y;
  }
}

TEST(PanelItemFader, AFaderWithoutItsConstantOnlyMovesItsSlider) {
  TDokumentKlang document;
  auto item = AddItem(*document.ViewSound->ModuleList, "ViewFader", "Gone");
  auto& fader = dynamic_cast<TModulSchieber&>(*item);
  EXPECT_EQ(fader.Position(), TModulSchieber::kInitialPosition);
  fader.SetPosition(130, true);
  EXPECT_EQ(fader.Position(), 100);
  EXPECT_EQ(fader.ValueText(), "");
}

}  // namespace
