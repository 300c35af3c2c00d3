#include "modules/panel_items.h"

#include <algorithm>

#include "modules/fader_source.h"
#include "patch/module_list.h"

namespace {

// The list beside the one that holds `module` (the panel list of a structure list and the other
// way round), and the module's key, under which its partner is stored there too.
TModuleListe* PartnerListOf(const TModul& module, std::string& key) {
  TModuleListe* list = OwnerList(module);
  if (list == nullptr || list->PartnerList == nullptr) return nullptr;
  key = list->KeyOf(&module);
  return key.empty() ? nullptr : list->PartnerList;
}

TModul* ItemOfType(const TRPointerPropTyp& node, const std::string& typeName) {
  auto* item = dynamic_cast<TModul*>(node.get());
  return item != nullptr && item->typeName == typeName ? item : nullptr;
}

}  // namespace

TModul* FindPanelItem(const TModul& owner, const std::string& typeName) {
  std::string key;
  TModuleListe* panel = PartnerListOf(owner, key);
  return panel ? ItemOfType(panel->Get(key), typeName) : nullptr;
}

TModul* AttachPanelItem(TModul& owner, const std::string& typeName,
                        TRPointer<TPropRect>& viewRect) {
  std::string key;
  TModuleListe* panel = PartnerListOf(owner, key);
  if (panel == nullptr) return nullptr;
  TRPointerPropTyp held = panel->Get(key);
  const bool created = !held;
  if (created) held = panel->NewModule(typeName);
  TModul* item = ItemOfType(held, typeName);
  // Another item under the key (a hand-edited file) is the user's and stays as it is.
  if (item == nullptr) return nullptr;
  // The item's rectangle object becomes the owner's "ViewRect" after taking its position, so
  // both hold one object from here on.
  item->Rect->SetRect(viewRect->GetRect());
  viewRect = item->Rect;
  owner.Add("ViewRect", viewRect);
  if (created) {
    panel->InsertModule(key, std::static_pointer_cast<TModul>(held));
  } else {
    item->PropertyChanged(item->Rect.get());
  }
  return item;
}

void RemovePanelItem(const TModul& owner, const std::string& typeName) {
  std::string key;
  TModuleListe* panel = PartnerListOf(owner, key);
  TModul* item = panel ? ItemOfType(panel->Get(key), typeName) : nullptr;
  if (item != nullptr) panel->TakeOutModule(key);
}

TModulSchieber::TModulSchieber() {
  Title->value = " Fader";
  Rect->SetRect(kRect);
}

TFaderSource* TModulSchieber::Constant() const {
  std::string key;
  TModuleListe* structure = PartnerListOf(*this, key);
  return structure ? dynamic_cast<TFaderSource*>(structure->Get(key).get()) : nullptr;
}

void TModulSchieber::Synchronise(int position, bool fromSlider) {
  TFaderSource* constant = Constant();
  if (constant == nullptr) return;
  if (fromSlider) {
    constant->FollowSlider(position);
  } else {
    position_ = std::clamp(position, 0, TFaderSource::kSliderMax);
  }
  SFaderTexts texts = constant->FaderTexts();
  valueText_ = std::move(texts.value);
  upperText_ = std::move(texts.upper);
  lowerText_ = std::move(texts.lower);
  Title->value = std::move(texts.title);
  PropertyChanged(nullptr);
}

void TModulSchieber::SetPosition(int position, bool notify) {
  if (position == position_) return;
  position_ = std::clamp(position, 0, TFaderSource::kSliderMax);
  if (notify) Synchronise(position_, true);
}

TModulLautstaerkeSehen::TModulLautstaerkeSehen() {
  Title->value = " Vol.";
  Rect->SetRect(kRect);
}

void TModulLautstaerkeSehen::ShowLevel(const std::string& title, std::int32_t percent) {
  const std::int64_t covered = std::int64_t{kFullLevel} - percent;
  coveredHeight_ = static_cast<int>(std::clamp<std::int64_t>(covered, 0, kMeterHeight));
  Title->value = title;
  PropertyChanged(nullptr);
}

TResizeZone TModulResize::ZoneAt(int x, int y) const {
  const TRect r = Rect->GetRect();
  if (y <= kTitleBarHeight) return TResizeZone::None;
  const bool bottom = y > r.bottom - r.top - kEdgeGrip;
  const bool right = x > r.right - r.left - kEdgeGrip;
  if (bottom && right) return TResizeZone::Diagonal;
  if (bottom) return TResizeZone::Vertical;
  if (right) return TResizeZone::Horizontal;
  return TResizeZone::None;
}

bool TModulResize::ResizeTo(TResizeZone zone, int x, int y) {
  const TRect r = Rect->GetRect();
  x = std::min(x, TPropRect::kCoordinateLimit);
  y = std::min(y, TPropRect::kCoordinateLimit);
  int width = r.right - r.left;
  int height = r.bottom - r.top;
  const bool changesWidth = zone == TResizeZone::Diagonal || zone == TResizeZone::Horizontal;
  const bool changesHeight = zone == TResizeZone::Diagonal || zone == TResizeZone::Vertical;
  bool changed = false;
  if (changesWidth && x != width && x > kMinWidth) {
    width = x;
    changed = true;
  }
  if (changesHeight && y != height && y > kMinHeight) {
    height = y;
    changed = true;
  }
  if (!changed) return false;
  Rect->Set(r.left, r.top, r.left + width, r.top + height);
  PropertyChanged(Rect.get());
  return true;
}

TModulText::TModulText() : Text(std::make_shared<TPropString>()) {
  Title->value = " Text";
  Add("Text", Text);
}

void TModulText::SetText(const std::string& text) {
  Text->value = text;
  MarkChanged();
}

void RegisterPanelItems(TModuleTypeTable& table) {
  table["ViewFader"] = [] { return std::make_shared<TModulSchieber>(); };
  table["ViewText"] = [] { return std::make_shared<TModulText>(); };
  table["VolumeView"] = [] { return std::make_shared<TModulLautstaerkeSehen>(); };
}
