#pragma once
// The page picture: a QPicture that records a page's drawing and can be
// stretched onto any painter (the preview's paint box, a printer page).
#include <QPicture>

#include "report/page_drawing.h"
#include "report/report_qcolor.h"

namespace nfp {

// Replays a page drawing into a picture whose bounding rectangle is the
// drawing's size.
QPicture PagePicture(const PageDrawing& drawing);

// Draws page `page` of the engine's report into a picture.
QPicture DrawPagePicture(TRelGrade& rel, int page, PictureMode mode);

// Stretches a picture into the rectangle (x, y, width, height) of a painter.
void StretchPicture(QPainter& painter, const QPicture& picture, const QRectF& target);

} // namespace nfp
