// The log queue behind the sinks: who drains, batches in order, and the two
// waits (a writer at the bound, a flush for the batch in hand).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "base/LogQueue.h"
#include "base/SimpleInterface.h"

namespace {

// True when `done` holds within a second; a check that a wait has ended.
bool becomes(const std::atomic<bool>& done) {
  for (int i = 0; i < 100 && !done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return done;
}

TEST(LogQueueTest, FirstPushStartsTheDrainWhichTakesBatchesInOrderUntilEmpty) {
  LogQueue queue;
  std::string batch;
  EXPECT_TRUE(queue.push("a"));
  EXPECT_FALSE(queue.push(std::string(CSimpleInterface::kMaxMessage + 1, 'b')));
  ASSERT_TRUE(queue.take(batch));
  EXPECT_EQ(batch, "a\n" + std::string(CSimpleInterface::kMaxMessage, 'b') + "\n");
  EXPECT_FALSE(queue.push("c")) << "the drain is still under way";
  ASSERT_TRUE(queue.take(batch));
  EXPECT_EQ(batch, "c\n");
  EXPECT_FALSE(queue.take(batch));
  EXPECT_TRUE(queue.push("d")) << "the drain ended with the empty take";
}

TEST(LogQueueTest, WriterPastTheBoundWaitsForTheNextTake) {
  LogQueue queue;
  std::string batch;
  for (std::size_t queued = 0; queued < LogQueue::kMaxPendingBytes; queued += CSimpleInterface::kMaxMessage + 1) {
    queue.push(std::string(CSimpleInterface::kMaxMessage, 'x'));
  }
  std::atomic<bool> pushed{false};
  std::thread writer([&] {
    queue.push("over the bound");
    pushed = true;
  });
  EXPECT_FALSE(becomes(pushed));
  ASSERT_TRUE(queue.take(batch));
  EXPECT_TRUE(becomes(pushed));
  writer.join();
  ASSERT_TRUE(queue.take(batch));
  EXPECT_EQ(batch, "over the bound\n");
}

// The drain finishes the batch in hand by saying so, or by its next take.
TEST(LogQueueTest, WaitUntilHandedOnWaitsForTheDrainToFinishTheBatchInHand) {
  const std::pair<const char*, void (*)(LogQueue&)> finishes[] = {
      {"handedOn", [](LogQueue& queue) { queue.handedOn(); }},
      {"take", [](LogQueue& queue) {
         std::string next;
         EXPECT_FALSE(queue.take(next));
       }},
  };
  for (const auto& [name, finish] : finishes) {
    SCOPED_TRACE(name);
    LogQueue queue;
    std::string batch;
    EXPECT_TRUE(queue.allHandedOn());
    queue.push("in hand");
    EXPECT_FALSE(queue.allHandedOn());
    ASSERT_TRUE(queue.take(batch));
    EXPECT_FALSE(queue.allHandedOn());
    std::atomic<bool> handedOn{false};
    std::thread flusher([&] {
      queue.waitUntilHandedOn();
      handedOn = true;
    });
    EXPECT_FALSE(becomes(handedOn));
    finish(queue);
    EXPECT_TRUE(becomes(handedOn));
    EXPECT_TRUE(queue.allHandedOn());
    flusher.join();
  }
}

}  // namespace
