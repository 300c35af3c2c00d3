#include "engine/work_object.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct SRecord {
  std::int32_t a, b;
};

class TWorkPairs : public TWorkRecords<SRecord> {};

const auto* Module(int id) {
  return reinterpret_cast<const TEngineModule*>(std::uintptr_t(id) * 16);
}

TEST(WorkObject, RecordsOfAModuleAreConsecutiveAndModulesKeepRegistrationOrder) {
  TWorkPairs work;
  EXPECT_TRUE(work.RegisterModule(Module(2), 1));
  EXPECT_TRUE(work.RegisterModule(Module(1), 4));
  EXPECT_FALSE(work.RegisterModule(Module(2), 7));  // met twice: keeps its first registration
  EXPECT_EQ(work.GetRecordCount(), 5);

  std::vector<SRecord> block(5);
  work.records = reinterpret_cast<std::byte*>(block.data());
  EXPECT_EQ(work.GetRecord(Module(2), 0), &block[0]);
  for (int voice = 0; voice < 4; ++voice)
    EXPECT_EQ(work.GetRecord(Module(1), voice), &block[1 + voice]);
  EXPECT_EQ(work.GetRecord(Module(1), 4), nullptr);
  EXPECT_EQ(work.GetRecord(Module(3), 0), nullptr);

  work.Prepare();
  EXPECT_EQ(work.firstRecord, &block[0]);
  EXPECT_EQ(work.lastRecord, &block[4]);
}

}  // namespace
