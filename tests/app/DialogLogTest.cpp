// The desktop log sink: whole lines from many threads, line breaks inside a
// message, the 999-character cut, writers that do not wait for the GUI thread,
// and writes from the GUI thread itself.
#include "AppTestSupport.h"

#include "app/DialogLog.h"

#include <QPlainTextEdit>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

QStringList lines(const QPlainTextEdit& view) { return view.toPlainText().split(QLatin1Char('\n')); }

}  // namespace

TEST(DialogLog, MessagesFromSeveralThreadsArriveAsWholeLinesInEachWritersOrder) {
  QPlainTextEdit view;
  CDialogLog log(&view);
  constexpr int kThreads = 4;
  constexpr int kMessages = 50;
  std::atomic<int> finished{0};
  std::vector<std::thread> writers;
  for (int t = 0; t < kThreads; ++t) {
    writers.emplace_back([&, t] {
      for (int i = 0; i < kMessages; ++i) log.write("writer " + std::to_string(t) + " message " + std::to_string(i));
      ++finished;
    });
  }
  // Writers return before their lines are shown: the GUI thread's loop shows them.
  ASSERT_TRUE(waitUntil([&] { return finished == kThreads && view.blockCount() == kThreads * kMessages; }));
  for (auto& writer : writers) writer.join();

  QStringList shown = lines(view);
  ASSERT_EQ(shown.size(), kThreads * kMessages);
  std::map<int, int> nextOf;
  for (const QString& line : shown) {
    QStringList words = line.split(QLatin1Char(' '));
    ASSERT_EQ(words.size(), 4) << line.toStdString();
    int writer = words[1].toInt();
    EXPECT_EQ(words[3].toInt(), nextOf[writer]++) << "each writer's lines keep their order";
  }
  EXPECT_EQ(view.verticalScrollBar()->value(), view.verticalScrollBar()->maximum()) << "scrolled to the last line";
}

TEST(DialogLog, LineBreaksInsideAMessageStartNewLines) {
  QPlainTextEdit view;
  CDialogLog log(&view);
  log.write("first");
  log.write("a\r\nb\nc");
  log.write("");
  EXPECT_EQ(lines(view), (QStringList{"first", "a", "b", "c", ""}));
}

TEST(DialogLog, CutsAMessageToNineHundredNinetyNineCharactersAndKeepsLatin1) {
  QPlainTextEdit view;
  CDialogLog log(&view);
  log.write(std::string(1500, 'x'));
  log.write("caf\xE9");
  QStringList shown = lines(view);
  ASSERT_EQ(shown.size(), 2);
  EXPECT_EQ(shown[0].size(), 999);
  EXPECT_EQ(shown[1], QString::fromUtf8("café"));
}

TEST(DialogLog, WriteFromAnotherThreadReturnsAtOnceAndTheGuiThreadsOwnLineComesAfterIt) {
  QPlainTextEdit view;
  CDialogLog log(&view);
  std::atomic<bool> returned{false};
  std::thread writer([&] {
    log.write("queued by a connection thread");
    returned = true;
  });
  // The GUI thread runs no event loop here: a writer waiting for it would never return.
  for (int i = 0; i < 500 && !returned; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(returned.load());
  writer.join();
  EXPECT_TRUE(view.toPlainText().isEmpty());
  log.write("written on the GUI thread");
  EXPECT_EQ(lines(view), (QStringList{"queued by a connection thread", "written on the GUI thread"}));
}
