#pragma once
// A captioned group of radio buttons with one chosen position, or none (-1).
#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QStringList>

#include <vector>

namespace nfp {

class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& title, const QStringList& items, QWidget* parent);

    int itemIndex() const;
    // Any value outside the items chooses nothing.
    void setItemIndex(int index);
    QRadioButton* item(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }
    int count() const { return static_cast<int>(buttons_.size()); }

signals:
    void itemIndexChanged(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutItems();

    QButtonGroup group_;
    std::vector<QRadioButton*> buttons_;
};

} // namespace nfp
