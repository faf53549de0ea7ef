#include "report/graphics/page_picture.h"

#include <QPainter>

#include "report/engine/page_item.h"
#include "report/engine/rel_grade.h"

namespace nfp {

namespace {

QFont CourierNew(std::uint8_t fontCode) {
    QFont font(QStringLiteral("Courier New"));
    font.setPointSize(10);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setBold(fontCode & kCodeBold);
    font.setItalic(fontCode & kCodeItalic);
    font.setUnderline(fontCode & kCodeUnderline);
    return font;
}

// The text in its own picture of (length x 8) by 16 units.
QPicture TextPicture(const DrawOp& op) {
    QPicture cell;
    QPainter p(&cell);
    p.fillRect(QRect(0, 0, op.cellWidth, 16), ReportQColor(op.fill));
    p.setFont(CourierNew(op.fontCode));
    p.setPen(ReportQColor(op.color));
    p.drawText(QRect(0, 0, op.cellWidth, 16), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
               QString::fromUtf8(op.text.data(), static_cast<qsizetype>(op.text.size())));
    p.end();
    cell.setBoundingRect(QRect(0, 0, op.cellWidth, 16));
    return cell;
}

QPen Pen(const DrawOp& op) {
    QPen pen(ReportQColor(op.color));
    pen.setWidth(0);
    pen.setStyle(op.dotted ? Qt::DotLine : Qt::SolidLine);
    return pen;
}

} // namespace

void StretchPicture(QPainter& painter, const QPicture& picture, const QRectF& target) {
    const QRect source = picture.boundingRect();
    if (source.width() <= 0 || source.height() <= 0) return;
    // Playing a picture scales it by the device's resolution over the
    // picture's own (a 600 dpi PDF page draws it 6.25 times larger than a
    // 96 dpi screen); the stretch alone decides its size here.
    double dpiX = 1, dpiY = 1;
    if (const QPaintDevice* device = painter.device()) {
        dpiX = static_cast<double>(device->logicalDpiX()) / picture.logicalDpiX();
        dpiY = static_cast<double>(device->logicalDpiY()) / picture.logicalDpiY();
    }
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / source.width() / dpiX, target.height() / source.height() / dpiY);
    painter.drawPicture(QPointF(-source.left(), -source.top()), picture);
    painter.restore();
}

QPicture PagePicture(const PageDrawing& d) {
    QPicture picture;
    QPainter p(&picture);
    for (const auto& op : d.ops) {
        switch (op.kind) {
        case DrawOp::Fill:
            p.fillRect(QRect(QPoint(op.x1, op.y1), QPoint(op.x2 - 1, op.y2 - 1)), ReportQColor(op.fill));
            break;
        case DrawOp::Frame:
            p.setPen(Pen(op));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRect(QPoint(op.x1, op.y1), QPoint(op.x2 - 1, op.y2 - 1)));
            break;
        case DrawOp::Line:
            p.setPen(Pen(op));
            p.drawLine(op.x1, op.y1, op.x2, op.y2);
            break;
        case DrawOp::Ellipse:
            p.setPen(Pen(op));
            p.setBrush(ReportQColor(op.fill));
            p.drawEllipse(QRect(QPoint(op.x1, op.y1), QPoint(op.x2 - 1, op.y2 - 1)));
            p.setBrush(Qt::NoBrush);
            break;
        case DrawOp::Text:
            StretchPicture(p, TextPicture(op), QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)));
            break;
        }
    }
    p.end();
    picture.setBoundingRect(QRect(0, 0, d.width, d.height));
    return picture;
}

QPicture DrawPagePicture(TRelGrade& rel, int page, PictureMode mode) {
    return PagePicture(DrawPage(rel, page, mode));
}

DeviceMetrics PageMetrics(const QPageLayout& layout, int resolution, int dpiX, int dpiY) {
    const QRect full = layout.fullRectPixels(resolution);
    const QRect paint = layout.paintRectPixels(resolution);
    DeviceMetrics m;
    m.physicalWidth = full.width();
    m.physicalHeight = full.height();
    m.printableWidth = paint.width();
    m.printableHeight = paint.height();
    m.dpiX = dpiX;
    m.dpiY = dpiY;
    m.offsetX = paint.left() - full.left();
    m.offsetY = paint.top() - full.top();
    return m;
}

Placement PaintPlacedPage(QPainter& painter, const DeviceMetrics& metrics, TRelGrade& rel, int page) {
    const Placement placed = PlacePage(metrics, rel.Margens, rel.TamanhoQteColunas, rel.TamanhoQteLinhas,
                                       rel.FonteTamanhoPadrao, rel.TamanhoQteLPP);
    // A cancel while drawing leaves the rest undrawn; what was drawn still
    // goes on the page.
    const QPicture picture = DrawPagePicture(rel, page, PictureMode::Print);
    StretchPicture(painter, picture, QRectF(placed.left, placed.top, placed.width - 1, placed.height - 1));
    return placed;
}

} // namespace nfp
