#include "app/profile_cell_delegate.h"

#include "app/control_factory.h"
#include "profiles/profile_list.h"

#include <QPainter>

namespace nfp {

ProfileCellDelegate::ProfileCellDelegate(int tipoColumn, int enviarColumn, QObject* parent)
    : QStyledItemDelegate(parent), tipoColumn_(tipoColumn), enviarColumn_(enviarColumn),
      cross_(CrossPicture()), tick_(TickPicture())
{
}

void ProfileCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const
{
    const int column = index.column();
    if (column != tipoColumn_ && column != enviarColumn_) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& pal = option.palette;
    painter->save();
    painter->fillRect(option.rect, selected ? pal.highlight() : pal.base());
    const QString value = index.data(Qt::DisplayRole).toString();
    const QPoint origin = option.rect.topLeft();
    if (column == tipoColumn_) {
        painter->setFont(option.font);
        painter->setPen(selected ? pal.highlightedText().color() : pal.text().color());
        const QString text = QString::fromStdString(CategoryCellText(value.toInt()));
        const QRect area = option.rect.adjusted(1, 1, 0, 0);
        painter->drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    } else {
        const auto picture = SendFlagPictureFor(value.toStdString());
        if (picture != SendFlagPicture::None) {
            const QIcon& icon = picture == SendFlagPicture::Marked ? tick_ : cross_;
            painter->drawPixmap(origin + QPoint(5, 1), icon.pixmap(16, 16));
        }
    }
    painter->restore();
}

} // namespace nfp
