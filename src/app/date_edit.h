#pragma once
// A date field: a masked text field (day, month and four-digit year in the
// locale's order, with its separator, blanks for empty places) with a
// drop-down calendar.
// The user can leave a text that is not a date; it reads as the null date.
#include "app/exit_line_edit.h"
#include "util/regional_settings.h"

#include <functional>

class QCalendarWidget;

namespace nfp {

// Day 0 of the date system that the program's dates count from.
inline constexpr Date kNullDate{std::chrono::year{1899}, std::chrono::month{12}, std::chrono::day{30}};

class DateEdit : public ExitLineEdit {
    Q_OBJECT
public:
    DateEdit(RegionalSettings settings, std::function<Date()> today, QWidget* parent);

    // The date the text stands for, or kNullDate.
    Date date() const;
    void setDate(const Date& date);
    // The text with its blanks, as the user sees it.
    QString fieldText() const { return displayText(); }

    void showCalendar();
    QCalendarWidget* calendar() const { return calendar_; }

private:
    RegionalSettings settings_;
    std::function<Date()> today_;
    QCalendarWidget* calendar_ = nullptr;
};

} // namespace nfp
