// The faders of a sound's Panel tab as the plugin's controls "Fader 1" to "Fader 16" see them:
// the constants of the sound's own structure list that show a fader on the panel, in reading
// order of where the fader stands (top to bottom, then left to right; the key decides between
// faders at the same place). A control at 0 sets the constant's "MinValue", at 1 its "MaxValue".
#pragma once

#include <cstdint>
#include <vector>

class TBasisKonstanten;
class TDokumentKlang;

inline constexpr int kFaderControls = 16;

std::vector<TBasisKonstanten*> PanelFaders(const TDokumentKlang& document);

// The raw value (engine units) of a control's `position`, clamped to 0..1, over `lower` to
// `upper`.
std::int32_t FaderValue(double position, std::int32_t lower, std::int32_t upper);
