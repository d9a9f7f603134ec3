// The console log sink of the programs without a screen: one whole line per
// message even with many writers, messages cut at the sink's limit.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <thread>

#include "base/ConsoleLog.h"

namespace {

std::string contentOf(std::FILE* file) {
  std::fflush(file);
  std::rewind(file);
  std::string text;
  for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
  return text;
}

TEST(ConsoleLogTest, WritersOnManyThreadsGiveWholeLines) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  ConsoleLog log(file);
  constexpr int kThreads = 4, kMessages = 500;
  std::vector<std::thread> writers;
  for (int t = 0; t < kThreads; ++t) {
    writers.emplace_back([&log, t] {
      for (int m = 0; m < kMessages; ++m)
        log.write("thread " + std::to_string(t) + " message " + std::to_string(m) + std::string(200, 'x'));
    });
  }
  for (auto& writer : writers) writer.join();
  std::istringstream lines(contentOf(file));
  std::set<std::string> seen;
  for (std::string line; std::getline(lines, line);) {
    EXPECT_TRUE(line.ends_with(std::string(200, 'x'))) << line;
    seen.insert(line.substr(0, line.find('x')));
  }
  EXPECT_EQ(seen.size(), static_cast<std::size_t>(kThreads * kMessages));
  std::fclose(file);
}

TEST(ConsoleLogTest, MessagesAreCutAtTheLimitAndLineBreaksKept) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  ConsoleLog log(file);
  log.write(std::string(CSimpleInterface::kMaxMessage + 10, 'a'));
  log.write("Malformed header.\r\nHeader:");
  log.write("");
  EXPECT_EQ(contentOf(file), std::string(CSimpleInterface::kMaxMessage, 'a') + "\nMalformed header.\r\nHeader:\n\n");
  std::fclose(file);
}

}  // namespace
