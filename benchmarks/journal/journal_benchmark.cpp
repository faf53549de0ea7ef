// The send journal's costs: one committed row with full syncs (what each
// exchange adds to a send run), and the history window over 100 000 rows,
// opened and filtered again (target: each under half a second). Run by hand:
//   QT_QPA_PLATFORM=offscreen build/benchmarks/journal/bench_journal
#include <benchmark/benchmark.h>

#include "app/f_historico.h"
#include "app/history_model.h"
#include "journal/send_journal.h"
#include "report/engine/rel_grade.h"
#include "report/layouts/sending_summary.h"

#include <QApplication>
#include <QComboBox>
#include <QTemporaryDir>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

nfp::JournalEntry Entry(int i)
{
    static const char* const cnpjs[] = {"11222333000181", "44555666000181", "77888999000181", "12345678000195"};
    static const char* const situacoes[] = {"aceito", "aceito", "aceito", "recusado", "falha"};
    char quando[32];
    std::snprintf(quando, sizeof quando, "20%02d-%02d-%02dT%02d:%02d:00-03:00", 20 + i % 7, 1 + i % 12, 1 + i % 28,
                  i % 24, i % 60);
    nfp::JournalEntry e;
    e.quando = quando;
    e.operacao = i % 5 == 4 ? "Consultar" : "Enviar";
    e.cnpj = cnpjs[i % 4];
    e.usuario = "contador";
    e.categoria = 2;
    e.arquivo = "L" + std::to_string(i) + ".C3A";
    e.pasta = "/home/contador/nfp/cliente" + std::to_string(i % 40) + "/";
    e.tamanho = 20000 + i % 1000;
    e.sha256 = std::string(64, 'f');
    e.envioNormal = 1;
    e.protocolo = std::to_string(100000000 + i);
    e.situacao = situacoes[i % 5];
    e.resultado = "10/12/2026 10:00:00 Protocolo " + e.protocolo + " - Arquivo recebido com sucesso";
    return e;
}

void BM_JournalAppendWithFullSync(benchmark::State& state)
{
    const QTemporaryDir folder;
    nfp::SendJournal journal(folder.filePath(QStringLiteral("envios.sqlite")).toStdString());
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(journal.Append(Entry(i++)));
    state.counters["rows_per_second"] = benchmark::Counter(static_cast<double>(i), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_JournalAppendWithFullSync)->Unit(benchmark::kMillisecond);

// A journal of 100 000 rows, written once in one transaction.
std::filesystem::path LargeJournal()
{
    static const QTemporaryDir folder;
    static const std::filesystem::path file = [] {
        const std::filesystem::path path = folder.filePath(QStringLiteral("envios.sqlite")).toStdString();
        std::vector<nfp::JournalEntry> entries;
        for (int i = 0; i < 100000; ++i)
            entries.push_back(Entry(i));
        nfp::SendJournal(path).AppendAll(entries);
        return path;
    }();
    return file;
}

void BM_HistoryWindowOpens100000Rows(benchmark::State& state)
{
    const auto file = LargeJournal();
    nfp::TRelGrade rel;
    nfp::ConfigureSendingSummaryEngine(rel);
    for (auto _ : state) {
        nfp::TF_Historico history(file, nfp::RegionalSettings::Brazilian(), rel,
                                  [] { return nfp::Date{std::chrono::year{2026}, std::chrono::month{12}, std::chrono::day{10}}; },
                                  nullptr);
        history.OpenJournal();
        history.show();
        QApplication::processEvents(); // draws the visible rows
        state.counters["rows"] = history.Model()->rowCount();
    }
}
BENCHMARK(BM_HistoryWindowOpens100000Rows)->Unit(benchmark::kMillisecond);

void BM_HistoryWindowRefilters100000Rows(benchmark::State& state)
{
    const auto file = LargeJournal();
    nfp::TRelGrade rel;
    nfp::ConfigureSendingSummaryEngine(rel);
    nfp::TF_Historico history(file, nfp::RegionalSettings::Brazilian(), rel,
                              [] { return nfp::Date{std::chrono::year{2026}, std::chrono::month{12}, std::chrono::day{10}}; },
                              nullptr);
    history.OpenJournal();
    history.show();
    int step = 0;
    for (auto _ : state) {
        // From every row to one CNPJ's and back: the largest lists there are.
        history.ComboBox_CNPJ->setCurrentIndex(step++ % 2 == 0 ? 1 : 0);
        QApplication::processEvents();
        benchmark::DoNotOptimize(history.Model()->rowCount());
    }
}
BENCHMARK(BM_HistoryWindowRefilters100000Rows)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
