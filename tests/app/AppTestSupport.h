// Driving the desktop program's widgets from a test on the GUI thread: wait
// while the event loop runs, and act on modal dialogs as they open.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

// Runs the event loop until `done` holds or `milliseconds` pass; whether it held.
inline bool waitUntil(const std::function<bool()>& done, int milliseconds = 5000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > milliseconds) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

// One step of a ModalScript: finds the widget it waits for (null: not yet)
// and acts on it. An action may open a dialog of its own; later steps still
// run inside that dialog's loop.
struct ModalStep {
  std::function<QWidget*()> find;
  std::function<void(QWidget*)> act;
};

// A step for the active modal widget when it is a visible T.
template <typename T>
ModalStep onModal(std::function<void(T*)> action) {
  return ModalStep{[] {
                     T* widget = qobject_cast<T*>(QApplication::activeModalWidget());
                     return widget != nullptr && widget->isVisible() ? widget : nullptr;
                   },
                   [action = std::move(action)](QWidget* widget) { action(static_cast<T*>(widget)); }};
}

// A step for the open pop-up menu when it is a T.
template <typename T>
ModalStep onPopup(std::function<void(T*)> action) {
  return ModalStep{[] { return qobject_cast<T*>(QApplication::activePopupWidget()); },
                   [action = std::move(action)](QWidget* widget) { action(static_cast<T*>(widget)); }};
}

// Steps run in order as dialogs and menus open, polled from the event loop
// (nested loops of modal dialogs included).
class ModalScript {
 public:
  explicit ModalScript(std::vector<ModalStep> steps) : steps_(std::move(steps)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start(10);
  }
  bool finished() const { return next_ == steps_.size(); }
  std::size_t stepsDone() const { return next_; }

 private:
  void poll() {
    if (finished()) return;
    QWidget* widget = steps_[next_].find();
    if (widget == nullptr) return;
    // A timer does not fire again while its own callback runs, so the action
    // runs from a timer of its own: it may block in a dialog's loop while
    // this one goes on polling for the next step.
    QPointer<QWidget> target(widget);
    QTimer::singleShot(0, [act = steps_[next_++].act, target] {
      if (target) act(target);
    });
  }

  std::vector<ModalStep> steps_;
  std::size_t next_ = 0;
  QTimer timer_;
};
