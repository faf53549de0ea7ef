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
    // A masked field whose required places the user left empty refuses to
    // let the focus go; Esc puts back the text it had when it got the focus.
    void setRefuseIncomplete(bool on) { refuseIncomplete_ = on; }

signals:
    // Not for a focus change caused by another window or a pop-up becoming
    // active: a message shown by the exit handler must not run it again.
    void exited();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool refuseIncomplete_ = false;
    bool refocusing_ = false; // the focus comes back after a refusal
    QString textOnEntry_;
};

inline constexpr const char* kInvalidMaskInput = "Invalid input value.  Use escape key to abandon changes";

} // namespace nfp
