// The numeric and the text input dialogs.
#include "app/InputDialogs.h"

#include "app/DialogFont.h"
#include "base/UserServices.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

// The dialogs are as wide as their 381-unit edit; a dialog unit is 1.5 pixels across.
constexpr int kDialogWidth = 590;

}  // namespace

CPromptDialog::CPromptDialog(const QString& caption, QWidget* parent) : QDialog(parent) {
  setWindowTitle(caption);
  setFont(dialogFont());
  setMinimumWidth(kDialogWidth);
  prompt_ = new QLabel(QStringLiteral("Static"), this);
  edit_ = new QLineEdit(this);
  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  auto* column = new QVBoxLayout;
  column->addWidget(prompt_);
  column->addWidget(edit_);
  column->addWidget(ok_, 0, Qt::AlignHCenter);
  setLayout(column);
}

void CPromptDialog::setPrompt(const QString& prompt) { prompt_->setText(prompt); }

QString CPromptDialog::prompt() const { return prompt_->text(); }

std::optional<double> parseNumber(const QString& text) {
  QByteArray bytes = text.trimmed().toLatin1();
  if (bytes.isEmpty()) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  double number = std::strtod(bytes.constData(), &end);
  if (end != bytes.constData() + bytes.size() || errno == ERANGE) return std::nullopt;
  return number;
}

CInputDialog::CInputDialog(QWidget* parent) : CPromptDialog(QStringLiteral("Input"), parent) {
  setWindowModality(Qt::ApplicationModal);
  setValue(0.0);
}

void CInputDialog::setValue(double value) {
  value_ = value;
  char text[64];
  std::snprintf(text, sizeof text, "%.15g", value);
  edit()->setText(QString::fromLatin1(text));
}

QString CInputDialog::notANumberText() { return QStringLiteral("Please enter a number."); }

void CInputDialog::accept() {
  std::optional<double> number = parseNumber(edit()->text());
  if (!number) {
    QMessageBox::warning(this, windowTitle(), notANumberText());
    edit()->setFocus();
    edit()->selectAll();
    return;
  }
  value_ = *number;
  QDialog::accept();
}

CInputDlgString::CInputDlgString(QWidget* parent) : CPromptDialog(QStringLiteral("Dialog"), parent) {
  edit()->setMaxLength(static_cast<int>(kMaxInputText));
}

void CInputDlgString::accept() {
  text_ = edit()->text().left(static_cast<qsizetype>(kMaxInputText));
  QDialog::accept();
}
