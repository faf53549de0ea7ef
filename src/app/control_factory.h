#pragma once
// Small helpers that make a control with its objectName at its bounds, so the
// window's layout code reads like its control tables.
#include <QFont>
#include <QIcon>
#include <QRect>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace nfp {

// A font of the given family whose characters are `pixels` high.
QFont PixelFont(const char* family, int pixels);

template <class W>
W* Placed(W* widget, const char* name, QRect bounds)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(bounds);
    return widget;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QRect bounds);
// Widens a label to its text when the font needs more than its bounds.
void FitLabel(QLabel* label);

// A push button with a picture and the hand-point cursor.
QPushButton* MakeBitBtn(QWidget* parent, const char* name, const QString& caption, const QIcon& picture,
                        QRect bounds);

// A field's text as its user sees it: for a masked field, with its literal
// separators and a blank in every empty place.
QString MaskedFieldText(const QLineEdit* field);

// Pictures drawn here, so they look the same on every platform.
QIcon TickPicture();   // green tick, 16 x 16
QIcon CrossPicture();  // red cross, 16 x 16

} // namespace nfp
