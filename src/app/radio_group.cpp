#include "app/radio_group.h"

namespace nfp {

RadioGroup::RadioGroup(const QString& title, const QStringList& items, QWidget* parent)
    : QGroupBox(title, parent)
{
    group_.setExclusive(true);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        button->setObjectName(QStringLiteral("%1_%2").arg(i).arg(items[i]));
        group_.addButton(button, i);
        buttons_.push_back(button);
    }
    connect(&group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            emit itemIndexChanged(id);
    });
    layoutItems();
}

int RadioGroup::itemIndex() const
{
    return group_.checkedId();
}

void RadioGroup::setItemIndex(int index)
{
    if (index >= 0 && index < count()) {
        item(index)->setChecked(true);
        return;
    }
    // An exclusive group never lets its last checked button go.
    group_.setExclusive(false);
    for (auto* b : buttons_)
        b->setChecked(false);
    group_.setExclusive(true);
    emit itemIndexChanged(-1);
}

void RadioGroup::resizeEvent(QResizeEvent* event)
{
    QGroupBox::resizeEvent(event);
    layoutItems();
}

void RadioGroup::layoutItems()
{
    if (buttons_.empty())
        return;
    // Items share the space below the caption in equal rows.
    const int top = 15;
    const int rowHeight = std::max(16, (height() - top - 4) / count());
    for (int i = 0; i < count(); ++i)
        item(i)->setGeometry(8, top + i * rowHeight, width() - 16, std::min(rowHeight, 20));
}

} // namespace nfp
