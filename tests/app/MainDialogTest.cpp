// The main dialog: Run at opening, Exit and closing, the about box from the
// context menus, and the message box when no calculations thread starts.
#include "AppTestSupport.h"

#include "app/AboutDlg.h"
#include "app/QtUserServices.h"
#include "app/VanterServerDlg.h"

#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

const QString kAboutEntry = QStringLiteral("&About VanterServer...");

// Counts the serves; starts calculations threads that the fixture joins, or
// runs the work at once on the GUI thread where a test needs no thread.
class MainDialogTest : public testing::Test {
 protected:
  ~MainDialogTest() override {
    for (auto& thread : threads_) thread.join();
  }

  CVanterServerDlg::ServeFunction serve() {
    return [this](CSimpleInterface& log) {
      ++serves_;
      log.write("TCPServer running...");
    };
  }
  CVanterServerDlg::ThreadStarter threadStarter() {
    return [this](std::function<void()> work) {
      threads_.emplace_back(std::move(work));
      return true;
    };
  }
  static CVanterServerDlg::ThreadStarter inlineStarter() {
    return [](std::function<void()> work) {
      work();
      return true;
    };
  }
  static bool logShows(CVanterServerDlg& dialog, const QString& line) {
    return dialog.logView()->toPlainText().split(QLatin1Char('\n')).contains(line);
  }

  CQtUserServices services_;
  std::atomic<int> serves_{0};
  std::vector<std::thread> threads_;
};

}  // namespace

TEST_F(MainDialogTest, OpeningRunsTheServerOnceAndMakesExitTheDefault) {
  CVanterServerDlg dialog(services_, serve(), threadStarter());
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("VanterServer"));
  ASSERT_TRUE(waitUntil([&] { return logShows(dialog, QStringLiteral("TCPServer running...")); }));
  EXPECT_TRUE(dialog.isServing());
  EXPECT_FALSE(dialog.runButton()->isEnabled());
  EXPECT_TRUE(dialog.exitButton()->isDefault());
  EXPECT_FALSE(dialog.runButton()->isDefault());
  EXPECT_TRUE(dialog.logView()->isReadOnly());
  EXPECT_EQ(&userServices(), &services_) << "built-ins now reach the dialogs and windows";
  dialog.runButton()->click();
  EXPECT_EQ(serves_.load(), 1) << "a disabled Run starts nothing";
  dialog.exitProgram();
}

TEST_F(MainDialogTest, ThreadThatCannotStartIsToldInAMessageBoxAndTheDialogStays) {
  QString shown;
  ModalScript script({onModal<QMessageBox>([&](QMessageBox* box) {
    shown = box->text();
    box->accept();
  })});
  CVanterServerDlg dialog(services_, serve(), [](std::function<void()>) { return false; });
  EXPECT_TRUE(script.finished());
  EXPECT_EQ(shown, QStringLiteral("Unable to create calculations thread"));
  EXPECT_FALSE(dialog.isServing());
  EXPECT_FALSE(dialog.runButton()->isEnabled());
  EXPECT_EQ(serves_.load(), 0);
  dialog.exitProgram();
}

TEST_F(MainDialogTest, ExitEndsWithResultZeroReleasesThePlotSamplesAndShowsEveryQueuedLine) {
  CVanterServerDlg dialog(services_, serve(), inlineStarter());
  dialog.show();
  std::thread([&] { dialog.log().write("written just before Exit"); }).join();
  services_.openPlot(PlotWindowRequest{2, "w", 1, 10, false, 0, 0});
  services_.addSample(2, {1.0});
  services_.addSample(2, {2.0});
  ASSERT_EQ(services_.windowUnder(2)->canvas().model().received(), 2);
  dialog.exitButton()->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), 0);
  EXPECT_EQ(services_.windowUnder(2)->canvas().model().received(), 0);
  EXPECT_TRUE(logShows(dialog, QStringLiteral("written just before Exit")));
}

// No modal loop stands between the plot windows and the mouse while the
// dialog is open; Exit ends the program's loop.
TEST_F(MainDialogTest, RunsUntilExitWithoutBlockingOtherWindows) {
  CVanterServerDlg dialog(services_, serve(), inlineStarter());
  services_.openPlot(PlotWindowRequest{1, "w", 1, 10, false, 0, 0});
  QWidget* modal = &dialog;
  QTimer::singleShot(0, [&] {
    modal = QApplication::activeModalWidget();
    dialog.exitButton()->click();
  });
  dialog.runUntilExit();
  EXPECT_EQ(modal, nullptr);
  EXPECT_FALSE(dialog.isVisible());
}

TEST_F(MainDialogTest, ClosingTheWindowOrEscapeActsAsExit) {
  for (bool byEscape : {false, true}) {
    SCOPED_TRACE(byEscape ? "Escape" : "close");
    CQtUserServices services;
    CVanterServerDlg dialog(services, serve(), inlineStarter());
    dialog.show();
    services.openPlot(PlotWindowRequest{0, "w", 1, 10, false, 0, 0});
    services.addSample(0, {1.0});
    if (byEscape) {
      QTest::keyClick(&dialog, Qt::Key_Escape);
    } else {
      dialog.close();
    }
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(services.windowUnder(0)->canvas().model().received(), 0) << "Exit released the samples";
  }
}

TEST_F(MainDialogTest, ContextMenuOpensTheAboutBoxAndTheServerGoesOn) {
  CVanterServerDlg dialog(services_, serve(), inlineStarter());
  dialog.show();
  QStringList entries;
  QString title;
  QSize aboutSize;
  bool versionShown = false;
  bool iconShown = false;
  ModalScript script({onPopup<QMenu>([&](QMenu* menu) {
                        for (QAction* action : menu->actions()) entries << action->text();
                        menu->close();
                        menu->actions().constLast()->trigger();
                      }),
                      onModal<CAboutDlg>([&](CAboutDlg* about) {
                        title = about->windowTitle();
                        aboutSize = about->size();
                        for (QLabel* label : about->findChildren<QLabel*>()) {
                          versionShown = versionShown || label->text() == QStringLiteral("VanterServer Version 1.0");
                          iconShown = iconShown || !label->pixmap().isNull();
                        }
                        about->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
                      })});
  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), dialog.mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(&dialog, &event);
  ASSERT_TRUE(waitUntil([&] { return script.finished(); }));
  EXPECT_EQ(entries, QStringList{kAboutEntry});
  EXPECT_EQ(title, QStringLiteral("About VanterServer"));
  EXPECT_EQ(aboutSize, QSize(352, 89)) << "235 by 55 dialog units";
  EXPECT_TRUE(versionShown);
  EXPECT_TRUE(iconShown);
  EXPECT_TRUE(dialog.isVisible()) << "closing the about box returns to the main dialog";
  EXPECT_TRUE(dialog.isServing());
  dialog.exitProgram();
}

TEST_F(MainDialogTest, LogMenuEndsWithTheAboutEntry) {
  CVanterServerDlg dialog(services_, serve(), inlineStarter());
  dialog.show();
  QString last;
  ModalScript script({onPopup<QMenu>([&](QMenu* menu) {
    last = menu->actions().constLast()->text();
    menu->close();
  })});
  emit dialog.logView()->customContextMenuRequested(QPoint(5, 5));
  ASSERT_TRUE(waitUntil([&] { return script.finished(); }));
  EXPECT_EQ(last, kAboutEntry);
  dialog.exitProgram();
}
