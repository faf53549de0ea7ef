#include "report/engine/preview_zoom.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "report/engine/page_drawing.h"

namespace nfp {

int ResolveZoom(int zoom, const ZoomViewport& v) {
    const int w = std::max(v.pictureWidth, 1), h = std::max(v.pictureHeight, 1);
    if (zoom == kZoomWholePage) {
        const int across = static_cast<int>(std::trunc((v.clientWidth - 10) * 100.0 / w));
        const int down = static_cast<int>(std::trunc((v.clientHeight - 10) * 100.0 / h));
        zoom = std::min(across, down);
    } else if (zoom == kZoomFitWidth) {
        zoom = static_cast<int>(std::trunc((v.scrollerWidth - 30) * 100.0 / w));
    }
    return std::clamp(zoom, 20, 400);
}

std::string ZoomText(int zoom) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d%%", zoom);
    return buf;
}

int Zoomed(int size, int zoom) { return RoundHalfEven(size * zoom / 100.0); }

} // namespace nfp
