// The main dialog: its controls, Run, Exit, the about box and the log's menu.
#include "app/VanterServerDlg.h"

#include "app/AboutDlg.h"
#include "app/DialogFont.h"
#include "app/ProgramIcon.h"
#include "app/QtUserServices.h"
#include "model/DefinitionParser.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cstdlib>
#include <ctime>
#include <system_error>
#include <thread>
#include <utility>

namespace {

const QString kAboutEntry = QStringLiteral("&About VanterServer...");

}  // namespace

CVanterServerDlg::CVanterServerDlg(CQtUserServices& services, ServeFunction serve, ThreadStarter startThread)
    : services_(services), serve_(std::move(serve)), startThread_(std::move(startThread)) {
  buildControls();
  log_ = std::make_unique<CDialogLog>(logView_);
  run();
}

CVanterServerDlg::~CVanterServerDlg() = default;

void CVanterServerDlg::buildControls() {
  setWindowTitle(QStringLiteral("VanterServer"));
  setWindowIcon(programIcon());
  setFont(dialogFont());
  setFixedSize(dialogUnits(0, 0, 384, 133).size());
  logView_ = new QPlainTextEdit(this);
  logView_->setReadOnly(true);
  logView_->setLineWrapMode(QPlainTextEdit::NoWrap);  // a message is one line, scrolled to sideways
  logView_->setGeometry(dialogUnits(7, 7, 313, 119));
  logView_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(logView_, &QWidget::customContextMenuRequested, this, &CVanterServerDlg::showLogMenu);
  exitButton_ = new QPushButton(QStringLiteral("&Exit"), this);
  exitButton_->setGeometry(dialogUnits(327, 95, 50, 14));
  connect(exitButton_, &QPushButton::clicked, this, &CVanterServerDlg::exitProgram);
  runButton_ = new QPushButton(QStringLiteral("&Run"), this);
  runButton_->setGeometry(dialogUnits(327, 112, 50, 14));
  runButton_->setDefault(true);
  connect(runButton_, &QPushButton::clicked, this, &CVanterServerDlg::run);
}

bool CVanterServerDlg::detachedThread(std::function<void()> work) {
  try {
    std::thread(std::move(work)).detach();
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

void CVanterServerDlg::run() {
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  runButton_->setEnabled(false);
  logView_->setFocus();
  runButton_->setDefault(false);
  exitButton_->setDefault(true);
  services_.setMainWindow(this);
  installUserServices(&services_);
  initializeXerces();
  CSimpleInterface* log = log_.get();
  serving_ = startThread_([serve = serve_, log] { serve(*log); });
  if (!serving_) QMessageBox::critical(this, windowTitle(), QStringLiteral("Unable to create calculations thread"));
}

void CVanterServerDlg::exitProgram() {
  if (exited_) return;
  exited_ = true;
  log_->showQueued();
  services_.releasePlots();
  done(0);
  terminateXerces();
}

void CVanterServerDlg::showAbout() {
  CAboutDlg about(this);
  about.exec();
}

void CVanterServerDlg::runUntilExit() {
  connect(this, &QDialog::finished, qApp, &QCoreApplication::quit);
  show();
  QApplication::exec();
}

void CVanterServerDlg::reject() { exitProgram(); }

void CVanterServerDlg::closeEvent(QCloseEvent* event) {
  exitProgram();
  event->accept();
}

void CVanterServerDlg::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction(kAboutEntry, this, &CVanterServerDlg::showAbout);
  menu.exec(event->globalPos());
}

void CVanterServerDlg::showLogMenu(const QPoint& position) {
  std::unique_ptr<QMenu> menu(logView_->createStandardContextMenu());
  menu->addSeparator();
  menu->addAction(kAboutEntry, this, &CVanterServerDlg::showAbout);
  menu->exec(logView_->mapToGlobal(position));
}
