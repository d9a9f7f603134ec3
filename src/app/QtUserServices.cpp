// The desktop program's user-interface services, each run on the GUI thread.
#include "app/QtUserServices.h"

#include "app/GuiThread.h"
#include "app/InputDialogs.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

#include <cassert>
#include <utility>

namespace {

QString fromLatin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

CQtUserServices::CQtUserServices() = default;

CQtUserServices::~CQtUserServices() {
  if (&userServices() == this) installUserServices(nullptr);
}

double CQtUserServices::askNumber(CSimpleInterface&, std::string_view prompt, double defaultValue) {
  double answer = defaultValue;
  runOnGuiThread(this, [&] {
    CInputDialog dialog(mainWindow_);
    dialog.setPrompt(fromLatin1(prompt));
    dialog.setValue(defaultValue);
    if (dialog.exec() == QDialog::Accepted) answer = dialog.value();
  });
  return answer;
}

std::string CQtUserServices::askText(CSimpleInterface&, std::string_view prompt) {
  std::string answer;
  runOnGuiThread(this, [&] {
    CInputDlgString dialog(mainWindow_);
    dialog.setPrompt(fromLatin1(prompt));
    if (dialog.exec() == QDialog::Accepted) answer = dialog.text().toLatin1().toStdString();
  });
  return answer;
}

void CQtUserServices::showMessage(CSimpleInterface&, std::string_view text) {
  runOnGuiThread(this, [&] {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Message"), fromLatin1(text), QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
  });
}

void CQtUserServices::openPlot(const PlotWindowRequest& request) {
  runOnGuiThread(this, [&] { openOnGuiThread(request); });
}

void CQtUserServices::openOnGuiThread(const PlotWindowRequest& request) {
  // Top-level and owned here alone, so the windows never depend on the order
  // in which the main dialog and these services go.
  auto window = std::make_unique<CVisDialog>(request.seriesCount, request.capacity);
  QScreen* screen = QGuiApplication::primaryScreen();
  QRect area = screen != nullptr ? screen->availableGeometry() : QRect();
  window->move(placement(static_cast<int>(windows_.size()), area));
  window->setWindowTitle(fromLatin1(request.title));
  window->show();
  if (request.fixedRange) window->setFixedRange(request.rangeMinimum, request.rangeMaximum);
  registry_[static_cast<std::size_t>(request.id)] = window.get();
  windows_.push_back(std::move(window));
}

PlotStatus CQtUserServices::addSample(int id, std::vector<double> values) {
  PlotStatus status = PlotStatus::kNoWindow;
  runOnGuiThread(this, [&] {
    if (CVisDialog* window = windowUnder(id)) status = window->addSample(std::move(values));
  });
  return status;
}

PlotStatus CQtUserServices::showScalar(int id, double value) {
  PlotStatus status = PlotStatus::kNoWindow;
  runOnGuiThread(this, [&] {
    if (CVisDialog* window = windowUnder(id)) {
      window->showScalar(value);
      status = PlotStatus::kDone;
    }
  });
  return status;
}

void CQtUserServices::releasePlots() {
  for (auto& window : windows_) window->releaseSamples();
}

CVisDialog* CQtUserServices::windowUnder(int id) const {
  assert(id >= 0 && id < kPlotWindowIds);
  return registry_[static_cast<std::size_t>(id)].data();
}

QPoint CQtUserServices::placement(int k, const QRect& screen) {
  return QPoint(screen.x() + ((k / 2) % 2) * (screen.width() / 2), screen.y() + (k % 2) * (screen.height() / 2));
}
