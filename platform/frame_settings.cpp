#include "platform/frame_settings.h"

#include <algorithm>

#include "platform/settings_check.h"
#include "platform/settings_store.h"

namespace {

constexpr char kSection[] = "MainFrame";
// The area two rectangles share, in 64 bits: stored places may lie anywhere.
std::int64_t Overlap(const SMainFrameSettings& s, const QRect& screen) {
  const std::int64_t width = std::min<std::int64_t>(std::int64_t{s.left} + s.width,
                                                    std::int64_t{screen.x()} + screen.width()) -
                             std::max<std::int64_t>(s.left, screen.x());
  const std::int64_t height = std::min<std::int64_t>(std::int64_t{s.top} + s.height,
                                                     std::int64_t{screen.y()} + screen.height()) -
                              std::max<std::int64_t>(s.top, screen.y());
  return width > 0 && height > 0 ? width * height : 0;
}

// Empty when no screen has an area.
QRect ScreenOf(const SMainFrameSettings& settings, const QList<QRect>& screens) {
  QRect best;
  std::int64_t bestOverlap = 0;
  for (const QRect& screen : screens) {
    if (screen.isEmpty()) continue;
    if (best.isEmpty()) best = screen;
    const std::int64_t overlap = Overlap(settings, screen);
    if (overlap > bestOverlap) {
      best = screen;
      bestOverlap = overlap;
    }
  }
  return best;
}

// One coordinate: the size first, then the start so that the whole size fits.
std::pair<int, int> Fitted(std::int32_t start, std::int32_t size, int screenStart, int screenSize,
                           int minimum) {
  const int fittedSize = std::clamp(size, std::min(minimum, screenSize), screenSize);
  const int fittedStart = std::clamp(start, screenStart, screenStart + screenSize - fittedSize);
  return {fittedStart, fittedSize};
}

void WritePlace(TSettingsStore& store, const SMainFrameSettings& settings) {
  store.WriteInteger(kSection, "Left", settings.left);
  store.WriteInteger(kSection, "Top", settings.top);
  store.WriteInteger(kSection, "Width", settings.width);
  store.WriteInteger(kSection, "Height", settings.height);
}

QString PlaceText(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) {
  return QString("%1, %2, %3 x %4").arg(left).arg(top).arg(width).arg(height);
}

}  // namespace

QRect KeptOnScreen(const SMainFrameSettings& settings, const QRect& screen) {
  const auto [left, width] =
      Fitted(settings.left, settings.width, screen.x(), screen.width(), kMinFrameWidth);
  const auto [top, height] =
      Fitted(settings.top, settings.height, screen.y(), screen.height(), kMinFrameHeight);
  return {left, top, width, height};
}

QStringList LoadFrameSettings(SMainFrameSettings& settings, const QList<QRect>& screens) {
  TSettingsStore store;
  TCheckedSettings checked(store);
  SMainFrameSettings& s = settings;
  s.left = checked.Number(kSection, "Left", s.left, kAnyNumber);
  s.top = checked.Number(kSection, "Top", s.top, kAnyNumber);
  s.width = checked.Number(kSection, "Width", s.width, kAnyNumber);
  s.height = checked.Number(kSection, "Height", s.height, kAnyNumber);
  s.windowState = checked.Number(
      kSection, "WindowState", s.windowState,
      {SMainFrameSettings::kStateNormal, SMainFrameSettings::kStateMaximised, false});
  s.showList = checked.Flag(kSection, "ShowList", s.showList);
  s.statusBar = checked.Flag(kSection, "StatusBar", s.statusBar);
  s.toolBar = checked.Flag(kSection, "ToolBar", s.toolBar);
  const QRect screen = ScreenOf(s, screens);
  if (screen.isEmpty()) return checked.Repairs();
  const QRect kept = KeptOnScreen(s, screen);
  const bool moved = kept.x() != s.left || kept.y() != s.top || kept.width() != s.width ||
                     kept.height() != s.height;
  // A window whose place was never stored is fitted without a word.
  const bool stored = store.Value(kSection, "Left") || store.Value(kSection, "Top") ||
                      store.Value(kSection, "Width") || store.Value(kSection, "Height");
  if (moved && stored) {
    checked.Note(QString("MainFrame: the window at %1 does not fit on the screen; %2 is used.")
                     .arg(PlaceText(s.left, s.top, s.width, s.height),
                          PlaceText(kept.x(), kept.y(), kept.width(), kept.height())));
  }
  s.left = kept.x();
  s.top = kept.y();
  s.width = kept.width();
  s.height = kept.height();
  // A maximised window does not store its place when it closes: the repaired one is stored now,
  // so that the next start does not repair it again.
  if (moved && stored) WritePlace(store, s);
  return checked.Repairs();
}

void StoreFrameSettings(const SMainFrameSettings& settings) {
  TSettingsStore store;
  store.WriteInteger(kSection, "WindowState", settings.windowState);
  if (settings.windowState == SMainFrameSettings::kStateNormal) WritePlace(store, settings);
  store.WriteInteger(kSection, "ShowList", settings.showList ? 1 : 0);
  store.WriteInteger(kSection, "StatusBar", settings.statusBar ? 1 : 0);
  store.WriteInteger(kSection, "ToolBar", settings.toolBar ? 1 : 0);
}
