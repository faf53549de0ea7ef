#include "lote/lote_run.h"

#include "lote/lote_send_view.h"
#include "lote/reporting_recorder.h"
#include "profiles/profile_table.h"
#include "sending/batch.h"
#include "sending/folder_search.h"
#include "sending/receipt_file.h"
#include "sending/send_run.h"
#include "util/silent_abort.h"
#include "util/table_layouts.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <set>
#include <system_error>

namespace nfp {

namespace {

std::string Digits(std::string_view text)
{
    std::string digits;
    for (const char c : text)
        if (c >= '0' && c <= '9')
            digits += c;
    return digits;
}

// The stored CNPJ a --cnpj value names among `stored`, if any.
std::optional<std::string> Named(std::string_view given, const std::vector<std::string>& stored)
{
    if (std::find(stored.begin(), stored.end(), given) != stored.end())
        return std::string(given);
    const std::string digits = Digits(given);
    if (digits.empty())
        return std::nullopt;
    for (const std::string& s : stored)
        if (s == digits)
            return s;
    return std::nullopt;
}

bool AnyMarked(MemoryTable& registros)
{
    bool any = false;
    for (registros.First(); !registros.Eof(); registros.Next())
        any = any || registros.FieldText("ENVIAR") != "N";
    registros.First();
    return any;
}

std::string Files(int n)
{
    return std::to_string(n) + (n == 1 ? " arquivo não foi enviado" : " arquivos não foram enviados");
}

class Walk {
public:
    Walk(RunProfiles& profiles, MemoryTable& results, const LoteOptions& options, LoteRunParts& parts)
        : registros_(*profiles.registros), results_(results), options_(options), parts_(parts),
          out_(parts.output), recorder_(parts.journal, parts.output),
          view_(registros_,
                SendChoice{options.retificar ? ServiceOperation::Retificar : ServiceOperation::Enviar,
                           options.processamento},
                static_cast<int>(parts.today.year()), parts.stopRequested),
          queue_(SendQueueLayout()), monthText_(MonthFieldText(options.month, parts.today))
    {
    }

    LoteRunResult Run()
    {
        BatchSteps steps;
        steps.monthText = [this] {
            // Between profiles.
            if (parts_.stopRequested && parts_.stopRequested())
                throw RunStopped();
            return monthText_;
        };
        steps.findEntries = [this](std::string_view folder, std::string_view pattern) {
            return Find(folder, pattern);
        };
        steps.enviar = [this] {
            if (options_.simular)
                List();
            else
                Send();
        };
        try {
            RunBatch(registros_, queue_, steps);
        } catch (const RunStopped&) {
            result_.stopped = true;
        }
        return result_;
    }

private:
    std::string Cnpj() const { return registros_.FieldText("CNPJ"); }

    std::vector<std::string> Find(std::string_view folder, std::string_view pattern)
    {
        std::error_code ec;
        if (folder.empty() || !std::filesystem::is_directory(std::filesystem::path(std::string(folder)), ec)) {
            out_.Problem("C.N.P.J. " + Cnpj() + ": a pasta dos arquivos não existe ou não pode ser lida: " +
                         std::string(folder.empty() ? "(nenhuma pasta no perfil)" : folder));
            result_.failed = true;
            return {};
        }
        std::vector<std::string> names = FindFolderEntries(folder, pattern);
        if (names.empty())
            out_.Note("C.N.P.J. " + Cnpj() + ": nenhum arquivo de " + monthText_ + " em " + std::string(folder));
        return names;
    }

    void List()
    {
        namespace fs = std::filesystem;
        const std::string cnpj = Cnpj();
        for (queue_.First(); !queue_.Eof(); queue_.Next()) {
            const std::string arquivo = queue_.FieldText("Arquivo");
            const fs::path file(queue_.FieldText("Caminho") + arquivo);
            std::error_code ec;
            const fs::file_status status = fs::status(file, ec);
            std::uintmax_t size = 0;
            int error = 0;
            if (ec)
                error = ec.value();
            else if (fs::is_directory(status))
                error = EISDIR;
            else if ((size = fs::file_size(file, ec)), ec)
                error = ec.value();
            if (error != 0) {
                // The send run would fail on it and end the profile's part.
                out_.Failed(cnpj, arquivo, UnreadableFileText(file.string(), error));
                result_.failed = true;
                continue;
            }
            out_.Simulated(cnpj, arquivo, size);
        }
        queue_.EmptyTable();
    }

    void Send()
    {
        const std::string cnpj = Cnpj();
        recorder_.ResetFailure();
        try {
            Enviar(queue_, results_, view_, parts_.poster, parts_.regional, recorder_);
            // Only files refused for their bytes are left: journaled and
            // printed as refusals already.
            queue_.EmptyTable();
            return;
        } catch (const RunStopped&) {
            const int left = NotSentFrom(0, cnpj);
            if (left > 0)
                out_.Problem("C.N.P.J. " + cnpj + ": envio interrompido; " + Files(left) + ".");
            throw;
        } catch (const FileOpenError& e) {
            out_.Failed(cnpj, queue_.FieldText("Arquivo"), UnreadableFileText(e.path(), e.error()));
        } catch (const SilentAbort&) {
            out_.Failed(cnpj, queue_.FieldText("Arquivo"), "envio interrompido");
        } catch (const std::exception& e) {
            // A transport or status failure has been journaled and printed.
            if (!recorder_.RecordedFailure())
                out_.Failed(cnpj, queue_.FieldText("Arquivo"), e.what());
        }
        result_.failed = true;
        const int left = NotSentFrom(1, cnpj);
        out_.Problem("C.N.P.J. " + cnpj + ": o envio deste perfil parou na falha" +
                     (left > 0 ? "; " + Files(left) + "." : "."));
    }

    // Lists the queued files from the `first`-th on as not sent and empties
    // the queue; returns how many were listed.
    int NotSentFrom(int first, const std::string& cnpj)
    {
        int listed = 0;
        int row = 0;
        for (queue_.First(); !queue_.Eof(); queue_.Next(), ++row) {
            if (row < first)
                continue;
            out_.NotSent(cnpj, queue_.FieldText("Arquivo"));
            ++listed;
        }
        queue_.EmptyTable();
        return listed;
    }

    MemoryTable& registros_;
    MemoryTable& results_;
    const LoteOptions& options_;
    LoteRunParts& parts_;
    LoteOutput& out_;
    ReportingRecorder recorder_;
    LoteSendView view_;
    MemoryTable queue_;
    const std::string monthText_;
    LoteRunResult result_;
};

} // namespace

RunProfiles LoadRunProfiles(ProfileStore& store, const std::vector<std::string>& cnpjs)
{
    RunProfiles r;
    r.registros = std::make_unique<MemoryTable>(ProfileTableLayout());
    MemoryTable& t = *r.registros;
    const std::vector<ProfileLoadFailure> failures = LoadProfiles(store, t);
    if (cnpjs.empty()) {
        r.failures = failures;
        return r;
    }

    std::vector<std::string> loaded;
    for (t.First(); !t.Eof(); t.Next())
        loaded.push_back(t.FieldText("CNPJ"));
    std::vector<std::string> unreadable;
    bool storeUnreadable = false;
    for (const auto& f : failures) {
        if (f.cnpj.empty())
            storeUnreadable = true;
        else
            unreadable.push_back(f.cnpj);
    }

    std::set<std::string> chosen;
    std::set<std::string> chosenUnreadable;
    for (const std::string& given : cnpjs) {
        if (auto cnpj = Named(given, loaded))
            chosen.insert(*cnpj);
        else if (auto broken = Named(given, unreadable))
            chosenUnreadable.insert(*broken);
        else if (!storeUnreadable)
            r.unknown.push_back(given);
    }
    for (const auto& f : failures)
        if (f.cnpj.empty() || chosenUnreadable.contains(f.cnpj))
            r.failures.push_back(f);
    for (t.First(); !t.Eof(); t.Next()) {
        t.Edit();
        t.SetField("ENVIAR", chosen.contains(t.FieldText("CNPJ")) ? "S" : "N");
        t.Post();
    }
    t.First();
    return r;
}

LoteRunResult RunLote(RunProfiles& profiles, MemoryTable& results, const LoteOptions& options, LoteRunParts& parts)
{
    bool unreadProfiles = false;
    for (const auto& f : profiles.failures) {
        parts.output.Problem("perfil não lido: " + ProfileLoadFailureText(f));
        unreadProfiles = true;
    }
    if (profiles.registros->RecordCount() == 0)
        parts.output.Note("nenhum perfil cadastrado");
    else if (!AnyMarked(*profiles.registros))
        parts.output.Note("nenhum perfil marcado para envio");
    Walk walk(profiles, results, options, parts);
    LoteRunResult result = walk.Run();
    result.failed = result.failed || unreadProfiles;
    if (options.simular)
        parts.output.SimulatedCount();
    else
        parts.output.Count();
    return result;
}

int LoteExitStatus(const LoteCounts& counts, bool failed)
{
    if (failed || counts.falhas > 0 || counts.naoEnviados > 0)
        return kLoteExitFailure;
    if (counts.recusados > 0)
        return kLoteExitRefused;
    return kLoteExitOk;
}

} // namespace nfp
