// The dialogs' font.
#include "app/DialogFont.h"

#include <QStringList>

QFont dialogFont() {
  QFont font;
  font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(kDialogFontPoints);
  return font;
}
