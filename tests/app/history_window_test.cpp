// The history window over a real journal file: newest first, the filters
// and the count, the chosen row's whole result, the CSV export and the
// printed listing; and the Histórico... button that opens it.
#include "main_window_fixture.h"

#include "journal/journal_fixture.h"

#include "app/f_historico.h"
#include "app/history_model.h"
#include "app/local_message_dlg.h"
#include "journal/journal_csv.h"
#include "journal/send_journal.h"
#include "report/engine/rel_grade.h"
#include "report/engine/page_item.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <fstream>

namespace nfp::test {
namespace {

class HistoryWindowTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        SendJournal journal(JournalFile());
        journal.Append(Entry("2025-11-30T10:00:00-03:00", "11222333000181", "A.B3U", "aceito", "100000001"));
        journal.Append(Entry("2026-12-01T09:00:00-03:00", "44555666000181", "B.C1C", "recusado", ""));
        journal.Append(Entry("2026-12-10T15:40:11-03:00", "11222333000181", "C.C3A", "aceito", "100000002"));
    }
    static JournalEntry Entry(const std::string& quando, const std::string& cnpj, const std::string& arquivo,
                              const std::string& situacao, const std::string& protocolo)
    {
        JournalEntry e = SentEntry(quando, cnpj, arquivo, situacao);
        e.protocolo = protocolo;
        e.resultado = "Resultado de " + arquivo + "\nsegunda linha; com \"aspas\"";
        return e;
    }
    std::unique_ptr<TF_Historico> History(TF_NFP& w, TF_Historico::ExportFileChooser chooser = {})
    {
        auto history = std::make_unique<TF_Historico>(
            JournalFile(), regional, *w.RelGrade, [this] { return now.date; }, &w, std::move(chooser));
        EXPECT_TRUE(history->OpenJournal());
        return history;
    }
    static std::vector<std::string> Files(const TF_Historico& h)
    {
        std::vector<std::string> files;
        for (const JournalRow& row : h.Model()->rows())
            files.push_back(row.entry.arquivo);
        return files;
    }
    static QString Cell(const TF_Historico& h, int row, int column)
    {
        return h.Model()->data(h.Model()->index(row, column), Qt::DisplayRole).toString();
    }
};

TEST_F(HistoryWindowTest, ListsTheJournalNewestFirst)
{
    TF_NFP& w = Open();
    const auto h = History(w);
    EXPECT_EQ(Files(*h), (std::vector<std::string>{"C.C3A", "B.C1C", "A.B3U"}));
    const QStringList titles{"Data/Hora", "C.N.P.J.", "Operação", "Arquivo", "Protocolo", "Situação", "Resultado"};
    for (int c = 0; c < titles.size(); ++c)
        EXPECT_EQ(h->Model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), titles[c]);
    const QStringList first{"10/12/2026 15:40:11", "11222333000181", "Enviar", "C.C3A", "100000002", "aceito",
                            "Resultado de C.C3A"};
    for (int c = 0; c < first.size(); ++c)
        EXPECT_EQ(Cell(*h, 0, c), first[c]);
    EXPECT_EQ(h->Label_Contagem->text(), "3 registros");
    EXPECT_EQ(h->Memo_Resultado->toPlainText(), "Resultado de C.C3A\nsegunda linha; com \"aspas\"");
    h->DBGrid_Historico->selectRow(2);
    EXPECT_EQ(h->Memo_Resultado->toPlainText().left(18), "Resultado de A.B3U");
    EXPECT_EQ(h->windowTitle(), "Histórico de Envios");
}

TEST_F(HistoryWindowTest, TheFiltersAndTheCount)
{
    TF_NFP& w = Open();
    const auto h = History(w);
    QStringList cnpjs, years;
    for (int i = 0; i < h->ComboBox_CNPJ->count(); ++i)
        cnpjs << h->ComboBox_CNPJ->itemText(i);
    for (int i = 0; i < h->ComboBox_Ano->count(); ++i)
        years << h->ComboBox_Ano->itemText(i);
    EXPECT_EQ(cnpjs, (QStringList{"Todos", "11222333000181", "44555666000181"}));
    EXPECT_EQ(years, (QStringList{"Todos", "2026", "2025"}));
    EXPECT_EQ(h->ComboBox_Mes->itemText(12), "12 - dezembro");

    struct Case {
        const char* name;
        int cnpj, mes, ano, situacao;
        std::vector<std::string> files;
        QString count;
    };
    const Case cases[] = {
        {"one CNPJ", 1, 0, 0, 0, {"C.C3A", "A.B3U"}, "2 registros"},
        {"December", 0, 12, 0, 0, {"C.C3A", "B.C1C"}, "2 registros"},
        {"November 2025", 0, 11, 2, 0, {"A.B3U"}, "1 registro"},
        {"refused", 0, 0, 0, 2, {"B.C1C"}, "1 registro"},
        {"nothing", 2, 0, 2, 0, {}, "0 registros"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        h->ComboBox_CNPJ->setCurrentIndex(c.cnpj);
        h->ComboBox_Mes->setCurrentIndex(c.mes);
        h->ComboBox_Ano->setCurrentIndex(c.ano);
        h->ComboBox_Situacao->setCurrentIndex(c.situacao);
        EXPECT_EQ(Files(*h), c.files);
        EXPECT_EQ(h->Label_Contagem->text(), c.count);
        EXPECT_EQ(h->BitBtn_Exportar->isEnabled(), !c.files.empty());
        EXPECT_EQ(h->BitBtn_Imprimir->isEnabled(), !c.files.empty());
    }
}

TEST_F(HistoryWindowTest, ExportsTheFilteredRowsAsCsv)
{
    TF_NFP& w = Open();
    std::optional<QString> answer = dir.filePath(QStringLiteral("histórico"));
    const auto h = History(w, [&answer](QWidget*) { return answer; });
    h->ComboBox_CNPJ->setCurrentIndex(1);
    h->BitBtn_Exportar->click();
    std::ifstream in(dir.filePath(QStringLiteral("histórico.csv")).toStdString(), std::ios::binary);
    const std::string written{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(written, JournalCsv(h->Model()->rows()));
    EXPECT_EQ(written.substr(0, 3), "\xEF\xBB\xBF");

    // A folder that does not exist: the reason is shown, nothing is written.
    answer = dir.filePath(QStringLiteral("não existe/histórico.csv"));
    ScriptedMessageAnswers answers{MsgResult::Ok};
    h->BitBtn_Exportar->click();
    ASSERT_EQ(answers.Asked().size(), 1u);
    EXPECT_EQ(answers.Asked()[0].text, "Não foi possível exportar o histórico para " + *answer + ": a pasta não existe.");
    EXPECT_EQ(answers.Asked()[0].kind, MessageKind::Error);
    // Cancelling the dialog exports nothing and says nothing.
    answer.reset();
    h->BitBtn_Exportar->click();
    EXPECT_EQ(answers.Asked().size(), 1u);
}

TEST_F(HistoryWindowTest, PrintsTheFilteredRowsThroughTheReportEngine)
{
    TF_NFP& w = Open();
    const auto h = History(w);
    h->ComboBox_Situacao->setCurrentIndex(1);
    std::vector<std::string> texts;
    std::string caption;
    w.RelGrade->OnPreview = [&](TRelGrade& rel) {
        caption = rel.OpcoesPreview.CaptionPreview;
        for (const auto& stored : rel.Store()->Items())
            texts.push_back(ParsePageItem(stored)->text);
        // The preview window opens next; it is closed at once.
        QTimer::singleShot(0, [] {
            if (QWidget* preview = QApplication::activeModalWidget())
                preview->close();
        });
    };
    h->BitBtn_Imprimir->click();
    EXPECT_EQ(caption, "Histórico de Envios das Notas Fiscais Paulista");
    EXPECT_EQ(w.RelGrade->OpcoesPreview.CaptionPreview, "Resumo do Envio das Notas Fiscais Paulista");
    auto has = [&texts](const std::string& text) { return std::find(texts.begin(), texts.end(), text) != texts.end(); };
    EXPECT_TRUE(has("Filtro: C.N.P.J. Todos, Mês Todos, Ano Todos, Situação aceito"));
    EXPECT_TRUE(has("100000002"));
    EXPECT_TRUE(has("100000001"));
    EXPECT_FALSE(has("B.C1C"));
    EXPECT_TRUE(has("Resultado de C.C3A segunda linha; com \"aspas\""));
}

TEST_F(HistoryWindowTest, TheButtonOnTheResultadoTabOpensItOverTheJournal)
{
    TF_NFP& w = Open();
    EXPECT_EQ(w.BitBtn_Historico->geometry(), QRect(310, 5, 100, 28));
    EXPECT_EQ(w.BitBtn_Historico->text(), "Histórico...");
    EXPECT_EQ(w.BitBtn_Historico->font(), w.BitBtn_Reconsultar->font());
    EXPECT_EQ(w.BitBtn_Historico->cursor().shape(), w.BitBtn_Imprimir->cursor().shape());
    int listed = -1;
    QTimer::singleShot(0, &w, [&listed] {
        auto* history = qobject_cast<TF_Historico*>(QApplication::activeModalWidget());
        if (!history)
            return;
        listed = history->Model()->rowCount();
        history->BitBtn_Fechar->click();
    });
    w.BitBtn_Historico->click();
    EXPECT_EQ(listed, 3);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

} // namespace
} // namespace nfp::test
