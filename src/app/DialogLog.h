// CDialogLog: the desktop program's log sink, which appends each message as
// whole lines to the main dialog's log view and scrolls to the last line.
// Thread rule: write may be called from any thread. Messages of other threads
// are queued in the order they arrive and shown by the GUI thread when its
// event loop comes to them, so a conversation never waits for the display;
// the GUI thread's own messages are shown at once, after those queued before.
#pragma once

#include <string>

#include "base/LogQueue.h"
#include "base/SimpleInterface.h"

class QPlainTextEdit;

class CDialogLog final : public CSimpleInterface {
 public:
  // Appends to `view` (borrowed; must outlive every writer).
  explicit CDialogLog(QPlainTextEdit* view) : view_(view) {}
  CDialogLog(const CDialogLog&) = delete;
  CDialogLog& operator=(const CDialogLog&) = delete;

  // Shows the message, cut to kMaxMessage characters; its "\r\n", "\r" and
  // "\n" start new lines.
  void write(std::string_view message) override;
  // Shows every queued message now. REQUIRES: on the GUI thread.
  void showQueued();

 private:
  void show(std::string_view lines);

  QPlainTextEdit* const view_;
  LogQueue queue_;
  std::string batch_;  // used only by the GUI thread
};
