// The input dialogs and the message box as connection threads see them:
// each request asked from another thread and answered here with OK, Escape,
// closing, or a text that is no number.
#include "AppTestSupport.h"

#include "RecordingLog.h"
#include "app/InputDialogs.h"
#include "app/QtUserServices.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>

namespace {

// Runs `request` on a thread of its own, as a connection thread would, and
// returns its answer once the event loop has served it.
template <typename Answer>
std::optional<Answer> askFromAnotherThread(std::function<Answer()> request) {
  std::optional<Answer> answer;
  std::atomic<bool> done{false};
  std::thread asker([&] {
    answer = request();
    done = true;
  });
  bool served = waitUntil([&] { return done.load(); });
  if (!served) return std::nullopt;  // the asker stays blocked; the test has failed
  asker.join();
  return answer;
}

// Types `text` into the numeric or text dialog and presses OK.
void typeAndPressOk(CPromptDialog* dialog, const QString& text) {
  dialog->edit()->setText(text);
  dialog->okButton()->click();
}

}  // namespace

class InputDialogsTest : public testing::Test {
 protected:
  double askSpeed(double defaultValue) {
    auto answer = askFromAnotherThread<double>([&] { return services_.askNumber(log_, "Speed?", defaultValue); });
    EXPECT_TRUE(answer.has_value());
    return answer.value_or(-1.0);
  }

  CQtUserServices services_;
  RecordingLog log_;
};

TEST_F(InputDialogsTest, NumberDialogShowsPromptAndDefaultAndGivesTheAnswer) {
  QString title;
  QString prompt;
  QString shown;
  ModalScript okAsShown({onModal<CInputDialog>([&](CInputDialog* dialog) {
    title = dialog->windowTitle();
    prompt = dialog->prompt();
    shown = dialog->edit()->text();
    dialog->okButton()->click();
  })});
  EXPECT_EQ(askSpeed(5.0), 5.0);
  EXPECT_EQ(title, QStringLiteral("Input"));
  EXPECT_EQ(prompt, QStringLiteral("Speed?"));
  EXPECT_EQ(shown, QStringLiteral("5"));

  ModalScript typed({onModal<CInputDialog>([](CInputDialog* dialog) { typeAndPressOk(dialog, "  7.5 "); })});
  EXPECT_EQ(askSpeed(5.0), 7.5);
  EXPECT_TRUE(log_.messages().empty()) << "a person answered: nothing to log";
}

TEST_F(InputDialogsTest, EscapeOrClosingKeepsTheDefault) {
  ModalScript escape({onModal<CInputDialog>([](CInputDialog* dialog) {
    dialog->edit()->setText("9");
    QTest::keyClick(dialog, Qt::Key_Escape);
  })});
  EXPECT_EQ(askSpeed(5.0), 5.0);
  ModalScript close({onModal<CInputDialog>([](CInputDialog* dialog) { dialog->close(); })});
  EXPECT_EQ(askSpeed(-2.25), -2.25);
}

TEST_F(InputDialogsTest, TextThatIsNoNumberIsRefusedWhileTheDialogStaysOpen) {
  QString warning;
  bool stayedOpen = false;
  ModalScript script({onModal<CInputDialog>([](CInputDialog* dialog) {
                        dialog->edit()->setText("fast");
                        // OK opens a box of its own: click it from the loop, not from here.
                        QMetaObject::invokeMethod(dialog->okButton(), &QPushButton::click, Qt::QueuedConnection);
                      }),
                      onModal<QMessageBox>([&](QMessageBox* box) {
                        warning = box->text();
                        stayedOpen = box->parentWidget() != nullptr && box->parentWidget()->isVisible();
                        box->accept();
                      }),
                      onModal<CInputDialog>([](CInputDialog* dialog) { typeAndPressOk(dialog, "3"); })});
  EXPECT_EQ(askSpeed(5.0), 3.0);
  EXPECT_TRUE(script.finished());
  EXPECT_EQ(warning, CInputDialog::notANumberText());
  EXPECT_TRUE(stayedOpen);
}

TEST_F(InputDialogsTest, ParseNumberTakesOnlyAWholeNumber) {
  struct Row {
    const char* text;
    std::optional<double> number;
  };
  const Row rows[] = {{"7", 7.0},       {" -2.5e1 ", -25.0}, {"", std::nullopt},  {"3x", std::nullopt},
                      {"x3", std::nullopt}, {"1e999", std::nullopt}, {".5", 0.5}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(parseNumber(QString::fromLatin1(row.text)), row.number);
  }
}

TEST_F(InputDialogsTest, TextDialogGivesTheTextOrEmptyWhenCancelled) {
  QString title;
  ModalScript typed({onModal<CInputDlgString>([&](CInputDlgString* dialog) {
    title = dialog->windowTitle();
    EXPECT_TRUE(dialog->edit()->text().isEmpty());
    typeAndPressOk(dialog, QString::fromUtf8("naïve"));
  })});
  auto answer = askFromAnotherThread<std::string>([&] { return services_.askText(log_, "Name?"); });
  EXPECT_EQ(title, QStringLiteral("Dialog"));
  EXPECT_EQ(answer, std::optional<std::string>("na\xEFve")) << "answers come back as Latin-1";

  ModalScript escape({onModal<CInputDlgString>([](CInputDlgString* dialog) {
    dialog->edit()->setText("typed, then cancelled");
    QTest::keyClick(dialog, Qt::Key_Escape);
  })});
  EXPECT_EQ(askFromAnotherThread<std::string>([&] { return services_.askText(log_, "Name?"); }), "");
}

TEST_F(InputDialogsTest, TwoConversationsAskingAtOnceEachGetTheirOwnAnswer) {
  // Once both dialogs are open (the second over the first), each is answered
  // with the number in its own prompt.
  auto openDialogs = [] {
    QList<CInputDialog*> open;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<CInputDialog*>(widget);
      if (dialog != nullptr && dialog->isVisible()) open << dialog;
    }
    return open;
  };
  ModalStep answerBoth{[&]() -> QWidget* { return openDialogs().size() == 2 ? QApplication::activeModalWidget() : nullptr; },
                       [&](QWidget*) {
                         for (CInputDialog* dialog : openDialogs())
                           typeAndPressOk(dialog, dialog->prompt().section(QLatin1Char(' '), 1));
                       }};
  ModalScript script({answerBoth});
  std::atomic<int> done{0};
  double first = 0;
  double second = 0;
  std::thread one([&] {
    first = services_.askNumber(log_, "give 11", 0);
    ++done;
  });
  std::thread two([&] {
    second = services_.askNumber(log_, "give 22", 0);
    ++done;
  });
  ASSERT_TRUE(waitUntil([&] { return done == 2; }));
  one.join();
  two.join();
  EXPECT_EQ(first, 11.0);
  EXPECT_EQ(second, 22.0);
}

TEST_F(InputDialogsTest, MessageBoxIsCaptionedMessageAndShowsTheText) {
  QString title;
  QString text;
  ModalScript script({onModal<QMessageBox>([&](QMessageBox* box) {
    title = box->windowTitle();
    text = box->text();
    box->accept();
  })});
  std::atomic<bool> done{false};
  std::thread asker([&] {
    services_.showMessage(log_, "x =2.000000");
    done = true;
  });
  ASSERT_TRUE(waitUntil([&] { return done.load(); }));
  asker.join();
  EXPECT_EQ(title, QStringLiteral("Message"));
  EXPECT_EQ(text, QStringLiteral("x =2.000000"));
}
