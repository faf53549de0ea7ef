// Sending from the main window to the local service: the send run's cases.
#include "service_fixture.h"

#include "app/data_grid.h"
#include "app/local_message_dlg.h"
#include "journal/send_journal.h"
#include "sending/send_queue.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace nfp::test {
namespace {

class SendRunTest : public MainWindowServiceTest {
protected:
    // Queues the files of `folder` in the given order (the table sorts them).
    void Queue(TF_NFP& w, const QString& folder, const QStringList& names)
    {
        for (const QString& n : names)
            AppendQueueRow(w.Enviar_Table(), n.toStdString(), (Folder(folder) + "/").toStdString());
    }

    // The window with the demo user typed in and these files of "nfp"
    // written and queued in this order.
    TF_NFP& OpenWithQueued(std::initializer_list<std::pair<const char*, QByteArray>> files)
    {
        TF_NFP& w = Open();
        TypeDemoCredentials(w);
        QStringList names;
        for (const auto& [name, bytes] : files) {
            WriteFile("nfp", name, bytes);
            names << QString::fromLatin1(name);
        }
        Queue(w, "nfp", names);
        return w;
    }

    std::vector<std::string> Column(MemoryTable& t, const char* field)
    {
        std::vector<std::string> values;
        for (int r = 0; r < t.RecordCount(); ++r)
            values.push_back(t.TextAt(r, t.FieldIndex(field)));
        return values;
    }

    std::vector<std::string> SentNames()
    {
        std::vector<std::string> names;
        for (const auto& r : Requests())
            if (r.operation == "Enviar" || r.operation == "Retificar")
                names.push_back(r.nomeArquivo.value_or("?"));
        return names;
    }
};

TEST_F(SendRunTest, ThreeFilesAcceptedGoOutInNameOrderWithThePanelsCredentials)
{
    TF_NFP& w = OpenWithQueued({{"C.139", QByteArray("ter\"ceiro\rfim\0resto", 19)},
                                {"A.139", "primeiro & <um>\nlinha 2\n"},
                                {"B.139", "segundo\r\n"}});
    ScriptedMessageAnswers answers{MsgResult::Yes};
    w.BitBtn_Enviar->click();

    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    ASSERT_EQ(answers.Asked().size(), 1u);
    EXPECT_EQ(answers.Asked()[0].text, "Confirma Envio dos Arquivos ?");
    EXPECT_EQ(answers.Asked()[0].kind, MessageKind::Confirmation);
    EXPECT_EQ(answers.Asked()[0].focusResult, MsgResult::No);

    EXPECT_EQ(SentNames(), (std::vector<std::string>{"A.139", "B.139", "C.139"}));
    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 3u);
    for (const auto& r : requests) {
        EXPECT_EQ(r.usuario, "demo");
        EXPECT_EQ(r.senha, "demo123");
        EXPECT_EQ(r.cnpj, "11222333000181");
        EXPECT_EQ(r.categoria, "1");
        EXPECT_EQ(r.envioNormal, "false");
    }
    EXPECT_EQ(requests[0].conteudoArquivo, "primeiro & <um>\r\nlinha 2\r\n");
    EXPECT_EQ(requests[1].conteudoArquivo, "segundo\r\n");
    // A lone CR becomes CR LF and the text ends at the first zero byte.
    EXPECT_EQ(requests[2].conteudoArquivo, "ter\"ceiro\r\nfim");
    EXPECT_NE(requests[2].body.find("ter&quot;ceiro\r\nfim</ConteudoArquivo>"), std::string::npos);

    MemoryTable& results = w.Enviados_Table();
    EXPECT_EQ(Column(results, "Arquivo"), (std::vector<std::string>{"A.139", "B.139", "C.139"}));
    EXPECT_EQ(Column(results, "Protocolo"),
              (std::vector<std::string>{requests[0].issued, requests[1].issued, requests[2].issued}));
    EXPECT_EQ(results.TextAt(0, results.FieldIndex("Resultado")), requests[0].result);
    EXPECT_EQ(results.TextAt(0, results.FieldIndex("Caminho")), (Folder("nfp") + "/").toStdString());
    EXPECT_EQ(w.Enviar_Table().RecordCount(), 0);
    EXPECT_EQ(results.CurrentRow(), 0);
    EXPECT_EQ(w.DBGrid1->currentIndex().row(), 0);
    EXPECT_EQ(w.DBMemo_Resultado->toPlainText().toStdString(), requests[0].result);
    EXPECT_EQ(w.PageControl->currentWidget(), w.TabSheet_Resultado);
    EXPECT_EQ(w.Label_Status->text(), "Enviando...");
    EXPECT_EQ(w.ProgressBar->value(), 4);
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);
}

// A file the service cannot take as XML is not sent: the user is told which
// file, line and byte, the file stays queued, the run goes on, and the
// journal keeps it as refused. A DOS end-of-file mark at the end is dropped.
TEST_F(SendRunTest, FileWithAControlByteStaysQueuedAndTheRunGoesOn)
{
    QByteArray withFormFeed;
    for (int line = 1; line < 12; ++line)
        withFormFeed += "E14|linha\r\n";
    withFormFeed += "E14|x\x0Cy\r\n";
    TF_NFP& w = OpenWithQueued({{"A.139", "um\r\n\x1A"}, {"B.139", withFormFeed}, {"C.139", "tres\x1A\r\n"}});
    ScriptedMessageAnswers answers{MsgResult::Yes, MsgResult::Ok};
    w.BitBtn_Enviar->click();

    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    ASSERT_EQ(answers.Asked().size(), 2u);
    EXPECT_EQ(answers.Asked()[1].text, QString::fromUtf8("O arquivo B.139 contém o caractere de controle 0x0C na linha "
                                                         "12, que o serviço não aceita."));
    EXPECT_EQ(answers.Asked()[1].kind, MessageKind::Warning);
    EXPECT_EQ(answers.Asked()[1].buttons, MsgButton::OK);
    EXPECT_EQ(SentNames(), (std::vector<std::string>{"A.139", "C.139"}));
    EXPECT_EQ(Requests().at(0).conteudoArquivo, "um\r\n");
    EXPECT_EQ(Requests().at(1).conteudoArquivo, "tres\r\n");
    EXPECT_EQ(Column(w.Enviados_Table(), "Arquivo"), (std::vector<std::string>{"A.139", "C.139"}));
    EXPECT_EQ(Column(w.Enviar_Table(), "Arquivo"), (std::vector<std::string>{"B.139"}));

    const auto rows = SendJournal(JournalFile()).Find();
    const auto refused = std::find_if(rows.begin(), rows.end(), [](const JournalRow& r) { return r.entry.arquivo == "B.139"; });
    ASSERT_NE(refused, rows.end());
    EXPECT_EQ(refused->entry.situacao, "recusado");
    EXPECT_EQ(refused->entry.resultado, answers.Asked()[1].text.toStdString());
    EXPECT_EQ(refused->entry.tamanho, withFormFeed.size());

    // A later send looks at the file afresh: mended, it goes.
    WriteFile("nfp", "B.139", "mended\r\n");
    ScriptedMessageAnswers again{MsgResult::Yes};
    w.BitBtn_Enviar->click();
    EXPECT_EQ(SentNames(), (std::vector<std::string>{"A.139", "C.139", "B.139"}));
    EXPECT_EQ(w.Enviar_Table().RecordCount(), 0);
}

TEST_F(SendRunTest, RejectedFileAnsweredNoIsDroppedAndTheRunGoesOn)
{
    TF_NFP& w = OpenWithQueued({{"A.139", "um\n"}, {"B.139", ""}, {"C.139", "tres\n"}});
    ScriptedMessageAnswers answers{MsgResult::Yes, MsgResult::No};
    w.BitBtn_Enviar->click();

    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    ASSERT_EQ(answers.Asked().size(), 2u);
    const QString question = QString::fromUtf8(
        "O Retorno do envio não foi o esperado:\r\r302|Arquivo vazio\r\rDeseja interromper o envio ?");
    EXPECT_EQ(answers.Asked()[1].text, question);
    EXPECT_EQ(answers.Asked()[1].kind, MessageKind::Warning);
    EXPECT_EQ(answers.Asked()[1].buttons, MsgButton::YesNo);
    EXPECT_EQ(answers.Asked()[1].focusResult, MsgResult::Yes);
    EXPECT_EQ(Column(w.Enviados_Table(), "Arquivo"), (std::vector<std::string>{"A.139", "C.139"}));
    EXPECT_EQ(w.Enviar_Table().RecordCount(), 0);
    EXPECT_EQ(w.PageControl->currentWidget(), w.TabSheet_Resultado);
}

TEST_F(SendRunTest, RejectedFileAnsweredYesStopsWithTheRestQueued)
{
    TF_NFP& w = OpenWithQueued({{"A.139", "um\n"}, {"B.139", ""}, {"C.139", "tres\n"}});
    ScriptedMessageAnswers answers{MsgResult::Yes, MsgResult::Yes};
    w.BitBtn_Enviar->click();

    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    EXPECT_EQ(Column(w.Enviados_Table(), "Arquivo"), (std::vector<std::string>{"A.139"}));
    EXPECT_EQ(Column(w.Enviar_Table(), "Arquivo"), (std::vector<std::string>{"B.139", "C.139"}));
    EXPECT_EQ(SentNames(), (std::vector<std::string>{"A.139", "B.139"}));
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);
    // The caller's own work (showing Resultado) did not run.
    EXPECT_EQ(w.PageControl->currentWidget(), w.TabSheet_Registro);
    EXPECT_TRUE(w.BitBtn_Enviar->isEnabled());
}

TEST_F(SendRunTest, FileGoneFromDiskEndsTheRunWithTheFileError)
{
    TF_NFP& w = Open();
    TypeDemoCredentials(w);
    WriteFile("nfp", "A.139", "um\n");
    Queue(w, "nfp", {"A.139", "B.139", "C.139"});
    WriteFile("nfp", "C.139", "tres\n");
    ScriptedMessageAnswers answers{MsgResult::Yes};
    w.BitBtn_Enviar->click();

    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0], "Cannot open file \"" + Folder("nfp") + "/B.139\". No such file or directory");
    EXPECT_EQ(Column(w.Enviados_Table(), "Arquivo"), (std::vector<std::string>{"A.139"}));
    EXPECT_EQ(Column(w.Enviar_Table(), "Arquivo"), (std::vector<std::string>{"B.139", "C.139"}));
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(w.PageControl->currentWidget(), w.TabSheet_Registro);
}

TEST_F(SendRunTest, LargeFileMovesTheProgressBarWithThePosting)
{
    TF_NFP& w = OpenWithQueued({{"A.139", QByteArray(40000, 'x')}});
    std::vector<std::pair<int, int>> seen; // (maximum, value)
    QObject::connect(w.ProgressBar, &QProgressBar::valueChanged, w.ProgressBar,
                     [&](int v) { seen.emplace_back(w.ProgressBar->maximum(), v); });
    ScriptedMessageAnswers answers{MsgResult::Yes};
    w.BitBtn_Enviar->click();

    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    const int length = static_cast<int>(requests[0].body.size());
    ASSERT_GT(length, 40000);
    const std::vector<std::pair<int, int>> expected{{4, 1}, {4, 2}, {4, 3}, {4, 4}, {length, 32768}, {length, length}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(w.Enviados_Table().RecordCount(), 1);
}

// Counts the paints a widget gets.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

TEST_F(SendRunTest, SmallFilesPaintTheProgressBarWithTheStatusNotAtEveryStep)
{
    // Each file steps the bar four times within microseconds; painting each
    // step at once cost more than posting the file. The bar is painted when
    // the status is, and ends showing the last file's four steps.
    constexpr int files = 12;
    TF_NFP& w = Open();
    TypeDemoCredentials(w);
    QStringList names;
    for (int i = 0; i < files; ++i) {
        const QString name = QStringLiteral("A%1.139").arg(i, 2, 10, QLatin1Char('0'));
        WriteFile("nfp", name, "um\n");
        names << name;
    }
    Queue(w, "nfp", names);
    w.PageControl->setCurrentWidget(w.TabSheet_Enviar);
    QApplication::processEvents();
    PaintCounter counter;
    w.ProgressBar->installEventFilter(&counter);
    ScriptedMessageAnswers answers{MsgResult::Yes};
    w.BitBtn_Enviar->click();

    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    EXPECT_EQ(w.Enviados_Table().RecordCount(), files);
    EXPECT_GT(counter.paints, 0);
    EXPECT_LE(counter.paints, 2 * files + 2);
    EXPECT_TRUE(w.ProgressBar->updatesEnabled());
    EXPECT_EQ(w.ProgressBar->maximum(), 4);
    EXPECT_EQ(w.ProgressBar->value(), 4);
}

TEST_F(SendRunTest, RectificationAndProcessingChoicesGoIntoTheRequest)
{
    TF_NFP& w = OpenWithQueued({{"A.139", "um\n"}});
    w.ComboBox_Retificacao->setCurrentIndex(1);
    w.ComboBox_Envio->setCurrentIndex(1);
    ScriptedMessageAnswers answers{MsgResult::Yes};
    w.BitBtn_Enviar->click();

    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].operation, "Retificar");
    EXPECT_EQ(requests[0].envioNormal, "true");
    ASSERT_EQ(w.Enviados_Table().RecordCount(), 1);
    EXPECT_EQ(w.Enviados_Table().FieldText("Protocolo"), requests[0].issued);
    EXPECT_EQ(w.Enviados_Table().FieldText("Resultado"), requests[0].result);
}

TEST_F(SendRunTest, NothingChangesTheQueueOrTheProfileWhileTheRunWorks)
{
    TF_NFP& w = OpenWithQueued({{"A.139", "x\n"}, {"B.139", "x\n"}, {"C.139", "x\n"}});
    bool enabledDuringRun = true;
    Qt::CursorShape cursorDuringRun = Qt::ArrowCursor;
    int pressed = 0;
    // Runs inside the run's first processing of pending events.
    QTimer::singleShot(0, &w, [&] {
        enabledDuringRun = w.BitBtn_Enviar->isEnabled() || w.BitBtn_Arquivos->isEnabled() ||
                           w.BitBtn_Pasta->isEnabled() || w.BitBtn_Reconsultar->isEnabled() ||
                           w.BitBtn_Consultar->isEnabled() || w.BitBtn_Registro->isEnabled() ||
                           w.DBGrid_Registros->isEnabled();
        cursorDuringRun = w.cursor().shape();
        w.DBGrid_EnviarKeyDown(Qt::Key_Delete, Qt::NoModifier);
        w.BitBtn_EnviarClick();
        ++pressed;
    });
    ScriptedMessageAnswers answers{MsgResult::Yes};
    w.BitBtn_Enviar->click();

    EXPECT_EQ(pressed, 1);
    EXPECT_FALSE(enabledDuringRun);
    EXPECT_EQ(cursorDuringRun, Qt::WaitCursor);
    EXPECT_EQ(SentNames(), (std::vector<std::string>{"A.139", "B.139", "C.139"}));
    EXPECT_EQ(answers.Asked().size(), 1u);
    EXPECT_TRUE(w.BitBtn_Enviar->isEnabled());
    EXPECT_TRUE(w.DBGrid_Registros->isEnabled());
}

TEST_F(SendRunTest, CloseDuringARunTakesEffectWhenItEnds)
{
    TF_NFP& w = OpenWithQueued({{"A.139", "x\n"}, {"B.139", "y\n"}});
    QTimer::singleShot(0, &w, [&] { w.BitBtn_SairClick(); });
    ScriptedMessageAnswers answers{MsgResult::Yes};
    w.BitBtn_Enviar->click();
    EXPECT_EQ(SentNames(), (std::vector<std::string>{"A.139", "B.139"}));
    EXPECT_TRUE(w.isVisible());
    QApplication::processEvents();
    EXPECT_FALSE(w.isVisible());
}

TEST_F(SendRunTest, QuestionsAfterACloseAnswerAsTheCloseBoxAndTheRunGoesOn)
{
    TF_NFP& w = OpenWithQueued({{"A.139", ""}, {"B.139", "y\n"}});
    QTimer::singleShot(0, &w, [&] { w.close(); });
    ScriptedMessageAnswers answers{MsgResult::Yes, MsgResult::Yes};
    w.BitBtn_Enviar->click();
    EXPECT_EQ(answers.Asked().size(), 1u); // only the confirmation
    EXPECT_EQ(SentNames(), (std::vector<std::string>{"A.139", "B.139"}));
    EXPECT_EQ(Column(w.Enviados_Table(), "Arquivo"), (std::vector<std::string>{"B.139"}));
    QApplication::processEvents();
    EXPECT_FALSE(w.isVisible());
}

TEST_F(SendRunTest, TransportFailureLeavesTheFileQueued)
{
    TF_NFP& w = OpenWithQueued({{"A.139", "x\n"}, {"B.139", "y\n"}});
    local->SetFault({.status = 404, .after = 1});
    ScriptedMessageAnswers answers{MsgResult::Yes};
    w.BitBtn_Enviar->click();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("(404)")) << errors[0].toStdString();
    EXPECT_EQ(Column(w.Enviados_Table(), "Arquivo"), (std::vector<std::string>{"A.139"}));
    EXPECT_EQ(Column(w.Enviar_Table(), "Arquivo"), (std::vector<std::string>{"B.139"}));
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(SendRunTest, AnEmptyQueuePostsNothing)
{
    TF_NFP& w = Open();
    TypeDemoCredentials(w);
    w.Enviar();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(w.Enviados_Table().RecordCount(), 0);
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(SendRunTest, ResultTextsDecideWhatIsRecorded)
{
    const std::string longResult = "10/12/2009 10:00:00 Protocolo 123456789 - " + std::string(500, 'x');
    struct Case {
        const char* name;
        test_support::LocalServiceFault fault;
        bool asked;            // the question after an unexpected reply
        QString question;      // when asked
        bool recorded;
        std::string protocolo; // when recorded
        std::string resultado; // when recorded
    };
    const Case cases[] = {
        {"no EnviarResult element", {.contentType = "application/soap+xml", .body = "<soap:Envelope/>"}, true,
         QString::fromUtf8("O Retorno do envio não foi o esperado:\r\r\r\rDeseja interromper o envio ?"), false, "",
         ""},
        {"longer than the field", {.result = longResult}, false, {}, true, "123456789", longResult.substr(0, 480)},
        {"a date and less than 31 characters", {.result = "10/12/2009 aceito"}, false, {}, true, "",
         "10/12/2009 aceito"},
    };
    TF_NFP& w = Open();
    TypeDemoCredentials(w);
    MemoryTable& results = w.Enviados_Table();
    int recorded = 0;
    char name[] = "A.139"; // one name per case, so each new row comes last
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile("nfp", name, "um\n");
        Queue(w, "nfp", {QString::fromLatin1(name)});
        ++name[0];
        test_support::LocalServiceFault fault = c.fault;
        fault.count = 1;
        local->SetFault(fault);
        ScriptedMessageAnswers answers{MsgResult::Yes, MsgResult::No};
        w.BitBtn_Enviar->click();

        EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
        ASSERT_EQ(answers.Asked().size(), c.asked ? 2u : 1u);
        if (c.asked) {
            EXPECT_EQ(answers.Asked()[1].text, c.question);
        }
        EXPECT_EQ(w.Enviar_Table().RecordCount(), 0);
        if (c.recorded)
            ++recorded;
        ASSERT_EQ(results.RecordCount(), recorded);
        if (c.recorded) {
            const int last = results.RecordCount() - 1;
            EXPECT_EQ(results.TextAt(last, results.FieldIndex("Protocolo")), c.protocolo);
            EXPECT_EQ(results.TextAt(last, results.FieldIndex("Resultado")), c.resultado);
        }
    }
}

} // namespace
} // namespace nfp::test
