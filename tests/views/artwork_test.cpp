// The artwork the program shows: every module kind names a picture that exists and sits on its
// panel clear of the title bar and the connectors, and the lamps, panel items, grounds, cursors
// and icons are all there at the sizes their places give them.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <initializer_list>
#include <memory>
#include <set>

#include "patch/dokument_klang.h"
#include "patch/headless_canvas.h"
#include "patch/macro_modules.h"
#include "patch/module_registry.h"
#include "patch/window_description.h"
#include "resources/artwork.h"

namespace {

const std::set<std::string> kPanelItems = {"ViewFader", "ViewText", "VolumeView"};

class Artwork : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "artwork_tests";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QGuiApplication>(argc, argv);
  }
  static void TearDownTestSuite() { app_.reset(); }

 private:
  static std::unique_ptr<QGuiApplication> app_;
};

std::unique_ptr<QGuiApplication> Artwork::app_;

QRect RectOf(const TRect& rect) {
  return QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1));
}

QImage Rendered(const QString& name) { return ArtworkPixmap(name, 1.0).toImage(); }

bool IsBlank(const QImage& image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y).alpha() != 0) return false;
  return true;
}

bool IsOpaque(const QImage& image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y).alpha() != 255) return false;
  return true;
}

// Every kind as the editor shows it: signal modules in the patch, the inner inputs and outputs
// inside a macro (which gives the macro its ports), the panel items on the Panel tab.
TEST_F(Artwork, EveryModuleKindShowsAPictureThatExistsInsideItsPanel) {
  TDokumentKlang document;
  THeadlessCanvas panel, structure, inside;
  auto macro = std::make_shared<TModulKomponent>();
  macro->parent = document.ModuleList.get();
  document.ModuleList->Add("Modul", macro);
  for (const std::string& name : RegisteredTypeNames()) {
    if (name == "Modul") continue;
    bool queryOnly = false;
    TRPointer<TModul> module = CreateModuleByType(name, queryOnly);
    TModuleListe& list = IsMacroPortType(name)        ? *macro->Inside
                         : kPanelItems.contains(name) ? *document.ViewSound->ModuleList
                                                      : *document.ModuleList;
    module->parent = &list;
    list.Add(name, module);
  }
  document.ViewSound->ModuleList->SetView(&panel, kPanelEditable);
  document.ModuleList->SetView(&structure, kPanelEditable);
  macro->Inside->SetView(&inside, kPanelEditable);

  int pictured = 0;
  for (const TModuleListe* list : {document.ModuleList.get(), macro->Inside.get()}) {
    for (const auto& [name, child] : list->Children()) {
      const auto* module = dynamic_cast<const TModulBild*>(child.get());
      ASSERT_NE(module, nullptr) << name;
      const SModulePicture picture = module->PanelPicture();
      if (IsMacroPortType(name)) {
        EXPECT_EQ(picture.name, "") << name << " shows a caption instead";
        continue;
      }
      const QSize size = ArtworkSize(QString::fromStdString(picture.name));
      ASSERT_FALSE(size.isEmpty()) << name << ": no artwork " << picture.name;
      ++pictured;

      const TRect bounds = module->Rect->GetRect();
      const QRect placed(picture.x, picture.y, size.width(), size.height());
      // Inside the one-pixel frame and below the title bar.
      const QRect client = QRect(0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top)
                               .adjusted(1, TEinAusgangListe::kTitleHeight, -1, -1);
      EXPECT_TRUE(client.contains(placed))
          << name << ": " << picture.name << " at " << picture.x << ", " << picture.y;
      module->InputList->Layout();
      module->OutputList->Layout();
      for (const TEinAusgangListe* ports : std::initializer_list<const TEinAusgangListe*>{
               module->InputList.get(), module->OutputList.get()})
        for (const TEinAusgang* port : ports->Ports())
          EXPECT_FALSE(placed.intersects(RectOf(port->Rect->GetRect())))
              << name << ": the picture covers connector " << port->Title->value;
    }
  }
  EXPECT_GT(pictured, 0);
}

// The pictures the canvases, panel items and windows ask for by name: sizes fixed by the
// places they fill (the fader's 25-pixel slider less 2, the meter's scale, the 12-pixel lamp);
// lamps leave their corners see-through, grounds are opaque so that no hole shows in a tile.
TEST_F(Artwork, LampsPanelItemsGroundsAndIconsExistAtTheirSizes) {
  enum EFill { kAny, kTransparentCorners, kOpaque };
  struct SArt {
    const char* name;
    QSize size;  // empty: any size
    EFill fill;
  };
  const SArt arts[] = {
      {"LAMPE_AN", {12, 12}, kTransparentCorners},
      {"LAMPE_AUS", {12, 12}, kTransparentCorners},
      {"BITMAP_SCHIEBER", {23, 22}, kAny},
      {"BITMAP_SCHIEBER_ACTIVE", {23, 22}, kAny},
      {"BITMAP_LOUDNESS_FOREGROUND", {23, 125}, kOpaque},
      {"BITMAP_LOUDNESS_BACKGROUND", {23, 125}, kOpaque},
      {"101", {}, kOpaque},
      {"BITMAP_BACKGROUND", {}, kOpaque},
      {"zelmar", {}, kTransparentCorners},
      {"action-new", {24, 24}, kAny},
      {"action-open", {24, 24}, kAny},
      {"action-save", {24, 24}, kAny},
      {"action-undo", {24, 24}, kAny},
      {"action-redo", {24, 24}, kAny},
      {"action-cut", {24, 24}, kAny},
      {"action-copy", {24, 24}, kAny},
      {"action-paste", {24, 24}, kAny},
      {"action-delete", {24, 24}, kAny},
      {"action-start", {24, 24}, kAny},
      {"action-stop", {24, 24}, kAny},
      {"action-align-grid", {24, 24}, kAny},
      {"action-align-left", {24, 24}, kAny},
      {"action-align-top", {24, 24}, kAny},
      {"action-align-right", {24, 24}, kAny},
      {"action-align-bottom", {24, 24}, kAny},
      {"action-modules", {24, 24}, kAny},
      {"action-help", {24, 24}, kAny},
      {"action-options", {24, 24}, kAny},
  };
  for (const SArt& art : arts) {
    const QString name = QString::fromLatin1(art.name);
    const QSize size = ArtworkSize(name);
    ASSERT_FALSE(size.isEmpty()) << art.name;
    if (!art.size.isEmpty()) {
      EXPECT_EQ(size, art.size) << art.name;
    }
    // Drawn at the pixel ratio asked for, in points of the picture's size.
    const QPixmap sharp = ArtworkPixmap(name, 2.0);
    EXPECT_EQ(sharp.size(), size * 2) << art.name;
    EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(size)) << art.name;
    const QImage image = Rendered(name);
    EXPECT_FALSE(IsBlank(image)) << art.name;
    if (art.fill == kOpaque) {
      EXPECT_TRUE(IsOpaque(image)) << art.name;
    }
    if (art.fill == kTransparentCorners) {
      const int right = image.width() - 1, bottom = image.height() - 1;
      for (const QPoint corner :
           {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)})
        EXPECT_EQ(image.pixelColor(corner).alpha(), 0) << art.name;
    }
  }
  EXPECT_TRUE(ArtworkSize("BITMAP_NO_SUCH_PICTURE").isEmpty());
  EXPECT_TRUE(ArtworkPixmap("BITMAP_NO_SUCH_PICTURE").isNull());
  EXPECT_TRUE(ArtworkIcon("BITMAP_NO_SUCH_PICTURE").isNull());
}

// The window icon and the desktop's program icon come out sharp from the menu's 16 pixels up
// to 256, and a tool bar icon also at its own size at 2x.
TEST_F(Artwork, IconsAreRenderedAtTheSizesTheDesktopAsksFor) {
  const QIcon program = ArtworkIcon("zelmar");
  for (const int side : {16, 32, 256})
    EXPECT_TRUE(program.availableSizes().contains(QSize(side, side))) << side;
  const QImage small = program.pixmap(QSize(16, 16)).toImage();
  EXPECT_FALSE(IsBlank(small));
  EXPECT_EQ(small.size(), QSize(16, 16));
  const QIcon action = ArtworkIcon("action-save");
  EXPECT_TRUE(action.availableSizes().contains(QSize(24, 24)));
  EXPECT_TRUE(action.availableSizes().contains(QSize(48, 48)));
}

// The five screen cursors are drawn ones whose hot spot lies on the drawing (the arrow's tip,
// the hand's palm), so the point that acts is the point the user sees; other numbers give the
// arrow.
TEST_F(Artwork, TheScreenCursorsAreDrawnWithTheHotSpotOnTheDrawing) {
  for (int number = 100; number <= 104; ++number) {
    const QCursor cursor = ArtworkCursor(number);
    ASSERT_EQ(cursor.shape(), Qt::BitmapCursor) << number;
    const QImage image = cursor.pixmap().toImage();
    ASSERT_FALSE(image.isNull()) << number;
    const QPoint hot = cursor.hotSpot();
    ASSERT_TRUE(image.rect().contains(hot)) << number;
    EXPECT_GT(image.pixelColor(hot).alpha(), 0) << number;
  }
  EXPECT_EQ(ArtworkCursor(99).shape(), Qt::ArrowCursor);
  EXPECT_EQ(ArtworkCursor(105).shape(), Qt::ArrowCursor);
}

}  // namespace
