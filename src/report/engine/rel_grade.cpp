#include "report/engine/rel_grade.h"

#include <algorithm>
#include <cstdio>

#include "report/engine/page_selection.h"
#include "report/engine/text_page_writer.h"
#include "util/text_codec.h"

namespace nfp {

namespace {

std::string Format(const char* pattern, int a, int b) {
    char buf[256];
    std::snprintf(buf, sizeof buf, pattern, a, b);
    return buf;
}

// First occurrence of `needle` in `s`, ignoring ASCII case.
std::size_t FindIgnoringCase(std::string_view s, std::string_view needle) {
    if (needle.empty() || s.size() < needle.size()) return std::string_view::npos;
    for (std::size_t i = 0; i + needle.size() <= s.size(); ++i) {
        bool same = true;
        for (std::size_t j = 0; j < needle.size() && same; ++j) {
            char a = s[i + j], b = needle[j];
            if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 32);
            if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 32);
            same = a == b;
        }
        if (same) return i;
    }
    return std::string_view::npos;
}

void ReplaceFirst(std::string& s, std::string_view macro, const std::string& value) {
    const std::size_t at = FindIgnoringCase(s, macro);
    if (at != std::string::npos) s.replace(at, macro.size(), value);
}

std::string TwoDigits(long v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02ld", v);
    return buf;
}

} // namespace

TRelGrade::~TRelGrade() {
    ReportState& st = TheReportState();
    if (st.owner == this) {
        st.open = false;
        st.store.reset();
        st.findMarker.reset();
        st.previewActive = false;
        st.owner = nullptr;
    }
}

bool TRelGrade::OwnsReport() const { return TheReportState().owner == this; }

// --- writing ---------------------------------------------------------------

bool TRelGrade::Abrir() {
    ReportState& st = TheReportState();
    if (st.open) {
        Erro(1, "Erro #01 - (ABRIR) Relat\xC3\xB3rio j\xC3\xA1 foi aberto...");
        return false;
    }
    st.currentPage = 1;
    st.copies = NumerodeCopias;
    st.collate = true;
    st.reverse = false;
    st.pageSelection.clear();
    st.oddEven = 0;
    if (PortaComunicacao.empty() && services.printers) {
        if (const auto printer = services.printers->CurrentPrinter()) {
            PortaComunicacao = PortFromDevice(services.printers->PortOf(*printer));
            DetectaModelo(*printer);
        }
    }
    st.open = true;
    st.abandoned = false;
    st.previewActive = false;
    st.store.emplace();
    st.owner = this;
    PreparaImpressora(Impressora, TamanhoQteLinhas, TamanhoQteLPP);
    st.findMarker.reset();
    if (OnNewPage) OnNewPage(*this, 1);
    pageOpen_ = true;
    return true;
}

bool TRelGrade::Imp(int linha, int coluna, std::string_view texto, TColor cor) {
    return ImpF(linha, coluna, texto, 0, cor);
}

bool TRelGrade::ImpF(int linha, int coluna, std::string_view texto, std::uint8_t fonte, TColor cor) {
    ReportState& st = TheReportState();
    if (linha > 999 || coluna > 999) {
        if (OnErro) OnErro(*this, Format("Erro #09 - (POSI\xC3\x87\xC3\x83O INVALIDA) Linha %d, Coluna %d", linha, coluna));
        return false;
    }
    if (linha < 1 || coluna < 1 || coluna > TamanhoQteColunas) {
        ShowMessage(kErroPosicao);
        return false;
    }
    if (fonte == 0) fonte = st.font.flags;
    if (!st.open || !st.store) {
        Erro(6, "Erro #06 - (IMP/IMPF) Relat\xC3\xB3rio n\xC3\xA3o foi aberto...");
        return false;
    }
    if (!texto.empty()) {
        try {
            PageItem item;
            item.page = st.currentPage;
            item.line = linha;
            item.column = coluna;
            item.fontCode = SwapBoldItalic(fonte);
            item.kind = 'T';
            item.color = cor;
            if (IsValidUtf8(texto)) {
                FormatPageItemInto(item, texto, st.itemBuffer);
            } else {
                FormatPageItemInto(item, Utf8OrWindows1252ToUtf8(texto), st.itemBuffer);
            }
            st.store->Add(st.itemBuffer);
        } catch (const std::exception&) {
            // A page beyond the store's four digits: the text is dropped.
        }
    }
    return true;
}

bool TRelGrade::ImpNum(int linha, int coluna, std::string_view mascara, double valor, std::uint8_t fonte, TColor cor) {
    const std::size_t width = MaskWidth(mascara);
    std::string text = FormatWithMask(mascara, valor, Separadores);
    const std::size_t length = Utf8Length(text);
    if (length < width) text.insert(0, width - length, ' ');
    return ImpF(linha, coluna, text, fonte, cor);
}

int TRelGrade::NovaPagina() {
    ReportState& st = TheReportState();
    if (!st.open) {
        Erro(4, "Erro #04 - (NOVA PAGINA) Relat\xC3\xB3rio n\xC3\xA3o foi aberto...");
        return -1;
    }
    if (OnBeforeNewPage) OnBeforeNewPage(*this, st.currentPage);
    ++st.currentPage;
    if (OnNewPage) OnNewPage(*this, st.currentPage);
    pageOpen_ = true;
    return st.currentPage;
}

bool TRelGrade::Fechar() {
    ReportState& st = TheReportState();
    if (st.abandoned) return true;
    if (!st.open) {
        Erro(2, "Erro #02 - (FECHAR) Relat\xC3\xB3rio n\xC3\xA3o foi aberto...");
        st.open = false;
        st.previewActive = false;
        return false;
    }
    if (OnBeforeNewPage) OnBeforeNewPage(*this, st.currentPage);
    pageOpen_ = false;
    if (OpcoesPreview.Preview) {
        if (OnPreview) OnPreview(*this);
        if (services.preview) {
            st.previewActive = true;
            services.preview->Exec(*this);
            st.previewActive = false;
        }
    } else {
        ImprimirRelatorio();
    }
    if (!st.abandoned) st.store.reset();
    st.open = false;
    st.previewActive = false;
    st.findMarker.reset();
    if (st.owner == this) st.owner = nullptr;
    return true;
}

bool TRelGrade::Abortar() {
    ReportState& st = TheReportState();
    bool result = false;
    if (st.open) {
        st.store.reset();
        result = true;
    } else {
        Erro(8, "Erro #08 - (ABORTAR) Relat\xC3\xB3rio n\xC3\xA3o foi aberto...");
    }
    st.open = false;
    st.abandoned = true;
    st.findMarker.reset();
    if (st.owner == this) st.owner = nullptr;
    if (OnCancel) OnCancel(*this);
    return result;
}

bool TRelGrade::Setup() {
    ReportState& st = TheReportState();
    if (!st.open) {
        Erro(5, "Erro #05 - (SETUP) Relat\xC3\xB3rio n\xC3\xA3o foi aberto...");
        return false;
    }
    if (!services.setupDialog) return false;
    SetupRequest request;
    request.caption = CaptionSetup;
    request.formColor = CorForm;
    request.fontColor = CorFonte;
    if (services.printers) {
        request.printers = services.printers->PrinterNames();
        request.currentPrinter = services.printers->CurrentPrinter().value_or("");
    }
    request.outputFile = ArquivoGrafico;
    request.model = Impressora;
    request.customModelName = ImpressoraPersonalizada.NomeImpressora;
    request.preview = OpcoesPreview.Preview;
    request.previewActive = st.previewActive;
    request.copies = st.copies;
    request.pageSelection = st.pageSelection;
    request.oddEven = st.oddEven;
    request.collate = st.collate;
    request.reverse = st.reverse;

    const auto choices = services.setupDialog->Exec(*this, request);
    if (!choices) {
        if (!st.previewActive) Abortar();
        return false;
    }
    ProcessEvents();
    ArquivoGrafico = choices->outputFile;
    if (services.printers) {
        if (!choices->printer.empty()) services.printers->SetCurrentPrinter(choices->printer);
        if (const auto current = services.printers->CurrentPrinter())
            PortaComunicacao = PortFromDevice(services.printers->PortOf(*current));
    }
    Impressora = choices->model;
    switch (choices->range) {
    case SetupPageRange::Todas: st.pageSelection.clear(); break;
    case SetupPageRange::Atual: st.pageSelection = std::to_string(st.currentPage); break;
    case SetupPageRange::Selecao: st.pageSelection = choices->pages; break;
    }
    st.oddEven = choices->oddEven;
    st.collate = choices->collate;
    st.reverse = choices->reverse;
    OpcoesPreview.Preview = choices->preview;
    st.copies = choices->copies;
    PreparaImpressora(Impressora, TamanhoQteLinhas, TamanhoQteLPP);
    return true;
}

int TRelGrade::TotalPaginas() const {
    const ReportState& st = TheReportState();
    if (!st.store || st.store->Empty()) return 1;
    const auto last = st.store->Last();
    int page = 0;
    for (std::size_t i = 0; i < 4 && i < last->size(); ++i) {
        const char c = (*last)[i];
        if (c < '0' || c > '9') return 1;
        page = page * 10 + (c - '0');
    }
    return page;
}

// --- printer models --------------------------------------------------------

void TRelGrade::PreparaImpressora(TModelo modelo, int linhas, TLinha espacamento) {
    ReportState& st = TheReportState();
    st.table = BuildControlTable(modelo, linhas, espacamento, FonteTamanhoPadrao, ImpressoraPersonalizada, st.table);
    st.font = BuildDefaultFont(FonteTamanhoPadrao, FonteEstiloPadrao, st.table);
}

void TRelGrade::DetectaModelo(std::string_view nomeImpressora) {
    Impressora = ModelForPrinterName(nomeImpressora, Mapeamento);
    PreparaImpressora(Impressora, TamanhoQteLinhas, TamanhoQteLPP);
}

// --- printing --------------------------------------------------------------

void TRelGrade::RunPages(const std::optional<std::string>& arquivo, const std::function<bool(int)>& printPage) {
    ReportState& st = TheReportState();
    const int last = TotalPaginas();
    std::vector<int> list;
    if (st.pageSelection.empty()) {
        for (int p = 1; p <= last; ++p) list.push_back(p);
    } else {
        list = ParsePageSelection(st.pageSelection);
    }
    std::unique_ptr<ProgressWindow> progress;
    if (MostrarProgresso && services.progress) {
        progress = services.progress->Create(*this);
        progress->SetColors(CorForm, CorFonte);
        progress->SetLabel(TitulodoRelatorio);
        if (arquivo) progress->SetCaption(kCaptionGravando);
        progress->SetMaximum(static_cast<int>(std::min<long long>(
            static_cast<long long>(list.size()) * std::max(st.copies, 0), INT32_MAX)));
        progress->SetPosition(0);
        progress->Show();
    }
    const auto pass = [&](int timesEach) {
        const auto visit = [&](int page) {
            if (st.cancel) return false;
            if (page > last || (st.oddEven == 1 && page % 2 == 0) || (st.oddEven == 2 && page % 2 == 1))
                return true;
            for (int k = 0; k < timesEach; ++k) {
                if (!printPage(page)) return false;
                ProcessEvents();
                if (progress) progress->Step();
                if (st.cancel) return false;
            }
            return true;
        };
        if (st.reverse) {
            for (auto it = list.rbegin(); it != list.rend(); ++it)
                if (!visit(*it)) return;
        } else {
            for (int page : list)
                if (!visit(page)) return;
        }
    };
    if (st.collate) {
        for (int c = 0; c < st.copies && !st.cancel; ++c) {
            pass(1);
            ProcessEvents();
            if (progress) progress->Repaint();
        }
    } else if (st.copies > 0) {
        pass(st.copies);
        ProcessEvents();
        if (progress) progress->Repaint();
    }
    if (progress) progress->Close();
}

bool TRelGrade::NoPrinterInstalled() {
    const bool needsPrinter =
        Impressora == TModelo::Grafico ? ArquivoGrafico.empty() : UsaGerenciadorImpr;
    if (!needsPrinter || !services.printers) return false;
    if (!services.printers->PrinterNames().empty()) return false;
    const auto current = services.printers->CurrentPrinter();
    return !current || current->empty();
}

void TRelGrade::ImprimirRelatorio(const std::optional<std::string>& arquivo) {
    ReportState& st = TheReportState();
    if (!arquivo) {
        bool continuar = true;
        if (OnBeforePrint) OnBeforePrint(*this, continuar);
        if (!continuar) return;
        if (NoPrinterInstalled()) {
            ShowMessage(kMsgSemImpressora);
            return;
        }
    }
    st.abandoned = false;
    st.cancel = false;
    st.pagePrinted = false;
    bool started = false;
    if (Impressora == TModelo::Grafico) {
        started = PrintGraphicJob();
    } else if (UsaGerenciadorImpr) {
        if (services.spooler) started = PrintTextJob(*services.spooler, true, arquivo);
    } else {
        if (services.directPort) started = PrintTextJob(*services.directPort, false, arquivo);
    }
    // A job that never started has not ended either.
    if (started && !arquivo && OnAfterPrint) OnAfterPrint(*this);
}

bool TRelGrade::PrintGraphicJob() {
    ReportState& st = TheReportState();
    if (!services.graphic) return false;
    GraphicJobSettings settings;
    settings.orientation = Orientacao;
    settings.title = TitulodoRelatorio;
    if (services.printers) settings.printerName = services.printers->CurrentPrinter().value_or("");
    settings.outputFile = ArquivoGrafico;
    if (!services.graphic->Begin(settings)) {
        // Without this the job would vanish with nothing on screen.
        const std::string& where = settings.outputFile.empty() ? settings.printerName : settings.outputFile;
        ShowMessage(where.empty() ? std::string("Não foi possível iniciar a impressão.")
                                  : "Não foi possível iniciar a impressão em \"" + where + "\".");
        return false;
    }
    RunPages(std::nullopt, [&](int page) {
        if (st.pagePrinted) services.graphic->NewPage();
        services.graphic->PrintPage(*this, page);
        st.pagePrinted = true;
        return true;
    });
    if (!services.graphic->End() && !settings.outputFile.empty()) ShowMessage(kMsgErroGravacao + settings.outputFile);
    return true;
}

bool TRelGrade::PrintTextJob(TextJobRoute& route, bool spooler, const std::optional<std::string>& arquivo) {
    ReportState& st = TheReportState();
    TextJobRequest request;
    request.title = TitulodoRelatorio;
    if (spooler) {
        if (services.printers) request.destination = services.printers->CurrentPrinter().value_or("");
        request.outputFile = arquivo;
    } else {
        request.destination = arquivo.value_or(PortaComunicacao);
    }
    // The spooler's failures in its own words, the port's as error 3. A job
    // that could not be written is never left looking printed.
    const auto jobError = [&](int error) {
        if (spooler) ShowMessage("Error " + std::to_string(error));
        else Erro(3, "Erro #03 - I/O " + std::to_string(error) + " " + PortaComunicacao);
    };
    auto started = route.Start(request);
    if (const int* error = std::get_if<int>(&started)) {
        jobError(*error);
        return false;
    }
    TextJob& job = *std::get<std::unique_ptr<TextJob>>(started);
    bool failed = false;
    const auto write = [&](std::string_view bytes) {
        if (failed) return false;
        if (bytes.empty()) return true;
        if (const int e = job.Write(bytes)) {
            failed = true;
            jobError(e);
            return false;
        }
        return true;
    };
    const auto flush = [&] {
        if (failed) return false;
        if (spooler) return true;
        if (const int e = job.Flush()) {
            failed = true;
            jobError(e);
            return false;
        }
        return true;
    };
    if (!write(JobPrologue(st.table, st.font)) || !flush()) {
        job.Finish();
        return false;
    }
    const TextPageContext ctx{
        st.table, st.font, Acentuacao, Impressora, spooler ? std::string("\n\r") : std::string("\r\n"),
        [this] { return CheckCancel(); },
        [] { return TheReportState().abandoned; },
        [this](const std::string& s) { return ReadBack(s); },
        write, flush,
    };
    RunPages(arquivo, [&](int page) {
        const auto outcome = WriteTextPage(st.store ? st.store->ItemsOfPage(page) : std::vector<std::string>{}, ctx);
        return outcome != PageOutcome::WriteFailed;
    });
    if (!failed) write(st.table[Slot::Initialise]);
    if (!failed) flush();
    if (const int e = job.Finish(); e && !failed) jobError(e);
    return true;
}

// --- services for the windows -----------------------------------------------

void TRelGrade::Cancelar() { TheReportState().cancel = true; }
bool TRelGrade::CancelRequested() const { return TheReportState().cancel; }
void TRelGrade::ClearCancel() { TheReportState().cancel = false; }

bool TRelGrade::CheckCancel() {
    ProcessEvents();
    if (!TheReportState().cancel) return false;
    if (OnCancel) OnCancel(*this);
    return true;
}

void TRelGrade::ProcessEvents() {
    if (services.processEvents) services.processEvents();
}

bool TRelGrade::IsOpen() const { return TheReportState().open; }
bool TRelGrade::IsAbandoned() const { return TheReportState().abandoned; }
bool TRelGrade::PreviewActive() const { return TheReportState().previewActive; }
int TRelGrade::CurrentPage() const { return TheReportState().currentPage; }
void TRelGrade::SetCurrentPage(int page) { TheReportState().currentPage = page; }
const ReportState& TRelGrade::State() const { return TheReportState(); }
ReportState& TRelGrade::MutableState() { return TheReportState(); }
const PageStore* TRelGrade::Store() const {
    const auto& st = TheReportState();
    return st.store ? &*st.store : nullptr;
}

std::optional<PageItem> TRelGrade::ReadBack(const std::string& stored) {
    auto item = ParsePageItem(stored);
    if (!item) {
        if (OnErro) OnErro(*this, "Erro #10 - (PARAMETROS INV\xC3\x81LIDOS) Comando " + stored);
        return std::nullopt;
    }
    item->text = ExpandMacros(item->text);
    return item;
}

std::string TRelGrade::ExpandMacros(std::string_view text) const {
    std::string s(text);
    if (s.find('&') == std::string::npos) return s;
    ReplaceFirst(s, "&PAGE&", FormatWithMask("#,##0", TotalPaginas(), Separadores));
    if (FindIgnoringCase(s, "&HORA&") != std::string::npos || FindIgnoringCase(s, "&DATA&") != std::string::npos) {
        const LocalDateTime now = services.clock ? services.clock() : SystemLocalDateTime();
        ReplaceFirst(s, "&HORA&", TwoDigits(now.time.hours().count()) + ":" + TwoDigits(now.time.minutes().count()));
        char date[16];
        std::snprintf(date, sizeof date, "%02u/%02u/%04d", static_cast<unsigned>(now.date.day()),
                      static_cast<unsigned>(now.date.month()), static_cast<int>(now.date.year()));
        ReplaceFirst(s, "&DATA&", date);
    }
    ReplaceFirst(s, "&TITULO&", TitulodoRelatorio);
    return s;
}

void TRelGrade::Erro(int numero, const std::string& mensagem) {
    if (OnErro) {
        OnErro(*this, mensagem);
        return;
    }
    if (numero == 9 || numero == 10) return;
    ShowMessage(mensagem);
}

void TRelGrade::ShowMessage(const std::string& text) {
    if (services.messages) services.messages->ShowMessage(text);
}

void TRelGrade::ClosePendingPage() {
    if (!pageOpen_) return;
    if (OnBeforeNewPage) OnBeforeNewPage(*this, TheReportState().currentPage);
    pageOpen_ = false;
}

} // namespace nfp
