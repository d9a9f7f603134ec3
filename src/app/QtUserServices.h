// CQtUserServices: the desktop program's user-interface services. Requests
// from connection threads run on the GUI thread, and the caller waits: input
// dialogs, the "Message" box and the plot windows with their registry of ids.
// Thread rule: the object lives on the GUI thread; its CUserServices
// operations may be called from any thread. The registry and the window list
// are touched only on the GUI thread.
#pragma once

#include "app/VisDialog.h"
#include "base/UserServices.h"

#include <QObject>
#include <QPointer>

#include <array>
#include <memory>
#include <vector>

class QWidget;

class CQtUserServices final : public QObject, public CUserServices {
  Q_OBJECT

 public:
  // Create on the GUI thread.
  CQtUserServices();
  // Uninstalls itself when it is the process's services.
  ~CQtUserServices() override;

  // The window that owns the plot windows and input dialogs (borrowed; may be null).
  void setMainWindow(QWidget* window) { mainWindow_ = window; }

  // Each request gets a dialog of its own; a request that arrives while
  // another dialog is open shows its dialog over it, and each gets its own answer.
  double askNumber(CSimpleInterface& log, std::string_view prompt, double defaultValue) override;
  std::string askText(CSimpleInterface& log, std::string_view prompt) override;
  void showMessage(CSimpleInterface& log, std::string_view text) override;
  void openPlot(const PlotWindowRequest& request) override;
  PlotStatus addSample(int id, std::vector<double> values) override;
  PlotStatus showScalar(int id, double value) override;

  // GUI thread: every plot window drops its samples (at Exit).
  void releasePlots();
  // GUI thread: the windows in the order they were opened, and the one under an id (may be null).
  const std::vector<std::unique_ptr<CVisDialog>>& windows() const { return windows_; }
  CVisDialog* windowUnder(int id) const;

  // Where the k-th window opened (from 0) goes within `screen`: the quarters
  // column by column (top left, bottom left, top right, bottom right), then again.
  static QPoint placement(int k, const QRect& screen);

 private:
  void openOnGuiThread(const PlotWindowRequest& request);

  QPointer<QWidget> mainWindow_;
  std::array<QPointer<CVisDialog>, kPlotWindowIds> registry_;
  std::vector<std::unique_ptr<CVisDialog>> windows_;  // in opening order; never shrinks
};
