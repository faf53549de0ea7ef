#include "app/date_edit.h"

#include <QAction>
#include <QCalendarWidget>
#include <QLocale>
#include <QDate>
#include <QRegularExpression>
#include <QStyle>

namespace nfp {

namespace {

QDate ToQDate(const Date& d)
{
    return QDate(static_cast<int>(d.year()), static_cast<int>(static_cast<unsigned>(d.month())),
                 static_cast<int>(static_cast<unsigned>(d.day())));
}

Date FromQDate(const QDate& d)
{
    return Date{std::chrono::year{d.year()}, std::chrono::month{static_cast<unsigned>(d.month())},
                std::chrono::day{static_cast<unsigned>(d.day())}};
}

} // namespace

DateEdit::DateEdit(RegionalSettings settings, std::function<Date()> today, QWidget* parent)
    : ExitLineEdit(parent), settings_(std::move(settings)), today_(std::move(today))
{
    // The short date's places in the locale's order (the four-digit year
    // first or last) with its separator; every digit may stay blank, so any
    // text can be left in the field.
    QString sep = QString::fromUtf8(settings_.dateSeparator.c_str()).left(1);
    if (sep.isEmpty())
        sep = QStringLiteral("/");
    const QString quoted = sep.contains(QRegularExpression(QStringLiteral("[AaNnXx90DdHhBb#<>!;\\[\\]{}\\\\]")))
        ? QStringLiteral("\\") + sep : sep;
    const QString two = QStringLiteral("00");
    const QString four = QStringLiteral("0000");
    setInputMask(settings_.dateOrder == DateOrder::YearMonthDay ? four + quoted + two + quoted + two + QStringLiteral("; ")
                                                               : two + quoted + two + quoted + four + QStringLiteral("; "));

    calendar_ = new QCalendarWidget(this);
    calendar_->setWindowFlags(Qt::Popup);
    calendar_->setGridVisible(true);
    // Under the C locale the rest of the window speaks Portuguese; so does
    // the calendar.
    if (QLocale::system().language() == QLocale::C)
        calendar_->setLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
    calendar_->hide();
    // A click and Enter on a day both take it; Enter must not just close
    // the calendar and drop the day chosen with the arrow keys.
    const auto take = [this](const QDate& d) {
        setDate(FromQDate(d));
        calendar_->hide();
        setFocus(Qt::OtherFocusReason);
    };
    connect(calendar_, &QCalendarWidget::clicked, this, take);
    connect(calendar_, &QCalendarWidget::activated, this, take);

    QAction* drop = addAction(style()->standardIcon(QStyle::SP_ArrowDown), QLineEdit::TrailingPosition);
    drop->setObjectName(QStringLiteral("DropDown"));
    connect(drop, &QAction::triggered, this, &DateEdit::showCalendar);
}

Date DateEdit::date() const
{
    const int year = static_cast<int>(today_().year());
    const auto parsed = ParseShortDate(displayText().toStdString(), settings_, year);
    return parsed ? *parsed : kNullDate;
}

void DateEdit::setDate(const Date& date)
{
    setText(QString::fromStdString(FormatShortDate(date, settings_)));
    setCursorPosition(0);
}

void DateEdit::showCalendar()
{
    const Date current = date();
    calendar_->setSelectedDate(ToQDate(current == kNullDate ? today_() : current));
    calendar_->adjustSize();
    calendar_->move(mapToGlobal(QPoint(0, height())));
    calendar_->show();
    calendar_->setFocus(Qt::PopupFocusReason);
}

} // namespace nfp
