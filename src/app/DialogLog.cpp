// The desktop log sink: messages appended to the log view on the GUI thread.
#include "app/DialogLog.h"

#include "app/GuiThread.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QString>

namespace {

// The message as the lines it shows: Latin-1 text with every line break a "\n".
QString displayText(std::string_view message) {
  if (message.size() > CSimpleInterface::kMaxMessage) message = message.substr(0, CSimpleInterface::kMaxMessage);
  QString text = QString::fromLatin1(message.data(), static_cast<qsizetype>(message.size()));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

}  // namespace

void CDialogLog::write(std::string_view message) {
  // The text is copied here, so each writer's message travels whole; the GUI
  // thread appends one message at a time, so writers take turns at the view.
  QString text = displayText(message);
  QPlainTextEdit* view = view_;
  runOnGuiThread(view, [view, &text] {
    view->appendPlainText(text);
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
  });
}
