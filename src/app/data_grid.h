#pragma once
// A read-only grid over one in-memory table: whole rows are selected, column
// titles and row lines are shown, a narrow row indicator marks the current
// row, and keys go to the window's own key handler first.
#include <QTableView>

#include <functional>

namespace nfp {

struct GridColumn {
    QString title;
    int width = 64;
};

class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent);

    // Sets the widths of the model's columns, in order.
    void setColumnWidths(const std::vector<int>& widths);

    // The key handler; it returns true when it took the key.
    using KeyHandler = std::function<bool(int key, Qt::KeyboardModifiers modifiers)>;
    void setKeyHandler(KeyHandler handler) { keyHandler_ = std::move(handler); }

signals:
    // A double click anywhere in the grid, titles and empty space included.
    void doubleClickedAnywhere();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    KeyHandler keyHandler_;
};

} // namespace nfp
