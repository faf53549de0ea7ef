#pragma once
// The engine's colours as Qt colours, for every window and picture of the
// report engine.
#include <QColor>

#include "report/engine/report_types.h"

namespace nfp {

// The button face comes from the application's palette (a light grey
// before there is an application).
QColor ReportQColor(TColor color);

} // namespace nfp
