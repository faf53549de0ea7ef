#include "app/exit_line_edit.h"

#include <QFocusEvent>
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

void ExitLineEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    const auto reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        emit exited();
}

} // namespace nfp
