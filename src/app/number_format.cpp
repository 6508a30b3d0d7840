#include "app/number_format.h"

#include <QLocale>

namespace quorvane {

TNumberFormat LocaleNumberFormat() {
  const QLocale locale;
  return {locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString()};
}

char LocaleDecimalSeparator() {
  const QString point = QLocale().decimalPoint();
  const char latin1 = point.size() == 1 ? point.at(0).toLatin1() : 0;
  return latin1 != 0 ? latin1 : '.';
}

}  // namespace quorvane
