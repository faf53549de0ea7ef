#include "app/control_factory.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace nfp {

QFont PixelFont(const char* family, int pixels)
{
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixels);
    return font;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QRect bounds)
{
    auto* label = Placed(new QLabel(text, parent), name, bounds);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    FitLabel(label);
    return label;
}

void FitLabel(QLabel* label)
{
    // Labels size themselves to their text: a stand-in font a little wider
    // than the designed one must not cut the caption.
    const int needed = label->fontMetrics().horizontalAdvance(label->text()) + 1;
    if (needed > label->width())
        label->resize(needed, label->height());
}

QPushButton* MakeBitBtn(QWidget* parent, const char* name, const QString& caption, const QIcon& picture,
                        QRect bounds)
{
    auto* button = Placed(new QPushButton(picture, caption, parent), name, bounds);
    button->setCursor(Qt::PointingHandCursor);
    button->setIconSize(QSize(16, 16));
    button->setAutoDefault(false);
    return button;
}

QString MaskedFieldText(const QLineEdit* field)
{
    const QString mask = field->inputMask();
    QString text = field->displayText();
    const int semicolon = mask.lastIndexOf(QLatin1Char(';'));
    if (mask.isEmpty() || semicolon < 0 || semicolon + 1 >= mask.size())
        return text;
    const QChar blank = mask.at(semicolon + 1);
    if (blank != QLatin1Char(' '))
        text.replace(blank, QLatin1Char(' '));
    return text;
}

namespace {

QPixmap Canvas()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

QIcon TickPicture()
{
    QPixmap pixmap = Canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 150, 0), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF points[] = {{2.5, 8.5}, {6.0, 12.5}, {13.5, 3.5}};
    p.drawPolyline(points, 3);
    return QIcon(pixmap);
}

QIcon CrossPicture()
{
    QPixmap pixmap = Canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(210, 0, 0), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
    return QIcon(pixmap);
}

} // namespace nfp
