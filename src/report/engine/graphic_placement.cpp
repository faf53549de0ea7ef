#include "report/engine/graphic_placement.h"

#include <cmath>

#include "report/engine/page_drawing.h"

namespace nfp {

namespace {
int Margin(int dpi, int mm, int strip) {
    const int pixels = static_cast<int>(std::trunc(dpi / 25.4 * mm));
    return pixels > strip ? pixels - strip : 0;
}
} // namespace

Placement PlacePage(const DeviceMetrics& m, const TMargens& margens, int columns, int lines, TSize size,
                    TLinha spacing) {
    Placement p;
    p.left = Margin(m.dpiX, margens.Left, m.offsetX);
    const int right = Margin(m.dpiX, margens.Right, m.physicalWidth - m.offsetX - m.printableWidth);
    p.top = Margin(m.dpiY, margens.Top, m.offsetY);
    const int bottom = Margin(m.dpiY, margens.Bottom, m.physicalHeight - m.offsetY - m.printableHeight);
    p.availableWidth = m.printableWidth - p.left - right;
    p.availableHeight = m.printableHeight - p.top - bottom;
    p.naturalWidth = RoundHalfEven(static_cast<double>(m.dpiX) * columns / Pitch(size));
    p.naturalHeight = RoundHalfEven(static_cast<double>(m.dpiY) * lines / (spacing == TLinha::Oito ? 8 : 6));
    int w = p.naturalWidth, h = p.naturalHeight;
    double s = 1;
    if (p.availableWidth > 0 && w > p.availableWidth) s = static_cast<double>(w) / p.availableWidth;
    if (p.availableHeight > 0 && h > p.availableHeight && static_cast<double>(h) / p.availableHeight > s)
        s = static_cast<double>(h) / p.availableHeight;
    if (s > 1) {
        w = static_cast<int>(std::trunc(w / s));
        h = static_cast<int>(std::trunc(h / s));
    }
    p.scale = s;
    p.width = w;
    p.height = h;
    return p;
}

} // namespace nfp
