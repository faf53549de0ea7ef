#pragma once
// Zoom rules of the preview window.
#include <string>

namespace nfp {

inline constexpr int kZoomFitWidth = -1;
inline constexpr int kZoomWholePage = -2;

struct ZoomViewport {
    int scrollerWidth = 0;       // outer width of the scroll box
    int clientWidth = 0;         // inside its frame
    int clientHeight = 0;
    int pictureWidth = 1;
    int pictureHeight = 1;
};

// -2 whole page, -1 fit to width, otherwise the value; then clamped to
// 20 ... 400.
int ResolveZoom(int zoom, const ZoomViewport& v);

// "#00%": at least two digits.
std::string ZoomText(int zoom);

// Round to nearest, halves to the even neighbour, of picture size x zoom.
int Zoomed(int size, int zoom);

} // namespace nfp
