#include "modules/wavetable_editing.h"

#include <algorithm>
#include <charconv>

namespace {

// The size field's mask pads with blanks and underscores; what is left must be a whole number.
int TypedNumber(const std::string& typed) {
  std::string digits = typed;
  std::erase_if(digits, [](char c) { return c == ' ' || c == '_'; });
  int value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return error == std::errc() && end == digits.data() + digits.size() ? value : 0;
}

}  // namespace

TWavetableEdit::TWavetableEdit(const TWavetableGenerator& module)
    : name(module.Title->value), randomStart(module.StartsRandom()), count_(module.WaveCount()) {
  for (int position = 0; position < count_; ++position)
    codes_[position] = module.WaveCode(position);
}

std::string TWavetableEdit::ConfirmSize(const std::string& typed) {
  const int size = TypedNumber(typed);
  if (size < 1 || size > TWavetableGenerator::kMaxWaves) return kSizeOutOfRange;
  count_ = size;
  return {};
}

void TWavetableEdit::DropWave(int position, int waveCode) {
  if (position < 0 || position >= count_ || waveCode < 0 || waveCode >= kWaveCodeCount) return;
  codes_[position] = waveCode;
}

bool TWavetableEdit::RemoveSlot(int position) {
  if (count_ < 2 || position < 0 || position >= count_) return false;
  std::copy(codes_.begin() + position + 1, codes_.begin() + count_, codes_.begin() + position);
  --count_;
  return true;
}

void TWavetableEdit::Apply(TWavetableGenerator& module) const {
  module.SizeWaves->value = count_;
  for (int position = 0; position < count_; ++position)
    module.Waves[position]->value = codes_[position];
  module.Title->value = name;
  module.PropertyChanged(module.Title.get());
  module.StartRandom->value = randomStart ? 1 : 0;
  module.MarkChanged();
  module.RestartSound();
}
