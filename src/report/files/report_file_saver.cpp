#include "report/files/report_file_saver.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

#include "report/engine/page_store.h"
#include "report/files/plain_text_report.h"
#include "report/engine/rel_grade.h"
#include "util/replacing_file.h"
#include "report/files/saved_report.h"

namespace nfp {

namespace fs = std::filesystem;

namespace {

// --- files -------------------------------------------------------------------

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File OpenForReading(const fs::path& path) {
#ifdef _WIN32
    return File(_wfopen(path.c_str(), L"rb"));
#else
    return File(std::fopen(path.c_str(), "rb"));
#endif
}

std::optional<std::string> ReadWholeFile(const std::string& name) {
    const File f = OpenForReading(PathOfUtf8(name));
    if (!f) return std::nullopt;
    std::string bytes;
    char buf[1 << 16];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0) bytes.append(buf, n);
    if (std::ferror(f.get())) return std::nullopt;
    return bytes;
}

// --- the engine's side ---------------------------------------------------------

// Shown whatever MostrarProgresso says: saving and loading always show it.
std::unique_ptr<ProgressWindow> OpenProgress(TRelGrade& rel, const char* caption, const std::string& label,
                                             long long maximum) {
    if (!rel.services.progress) return nullptr;
    auto window = rel.services.progress->Create(rel);
    window->SetColors(rel.CorForm, rel.CorFonte);
    window->SetCaption(caption);
    window->SetLabel(label);
    window->SetMaximum(static_cast<int>(std::clamp<long long>(maximum, 0, INT_MAX)));
    window->SetPosition(0);
    window->Show();
    return window;
}

// One step of a loop over items: the bar moves, pending messages are let
// through, and a cancel (OnCancel fired) ends the loop.
bool StepCancelled(TRelGrade& rel, ProgressWindow* progress) {
    if (progress) progress->Step();
    return rel.CheckCancel();
}

std::vector<std::string> StoredItems(const TRelGrade& rel) {
    const PageStore* store = rel.Store();
    return store ? store->Items() : std::vector<std::string>{};
}

// The page-open and OnSave steps every save begins with; false when the
// handler emptied the name.
bool BeginSave(TRelGrade& rel, std::string& fileName) {
    rel.ClosePendingPage();
    if (rel.OnSave) rel.OnSave(rel, fileName);
    return !fileName.empty();
}

// The file a report or text save writes into, after the steps every save
// begins with; nothing when the handler emptied the name or the file could not
// be created (said to the user).
std::unique_ptr<ReplacingFile> BeginFileSave(TRelGrade& rel, std::string& fileName) {
    if (!BeginSave(rel, fileName)) return nullptr;
    int error = 0;
    auto file = ReplacingFile::Create(fileName, error);
    if (!file) rel.ShowMessage(kMsgErroAbertura + fileName);
    return file;
}

// Puts the finished file in place, saying so when that fails.
bool CommitSave(TRelGrade& rel, ReplacingFile& file, const std::string& fileName) {
    if (file.Commit()) return true;
    rel.ShowMessage(kMsgErroGravacao + fileName);
    return false;
}

// Watches a print job for the failures it reports: the message boxes it
// shows (the spooler's "Error ", error 3 without OnErro) and error 3 through
// OnErro. Everything still reaches the user as before.
class JobFailureWatch : public ReportMessages {
public:
    explicit JobFailureWatch(TRelGrade& rel)
        : rel_(rel), messages_(rel.services.messages), onErro_(rel.OnErro) {
        rel.services.messages = this;
        if (onErro_) {
            rel.OnErro = [this](TRelGrade& r, const std::string& mensagem) {
                if (mensagem.rfind("Erro #03", 0) == 0) failed_ = true;
                onErro_(r, mensagem);
            };
        }
    }
    ~JobFailureWatch() override {
        rel_.services.messages = messages_;
        rel_.OnErro = onErro_;
    }
    JobFailureWatch(const JobFailureWatch&) = delete;
    JobFailureWatch& operator=(const JobFailureWatch&) = delete;

    void ShowMessage(const std::string& text) override {
        failed_ = true;
        if (messages_) messages_->ShowMessage(text);
    }
    bool Confirm(const std::string& question) override { return messages_ && messages_->Confirm(question); }
    bool Failed() const { return failed_; }

private:
    TRelGrade& rel_;
    ReportMessages* messages_;
    std::function<void(TRelGrade&, const std::string&)> onErro_;
    bool failed_ = false;
};

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareItemsIgnoringCase(a, b) == 0;
}

} // namespace

std::string SaveFileName(std::string_view chosen, SaveFileType type) {
    const char* extension = type == SaveFileType::Relatorio   ? ".RGR"
                            : type == SaveFileType::Impressao ? ".PRN"
                            : type == SaveFileType::Texto     ? ".TXT"
                                                              : ".PDF";
#ifdef _WIN32
    const std::size_t folderEnd = chosen.find_last_of("/\\:");
#else
    const std::size_t folderEnd = chosen.find_last_of('/');
#endif
    std::size_t dot = chosen.rfind('.');
    if (dot != std::string_view::npos && folderEnd != std::string_view::npos && dot < folderEnd)
        dot = std::string_view::npos;
    if (dot != std::string_view::npos && EqualIgnoringCase(chosen.substr(dot), extension)) return std::string(chosen);
    return std::string(chosen.substr(0, dot)) + extension;
}

bool SaveReport(TRelGrade& rel, std::string_view chosenName, SaveFileType type) {
    std::string name = SaveFileName(chosenName, type);
    switch (type) {
    case SaveFileType::Relatorio: return SaveAsReportFile(rel, std::move(name));
    case SaveFileType::Impressao: return SaveAsPrinterData(rel, std::move(name));
    case SaveFileType::Texto: return SaveAsPlainText(rel, std::move(name));
    case SaveFileType::Pdf: return SaveAsPdf(rel, std::move(name));
    }
    return false;
}

bool SaveAsReportFile(TRelGrade& rel, std::string fileName) {
    const auto file = BeginFileSave(rel, fileName);
    if (!file) return false;
    const std::vector<std::string> items = StoredItems(rel);
    if (!file->Write(SavedReportControlRecord(SettingsOf(rel), items.size())) || !file->Flush()) {
        rel.ShowMessage(kMsgErroRegistroControle);
        return false;
    }
    auto progress = OpenProgress(rel, kCaptionGravando, fileName, static_cast<long long>(items.size()));
    rel.ClearCancel();
    for (const std::string& item : items) {
        if (StepCancelled(rel, progress.get())) return false;
        if (!file->Write(SavedReportItemLine(item))) {
            progress.reset();
            rel.ShowMessage(kMsgErroGravacao + fileName);
            return false;
        }
    }
    progress.reset();
    return CommitSave(rel, *file, fileName);
}

bool SaveAsPlainText(TRelGrade& rel, std::string fileName) {
    const auto file = BeginFileSave(rel, fileName);
    if (!file) return false;
    const std::vector<std::string> items = StoredItems(rel);
    auto progress = OpenProgress(rel, kCaptionGravando, fileName, static_cast<long long>(items.size()));
    rel.ClearCancel();
    PlainTextReport text(rel.TamanhoQteLinhas, rel.Acentuacao, rel.Impressora);
    const auto fail = [&] {
        progress.reset();
        rel.ShowMessage(kMsgErroGravacao + fileName);
        return false;
    };
    for (const std::string& stored : items) {
        if (StepCancelled(rel, progress.get())) return false;
        // An item that does not read back is reported by ReadBack and left out.
        if (const auto item = rel.ReadBack(stored))
            if (!file->Write(text.Add(*item))) return fail();
    }
    if (!file->Write(text.Finish())) return fail();
    progress.reset();
    return CommitSave(rel, *file, fileName);
}

bool SaveAsPdf(TRelGrade& rel, std::string fileName) {
    if (!BeginSave(rel, fileName)) return false;
    if (!rel.services.pdf) return false;
    int error = 0;
    const auto file = ReplacingFile::Create(fileName, error);
    if (!file) {
        rel.ShowMessage(kMsgErroAbertura + fileName);
        return false;
    }
    file->HandOver();
    std::vector<int> pages;
    for (int page = 1; page <= rel.TotalPaginas(); ++page) pages.push_back(page);
    bool cancelled = false;
    bool written = false;
    {
        auto progress = OpenProgress(rel, kCaptionGravando, fileName, static_cast<long long>(pages.size()));
        rel.ClearCancel();
        written = rel.services.pdf->Write(rel, file->TempPath().string(), pages, [&] {
            // A cancel seen while the page was drawn has been told already.
            if (progress) progress->Step();
            cancelled = rel.CancelRequested() || rel.CheckCancel();
            return cancelled;
        });
    }
    if (cancelled) return false;
    if (!written) {
        rel.ShowMessage(kMsgErroGravacao + fileName);
        return false;
    }
    return CommitSave(rel, *file, fileName);
}

bool SaveAsPrinterData(TRelGrade& rel, std::string fileName) {
    if (rel.Impressora == TModelo::Grafico) {
        rel.ShowMessage(kMsgModoGrafico);
        return false;
    }
    if (!BeginSave(rel, fileName)) return false;
    // Without a route the engine prints nothing, and nothing is saved.
    if (!(rel.UsaGerenciadorImpr ? rel.services.spooler : rel.services.directPort)) return false;
    int error = 0;
    const auto file = ReplacingFile::Create(fileName, error);
    if (!file) {
        rel.Erro(3, "Erro #03 - I/O " + std::to_string(error) + " " + fileName);
        return false;
    }
    file->HandOver();

    ReportState& st = rel.MutableState();
    const std::string port = rel.PortaComunicacao;
    const int copies = st.copies;
    bool failed = false;
    {
        const JobFailureWatch watch(rel);
        rel.PortaComunicacao = fileName;
        try {
            rel.ImprimirRelatorio(file->TempPath().string());
        } catch (...) {
            rel.PortaComunicacao = port;
            st.copies = copies;
            throw;
        }
        failed = watch.Failed();
    }
    rel.PortaComunicacao = port;
    st.copies = copies;
    if (failed || rel.CancelRequested()) return false;
    return CommitSave(rel, *file, fileName);
}

bool LoadReportFile(TRelGrade& rel, std::string fileName) {
    if (rel.OnLoad) rel.OnLoad(rel, fileName);
    if (fileName.empty()) return false;
    const auto bytes = ReadWholeFile(fileName);
    if (!bytes) {
        rel.ShowMessage(kMsgErroAbertura + fileName);
        return false;
    }
    std::optional<SavedReportReader> reader;
    try {
        reader.emplace(*bytes);
    } catch (const SavedReportFormatError& e) {
        rel.ShowMessage(e.what());
        return false;
    }
    const SavedReportHeader& header = reader->Header();
    PageStore loaded;
    {
        auto progress = OpenProgress(rel, kCaptionLendo, fileName, header.expectedCount);
        rel.ClearCancel();
        while (auto item = reader->NextItem()) {
            loaded.Add(std::move(*item));
            if (StepCancelled(rel, progress.get())) return false;
        }
    }
    const bool countMatches = static_cast<long long>(loaded.Size()) == header.expectedCount;
    ApplySettings(rel, header.settings);
    ReportState& st = rel.MutableState();
    st.store = std::move(loaded);
    // A marker found in the report that was replaced would mark this one.
    st.findMarker.reset();
    if (!countMatches) rel.ShowMessage(kMsgErroControle);
    rel.PreparaImpressora(rel.Impressora, rel.TamanhoQteLinhas, rel.TamanhoQteLPP);
    return true;
}

} // namespace nfp
