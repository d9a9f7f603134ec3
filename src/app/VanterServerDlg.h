// CVanterServerDlg: the main dialog "VanterServer": the log, Run and Exit,
// the about box from the context menu. Opening it runs the server on the
// calculations thread; Exit (or closing the window) ends the program.
// Thread rule: GUI thread only; other threads write to its log through CDialogLog.
#pragma once

#include "app/DialogLog.h"

#include <QDialog>

#include <functional>
#include <memory>

class CQtUserServices;
class QPlainTextEdit;
class QPushButton;

class CVanterServerDlg final : public QDialog {
  Q_OBJECT

 public:
  // What the calculations thread runs: serves until it cannot go on.
  using ServeFunction = std::function<void(CSimpleInterface& log)>;
  // Starts `work` on a new thread of its own; false when no thread could be made.
  using ThreadStarter = std::function<bool(std::function<void()> work)>;

  // Builds the dialog and carries out Run. `services` is borrowed and must
  // outlive the dialog; `serve` runs on the calculations thread with the log.
  CVanterServerDlg(CQtUserServices& services, ServeFunction serve, ThreadStarter startThread = detachedThread);
  ~CVanterServerDlg() override;

  // Starts `work` on a detached std::thread; false when the system refuses.
  static bool detachedThread(std::function<void()> work);

  CSimpleInterface& log() { return *log_; }
  QPlainTextEdit* logView() const { return logView_; }
  QPushButton* runButton() const { return runButton_; }
  QPushButton* exitButton() const { return exitButton_; }
  bool isServing() const { return serving_; }

  // The Run command: seeds the C library's generator, makes Exit the default,
  // installs the user-interface services, starts the XML library and the
  // calculations thread; "Unable to create calculations thread" when it cannot.
  void run();
  // The Exit command: the log shows every message queued for it, the plot
  // windows drop their samples, the dialog ends with result 0 and the XML
  // library stops.
  void exitProgram();
  // Opens the about box modally.
  void showAbout();
  // Shows the dialog and runs the application's event loop until Exit. The
  // dialog is not modal: the plot windows are windows of their own and must
  // still take the mouse while it is open.
  void runUntilExit();

  // Escape and closing the window mean Exit.
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void buildControls();
  void showLogMenu(const QPoint& position);

  CQtUserServices& services_;
  ServeFunction serve_;
  ThreadStarter startThread_;
  QPlainTextEdit* logView_ = nullptr;
  QPushButton* runButton_ = nullptr;
  QPushButton* exitButton_ = nullptr;
  std::unique_ptr<CDialogLog> log_;  // created when the dialog opens; lives as long as the dialog
  bool serving_ = false;
  bool exited_ = false;
};
