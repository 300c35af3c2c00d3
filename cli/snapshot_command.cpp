#include "cli/snapshot_command.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/command_options.h"
#include "modules/catalogue.h"
#include "patch/application_context.h"
#include "patch/dokument_klang.h"
#include "platform/message_box.h"
#include "views/canvas_scene.h"
#include "views/module_canvas.h"
#include "views/module_panel.h"

namespace {

constexpr double kMaxScale = 4;
// Room around the panels in the picture, in points.
constexpr int kPictureMargin = 10;
// An empty page still gives a picture of the canvas.
constexpr QSizeF kEmptyPage(160, 90);
// A file may place panels anywhere; pictures stay below this many pixels a side.
constexpr int kMaxPicturePixels = 16384;

struct SSnapshotRequest {
  std::string sound;
  std::string output;
  bool panel = false;
  double scale = 1;
};

bool Usage(const std::string& problem) {
  std::fprintf(stderr, "zelmar: %s\n%s", problem.c_str(), SnapshotUsage());
  return false;
}

bool ParseRequest(int argc, char** argv, SSnapshotRequest& request) {
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (i + 1 >= argc) return Usage(option + " needs a value");
    const std::string value = argv[++i];
    if (option == "--snapshot") {
      request.sound = value;
    } else if (option == "--out") {
      request.output = value;
    } else if (option == "--tab") {
      if (value != "structure" && value != "panel") return Usage("--tab is structure or panel");
      request.panel = value == "panel";
    } else if (option == "--scale") {
      if (!ParseNumber(value.c_str(), request.scale) || request.scale <= 0 ||
          request.scale > kMaxScale) {
        return Usage("--scale takes a number above 0 and up to 4");
      }
    } else {
      return Usage("unknown option " + option);
    }
  }
  if (request.sound.empty() || request.output.empty()) {
    return Usage("--snapshot SOUND and --out FILE.png are both needed");
  }
  return true;
}

// A snapshot shows no dialog: what would have been said goes to standard error.
class TMessagesToStandardError : public TMessagePresenter {
 public:
  TMessageAnswer Present(QWidget*, const SMessage& message) override {
    std::fprintf(stderr, "zelmar: %s: %s\n", qPrintable(message.caption), qPrintable(message.text));
    return TMessageAnswer::Cancel;
  }
};

// The panels' extent with a margin around it.
QRectF PageOf(const TCanvasScene& scene) {
  QRectF bounds;
  for (QGraphicsItem* item : scene.items()) {
    if (item->type() == TModulePanelItem::Type && item->isVisible()) {
      bounds |= item->sceneBoundingRect();
    }
  }
  if (bounds.isEmpty()) return QRectF(QPointF(0, 0), kEmptyPage);
  return bounds.adjusted(-kPictureMargin, -kPictureMargin, kPictureMargin, kPictureMargin);
}

bool WriteSnapshot(const SSnapshotRequest& request) {
  TMessagesToStandardError messages;
  // The picture needs no sound card: the devices stay closed.
  SApplicationContext context;
  context.moduleTypes = ModuleCatalogue();
  context.messages = &messages;
  const TApplicationScope scope(context);
  TDokumentKlang document;
  {
    const bool loaded = document.Load(QString::fromStdString(request.sound));
    if (!loaded) {
      std::fprintf(stderr, "zelmar: %s: not a readable sound file\n", request.sound.c_str());
      return false;
    }
  }
  // Both pages are shown, as in the sound window: the structure's constants fill in the faders
  // of the panel page.
  TModuleCanvasView structure;
  structure.Show(document.ModuleList.get());
  TModuleCanvasView panel;
  panel.Show(document.ViewSound->ModuleList.get());
  TModuleCanvasView& canvas = request.panel ? panel : structure;
  const QRectF page = PageOf(canvas.Scene());
  const QSize pixels = (page.size() * request.scale).toSize();
  if (pixels.width() > kMaxPicturePixels || pixels.height() > kMaxPicturePixels) {
    std::fprintf(stderr, "zelmar: %s: the page is too large for a picture\n",
                 request.sound.c_str());
    return false;
  }
  QImage picture(pixels, QImage::Format_ARGB32_Premultiplied);
  picture.setDevicePixelRatio(request.scale);
  QPainter painter(&picture);
  painter.setRenderHints(QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
  canvas.Scene().render(&painter, QRectF(QPointF(0, 0), page.size()), page);
  painter.end();
  if (!picture.save(QString::fromStdString(request.output), "PNG")) {
    std::fprintf(stderr, "zelmar: %s: cannot write the picture\n", request.output.c_str());
    return false;
  }
  return true;
}

}  // namespace

int RunSnapshotCommand(int argc, char** argv) {
  SSnapshotRequest request;
  if (!ParseRequest(argc, argv, request)) return 2;
  // A snapshot never needs a screen.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  return WriteSnapshot(request) ? 0 : 1;
}
