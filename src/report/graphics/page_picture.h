#pragma once
// The page picture: a QPicture that records a page's drawing and can be
// stretched onto any painter (the preview's paint box, a printer page).
#include <QPageLayout>
#include <QPicture>

#include "report/engine/graphic_placement.h"
#include "report/engine/page_drawing.h"
#include "report/graphics/report_qcolor.h"

namespace nfp {

// Replays a page drawing into a picture whose bounding rectangle is the
// drawing's size.
QPicture PagePicture(const PageDrawing& drawing);

// Draws page `page` of the engine's report into a picture.
QPicture DrawPagePicture(TRelGrade& rel, int page, PictureMode mode);

// Stretches a picture into the rectangle (x, y, width, height) of a painter.
void StretchPicture(QPainter& painter, const QPicture& picture, const QRectF& target);

// What a paged device (a printer, a PDF writer) tells of its page, in
// device pixels.
DeviceMetrics PageMetrics(const QPageLayout& layout, int resolution, int dpiX, int dpiY);

// Graphic printing of one page: page `page` of the engine's report drawn in
// print mode and stretched onto `painter` within the engine's margins on a
// page of these metrics. Returns where it went.
Placement PaintPlacedPage(QPainter& painter, const DeviceMetrics& metrics, TRelGrade& rel, int page);

} // namespace nfp
