// nfp-envio-lote: sends every marked profile's receipt files of one month
// without the window, for cron and systemd timers.
#include "journal/journal_location.h"
#include "journal/journal_recorder.h"
#include "lote/lote_command_line.h"
#include "lote/lote_output.h"
#include "lote/lote_run.h"
#include "lote/run_lock.h"
#include "lote/stop_signals.h"
#include "lote/summary_file.h"
#include "profiles/ini_profile_store.h"
#include "sending/http_service_poster.h"
#include "sending/local_moment.h"
#include "service/http_poster.h"
#include "util/table_layouts.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <span>

#include <unistd.h>

namespace {

// Qt's own chatter (platform plugin notes, missing runtime folders) is not
// for the person reading a cron mail; only its fatal errors are.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "nfp-envio-lote: %s\n", message.toLocal8Bit().constData());
}

// Qt Core for the profile store; Qt Gui, on the offscreen platform, only
// when a PDF summary is asked for.
std::unique_ptr<QCoreApplication> MakeApplication(const nfp::LoteOptions& options, int& argc, char** argv)
{
    if (options.resumo && options.resumo->kind == nfp::SummaryTarget::Kind::Pdf && !options.simular) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QGuiApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

// The run's lock next to the journal; where that folder cannot take it (a
// journal that cannot be written does not stop the sending), one in the
// user's runtime folder.
std::unique_ptr<nfp::RunLock> TakeLock(const std::filesystem::path& journalFile, nfp::LoteOutput& output)
{
    try {
        return std::make_unique<nfp::RunLock>(nfp::RunLockFileFor(journalFile));
    } catch (const nfp::RunLockError& e) {
        const auto runtime = nfp::ProcessEnvironment("XDG_RUNTIME_DIR");
        const std::filesystem::path folder =
            runtime ? std::filesystem::path(*runtime) : std::filesystem::temp_directory_path();
        const std::filesystem::path fallback = folder / ("nfp-envio-lote-" + std::to_string(::getuid()) + ".lock");
        output.Note(std::string(e.what()) + "; a trava fica em " + fallback.string());
        return std::make_unique<nfp::RunLock>(fallback);
    }
}

int Run(const nfp::LoteOptions& options, int argc, char** argv)
{
    qInstallMessageHandler(QuietQtMessages);
    int qtArgc = argc > 0 ? 1 : 0;
    const auto app = MakeApplication(options, qtArgc, argv);

    nfp::LoteOutput output(std::cout, std::cerr, options.silencioso);
    nfp::IniProfileStore store(nfp::IniProfileStore::DefaultFilePath());
    nfp::RunProfiles profiles = nfp::LoadRunProfiles(store, options.cnpjs);
    if (!profiles.unknown.empty()) {
        std::string problem = "C.N.P.J. sem perfil em " + store.FilePath() + ":";
        for (const auto& cnpj : profiles.unknown)
            problem += " " + cnpj;
        std::cerr << nfp::LoteUsageErrorText(problem);
        return nfp::kLoteExitUsage;
    }

    const std::filesystem::path journalFile = nfp::DefaultJournalFile();
    std::unique_ptr<nfp::RunLock> lock;
    if (!options.simular) {
        try {
            lock = TakeLock(journalFile, output);
        } catch (const nfp::RunLockBusy& e) {
            output.Problem(e.what());
            return nfp::kLoteExitLocked;
        } catch (const nfp::RunLockError& e) {
            output.Problem(e.what());
            return nfp::kLoteExitFailure;
        }
    }
    const nfp::StopSignals stops;

    const nfp::RegionalSettings regional = nfp::RegionalSettings::FromEnvironment();
    const nfp::Date today = nfp::SystemLocalNow().date;
    nfp::THttpPoster http(nfp::ServiceSettingsFromEnvironment());
    nfp::HttpServicePoster poster(http);
    nfp::JournalRecorder journal(journalFile, [&output](const std::string& message) { output.Problem(message); });
    nfp::MemoryTable results(nfp::ResultsLayout());
    nfp::LoteRunParts parts{poster, journal, regional, today, output, [&stops] { return stops.Requested(); }};
    const nfp::LoteRunResult run = nfp::RunLote(profiles, results, options, parts);
    bool failed = run.failed;
    if (run.stopped)
        output.Problem(std::string("envio interrompido por ") + nfp::SignalName(stops.Signal()) +
                       "; os arquivos restantes não foram enviados.");

    if (options.resumo && options.simular) {
        output.Note("com --simular o resumo não é gravado.");
    } else if (options.resumo && results.RecordCount() == 0) {
        output.Note("nenhum arquivo aceito: o resumo " + options.resumo->path + " não foi gravado.");
    } else if (options.resumo) {
        const bool written = nfp::WriteSummaryFile(nfp::SummaryRowsOf(results), nfp::SummaryIssueDate(today, regional),
                                                   *options.resumo,
                                                   [&output](const std::string& m) { output.Problem(m); });
        if (written)
            output.Note("resumo gravado em " + options.resumo->path);
        else
            failed = true;
    }
    std::cout.flush();
    const int status = nfp::LoteExitStatus(output.Counts(), failed);
    lock.reset();
    stops.Finish();
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    const nfp::LoteCommandLine command = nfp::ParseLoteCommandLine(
        std::span<const char* const>(argv + 1, static_cast<std::size_t>(argc > 0 ? argc - 1 : 0)));
    switch (command.action) {
    case nfp::LoteCommandLine::Action::Version:
        std::cout << nfp::LoteVersionText();
        return nfp::kLoteExitOk;
    case nfp::LoteCommandLine::Action::Help:
        std::cout << nfp::LoteHelpText(nfp::IniProfileStore::DefaultFilePath(), nfp::DefaultJournalFile().string());
        return nfp::kLoteExitOk;
    case nfp::LoteCommandLine::Action::Usage:
        std::cerr << nfp::LoteUsageErrorText(command.problem);
        return nfp::kLoteExitUsage;
    case nfp::LoteCommandLine::Action::Run:
        break;
    }
    try {
        return Run(command.options, argc, argv);
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << "nfp-envio-lote: " << e.what() << "\n";
        return nfp::kLoteExitFailure;
    }
}
