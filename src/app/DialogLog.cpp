// The desktop log sink: messages appended to the log view on the GUI thread.
#include "app/DialogLog.h"

#include "app/GuiThread.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QString>

void CDialogLog::write(std::string_view message) {
  if (QThread::currentThread() != view_->thread()) {
    if (queue_.push(message)) postToGuiThread(view_, [this] { showQueued(); });
    return;
  }
  // The GUI thread drains the queue, so it never waits on it.
  showQueued();
  show(message.substr(0, kMaxMessage));
}

void CDialogLog::showQueued() {
  while (queue_.take(batch_)) {
    batch_.pop_back();  // each message ends in a line feed; the view adds the last one
    show(batch_);
  }
}

// `lines` is Latin-1 text; every line break it holds starts a new line.
void CDialogLog::show(std::string_view lines) {
  QString text = QString::fromLatin1(lines.data(), static_cast<qsizetype>(lines.size()));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  view_->appendPlainText(text);
  view_->verticalScrollBar()->setValue(view_->verticalScrollBar()->maximum());
}
