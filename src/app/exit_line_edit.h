#pragma once
// A single-line text field that reports when the keyboard focus leaves it for
// another control of the same window, and can turn letters into capitals as
// they are typed.
#include <QLineEdit>

namespace nfp {

class ExitLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit ExitLineEdit(QWidget* parent);

    void setUpperCase(bool on);

signals:
    // Not for a focus change caused by another window or a pop-up becoming
    // active: a message shown by the exit handler must not run it again.
    void exited();

protected:
    void focusOutEvent(QFocusEvent* event) override;
};

} // namespace nfp
