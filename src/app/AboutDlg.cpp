// The about box.
#include "app/AboutDlg.h"

#include "app/DialogFont.h"
#include "app/ProgramIcon.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The icon shows at this many pixels a side.
constexpr int kIconSize = 32;

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About VanterServer"));
  setWindowIcon(programIcon());
  setFont(dialogFont());
  setFixedSize(dialogUnits(0, 0, 235, 55).size());
  auto* icon = new QLabel(this);
  icon->setPixmap(programIcon().pixmap(kIconSize, kIconSize));
  auto* version = new QLabel(QStringLiteral("VanterServer Version 1.0"), this);
  version->setObjectName(QStringLiteral("version"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* row = new QHBoxLayout;
  row->addWidget(icon);
  row->addWidget(version, 1);
  row->addWidget(buttons);
  setLayout(row);
}
