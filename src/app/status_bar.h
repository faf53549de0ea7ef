#pragma once
// A status bar of fixed panels along the bottom edge of a window: each panel
// has its own width and alignment, the last runs to the right end.
#include <QLabel>
#include <QWidget>

#include <vector>

namespace nfp {

struct StatusPanel {
    int width = 50;
    Qt::Alignment alignment = Qt::AlignLeft;
};

class StatusBar : public QWidget {
    Q_OBJECT
public:
    StatusBar(std::vector<StatusPanel> panels, QWidget* parent);

    int panelCount() const { return static_cast<int>(labels_.size()); }
    QString panelText(int index) const;
    void setPanelText(int index, const QString& text);
    QRect panelRect(int index) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutPanels();

    std::vector<StatusPanel> panels_;
    std::vector<QLabel*> labels_;
};

} // namespace nfp
