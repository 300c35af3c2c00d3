// What a fader of the Panel tab needs of the module it belongs to. Constants implement it, so
// that the panel items know no constant and constants and panel items do not include each other.
#pragma once

#include <string>

struct SFaderTexts {
  std::string value;
  std::string upper;  // the upper limit
  std::string lower;  // the lower limit
  std::string title;
};

class TFaderSource {
 public:
  // Slider and scroll bar positions run from 0 (lower limit) to kSliderMax (upper limit).
  static constexpr int kSliderMax = 100;

  // The texts the fader shows beside its slider, and its title.
  virtual SFaderTexts FaderTexts() const = 0;
  // The fader moved to `position`: the value follows.
  virtual void FollowSlider(int position) = 0;

 protected:
  ~TFaderSource() = default;
};
