// CDialogLog: the desktop program's log sink, which appends each message as
// whole lines to the main dialog's log view and scrolls to the last line.
// Thread rule: write may be called from any thread; the message is handed to
// the GUI thread, which appends messages one at a time in the order they
// arrive, and write returns once it is shown.
#pragma once

#include "base/SimpleInterface.h"

class QPlainTextEdit;

class CDialogLog final : public CSimpleInterface {
 public:
  // Appends to `view` (borrowed; must outlive every writer).
  explicit CDialogLog(QPlainTextEdit* view) : view_(view) {}
  CDialogLog(const CDialogLog&) = delete;
  CDialogLog& operator=(const CDialogLog&) = delete;

  // Shows the message, cut to kMaxMessage characters; its "\r\n", "\r" and
  // "\n" start new lines. Waits until it is in the view.
  void write(std::string_view message) override;

 private:
  QPlainTextEdit* const view_;
};
