// The offscreen GUI application.
#include "plot/OffscreenApplication.h"

#include <QGuiApplication>
#include <QLoggingCategory>

#include <cstdlib>

void startOffscreenApplication(const char* programName) {
  if (QGuiApplication::instance() != nullptr) return;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QLoggingCategory::setFilterRules(QStringLiteral("default.warning=false"));
  static int argc = 1;
  static char* argv[] = {const_cast<char*>(programName), nullptr};
  static QGuiApplication application(argc, argv);
}
