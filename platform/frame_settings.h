// The main window's own settings (section "MainFrame"), read at start and written when it closes:
// its place and size in the normal state, its state, and which of its bars show. Loading keeps
// the window on a screen; the GUI names the screens.
#pragma once

#include <QList>
#include <QRect>
#include <QStringList>
#include <cstdint>

struct SMainFrameSettings {
  // Place and size of the normal window: "Left", "Top", "Width", "Height".
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t windowState = kStateNormal;  // "WindowState"
  bool showList = true;                     // "ShowList": the workspace pages
  bool statusBar = true;                    // "StatusBar"
  bool toolBar = true;                      // "ToolBar"

  friend bool operator==(const SMainFrameSettings&, const SMainFrameSettings&) = default;

  static constexpr std::int32_t kStateNormal = 0;
  static constexpr std::int32_t kStateMinimised = 1;
  static constexpr std::int32_t kStateMaximised = 2;
};

// The smallest window loading leaves (unless the screen is smaller).
inline constexpr int kMinFrameWidth = 320;
inline constexpr int kMinFrameHeight = 240;

// `settings` holds the window's present values, the defaults; the stored values are read over
// them. `screens` are the screens' available areas, the primary first: the window is kept on the
// one it overlaps most (the primary when it overlaps none). Returns what it repaired.
QStringList LoadFrameSettings(SMainFrameSettings& settings, const QList<QRect>& screens);
// Writes the place and size only in the normal state, the rest always.
void StoreFrameSettings(const SMainFrameSettings& settings);

// The place and size of `settings` moved and resized as little as needed to lie inside `screen`
// and to be at least the smallest window.
QRect KeptOnScreen(const SMainFrameSettings& settings, const QRect& screen);
