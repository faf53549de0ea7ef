// The scheduler group: the clock's ticks start the send by themselves at the
// chosen date and second. The clock is the test's; ticks are called by hand.
#include "service_fixture.h"

#include "app/data_grid.h"
#include "app/date_edit.h"
#include "app/exit_line_edit.h"
#include "app/local_message_dlg.h"
#include "app/status_bar.h"
#include "profiles/profile_operations.h"
#include "sending/send_queue.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <functional>

namespace nfp::test {
namespace {

class SchedulerTest : public MainWindowServiceTest {
protected:
    TF_NFP& OpenWithTwoProfiles()
    {
        TF_NFP& w = Open();
        w.Timer->stop(); // only the test's ticks
        WriteFile("um", "A.139", "um A");
        WriteFile("dois", "B.139", "dois B");
        AddProfile(w, "11222333000181", "demo", "demo123", 0, "um");
        AddProfile(w, "44555666000181", "contador", "conta456", 1, "dois");
        w.MaskEdit_Data->setText("03/2009");
        return w;
    }
    // The next case's window, on a new service that has seen no request.
    void StartOver()
    {
        window.reset();
        local.emplace();
        service = local->PosterSettings();
    }
    void Schedule(TF_NFP& w, const QString& time)
    {
        w.MaskEdit_Agenda->setText(time);
        w.CheckBox_Agenda->setChecked(true);
    }
    void TickAt(TF_NFP& w, int hh, int mm, int ss)
    {
        now = MomentAt(2025, 12, 8, hh, mm, ss);
        w.TimerTimer();
    }
    std::vector<std::string> SentCnpjs()
    {
        std::vector<std::string> cnpjs;
        for (const auto& r : Requests())
            cnpjs.push_back(r.cnpj);
        return cnpjs;
    }
};

TEST_F(SchedulerTest, FiresOnceAtTheScheduledSecond)
{
    TF_NFP& w = OpenWithTwoProfiles();
    Schedule(w, "14:30:00");
    TickAt(w, 14, 29, 58);
    TickAt(w, 14, 29, 59);
    EXPECT_TRUE(Requests().empty());
    EXPECT_TRUE(w.CheckBox_Agenda->isChecked());
    EXPECT_EQ(w.StatusBar->panelText(2), "14:29:59");
    TickAt(w, 14, 30, 0);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    EXPECT_FALSE(w.CheckBox_Agenda->isChecked());
    EXPECT_EQ(SentCnpjs(), (std::vector<std::string>{"11222333000181", "44555666000181"}));
    EXPECT_EQ(Requests()[1].usuario, "contador");
    EXPECT_EQ(w.PageControl->currentWidget(), w.TabSheet_Resultado);
    TickAt(w, 14, 30, 1);
    w.CheckBox_Agenda->setChecked(true);
    TickAt(w, 14, 30, 2);
    EXPECT_EQ(Requests().size(), 2u);
}

struct DueCase {
    const char* what;
    const char* time;
    std::vector<std::array<int, 3>> ticks;
    bool fires;
};

TEST_F(SchedulerTest, LateTicksAndBlankHourDigitsStillFirePastMomentsDoNot)
{
    const DueCase cases[] = {
        {"a skipped second", "14:30:00", {{14, 29, 59}, {14, 30, 1}}, true},
        {"a blank first hour digit", "_9:30:00", {{9, 29, 59}, {9, 30, 0}}, true},
        {"a moment already past", "14:30:00", {{14, 30, 5}, {14, 30, 6}}, false},
        {"not yet", "14:30:00", {{14, 29, 0}, {14, 29, 1}}, false},
    };
    for (const auto& c : cases) {
        StartOver();
        TF_NFP& w = OpenWithTwoProfiles();
        TickAt(w, c.ticks[0][0], c.ticks[0][1], c.ticks[0][2]);
        Schedule(w, c.time);
        for (std::size_t i = 1; i < c.ticks.size(); ++i)
            TickAt(w, c.ticks[i][0], c.ticks[i][1], c.ticks[i][2]);
        EXPECT_EQ(!Requests().empty(), c.fires) << c.what;
        EXPECT_EQ(w.CheckBox_Agenda->isChecked(), !c.fires) << c.what;
    }
}

TEST_F(SchedulerTest, ADateThatIsNotTodayNeverFires)
{
    TF_NFP& w = OpenWithTwoProfiles();
    for (const char* date : {"07/12/2025", "  /  /    ", "31/02/2025"}) {
        w.DateEdit_Agenda->setText(date);
        Schedule(w, "14:30:00");
        TickAt(w, 14, 29, 59);
        TickAt(w, 14, 30, 0);
        EXPECT_TRUE(Requests().empty()) << date;
        EXPECT_TRUE(w.CheckBox_Agenda->isChecked()) << date;
    }
}

TEST_F(SchedulerTest, EnviarRefusesWhileSchedulingIsOn)
{
    TF_NFP& w = OpenWithTwoProfiles();
    AppendQueueRow(w.Enviar_Table(), "A.139", (Folder("um") + "/").toStdString());
    Schedule(w, "14:30:00");
    ScriptedMessageAnswers answers{MsgResult::Ok};
    w.BitBtn_Enviar->click();
    ASSERT_EQ(answers.Asked().size(), 1u);
    EXPECT_EQ(answers.Asked()[0].text, "Agendamento está ativo...\r\rDesligue para enviar agora...");
    EXPECT_EQ(answers.Asked()[0].kind, MessageKind::Information);
    EXPECT_EQ(answers.Asked()[0].buttons, MsgButton::OK);
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(w.Enviar_Table().RecordCount(), 1);
    EXPECT_TRUE(errors.isEmpty());
}

// Falling due while another operation works: the start waits for its end,
// and then happens only while the box stays ticked and the date and time
// stay as they were. The Enviar button's batch already sent what the
// schedule would have: it counts as served.
TEST_F(SchedulerTest, FallingDueWhileAnOperationWorksStartsWhenItEndsUnlessServedOrChanged)
{
    enum class Operation { Batch, QueuedFiles, Requery };
    struct Case {
        const char* name;
        Operation operation;
        std::function<void(TF_NFP&)> meanwhile;
        std::vector<std::string> sent; // CNPJ of each sending, in order
        bool tickedAfter;
    };
    const std::string demo = "11222333000181", contador = "44555666000181";
    const Case cases[] = {
        {"the Enviar button's batch", Operation::Batch, {}, {demo, contador}, false},
        {"a queued-files send", Operation::QueuedFiles, {}, {demo, demo, contador}, false},
        {"a re-query", Operation::Requery, {}, {demo, contador}, false},
        {"unticked and ticked again meanwhile", Operation::QueuedFiles,
         [](TF_NFP& w) {
             w.CheckBox_Agenda->setChecked(false);
             w.CheckBox_Agenda->setChecked(true);
         },
         {demo}, true},
        {"the time changed meanwhile", Operation::QueuedFiles,
         [](TF_NFP& w) { w.MaskEdit_Agenda->setText("15:00:00"); }, {demo}, true},
        {"the date changed meanwhile", Operation::QueuedFiles,
         [](TF_NFP& w) { w.DateEdit_Agenda->setDate(Date{std::chrono::year{2025}, std::chrono::month{12}, std::chrono::day{9}}); },
         {demo}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartOver();
        TF_NFP& w = OpenWithTwoProfiles();
        w.Registros_Table().First();
        if (c.operation == Operation::QueuedFiles) {
            WriteFile("outra", "Z.139", "z");
            AppendQueueRow(w.Enviar_Table(), "Z.139", (Folder("outra") + "/").toStdString());
        }
        TickAt(w, 14, 29, 59);
        bool sentBeforeItEnded = false;
        QTimer::singleShot(0, &w, [&] {
            Schedule(w, "14:30:00");
            TickAt(w, 14, 30, 0);
            if (c.meanwhile)
                c.meanwhile(w);
            sentBeforeItEnded = Requests().size() > 1;
        });
        ScriptedMessageAnswers answers{MsgResult::Yes};
        if (c.operation == Operation::Requery)
            w.BitBtn_Reconsultar->click();
        else
            w.BitBtn_Enviar->click();
        QApplication::processEvents();
        EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
        EXPECT_FALSE(sentBeforeItEnded);
        EXPECT_EQ(SentCnpjs(), c.sent);
        EXPECT_EQ(w.CheckBox_Agenda->isChecked(), c.tickedAfter);
        EXPECT_LE(answers.Asked().size(), 1u); // no question before a scheduled send
    }
}

// Falling due while a question waits for its answer: the send starts once
// the question has been answered and acted on, so the answer acts on what the
// user saw when it was asked.
TEST_F(SchedulerTest, FallingDueWhileAQuestionIsOpenWaitsForTheAnswer)
{
    struct Case {
        const char* name;
        bool deleteProfile; // the Delete question in the profile list, else the Enviar question
        std::vector<std::string> sent;
        std::vector<std::string> storedAfter;
    };
    const Case cases[] = {
        {"removing the first profile", true, {"44555666000181"}, {"44555666000181"}},
        // The batch the question started served the schedule.
        {"sending", false, {"11222333000181", "44555666000181"}, {"11222333000181", "44555666000181"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        for (const std::string& key : store->ProfileKeys())
            store->Remove(key);
        WriteFile("um", "A.139", "um A");
        WriteFile("dois", "B.139", "dois B");
        SaveProfile(*store, "11222333000181", "demo", "demo123", 0, (Folder("um") + "/").toStdString());
        SaveProfile(*store, "44555666000181", "contador", "conta456", 1, (Folder("dois") + "/").toStdString());
        TF_NFP& w = Open();
        w.Timer->stop();
        w.MaskEdit_Data->setText("03/2009");
        ASSERT_EQ(w.Edit_CNPJ->text(), "11222333000181");
        TickAt(w, 14, 29, 59);
        Schedule(w, "14:30:00");
        if (!c.deleteProfile)
            w.CheckBox_Agenda->setChecked(false); // ticked again while the question is open
        ScriptedMessageAnswers answers; // the real question
        bool answered = false;
        QTimer::singleShot(0, &w, [&] {
            if (!c.deleteProfile)
                w.CheckBox_Agenda->setChecked(true);
            TickAt(w, 14, 30, 0);
            if (auto* dialog = qobject_cast<LocalMessageDialog*>(QApplication::activeModalWidget())) {
                answered = true;
                dialog->Button(MsgResult::Yes)->click();
            }
        });
        if (c.deleteProfile)
            QTest::keyClick(w.DBGrid_Registros, Qt::Key_Delete);
        else
            w.BitBtn_Enviar->click();
        EXPECT_TRUE(answered);
        QApplication::processEvents();
        EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
        EXPECT_EQ(store->ProfileKeys(), c.storedAfter);
        EXPECT_EQ(SentCnpjs(), c.sent);
        EXPECT_FALSE(w.CheckBox_Agenda->isChecked());
        EXPECT_EQ(w.PageControl->currentWidget(), w.TabSheet_Resultado);
    }
}

TEST_F(SchedulerTest, AScheduledStartSendsTheQueueOrTheProfilesUnderAnyTimeSeparator)
{
    struct Case {
        const char* what;
        const char* separator;
        bool profiles;
        bool queued; // a file queued from elsewhere before the second comes
        std::vector<std::string> sent; // CNPJ of each request, in order
    };
    const Case cases[] = {
        {"queued files go out with the current profile only", ":", true, true, {"11222333000181"}},
        {"no profile and nothing queued", ":", false, false, {}},
        {"a time separator that is not a colon", ".", true, false, {"11222333000181", "44555666000181"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StartOver();
        regional.timeSeparator = c.separator;
        TF_NFP& w = Open();
        w.Timer->stop();
        if (c.profiles) {
            WriteFile("um", "A.139", "um A");
            WriteFile("dois", "B.139", "dois B");
            AddProfile(w, "11222333000181", "demo", "demo123", 0, "um");
            AddProfile(w, "44555666000181", "contador", "conta456", 1, "dois");
            w.Registros_Table().First();
        }
        w.MaskEdit_Data->setText("03/2009");
        if (c.queued) {
            WriteFile("outra", "Z.139", "z");
            AppendQueueRow(w.Enviar_Table(), "Z.139", (Folder("outra") + "/").toStdString());
        }
        const QString sep = QString::fromLatin1(c.separator);
        TickAt(w, 14, 29, 59);
        EXPECT_EQ(w.StatusBar->panelText(2), "14" + sep + "29" + sep + "59");
        Schedule(w, "14" + sep + "30" + sep + "00");
        TickAt(w, 14, 30, 0);
        EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
        EXPECT_EQ(SentCnpjs(), c.sent);
        if (c.queued) {
            ASSERT_EQ(Requests().size(), 1u);
            EXPECT_EQ(Requests()[0].nomeArquivo, "Z.139");
            EXPECT_EQ(Requests()[0].usuario, "demo");
        }
        EXPECT_FALSE(w.CheckBox_Agenda->isChecked());
        EXPECT_EQ(w.Enviar_Table().RecordCount(), 0);
        EXPECT_EQ(w.PageControl->currentWidget(), w.TabSheet_Resultado);
    }
}

TEST_F(SchedulerTest, LeavingTheTimeFieldWithNoTimeClearsIt)
{
    TF_NFP& w = Open();
    for (const char* text : {"25:00:00", "12:60:00", ""}) {
        w.MaskEdit_Agenda->setText(text);
        ScriptedMessageAnswers answers{MsgResult::Ok};
        w.MaskEdit_AgendaExit();
        ASSERT_EQ(answers.Asked().size(), 1u) << text;
        EXPECT_EQ(answers.Asked()[0].text, "Hora Inválida...");
        EXPECT_EQ(answers.Asked()[0].kind, MessageKind::Warning);
        EXPECT_EQ(w.MaskEdit_Agenda->text(), "::") << text;
    }
    // A time is kept, also one whose first hour digit stays blank.
    for (const char* text : {"14:30:00", "_9:30:00"}) {
        w.MaskEdit_Agenda->setText(text);
        const QString before = w.MaskEdit_Agenda->displayText();
        ScriptedMessageAnswers answers;
        w.MaskEdit_AgendaExit();
        EXPECT_TRUE(answers.Asked().empty()) << text;
        EXPECT_EQ(w.MaskEdit_Agenda->displayText(), before);
    }
    EXPECT_EQ(w.MaskEdit_Agenda->displayText(), "_9:30:00");
}

} // namespace
} // namespace nfp::test

namespace nfp::test {
namespace {

TEST_F(SchedulerTest, AnEditedTimeWithEmptyPlacesKeepsTheFocusUntilEsc)
{
    TF_NFP& w = Open();
    w.activateWindow();
    w.MaskEdit_Agenda->setText("10:00:00");
    w.MaskEdit_Agenda->setFocus(Qt::MouseFocusReason);
    w.MaskEdit_Agenda->setCursorPosition(1);
    QTest::keyClick(w.MaskEdit_Agenda, Qt::Key_Delete);
    ASSERT_EQ(w.MaskEdit_Agenda->displayText(), "1_:00:00");
    ScriptedMessageAnswers answers;
    w.CheckBox_Agenda->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(errors, QStringList{"Invalid input value.  Use escape key to abandon changes"});
    EXPECT_TRUE(answers.Asked().empty()); // the exit handler did not run
    EXPECT_EQ(QApplication::focusWidget(), w.MaskEdit_Agenda);
    QTest::keyClick(w.MaskEdit_Agenda, Qt::Key_Escape);
    EXPECT_EQ(w.MaskEdit_Agenda->displayText(), "10:00:00");
    w.CheckBox_Agenda->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(errors.size(), 1);
    EXPECT_TRUE(answers.Asked().empty());

    // A field never typed in goes to the exit handler, which finds no time.
    w.MaskEdit_Agenda->setText(QString());
    w.MaskEdit_Agenda->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), w.MaskEdit_Agenda);
    answers.Push(MsgResult::Ok);
    w.CheckBox_Agenda->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), w.CheckBox_Agenda);
    ASSERT_EQ(answers.Asked().size(), 1u) << errors.join("; ").toStdString();
    EXPECT_EQ(answers.Asked()[0].text, "Hora Inválida...");
}

} // namespace
} // namespace nfp::test
