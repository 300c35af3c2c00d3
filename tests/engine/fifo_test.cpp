#include "engine/fifo.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

TEST(Fifo, KeepsOrderDropsWhenFullAndWrapsAround) {
  TFIFO<int, 4> queue;
  int value = 0;
  EXPECT_FALSE(queue.Pop(value));
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 5; ++i)
      EXPECT_EQ(queue.Push(10 * round + i), i < 4);
    EXPECT_EQ(queue.Count(), 4u);
    for (int i = 0; i < 4; ++i) {
      ASSERT_TRUE(queue.Pop(value));
      EXPECT_EQ(value, 10 * round + i);
    }
    EXPECT_FALSE(queue.Pop(value));
  }
  queue.Push(1);
  queue.Clear();
  EXPECT_FALSE(queue.Pop(value));
}

TEST(Fifo, OneProducerAndOneConsumerLoseNothingThatWasAccepted) {
  TFIFO<int, 16> queue;
  constexpr int kCount = 20000;
  std::thread producer([&] {
    for (int i = 0; i < kCount; ++i) {
      while (!queue.Push(i))
        std::this_thread::yield();
    }
  });
  int expected = 0;
  while (expected < kCount) {
    int value = -1;
    if (!queue.Pop(value)) {
      std::this_thread::yield();
      continue;
    }
    ASSERT_EQ(value, expected);
    ++expected;
  }
  producer.join();
}

}  // namespace
