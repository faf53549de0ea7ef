// The window's exchanges in the send journal, against the local service:
// one row per exchange, committed before the window acts on the reply, and
// a journal that cannot be written never in the way.
#include "service_fixture.h"

#include "app/local_message_dlg.h"
#include "journal/send_journal.h"
#include "journal/sha256.h"
#include "sending/send_queue.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <fstream>
#include <optional>

namespace nfp::test {
namespace {

class JournalWindowTest : public MainWindowServiceTest {
protected:
    std::vector<JournalEntry> Journaled()
    {
        std::vector<JournalEntry> entries;
        const auto rows = SendJournal(JournalFile()).Find();
        for (auto it = rows.rbegin(); it != rows.rend(); ++it)
            entries.push_back(it->entry);
        return entries;
    }
    std::size_t JournaledCount() { return SendJournal(JournalFile()).Find().size(); }
    void Queue(TF_NFP& w, const char* name, const QByteArray& bytes)
    {
        WriteFile("nfp", name, bytes);
        AppendQueueRow(w.Enviar_Table(), name, (Folder("nfp") + "/").toStdString());
    }
};

TEST_F(JournalWindowTest, EveryExchangeIsOneRowCommittedBeforeTheWindowActsOnIt)
{
    TF_NFP& w = Open();
    TypeDemoCredentials(w);
    const std::string folder = (Folder("nfp") + "/").toStdString();
    // Rows in the journal each time the window acts on a reply.
    std::vector<std::size_t> atResult, atDequeue, atQuestion;
    w.Enviados_Table().Subscribe([&](const TableEvent& e) {
        if (e.change == TableChange::Append)
            atResult.push_back(JournaledCount());
    });
    w.Enviar_Table().Subscribe([&](const TableEvent& e) {
        if (e.change == TableChange::Delete)
            atDequeue.push_back(JournaledCount());
    });
    // The real question, answered once the journal has been read.
    std::vector<int> answers{MsgResult::No, MsgResult::Yes};
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<LocalMessageDialog*>(QApplication::activeModalWidget());
        if (!dialog || answers.empty())
            return;
        atQuestion.push_back(JournaledCount());
        const int answer = answers.front();
        answers.erase(answers.begin());
        dialog->Button(answer)->click();
    });
    watcher.start(5);

    // A accepted, B refused (an empty file) and let go with "Não", C accepted.
    Queue(w, "A.139", "E01|um\n");
    Queue(w, "B.139", "");
    Queue(w, "C.139", "E01|tres\n");
    {
        ScriptedMessageAnswers confirm{MsgResult::Yes};
        w.BitBtn_Enviar->click();
    }
    // D refused and answered "Sim": it stays queued.
    Queue(w, "D.139", "");
    {
        ScriptedMessageAnswers confirm{MsgResult::Yes};
        w.BitBtn_Enviar->click();
    }
    ASSERT_EQ(w.Enviar_Table().RecordCount(), 1);
    // D again, the service failing: journaled as a failure, still queued.
    WriteFile("nfp", "D.139", "E01|quatro\n");
    local->SetFault({.status = 503, .count = 1});
    {
        ScriptedMessageAnswers confirm{MsgResult::Yes};
        w.BitBtn_Enviar->click();
    }
    EXPECT_EQ(w.Enviar_Table().RecordCount(), 1);
    ASSERT_EQ(errors.size(), 1);
    const std::string failure = errors[0].toStdString();
    // A query on its tab, and a re-query of the two results.
    const std::string protocolA = w.Enviados_Table().TextAt(0, 2);
    w.Edit_Protocolo->setText(QString::fromStdString(protocolA));
    w.BitBtn_Consultar->click();
    w.BitBtn_Reconsultar->click();
    watcher.stop();

    const auto requests = Requests();
    const auto entries = Journaled();
    struct Expected {
        const char* operacao;
        const char* arquivo;
        const char* situacao;
        std::optional<std::string> bytes; // the file as sent; none for a query
    };
    const Expected expected[] = {
        {"Enviar", "A.139", "aceito", "E01|um\n"},  {"Enviar", "B.139", "recusado", ""},
        {"Enviar", "C.139", "aceito", "E01|tres\n"}, {"Enviar", "D.139", "recusado", ""},
        {"Enviar", "D.139", "falha", "E01|quatro\n"}, {"Consultar", "", "aceito", {}},
        {"Consultar", "A.139", "aceito", {}},         {"Consultar", "C.139", "aceito", {}},
    };
    ASSERT_EQ(entries.size(), std::size(expected));
    ASSERT_EQ(requests.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        const JournalEntry& e = entries[i];
        const auto& r = requests[i];
        EXPECT_EQ(e.operacao, expected[i].operacao);
        EXPECT_EQ(e.arquivo, expected[i].arquivo);
        EXPECT_EQ(e.situacao, expected[i].situacao);
        EXPECT_EQ(e.cnpj, "11222333000181");
        EXPECT_EQ(e.usuario, "demo");
        EXPECT_EQ(e.categoria, 1);
        EXPECT_EQ(e.quando.size(), 25u);
        EXPECT_EQ(e.pasta, e.arquivo.empty() ? "" : folder);
        if (expected[i].bytes) {
            EXPECT_EQ(e.tamanho, static_cast<std::int64_t>(expected[i].bytes->size()));
            EXPECT_EQ(e.sha256, Sha256Hex(*expected[i].bytes));
            EXPECT_EQ(e.envioNormal, 0);
            EXPECT_EQ(e.protocolo, r.issued); // empty unless accepted
        } else {
            EXPECT_FALSE(e.tamanho);
            EXPECT_FALSE(e.sha256);
            EXPECT_FALSE(e.envioNormal);
            EXPECT_EQ(e.protocolo, r.protocolo.value_or("?"));
        }
        EXPECT_EQ(e.resultado, e.situacao == std::string("falha") ? failure : r.result);
    }
    EXPECT_FALSE(entries[0].protocolo.empty());
    EXPECT_EQ(entries[5].protocolo, protocolA);
    // Each result row appended, and each queue row deleted, after its row
    // was committed; so was each question.
    EXPECT_EQ(atResult, (std::vector<std::size_t>{1, 3}));
    EXPECT_EQ(atDequeue, (std::vector<std::size_t>{1, 2, 3}));
    EXPECT_EQ(atQuestion, (std::vector<std::size_t>{2, 4}));
}

TEST_F(JournalWindowTest, AJournalThatCannotBeWrittenLetsTheSendingGoOnAndSaysSoOnce)
{
    // Where the journal's folder should be stands a file.
    const std::filesystem::path blocker = JournalFile();
    std::ofstream(blocker) << "não é uma pasta";
    journalFile = blocker / "envios.sqlite";
    TF_NFP& w = Open();
    TypeDemoCredentials(w);
    Queue(w, "A.139", "E01|um\n");
    Queue(w, "B.139", "E01|dois\n");
    ScriptedMessageAnswers answers{MsgResult::Yes, MsgResult::Ok};
    w.BitBtn_Enviar->click();
    QApplication::processEvents();
    w.Edit_Protocolo->setText("100000001");
    w.BitBtn_Consultar->click();
    QApplication::processEvents();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    EXPECT_EQ(w.Enviados_Table().RecordCount(), 2);
    EXPECT_EQ(Requests().size(), 3u);
    ASSERT_EQ(answers.Asked().size(), 2u); // the confirmation, then the warning once
    EXPECT_EQ(answers.Asked()[1].text.toStdString(),
              "Não foi possível gravar o histórico de envios em " + journalFile->string() +
                  ": parte do caminho não é uma pasta. Os envios continuam, mas não ficam registrados.");
    EXPECT_EQ(answers.Asked()[1].kind, MessageKind::Warning);
}

} // namespace
} // namespace nfp::test
