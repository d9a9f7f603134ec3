// CAboutDlg: the about box, "About VanterServer", with the program icon, the
// version line and an OK button. Thread rule: GUI thread only.
#pragma once

#include <QDialog>

class CAboutDlg final : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
};
