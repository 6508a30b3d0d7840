#pragma once
// Numbers in the window follow the user's locale: its decimal point and its
// digit grouping.
#include "geo/geo_format.h"

namespace quorvane {

TNumberFormat LocaleNumberFormat();
// One byte, as the tone panels take it; the point when the locale's
// separator needs more than one.
char LocaleDecimalSeparator();

}  // namespace quorvane
