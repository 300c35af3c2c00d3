#include "plugin/panel_faders.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "modules/constants.h"
#include "patch/dokument_klang.h"

std::vector<TBasisKonstanten*> PanelFaders(const TDokumentKlang& document) {
  struct SPlaced {
    std::int32_t top;
    std::int32_t left;
    const std::string* key;
    TBasisKonstanten* constant;
  };
  std::vector<SPlaced> placed;
  for (const auto& [key, child] : document.ModuleList->Children()) {
    auto* constant = dynamic_cast<TBasisKonstanten*>(child.get());
    if (constant == nullptr || constant->ShowInView->value != 1) continue;
    const TRect rect = constant->ViewRect->GetRect();
    placed.push_back({rect.top, rect.left, &key, constant});
  }
  std::sort(placed.begin(), placed.end(), [](const SPlaced& a, const SPlaced& b) {
    return std::tie(a.top, a.left, *a.key) < std::tie(b.top, b.left, *b.key);
  });
  std::vector<TBasisKonstanten*> faders;
  faders.reserve(placed.size());
  for (const SPlaced& fader : placed)
    faders.push_back(fader.constant);
  return faders;
}

std::int32_t FaderValue(double position, std::int32_t lower, std::int32_t upper) {
  const double span = static_cast<double>(upper) - lower;
  return static_cast<std::int32_t>(std::lround(lower + std::clamp(position, 0.0, 1.0) * span));
}
