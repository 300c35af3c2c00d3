// The panel items of a sound's Panel tab: faders that move the value of a constant module, level
// meters that show what a volume-view module measures, and free text notes. They are modules
// without ports or engine work, kept in the panel list beside the sound's structure list. A fader
// or level meter belongs to the module stored under the same key in the structure list, which
// creates and removes it and lends it its "ViewRect" as the item's rectangle. This file holds
// their model; the widgets come with the editor.
#pragma once

#include <cstdint>
#include <string>

#include "patch/canvas_interface.h"
#include "patch/modul.h"
#include "patch/module_registry.h"

class TFaderSource;

// The panel item of `typeName` that belongs to `owner` (a module of a structure list), or null.
TModul* FindPanelItem(const TModul& owner, const std::string& typeName);
// Creates the item when it is missing and a panel list exists, then makes the item and `owner`
// share one rectangle object at the position stored in `viewRect` (owner's "ViewRect" child):
// moving the item moves `viewRect`, which is saved with the owner. Returns the item, or null
// when the owner has no panel list or another kind of item holds its key.
TModul* AttachPanelItem(TModul& owner, const std::string& typeName, TRPointer<TPropRect>& viewRect);
// Removes the item of `typeName` that belongs to `owner`, if there is one.
void RemovePanelItem(const TModul& owner, const std::string& typeName);

// Keeps a fader or level meter with its owner's editable view: owners call it from their
// CreatePanel after the base, with `show` creating (true) or removing (false) the item.
// `editable` remembers whether the owner has an editable view, which it returns.
template <class Show>
bool FollowEditableView(TModuleCanvasInterface* owner, int mode, bool& editable, Show show) {
  if (owner == nullptr) {
    if (editable) show(false);
    editable = false;
    return false;
  }
  editable = mode != kPanelSample;
  if (editable) show(true);
  return editable;
}

// "ViewFader": a vertical slider with the constant's value text and limit texts beside it.
class TModulSchieber : public TModul {
 public:
  static constexpr TRect kRect{0, 0, 73, 150};
  static constexpr int kInitialPosition = 50;

  TModulSchieber();

  // The constant this fader belongs to, or null.
  TFaderSource* Constant() const;
  // From the slider: the constant's value follows `position`. Otherwise (from the constant) the
  // slider takes `position` without calling back. Both then copy the constant's texts and title.
  void Synchronise(int position, bool fromSlider);
  // Moves the slider to `position`, clamped to 0..100; nothing happens when it is already
  // there. With `notify` the constant follows (the user dragged or clicked the slider).
  void SetPosition(int position, bool notify);

  int Position() const { return position_; }
  const std::string& ValueText() const { return valueText_; }
  const std::string& UpperText() const { return upperText_; }
  const std::string& LowerText() const { return lowerText_; }

 private:
  int position_ = kInitialPosition;
  std::string valueText_;
  std::string upperText_;
  std::string lowerText_;
};

// "VolumeView": a level meter whose foreground shows from the bottom up as the level rises.
class TModulLautstaerkeSehen : public TModul {
 public:
  static constexpr TRect kRect{0, 0, 43, 139};
  // Height of the meter's picture; the covering image hides it completely at first.
  static constexpr int kMeterHeight = 125;
  // At this many percent nothing of the meter stays covered.
  static constexpr int kFullLevel = 108;

  TModulLautstaerkeSehen();

  // A level report from the volume-view module: `percent` of full scale, and the module's title.
  void ShowLevel(const std::string& title, std::int32_t percent);
  // Pixels of the meter still covered from the top, 0..kMeterHeight.
  int CoveredHeight() const { return coveredHeight_; }

 private:
  int coveredHeight_ = kMeterHeight;
};

// Where a press on a resizable item grabs it.
enum class TResizeZone { None, Diagonal, Vertical, Horizontal };

// An item that the user resizes by dragging its lower or right edge.
class TModulResize : public TModul {
 public:
  // Items never shrink to this width or height or below.
  static constexpr int kMinWidth = 40;
  static constexpr int kMinHeight = 30;
  // Edges this close to the mouse grab it; the title bar never does.
  static constexpr int kEdgeGrip = 9;
  static constexpr int kTitleBarHeight = 20;

  // The zone under the mouse at (x, y), in panel client coordinates.
  TResizeZone ZoneAt(int x, int y) const;
  // A resize in `zone` with the mouse at (x, y): the width follows x and the height y where the
  // zone allows and the result stays larger than the minimum. True when the rectangle changed.
  bool ResizeTo(TResizeZone zone, int x, int y);
};

// "ViewText": a free text note.
class TModulText : public TModulResize {
 public:
  TModulText();

  // The user edited the note.
  void SetText(const std::string& text);

  const TRPointerPropString Text;
};

// Registers "ViewFader", "ViewText" and "VolumeView".
void RegisterPanelItems(TModuleTypeTable& table);
