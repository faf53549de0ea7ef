#include "app/exit_line_edit.h"

#include "app/error_display.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>
#include <QValidator>

namespace nfp {

namespace {

class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};

} // namespace

ExitLineEdit::ExitLineEdit(QWidget* parent)
    : QLineEdit(parent)
{
}

void ExitLineEdit::setUpperCase(bool on)
{
    setValidator(on ? new UpperCaseValidator(this) : nullptr);
}

void ExitLineEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    const auto reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && !refocusing_)
        textOnEntry_ = displayText();
    refocusing_ = false;
}

void ExitLineEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    const auto reason = event->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return;
    if (refuseIncomplete_ && isModified() && !hasAcceptableInput()) {
        refocusing_ = true;
        QTimer::singleShot(0, this, [this] { setFocus(Qt::OtherFocusReason); });
        ShowUncaughtError(QString::fromLatin1(kInvalidMaskInput));
        return;
    }
    emit exited();
}

void ExitLineEdit::keyPressEvent(QKeyEvent* event)
{
    if (refuseIncomplete_ && event->key() == Qt::Key_Escape && isModified()) {
        setText(textOnEntry_);
        setModified(false);
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace nfp
