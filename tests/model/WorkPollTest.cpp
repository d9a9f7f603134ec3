// The net's work poll: without a watcher work never stops; once the watcher
// says stop, one runtime error report is written and the work stays stopped.
#include <gtest/gtest.h>

#include "RecordingLog.h"
#include "model/WorkPoll.h"

namespace {

class CountingWatcher final : public WorkWatcher {
 public:
  explicit CountingWatcher(std::string_view reason) : reason_(reason) {}
  std::string_view reasonToStop() override {
    ++asked;
    return reason_;
  }
  int asked = 0;

 private:
  std::string_view reason_;
};

// More calls than any number of clock reads needs to reach the watcher once.
constexpr int kManyCalls = 100 * WorkPoll::kCallsPerClockRead;

int callsUntilStopped(WorkPoll& poll) {
  for (int call = 1; call <= kManyCalls; ++call) {
    if (!poll.keepGoing()) return call;
  }
  return 0;
}

TEST(WorkPoll, GoesOnWithoutAWatcherAndWhileItSaysSo) {
  CountingWatcher goOn("");
  for (WorkWatcher* watcher : {static_cast<WorkWatcher*>(nullptr), static_cast<WorkWatcher*>(&goOn)}) {
    WorkPoll poll;
    RecordingLog log;
    poll.install(watcher, &log);
    EXPECT_EQ(callsUntilStopped(poll), 0);
    EXPECT_TRUE(log.messages().empty());
  }
  EXPECT_GE(goOn.asked, 1);
}

TEST(WorkPoll, StopIsReportedOnceAndLasts) {
  WorkPoll poll;
  RecordingLog log;
  CountingWatcher watcher("time is up");
  poll.install(&watcher, &log);
  EXPECT_GT(callsUntilStopped(poll), 0);
  EXPECT_EQ(callsUntilStopped(poll), 1) << "every later call is false";
  EXPECT_EQ(callsUntilStopped(poll), 1);
  EXPECT_EQ(watcher.asked, 1);
  ASSERT_EQ(log.messages().size(), 1u);
  EXPECT_NE(log.messages()[0].find("***Primitive RunTime error:\n\n\t\ttime is up\n"), std::string::npos)
      << log.text();
}

}  // namespace
