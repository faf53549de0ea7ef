#include "app/data_grid.h"

#include "app/error_display.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace nfp {

namespace {
// The row indicator column has a fixed width and fixed row heights, so its
// size needs no measuring. Qt's own header measures the titles of up to two
// hundred rows whenever a title changes, and the indicator changes with
// every row a send run adds or removes.
class RowIndicatorHeader : public QHeaderView {
public:
    explicit RowIndicatorHeader(QWidget* parent)
        : QHeaderView(Qt::Vertical, parent)
    {
    }
    QSize sizeHint() const override { return {minimumWidth(), defaultSectionSize()}; }
};
} // namespace

DataGrid::DataGrid(QWidget* parent)
    : QTableView(parent)
{
    setVerticalHeader(new RowIndicatorHeader(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setShowGrid(true);
    setFocusPolicy(Qt::ClickFocus);
    setWordWrap(false);
    // Cells are cut at their edge, as the platform's own grids do.
    setTextElideMode(Qt::ElideNone);
    setTabKeyNavigation(false);
    horizontalHeader()->setVisible(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setMinimumSectionSize(8);
    horizontalHeader()->setFixedHeight(18);
    // The row indicator column.
    verticalHeader()->setVisible(true);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(17);
    verticalHeader()->setMinimumSectionSize(12);
    verticalHeader()->setFixedWidth(12);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionsClickable(false);
}

void DataGrid::setColumnWidths(const std::vector<int>& widths)
{
    for (std::size_t i = 0; i < widths.size(); ++i)
        setColumnWidth(static_cast<int>(i), widths[i]);
}

void DataGrid::keyPressEvent(QKeyEvent* event)
{
    bool taken = false;
    // A key whose handler failed counts as taken: its error has been shown.
    if (keyHandler_ && !RunGuarded([&] { taken = keyHandler_(event->key(), event->modifiers()); }))
        taken = true;
    if (taken) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

} // namespace nfp

namespace nfp {

void DataGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    emit doubleClickedAnywhere();
}

} // namespace nfp
