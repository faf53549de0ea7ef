// The Calcular tab: a date and its file-extension code.
#include "main_window_fixture.h"

#include "app/date_edit.h"
#include "app/exit_line_edit.h"
#include "app/local_message_dlg.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QLocale>
#include <QTabWidget>
#include <QTest>

namespace nfp::test {
namespace {

class CalcularTest : public MainWindowTest {};

TEST_F(CalcularTest, TodaysCodeShowsFromTheStart)
{
    now = MomentAt(2009, 3, 19, 10, 0, 0);
    TF_NFP& w = Open();
    EXPECT_EQ(w.DateEdit->fieldText(), "19/03/2009");
    EXPECT_EQ(w.Edit_Sigla->text(), "J39");
}

// The date fields show and read dates in the locale's order, the year first
// included.
TEST_F(CalcularTest, DateFieldsFollowTheLocalesOrder)
{
    struct Case {
        DateOrder order;
        const char* separator;
        const char* shown;
    } cases[] = {
        {DateOrder::DayMonthYear, "/", "19/03/2009"},
        {DateOrder::MonthDayYear, "/", "03/19/2009"},
        {DateOrder::YearMonthDay, "-", "2009-03-19"},
        {DateOrder::YearMonthDay, ".", "2009.03.19"},
    };
    for (const Case& c : cases) {
        regional.dateOrder = c.order;
        regional.dateSeparator = c.separator;
        now = MomentAt(2009, 3, 19, 10, 0, 0);
        TF_NFP& w = Open();
        const Date day{std::chrono::year{2009}, std::chrono::month{3}, std::chrono::day{19}};
        EXPECT_EQ(w.DateEdit->fieldText(), c.shown);
        EXPECT_EQ(w.DateEdit->date(), day) << c.shown;
        EXPECT_EQ(w.DateEdit_Agenda->fieldText(), c.shown);
        EXPECT_EQ(w.DateEdit_Agenda->date(), day) << c.shown;
        EXPECT_EQ(w.Edit_Sigla->text(), "J39");
        // A date set from the calendar reads back.
        w.DateEdit_Agenda->setDate(Date{std::chrono::year{2026}, std::chrono::month{12}, std::chrono::day{31}});
        EXPECT_EQ(w.DateEdit_Agenda->date(), (Date{std::chrono::year{2026}, std::chrono::month{12}, std::chrono::day{31}}))
            << c.shown;
        window.reset();
    }
}

TEST_F(CalcularTest, CodesTypedInLowerCaseAreReadAsCapitals)
{
    TF_NFP& w = Open();
    w.Edit_Sigla->clear();
    w.Edit_Sigla->setFocus();
    QTest::keyClicks(w.Edit_Sigla, "j39");
    EXPECT_EQ(w.Edit_Sigla->text(), "J39");
    ScriptedMessageAnswers answers;
    w.Edit_SiglaExit();
    EXPECT_TRUE(answers.Asked().empty());
    EXPECT_EQ(w.DateEdit->fieldText(), "19/03/2009");
    EXPECT_EQ(w.Edit_Sigla->text(), "J39");
}

TEST_F(CalcularTest, DateToCodeOnLeavingTheDate)
{
    TF_NFP& w = Open();
    const struct { const char* date; const char* code; } cases[] = {
        {"01/10/2010", "1AA"}, {"31/01/2011", "V1B"}, {"05/05/1999", "55Z"}, {"31/12/2035", "VCZ"},
        {"  /  /    ", "UCZ"}, {"31/02/2011", "UCZ"},
    };
    for (const auto& c : cases) {
        w.DateEdit->setText(c.date);
        w.DateEditExit();
        EXPECT_EQ(w.Edit_Sigla->text(), c.code) << c.date;
    }
}

TEST_F(CalcularTest, CodesThatAreNoDateAreReportedAndChangeNothing)
{
    TF_NFP& w = Open();
    w.DateEdit->setText("01/10/2010");
    for (const char* code : {"039", "J09", "V49", "J 9", "-39", "J3", "", "[39"}) {
        w.Edit_Sigla->setText(code);
        ScriptedMessageAnswers answers{MsgResult::Ok};
        w.Edit_SiglaExit();
        ASSERT_EQ(answers.Asked().size(), 1u) << code;
        EXPECT_EQ(answers.Asked()[0].text, "Extensão / Data Inválida...");
        EXPECT_EQ(answers.Asked()[0].kind, MessageKind::Error);
        EXPECT_EQ(answers.Asked()[0].buttons, MsgButton::OK);
        EXPECT_EQ(w.DateEdit->fieldText(), "01/10/2010") << code;
        EXPECT_EQ(w.Edit_Sigla->text(), code);
    }
}

TEST_F(CalcularTest, AZYearTurns1999Into2035)
{
    TF_NFP& w = Open();
    w.DateEdit->setText("05/05/1999");
    w.DateEditExit();
    EXPECT_EQ(w.Edit_Sigla->text(), "55Z");
    w.Edit_SiglaExit();
    EXPECT_EQ(w.DateEdit->fieldText(), "05/05/2035");
    EXPECT_EQ(w.DateEdit->date(), (Date{std::chrono::year{2035}, std::chrono::month{5}, std::chrono::day{5}}));
}

TEST_F(CalcularTest, FocusLeavingEachFieldConverts)
{
    TF_NFP& w = Open();
    w.PageControl->setCurrentWidget(w.TabSheet_Calcular);
    w.activateWindow();
    w.DateEdit->setFocus(Qt::MouseFocusReason);
    w.DateEdit->setText("01/10/2010");
    w.Edit_Sigla->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(w.Edit_Sigla->text(), "1AA");
    w.Edit_Sigla->setText("V1B");
    w.DateEdit->setFocus(Qt::BacktabFocusReason);
    EXPECT_EQ(w.DateEdit->fieldText(), "31/01/2011");
}

TEST_F(CalcularTest, TheCalendarSetsTheDate)
{
    TF_NFP& w = Open();
    w.PageControl->setCurrentWidget(w.TabSheet_Calcular);
    w.DateEdit->showCalendar();
    ASSERT_TRUE(w.DateEdit->calendar()->isVisible());
    EXPECT_EQ(w.DateEdit->calendar()->selectedDate(), QDate(2025, 12, 8));
    emit w.DateEdit->calendar()->clicked(QDate(2009, 3, 19));
    EXPECT_FALSE(w.DateEdit->calendar()->isVisible());
    EXPECT_EQ(w.DateEdit->fieldText(), "19/03/2009");
}

TEST_F(CalcularTest, EnterInTheCalendarTakesTheDayChosenWithTheArrowKeys)
{
    TF_NFP& w = Open();
    w.PageControl->setCurrentWidget(w.TabSheet_Calcular);
    w.DateEdit->showCalendar();
    auto* days = w.DateEdit->calendar()->findChild<QAbstractItemView*>();
    ASSERT_NE(days, nullptr);
    QTest::keyClick(days, Qt::Key_Right);
    QTest::keyClick(days, Qt::Key_Return);
    EXPECT_FALSE(w.DateEdit->calendar()->isVisible());
    EXPECT_EQ(w.DateEdit->fieldText(), "09/12/2025");
}

TEST_F(CalcularTest, TheCalendarSpeaksPortugueseUnderTheCLocale)
{
    TF_NFP& w = Open();
    const QLocale calendar = w.DateEdit->calendar()->locale();
    if (QLocale::system().language() == QLocale::C) {
        EXPECT_EQ(calendar.language(), QLocale::Portuguese);
        EXPECT_EQ(calendar.territory(), QLocale::Brazil);
    } else {
        EXPECT_EQ(calendar.language(), QLocale::system().language());
    }
}

} // namespace
} // namespace nfp::test
