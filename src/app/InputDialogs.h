// The two small dialogs through which the input built-ins ask a person:
// CInputDialog ("Input", a number) and CInputDlgString ("Dialog", a text).
// Each shows a prompt, an edit and an OK button; Escape or closing the window
// cancels. Thread rule: GUI thread only.
#pragma once

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

// The prompt, the edit and OK laid out as both dialogs have them.
class CPromptDialog : public QDialog {
  Q_OBJECT

 public:
  void setPrompt(const QString& prompt);
  QString prompt() const;
  QLineEdit* edit() const { return edit_; }
  QPushButton* okButton() const { return ok_; }

 protected:
  CPromptDialog(const QString& caption, QWidget* parent);

 private:
  QLabel* prompt_;
  QLineEdit* edit_;
  QPushButton* ok_;
};

// The numeric dialog. OK takes the edit's text as a number; while it is not
// one, a box says so and the dialog stays open. Cancelling keeps the value.
class CInputDialog final : public CPromptDialog {
  Q_OBJECT

 public:
  explicit CInputDialog(QWidget* parent = nullptr);
  // Sets the value and shows it in the edit.
  void setValue(double value);
  double value() const { return value_; }
  // The text shown when OK finds no number in the edit.
  static QString notANumberText();

  void accept() override;

 private:
  double value_ = 0.0;
};

// The text dialog. OK takes the edit's text (at most kMaxInputText
// characters); cancelling leaves the text empty.
class CInputDlgString final : public CPromptDialog {
  Q_OBJECT

 public:
  explicit CInputDlgString(QWidget* parent = nullptr);
  QString text() const { return text_; }

  void accept() override;

 private:
  QString text_;
};

// The whole of `text` read as a number (blanks around it allowed), or none.
std::optional<double> parseNumber(const QString& text);
