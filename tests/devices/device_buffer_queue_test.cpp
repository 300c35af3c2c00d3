#include "platform/device_buffer_queue.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <numeric>
#include <vector>

namespace {

// Buffers of the given lengths whose bytes count on from 0 across the buffers.
class BufferQueue : public ::testing::Test {
 protected:
  void Make(std::initializer_list<std::uint32_t> lengths) {
    std::uint8_t next = 0;
    for (const std::uint32_t length : lengths) {
      auto& buffer = buffers_.emplace_back();
      ASSERT_TRUE(buffer.Allocate(length));
      for (std::uint32_t i = 0; i < length; ++i)
        buffer.data()[i] = std::byte{next++};
    }
  }
  SWaveHeader& Header(std::size_t i) { return *buffers_[i].header(); }

  // Plays `bytes` bytes into `out`, noting each finished buffer.
  std::size_t Play(std::size_t bytes, std::vector<std::uint8_t>& out) {
    out.assign(bytes, 0xEE);
    return queue_.Transfer(
        bytes,
        [&out](const SWaveHeader& header, std::uint32_t offset, std::size_t at, std::size_t count) {
          std::memcpy(out.data() + at, header.data + offset, count);
        },
        [this](SWaveHeader& header) { finished_.push_back(&header); });
  }

  std::vector<TWorkWaveOutBuffer> buffers_;
  TDeviceBufferQueue queue_;
  std::vector<SWaveHeader*> finished_;
};

TEST_F(BufferQueue, PlaysBuffersBackToBackAcrossPiecesAndReportsEachAtItsEnd) {
  Make({6, 4});
  ASSERT_TRUE(queue_.Add(Header(0)));
  ASSERT_TRUE(queue_.Add(Header(1)));
  std::vector<std::uint8_t> out;

  EXPECT_EQ(Play(4, out), 4u);
  EXPECT_EQ(out, (std::vector<std::uint8_t>{0, 1, 2, 3}));
  EXPECT_TRUE(finished_.empty());

  EXPECT_EQ(Play(5, out), 5u);
  EXPECT_EQ(out, (std::vector<std::uint8_t>{4, 5, 6, 7, 8}));
  EXPECT_EQ(finished_, std::vector<SWaveHeader*>{&Header(0)});

  // One byte is left; the rest of the period finds no buffer.
  EXPECT_EQ(Play(4, out), 1u);
  EXPECT_EQ(out[0], 9);
  EXPECT_EQ(finished_, (std::vector<SWaveHeader*>{&Header(0), &Header(1)}));
  EXPECT_EQ(queue_.Transferred(), 10u);
  EXPECT_EQ(Play(4, out), 0u);
}

TEST_F(BufferQueue, TakeBackReturnsTheBegunBufferFirstThenTheWaitingOnesAndCountsFromZero) {
  Make({4, 4, 4});
  for (std::size_t i = 0; i < 3; ++i)
    ASSERT_TRUE(queue_.Add(Header(i)));
  std::vector<std::uint8_t> out;
  Play(2, out);

  std::vector<SWaveHeader*> returned;
  queue_.TakeBack([&returned](SWaveHeader& header) { returned.push_back(&header); });
  EXPECT_EQ(returned, (std::vector<SWaveHeader*>{&Header(0), &Header(1), &Header(2)}));
  EXPECT_EQ(queue_.Transferred(), 0u);

  // A buffer added after starts at its first byte.
  ASSERT_TRUE(queue_.Add(Header(1)));
  EXPECT_EQ(Play(2, out), 2u);
  EXPECT_EQ(out, (std::vector<std::uint8_t>{4, 5}));
}

TEST_F(BufferQueue, RefusesBuffersBeyondItsCapacity) {
  Make({2});
  for (std::size_t i = 0; i < TDeviceBufferQueue::kCapacity; ++i)
    ASSERT_TRUE(queue_.Add(Header(0)));
  EXPECT_FALSE(queue_.Add(Header(0)));
}

}  // namespace
