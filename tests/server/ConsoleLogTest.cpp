// The console log sinks of the programs without a screen, the one that writes
// at once and the one that writes in batches: whole lines in each writer's
// order even with many writers, messages cut at the sinks' limit.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <thread>

#include "base/BatchedConsoleLog.h"
#include "base/ConsoleLog.h"

namespace {

// A sink on a stream, and how to make sure everything written is in it.
struct Sink {
  std::unique_ptr<CSimpleInterface> log;
  std::function<void()> flush;
};

struct SinkKind {
  const char* name;
  Sink (*make)(std::FILE* file);
};

const SinkKind kSinks[] = {
    {"AtOnce", [](std::FILE* file) { return Sink{std::make_unique<ConsoleLog>(file), [] {}}; }},
    {"Batched",
     [](std::FILE* file) {
       auto log = std::make_unique<BatchedConsoleLog>(file);
       BatchedConsoleLog* batched = log.get();
       return Sink{std::move(log), [batched] { batched->flush(); }};
     }},
};

class ConsoleLogTest : public testing::TestWithParam<SinkKind> {
 protected:
  ConsoleLogTest() : file_(std::tmpfile()), sink_(GetParam().make(file_)) {}
  ~ConsoleLogTest() override {
    sink_.log.reset();
    std::fclose(file_);
  }

  std::string written() {
    sink_.flush();
    std::fflush(file_);
    std::rewind(file_);
    std::string text;
    for (int c; (c = std::fgetc(file_)) != EOF;) text += static_cast<char>(c);
    return text;
  }

  std::FILE* file_;
  Sink sink_;
};

TEST_P(ConsoleLogTest, WritersOnManyThreadsGiveWholeLinesInEachWritersOrder) {
  constexpr int kThreads = 4, kMessages = 500;
  const std::string tail(200, 'x');
  std::vector<std::thread> writers;
  for (int t = 0; t < kThreads; ++t) {
    writers.emplace_back([this, t, &tail] {
      for (int m = 0; m < kMessages; ++m) sink_.log->write(std::to_string(t) + " " + std::to_string(m) + " " + tail);
    });
  }
  for (auto& writer : writers) writer.join();
  std::istringstream lines(written());
  std::map<int, int> nextOf;
  int count = 0;
  for (std::string line; std::getline(lines, line); ++count) {
    ASSERT_TRUE(line.ends_with(" " + tail)) << line;
    std::istringstream words(line);
    int writer = -1, message = -1;
    words >> writer >> message;
    EXPECT_EQ(message, nextOf[writer]++) << line;
  }
  EXPECT_EQ(count, kThreads * kMessages);
}

TEST_P(ConsoleLogTest, MessagesAreCutAtTheLimitAndLineBreaksKept) {
  sink_.log->write(std::string(CSimpleInterface::kMaxMessage + 10, 'a'));
  sink_.log->write("Malformed header.\r\nHeader:");
  sink_.log->write("");
  EXPECT_EQ(written(), std::string(CSimpleInterface::kMaxMessage, 'a') + "\nMalformed header.\r\nHeader:\n\n");
}

INSTANTIATE_TEST_SUITE_P(Sinks, ConsoleLogTest, testing::ValuesIn(kSinks),
                         [](const testing::TestParamInfo<SinkKind>& info) { return info.param.name; });

}  // namespace
