#include "engine/logic_kernels.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "tests/engine/kernel_rig.h"

namespace {

using TOperation = std::int32_t (*)(std::int32_t, std::int32_t);

struct SCase {
  const char* name;
  TOperation operation;
  std::int32_t x1, x2, expected;
};

TEST(LogicKernels, FormulasWrapAndNeverTrap) {
  const SCase cases[] = {
      {"unity amplitude", Amplify, 1000, 2048, 1000},
      {"shift rounds down", Amplify, -1, 1, -1},
      {"half amplitude", Amplify, -2048, 1024, -1024},
      {"product wraps in 32 bits", Amplify, INT32_MAX, 2, -1},
      {"or", BitOr, 6, 3, 7},
      {"or negative", BitOr, -8, 3, -5},
      {"and", BitAnd, 6, 3, 2},
      {"and-not", BitAndNot, 6, 3, 4},
      {"and-not of negative", BitAndNot, -1, 1, -2},
      {"remainder has the sign of x1", Remainder, -7, 3, -1},
      {"remainder by negative", Remainder, 7, -3, 1},
      {"remainder by 0 passes x1", Remainder, -7, 0, -7},
      {"INT32_MIN mod -1", Remainder, INT32_MIN, -1, 0},
      {"quotient truncates", Quotient, -7, 2, -3},
      {"quotient by 0 passes x1", Quotient, 1234, 0, 1234},
      {"quotient by -1", Quotient, 5, -1, -5},
      {"INT32_MIN / -1 wraps", Quotient, INT32_MIN, -1, INT32_MIN},
  };
  for (const SCase& c : cases)
    EXPECT_EQ(c.operation(c.x1, c.x2), c.expected) << c.name;
}

TEST(LogicKernels, KernelComputesEveryRecordFromItsOwnInputs) {
  const std::int32_t values[] = {-7, 2, 9, -4, 100, 0};
  TKernelRig<TWorkDivision, SVerknuepfungRecord> rig(
      {{&values[0], &values[1], 0}, {&values[2], &values[3], 0}, {&values[4], &values[5], 0}});
  rig.Run(1);
  EXPECT_EQ(rig[0].Output, -3);
  EXPECT_EQ(rig[1].Output, -2);
  EXPECT_EQ(rig[2].Output, 100);
}

TEST(LogicKernels, ResolutionMasksLowBitsOfNegativeValuesToo) {
  const std::int32_t values[] = {1000, -1000, -1};
  const std::uint32_t clearLow4 = ~0xFu;
  TKernelRig<TWorkAufloesung, SAufloesungRecord> rig(
      {{&values[0], 0, clearLow4}, {&values[1], 0, clearLow4}, {&values[2], 0, ~0u}});
  rig.Run(1);
  EXPECT_EQ(rig[0].Output, 992);
  EXPECT_EQ(rig[1].Output, -1008);  // rounds toward minus infinity
  EXPECT_EQ(rig[2].Output, -1);     // resolution 0 keeps every bit
}

}  // namespace
