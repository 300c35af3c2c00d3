#include "patch/port_type.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<SPortType, kPortCodeCount> kPortTypes = {{
    {"IMA", "A", "Input mono audio", true, false, TSignalKind::Analog},
    {"IPA", "A", "Input poly audio", true, true, TSignalKind::Analog},
    {"OMA", "A", "Output mono audio", false, false, TSignalKind::Analog},
    {"OPA", "A", "Output poly audio", false, true, TSignalKind::Analog},
    {"IMF", "Hz", "Input mono frequenz", true, false, TSignalKind::Frequenz},
    {"IPF", "Hz", "Input poly frequenz", true, true, TSignalKind::Frequenz},
    {"OMF", "Hz", "Output mono frequenz", false, false, TSignalKind::Frequenz},
    {"OPF", "Hz", "Output poly frequenz", false, true, TSignalKind::Frequenz},
    {"IM", "M", "Input midi", true, false, TSignalKind::Midi},
    {"OM", "M", "Output midi", false, false, TSignalKind::Midi},
}};

}  // namespace

const SPortType& PortType(int code) { return kPortTypes.at(static_cast<std::size_t>(code)); }

int PortCodeOf(const std::string& typeName) {
  const auto found =
      std::find_if(kPortTypes.begin(), kPortTypes.end(),
                   [&typeName](const SPortType& t) { return typeName == t.typeName; });
  return found == kPortTypes.end() ? -1 : static_cast<int>(found - kPortTypes.begin());
}

bool PortsCompatible(int codeA, int codeB) {
  const SPortType& a = PortType(codeA);
  const SPortType& b = PortType(codeB);
  if (a.isInput == b.isInput || a.kind != b.kind) return false;
  const SPortType& input = a.isInput ? a : b;
  const SPortType& output = a.isInput ? b : a;
  return input.isPoly || !output.isPoly;
}
