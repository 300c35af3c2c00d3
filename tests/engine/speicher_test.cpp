#include "engine/speicher.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

TEST(Speicher, ResizeKeepsTheCommonPartAndZeroFillsTheRest) {
  TSpeicher block;
  auto* bytes = static_cast<std::uint8_t*>(block.Allocate(4));
  ASSERT_NE(bytes, nullptr);
  std::memset(bytes, 0xAB, 4);
  bytes = static_cast<std::uint8_t*>(block.Resize(8));
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(block.Size(), 8u);
  for (int i = 0; i < 8; ++i)
    EXPECT_EQ(bytes[i], i < 4 ? 0xAB : 0) << i;
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(bytes) % TSpeicher::kAlignment, 0u);
}

TEST(Speicher, FailedAllocationsReportNullAndKeepWhatTheyMust) {
  TSpeicher block;
  ASSERT_NE(block.Allocate(0), nullptr);  // an empty sound still gets its block
  EXPECT_EQ(block.Size(), 0u);
  void* kept = block.Resize(16);
  EXPECT_EQ(block.Resize(std::size_t{1} << 62), nullptr);
  EXPECT_EQ(block.Data(), kept);
  EXPECT_EQ(block.Size(), 16u);
  EXPECT_EQ(block.Allocate(std::size_t{1} << 62), nullptr);
  EXPECT_EQ(block.Size(), 0u);
  block.Free();
  EXPECT_EQ(block.Data(), nullptr);
}

}  // namespace
