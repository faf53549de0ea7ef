#pragma once
// Draws the profile list's category as a word and its send flag as a tick or
// a cross; other cells keep the grid's own drawing.
#include <QIcon>
#include <QStyledItemDelegate>

namespace nfp {

class ProfileCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    ProfileCellDelegate(int tipoColumn, int enviarColumn, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int tipoColumn_;
    int enviarColumn_;
    QIcon cross_;
    QIcon tick_;
};

} // namespace nfp
