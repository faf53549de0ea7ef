#include "app/status_bar.h"

#include <utility>

namespace nfp {

StatusBar::StatusBar(std::vector<StatusPanel> panels, QWidget* parent)
    : QWidget(parent), panels_(std::move(panels))
{
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("Panel%1").arg(i));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAlignment(panels_[i].alignment | Qt::AlignVCenter);
        label->setIndent(2);
        labels_.push_back(label);
    }
    layoutPanels();
}

QString StatusBar::panelText(int index) const
{
    return labels_.at(static_cast<std::size_t>(index))->text();
}

void StatusBar::setPanelText(int index, const QString& text)
{
    labels_.at(static_cast<std::size_t>(index))->setText(text);
}

QRect StatusBar::panelRect(int index) const
{
    return labels_.at(static_cast<std::size_t>(index))->geometry();
}

void StatusBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutPanels();
}

void StatusBar::layoutPanels()
{
    int left = 0;
    for (std::size_t i = 0; i < labels_.size(); ++i) {
        const bool last = i + 1 == labels_.size();
        const int width = last ? std::max(panels_[i].width, this->width() - left) : panels_[i].width;
        // A 2-pixel gap at the top, like the platform's own status bar.
        labels_[i]->setGeometry(left, 2, width - (last ? 0 : 2), height() - 2);
        left += width;
    }
}

} // namespace nfp
