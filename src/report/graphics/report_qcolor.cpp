#include "report/graphics/report_qcolor.h"

#include <QGuiApplication>
#include <QPalette>

namespace nfp {

QColor ReportQColor(TColor color) {
    if (IsSystemColor(color)) {
        if (qGuiApp) return QGuiApplication::palette().color(QPalette::Button);
        return QColor(0xF0, 0xF0, 0xF0);
    }
    return QColor((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
}

} // namespace nfp
