#include "views/panel_faces.h"

#include <QFont>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "modules/constants.h"
#include "modules/device_module.h"
#include "modules/midi.h"
#include "modules/panel_items.h"
#include "modules/scope.h"
#include "modules/speakers.h"
#include "platform/text_codec.h"
#include "resources/artwork.h"

namespace {

constexpr int kLabelPixelSize = 10;
const QColor kGroove(255, 255, 255);
const QColor kThumb(212, 208, 200);
const QColor kShadow(64, 64, 64);
const QColor kSliderFill(0, 255, 0);

// The constant's controls.
constexpr QRect kScrollBar(3, 18, 100, 13);
constexpr int kScrollThumbWidth = 11;
constexpr QRect kAudioValue(55, 35, 32, 18);
constexpr QRect kFrequencyValue(50, 35, 40, 18);
// The limits sit either side of the value, close to it; long frequency limits would otherwise
// run into the value's box.
constexpr int kLimitTop = 38;
constexpr int kLimitHeight = 15;
constexpr int kLimitGap = 3;

// The fader's controls.
constexpr QRect kSlider(8, 22, 25, 122);
constexpr int kKnobHeight = 22;
constexpr QRect kFaderUpper(37, 20, 30, 15);
constexpr QRect kFaderValue(37, 74, 30, 15);
constexpr QRect kFaderLower(37, 132, 30, 15);

// The level meter's picture.
constexpr QRect kMeter(9, 20, 23, 125);

// The volume view's level label.
constexpr QRect kLevelLabel(31, 25, 50, 15);
const QColor kLevelRed(255, 0, 0);
// The lamp of a module with a device: lit while the device is open.
constexpr QSize kLampSize(12, 12);
constexpr QPoint kMidiInLamp(54, 16);
constexpr QPoint kMicrophoneLamp(57, 16);
constexpr QPoint kSpeakerLamp(9, 16);

// The text item's note, inside its double bevel.
constexpr int kNoteMargin = 4;

void SetLabelFont(QPainter& painter) {
  QFont font = painter.font();
  font.setPixelSize(kLabelPixelSize);
  painter.setFont(font);
}

void DrawLabel(QPainter& painter, const QRect& area, const std::string& text, QColor colour,
               Qt::Alignment alignment = Qt::AlignCenter) {
  painter.setPen(colour);
  painter.drawText(area, alignment, FromFileText(text));
}

int Whole(qreal value) { return static_cast<int>(std::floor(value)); }

int ScrollPosition(QPointF at) {
  const double travel = kScrollBar.width() - kScrollThumbWidth;
  const double offset = at.x() - kScrollBar.left() - kScrollThumbWidth / 2.0;
  return std::clamp(static_cast<int>(std::lround(offset * 100 / travel)), 0, 100);
}

void PaintConstant(QPainter& painter, const TBasisKonstanten& constant) {
  painter.fillRect(kScrollBar, kGroove);
  painter.setPen(kShadow);
  painter.drawRect(QRectF(kScrollBar).adjusted(0.5, 0.5, -0.5, -0.5));
  const int travel = kScrollBar.width() - kScrollThumbWidth;
  const QRect thumb(kScrollBar.left() + travel * constant.SliderPosition() / 100, kScrollBar.top(),
                    kScrollThumbWidth, kScrollBar.height());
  painter.fillRect(thumb, kThumb);
  painter.drawRect(QRectF(thumb).adjusted(0.5, 0.5, -0.5, -0.5));
  SetLabelFont(painter);
  const bool audio = dynamic_cast<const TKonstantenAnalog*>(&constant) != nullptr;
  const QRect value = audio ? kAudioValue : kFrequencyValue;
  painter.fillRect(value, Qt::white);
  painter.drawRect(QRectF(value).adjusted(0.5, 0.5, -0.5, -0.5));
  DrawLabel(painter, value, constant.ValueText(), Qt::black);
  const QRect lower(QPoint(kLimitGap, kLimitTop),
                    QPoint(value.left() - kLimitGap, kLimitTop + kLimitHeight - 1));
  const QRect upper(value.right() + kLimitGap, kLimitTop, kScrollBar.width(), kLimitHeight);
  DrawLabel(painter, lower, constant.LimitText(TLimit::Lower), Qt::black,
            Qt::AlignRight | Qt::AlignVCenter);
  DrawLabel(painter, upper, constant.LimitText(TLimit::Upper), Qt::black,
            Qt::AlignLeft | Qt::AlignVCenter);
}

int KnobTop(int position) { return kSlider.top() + kSlider.height() - position - kKnobHeight; }

int SliderPositionAt(QPointF at) {
  const int knobCentre = static_cast<int>(std::floor(at.y())) - kKnobHeight / 2;
  return kSlider.top() + kSlider.height() - kKnobHeight - knobCentre;
}

// The groove, its fill up to the position, the ticks and the knob, as the slider has always
// looked; one position step is one point.
void PaintFader(QPainter& painter, const TModulSchieber& fader) {
  painter.save();
  painter.translate(kSlider.topLeft());
  const int w = kSlider.width();
  const int h = kSlider.height();
  const int c = w / 2;
  painter.fillRect(QRect(c - 3, 1, 1, h - 2), Qt::black);
  painter.fillRect(QRect(c + 1, 1, 1, h - 2), Qt::white);
  painter.fillRect(QRect(c - 3, 1, 4, 1), Qt::black);
  painter.fillRect(QRect(c - 3, h - 1, 4, 1), Qt::black);
  painter.fillRect(QRect(QPoint(c - 2, h - fader.Position()), QPoint(c - 1, h - 2)), kSliderFill);
  for (int i = 1; i <= 9; ++i)
    painter.fillRect(QRect(c + 10, (h / 10) * i, 5, 1), Qt::black);
  painter.restore();
  const QRectF knob(kSlider.left() + 1, KnobTop(fader.Position()), kSlider.width() - 2,
                    kKnobHeight);
  PaintArtwork(painter, knob, QStringLiteral("BITMAP_SCHIEBER"));
  SetLabelFont(painter);
  DrawLabel(painter, kFaderUpper, fader.UpperText(), Qt::black);
  DrawLabel(painter, kFaderValue, fader.ValueText(), Qt::white);
  DrawLabel(painter, kFaderLower, fader.LowerText(), Qt::black);
}

void PaintMeter(QPainter& painter, const TModulLautstaerkeSehen& meter) {
  PaintArtwork(painter, kMeter, QStringLiteral("BITMAP_LOUDNESS_FOREGROUND"));
  painter.save();
  painter.setClipRect(QRect(kMeter.topLeft(), QSize(kMeter.width(), meter.CoveredHeight())));
  PaintArtwork(painter, kMeter, QStringLiteral("BITMAP_LOUDNESS_BACKGROUND"));
  painter.restore();
}

// On the panel's own colour, red from 100 % on.
void PaintLevelLabel(QPainter& painter, const TLautstaerkeSehenArbeiten& view) {
  if (view.LevelRed()) painter.fillRect(kLevelLabel, kLevelRed);
  SetLabelFont(painter);
  DrawLabel(painter, kLevelLabel, view.LevelText(), Qt::black, Qt::AlignLeft | Qt::AlignVCenter);
}

void PaintNote(QPainter& painter, const TModulText& note) {
  const TRect r = note.Rect->GetRect();
  const QRect area(kNoteMargin, 15 + kNoteMargin, r.right - r.left - 2 * kNoteMargin,
                   r.bottom - r.top - 15 - 2 * kNoteMargin);
  painter.fillRect(area.adjusted(-2, -2, 2, 2), Qt::white);
  SetLabelFont(painter);
  painter.setPen(Qt::black);
  painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                   FromFileText(note.Text->value));
}

QPoint LampPlace(const TGeraetModul& device) {
  if (dynamic_cast<const TModulMidiIn*>(&device) != nullptr) return kMidiInLamp;
  if (dynamic_cast<const TMikrophon*>(&device) != nullptr) return kMicrophoneLamp;
  return kSpeakerLamp;
}

void PaintLamp(QPainter& painter, const TGeraetModul& device) {
  PaintArtwork(painter, QRect(LampPlace(device), kLampSize),
               device.IsDeviceOpen() ? QStringLiteral("LAMPE_AN") : QStringLiteral("LAMPE_AUS"));
}

}  // namespace

void PaintPanelFace(QPainter& painter, const TModul& module) {
  if (const auto* constant = dynamic_cast<const TBasisKonstanten*>(&module)) {
    PaintConstant(painter, *constant);
  } else if (const auto* fader = dynamic_cast<const TModulSchieber*>(&module)) {
    PaintFader(painter, *fader);
  } else if (const auto* meter = dynamic_cast<const TModulLautstaerkeSehen*>(&module)) {
    PaintMeter(painter, *meter);
  } else if (const auto* note = dynamic_cast<const TModulText*>(&module)) {
    PaintNote(painter, *note);
  } else if (const auto* view = dynamic_cast<const TLautstaerkeSehenArbeiten*>(&module)) {
    PaintLevelLabel(painter, *view);
  } else if (const auto* device = dynamic_cast<const TGeraetModul*>(&module)) {
    PaintLamp(painter, *device);
  }
}

SFaceGrab PressPanelFace(TModul& module, QPointF at) {
  if (auto* constant = dynamic_cast<TBasisKonstanten*>(&module)) {
    if (!QRectF(kScrollBar).contains(at)) return {};
    constant->MoveSlider(ScrollPosition(at));
    return {true};
  }
  if (auto* fader = dynamic_cast<TModulSchieber*>(&module)) {
    if (!QRectF(kSlider).contains(at)) return {};
    fader->SetPosition(SliderPositionAt(at), true);
    return {true};
  }
  if (auto* item = dynamic_cast<TModulResize*>(&module)) {
    const TResizeZone zone = item->ZoneAt(Whole(at.x()), Whole(at.y()));
    if (zone == TResizeZone::None) return {};
    return {true, true, static_cast<int>(zone)};
  }
  return {};
}

void DragPanelFace(TModul& module, const SFaceGrab& grab, QPointF at) {
  if (!grab.taken) return;
  if (auto* constant = dynamic_cast<TBasisKonstanten*>(&module)) {
    constant->MoveSlider(ScrollPosition(at));
  } else if (auto* fader = dynamic_cast<TModulSchieber*>(&module)) {
    fader->SetPosition(SliderPositionAt(at), true);
  } else if (auto* item = dynamic_cast<TModulResize*>(&module); item && grab.resizing) {
    item->ResizeTo(static_cast<TResizeZone>(grab.zone), Whole(at.x()), Whole(at.y()));
  }
}

void ReleasePanelFace(TModul& module, const SFaceGrab& grab) {
  if (grab.resizing) module.MarkChanged();
}

bool FaceHasCursors(const TModul& module) {
  return dynamic_cast<const TModulResize*>(&module) != nullptr;
}

Qt::CursorShape FaceCursorAt(const TModul& module, QPointF at) {
  const auto* item = dynamic_cast<const TModulResize*>(&module);
  switch (item ? item->ZoneAt(Whole(at.x()), Whole(at.y())) : TResizeZone::None) {
    case TResizeZone::Diagonal:
      return Qt::SizeFDiagCursor;
    case TResizeZone::Vertical:
      return Qt::SizeVerCursor;
    case TResizeZone::Horizontal:
      return Qt::SizeHorCursor;
    case TResizeZone::None:
      break;
  }
  return Qt::ArrowCursor;
}
