#include "report/windows/f_previ.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "report/graphics/page_picture.h"
#include "report/engine/preview_zoom.h"
#include "report/engine/rel_grade.h"
#include "util/integer_text.h"

namespace nfp {

namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// A hand of our own: open, or closed around what it holds.
QPixmap HandPixmap(bool grabbing) {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    QPainterPath hand;
    if (grabbing) {
        hand.addRoundedRect(QRectF(8, 12, 16, 13), 4, 4);
        for (int i = 0; i < 4; ++i) hand.addRoundedRect(QRectF(8 + i * 4, 9, 4, 6), 2, 2);
        hand.addRoundedRect(QRectF(5, 15, 5, 7), 2, 2);
    } else {
        hand.addRoundedRect(QRectF(9, 14, 15, 12), 4, 4);
        const int tops[] = {5, 3, 4, 7};
        for (int i = 0; i < 4; ++i) hand.addRoundedRect(QRectF(9 + i * 4, tops[i], 4, 14 - tops[i] + 4), 2, 2);
        hand.addRoundedRect(QRectF(3, 13, 8, 4), 2, 2);
    }
    p.drawPath(hand.simplified());
    p.end();
    return pm;
}

enum class Glyph { Width, Page, Plus, Minus, Setup, Find };

QIcon DrawnIcon(Glyph g) {
    QPixmap pm(18, 18);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.4));
    switch (g) {
    case Glyph::Width:
        p.drawRect(4, 2, 10, 14);
        p.drawLine(1, 9, 17, 9);
        p.drawLine(1, 9, 4, 6);
        p.drawLine(1, 9, 4, 12);
        p.drawLine(17, 9, 14, 6);
        p.drawLine(17, 9, 14, 12);
        break;
    case Glyph::Page:
        p.setBrush(Qt::white);
        p.drawRect(4, 1, 10, 16);
        for (int y = 4; y < 15; y += 3) p.drawLine(6, y, 12, y);
        break;
    case Glyph::Plus:
    case Glyph::Minus:
    case Glyph::Find:
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(1.5, 1.5, 10, 10));
        p.setPen(QPen(Qt::black, 2.5));
        p.drawLine(10, 10, 16, 16);
        p.setPen(QPen(Qt::black, 1.4));
        if (g != Glyph::Find) p.drawLine(4, 6, 9, 6);
        if (g == Glyph::Plus) p.drawLine(6, 4, 6, 9);
        break;
    case Glyph::Setup:
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(2, 7, 14, 7);
        p.setBrush(Qt::white);
        p.drawRect(5, 2, 8, 5);
        p.drawRect(5, 12, 8, 4);
        break;
    }
    p.end();
    return QIcon(pm);
}

QWidget* Separator(QWidget* parent, int x) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(x, 4, 2, 25);
    return line;
}

} // namespace

QCursor HandCursor(bool grabbing) { return QCursor(HandPixmap(grabbing), 15, 12); }

QStringList SaveDialogFilters() {
    return {QStringLiteral("Relatório RelGrade (*.RGR *.rgr)"), QStringLiteral("Arquivo para Impressão (*.PRN *.prn)"),
            QStringLiteral("Arquivo Texto (*.TXT *.txt)"), QStringLiteral("Documento PDF (*.PDF)")};
}

std::string ModelName(TModelo model) {
    switch (model) {
    case TModelo::Epson: return "Epson";
    case TModelo::Rima: return "Rima/Emila";
    case TModelo::HP: return "HP";
    case TModelo::Grafico: return "Grafico";
    case TModelo::Personalizado: return "Personalizado";
    case TModelo::Bobina: return "Bobina";
    }
    return "";
}

// --- the page --------------------------------------------------------------------

TVisor::TVisor(TFRMPrevi& form, QWidget* parent) : QWidget(parent), form_(form) {
    setObjectName(QStringLiteral("VISOR"));
    setFocusPolicy(Qt::NoFocus);
}

void TVisor::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QSize s = form_.pictureSize_;
    const int w = Zoomed(s.width(), form_.zoom_), h = Zoomed(s.height(), form_.zoom_);
    StretchPicture(p, form_.picture_, QRectF(QPointF(10, 10), QPointF(w, h)));
}

void TVisor::mousePressEvent(QMouseEvent* event) {
    if (form_.pressed_) return;
    QGuiApplication::setOverrideCursor(form_.grabbingHand_);
    form_.pressedAt_ = event->position().toPoint();
    form_.pressed_ = true;
}

void TVisor::mouseMoveEvent(QMouseEvent* event) {
    if (!form_.pressed_) return;
    const QPoint at = event->position().toPoint();
    QScrollBar* h = form_.scroller_->horizontalScrollBar();
    QScrollBar* v = form_.scroller_->verticalScrollBar();
    h->setValue(h->value() + form_.pressedAt_.x() - at.x());
    v->setValue(v->value() + form_.pressedAt_.y() - at.y());
}

void TVisor::mouseReleaseEvent(QMouseEvent*) {
    if (!form_.pressed_) return;
    form_.pressed_ = false;
    QGuiApplication::restoreOverrideCursor();
}

// --- the find dialog ---------------------------------------------------------------

TFindDialog::TFindDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FindDialog1"));
    setWindowTitle(QStringLiteral("Localizar"));
    setModal(false);
    text = new QLineEdit(this);
    auto* findButton = new QPushButton(QStringLiteral("&Localizar próxima"), this);
    findButton->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("Cancelar"), this);
    auto* direction = new QGroupBox(QStringLiteral("Direção"), this);
    up = new QRadioButton(QStringLiteral("A&cima"), direction);
    down = new QRadioButton(QStringLiteral("A&baixo"), direction);
    down->setChecked(true);
    auto* dl = new QHBoxLayout(direction);
    dl->addWidget(up);
    dl->addWidget(down);
    wholeWord = new QCheckBox(QStringLiteral("Somente palavras &inteiras"), this);
    wholeWord->setEnabled(false);
    matchCase = new QCheckBox(QStringLiteral("&Diferenciar maiúsculas de minúsculas"), this);
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Localizar:"), this));
    row->addWidget(text);
    row->addWidget(findButton);
    layout->addLayout(row);
    auto* options = new QHBoxLayout;
    auto* checks = new QVBoxLayout;
    checks->addWidget(wholeWord);
    checks->addWidget(matchCase);
    options->addLayout(checks);
    options->addWidget(direction);
    options->addWidget(close);
    layout->addLayout(options);
    connect(findButton, &QPushButton::clicked, this, [this] { if (onFind) onFind(); });
    connect(close, &QPushButton::clicked, this, &QDialog::hide);
}

// --- the window ------------------------------------------------------------------

TFRMPrevi::TFRMPrevi(TRelGrade& engine, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowCloseButtonHint),
      engine_(engine), openHand_(HandCursor(false)), grabbingHand_(HandCursor(true)) {
    setObjectName(QStringLiteral("FRMPrevi"));
    setMinimumSize(540, 240);
    resize(592, 411);
    setFocusPolicy(Qt::StrongFocus);

    panelH_ = new QWidget(this);
    panelH_->setObjectName(QStringLiteral("PanelH"));
    AddButton("LARGURA", 5, 25, QStringLiteral("Ajustar na Largura"))->setIcon(DrawnIcon(Glyph::Width));
    AddButton("FULL", 30, 25, QStringLiteral("Ver página inteira"))->setIcon(DrawnIcon(Glyph::Page));
    AddButton("SpeedButton1", 55, 25, QStringLiteral("Aumenta zoom"))->setIcon(DrawnIcon(Glyph::Plus));
    AddButton("SpeedButton2", 80, 25, QStringLiteral("Diminui zoom"))->setIcon(DrawnIcon(Glyph::Minus));
    Separator(panelH_, 113);
    AddButton("PRIMEIRA", 123, 25, QStringLiteral("Primeira página"))->setIcon(style()->standardIcon(QStyle::SP_MediaSkipBackward));
    AddButton("ANTERIOR", 148, 25, QStringLiteral("Página anterior"))->setIcon(style()->standardIcon(QStyle::SP_MediaSeekBackward));
    AddButton("DIRETO", 173, 25, QStringLiteral("Acesso direto à Página "))->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    AddButton("PROXIMA", 198, 25, QStringLiteral("Próxima página"))->setIcon(style()->standardIcon(QStyle::SP_MediaSeekForward));
    AddButton("ULTIMA", 223, 25, QStringLiteral("Última página"))->setIcon(style()->standardIcon(QStyle::SP_MediaSkipForward));
    Separator(panelH_, 256);
    AddButton("IMPRIMIR", 265, 80, QStringLiteral("Imprimir"), QStringLiteral("&Imprimir"));
    Separator(panelH_, 353);
    AddButton("SETUP", 363, 25, QStringLiteral("Configuração da Impressora"))->setIcon(DrawnIcon(Glyph::Setup));
    AddButton("SALVAR", 388, 25, QStringLiteral("Salvar relatório"))->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    AddButton("ABRIR", 413, 25, QStringLiteral("Ler relatório gravado"))->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    AddButton("PROCURAR", 438, 25, QStringLiteral("Procura palavra"))->setIcon(DrawnIcon(Glyph::Find));
    Separator(panelH_, 471);
    AddButton("CANCELAR", 481, 80, QStringLiteral("Fechar"), QStringLiteral("&Fechar"));

    scroller_ = new QScrollArea(this);
    scroller_->setObjectName(QStringLiteral("Scroller"));
    scroller_->setFocusPolicy(Qt::NoFocus);
    scroller_->setWidgetResizable(false);
    visor_ = new TVisor(*this, scroller_);
    visor_->setCursor(openHand_);
    visor_->setContextMenuPolicy(Qt::CustomContextMenu);
    scroller_->setWidget(visor_);
    scroller_->viewport()->installEventFilter(this);
    scroller_->horizontalScrollBar()->setFocusPolicy(Qt::NoFocus);
    scroller_->verticalScrollBar()->setFocusPolicy(Qt::NoFocus);

    status_ = new QStatusBar(this);
    status_->setObjectName(QStringLiteral("StatusBar1"));
    status_->setSizeGripEnabled(false);
    const int widths[] = {120, 50, 250, 80, 50};
    const char* texts[] = {"Página: 0000 de 9999", "100%", " Impressora:", "Epson", ""};
    for (int i = 0; i < 5; ++i) {
        panels_[i] = new QLabel(QString::fromUtf8(texts[i]), status_);
        panels_[i]->setFixedWidth(widths[i]);
        panels_[i]->setFrameShape(QFrame::StyledPanel);
        if (i == 0 || i == 1 || i == 3) panels_[i]->setAlignment(Qt::AlignCenter);
        status_->addWidget(panels_[i]);
    }

    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("PopupMenu1"));
    zoomGroup_ = new QActionGroup(this);
    zoomGroup_->setExclusive(true);
    const auto addZoom = [&](const char* name, const QString& caption, int zoom) {
        QAction* a = popup_->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        a->setCheckable(true);
        a->setData(zoom);
        zoomGroup_->addAction(a);
        connect(a, &QAction::triggered, this, [this, zoom] { ZoomMenuClick(zoom); });
        return a;
    };
    addZoom("Zoom25", QStringLiteral("25%"), 25);
    addZoom("Zoom50", QStringLiteral("50%"), 50);
    addZoom("Zoom75", QStringLiteral("75%"), 75);
    addZoom("Zoom100", QStringLiteral("100%"), 100)->setChecked(true);
    addZoom("Zoom150", QStringLiteral("150%"), 150);
    addZoom("Zoom200", QStringLiteral("200%"), 200);
    popup_->addSeparator();
    addZoom("ZoomPage", QStringLiteral("Página Inteira"), kZoomWholePage);
    addZoom("ZoomWidth", QStringLiteral("Ajusta na Largura"), kZoomFitWidth);
    const auto showPopup = [this](QWidget* w) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this,
                [this, w](const QPoint& at) { popup_->popup(w->mapToGlobal(at)); });
    };
    showPopup(visor_);
    for (const char* name : {"LARGURA", "FULL", "SpeedButton1", "SpeedButton2"}) showPopup(Button(name));

    find_ = new TFindDialog(this);
    find_->onFind = [this] { FindDialog1Find(); };

    connect(Button("LARGURA"), &QToolButton::clicked, this, &TFRMPrevi::LARGURAClick);
    connect(Button("FULL"), &QToolButton::clicked, this, &TFRMPrevi::FULLClick);
    connect(Button("SpeedButton1"), &QToolButton::clicked, this, &TFRMPrevi::SpeedButton1Click);
    connect(Button("SpeedButton2"), &QToolButton::clicked, this, &TFRMPrevi::SpeedButton2Click);
    connect(Button("PRIMEIRA"), &QToolButton::clicked, this, &TFRMPrevi::PRIMEIRAClick);
    connect(Button("ANTERIOR"), &QToolButton::clicked, this, &TFRMPrevi::ANTERIORClick);
    connect(Button("DIRETO"), &QToolButton::clicked, this, &TFRMPrevi::DIRETOClick);
    connect(Button("PROXIMA"), &QToolButton::clicked, this, &TFRMPrevi::PROXIMAClick);
    connect(Button("ULTIMA"), &QToolButton::clicked, this, &TFRMPrevi::ULTIMAClick);
    connect(Button("IMPRIMIR"), &QToolButton::clicked, this, &TFRMPrevi::IMPRIMIRClick);
    connect(Button("SETUP"), &QToolButton::clicked, this, &TFRMPrevi::SETUPClick);
    connect(Button("SALVAR"), &QToolButton::clicked, this, &TFRMPrevi::SALVARClick);
    connect(Button("ABRIR"), &QToolButton::clicked, this, &TFRMPrevi::ABRIRClick);
    connect(Button("PROCURAR"), &QToolButton::clicked, this, &TFRMPrevi::PROCURARClick);
    connect(Button("CANCELAR"), &QToolButton::clicked, this, &TFRMPrevi::CANCELARClick);

    askPage = [this]() -> std::optional<std::string> {
        bool ok = false;
        const QString text = QInputDialog::getText(this, QStringLiteral("Acesso rápido"),
                                                   QStringLiteral("Qual página deseja ver ?"), QLineEdit::Normal,
                                                   QString(), &ok);
        if (!ok) return std::nullopt;
        return text.toStdString();
    };
    askSaveFile = [this](const std::string& suggested) -> std::optional<std::pair<std::string, SaveFileType>> {
        QFileDialog dialog(this, QStringLiteral("Salvar relatório como..."),
                           QStandardPaths::writableLocation(QStandardPaths::HomeLocation));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        const QStringList filters = SaveDialogFilters();
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.value(static_cast<int>(offeredType_)));
        dialog.selectFile(Q(suggested));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        const auto type = static_cast<SaveFileType>(std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter())));
        return std::pair{dialog.selectedFiles().front().toStdString(), type};
    };
    askOpenFile = [this]() -> std::optional<std::string> {
        const QString file = QFileDialog::getOpenFileName(
            this, QStringLiteral("Selecionar relatório..."),
            QStandardPaths::writableLocation(QStandardPaths::HomeLocation),
            QStringLiteral("Relatório RelGrade (*.RGR *.rgr)"));
        if (file.isEmpty()) return std::nullopt;
        return file.toStdString();
    };

    // Opened maximised over the whole screen.
    if (QScreen* screen = QGuiApplication::primaryScreen()) setGeometry(screen->geometry());
    move(0, 0);
    setWindowState(Qt::WindowMaximized);
    last_ = engine_.TotalPaginas();
    LayoutChildren();
}

TFRMPrevi::~TFRMPrevi() {
    if (pressed_) QGuiApplication::restoreOverrideCursor();
}

QToolButton* TFRMPrevi::AddButton(const char* name, int x, int width, const QString& hint, const QString& caption) {
    auto* b = new QToolButton(panelH_);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setToolTip(hint);
    b->setGeometry(x, 4, width, 25);
    if (!caption.isEmpty()) {
        b->setText(caption);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
    return b;
}

QToolButton* TFRMPrevi::Button(const char* objectName) const {
    return panelH_->findChild<QToolButton*>(QString::fromLatin1(objectName));
}

void TFRMPrevi::LayoutChildren() {
    const int statusHeight = status_->sizeHint().height();
    panelH_->setGeometry(0, 0, width(), 34);
    scroller_->setGeometry(0, 34, width(), std::max(0, height() - 34 - statusHeight));
    status_->setGeometry(0, height() - statusHeight, width(), statusHeight);
}

void TFRMPrevi::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    LayoutChildren();
    visor_->update();
}

void TFRMPrevi::Prepare() {
    const QString caption = Q(engine_.OpcoesPreview.CaptionPreview);
    setWindowTitle(caption);
    setToolTip(caption);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ReportQColor(engine_.CorForm));
    pal.setColor(QPalette::WindowText, ReportQColor(engine_.CorFonte));
    setPalette(pal);
    const auto apply = [this](const char* name, TStatBut state) {
        QToolButton* b = Button(name);
        b->setEnabled(state != TStatBut::Inativo);
        b->setVisible(state != TStatBut::Invisivel);
    };
    apply("SETUP", engine_.OpcoesPreview.BotaoSetup);
    apply("IMPRIMIR", engine_.OpcoesPreview.BotaoImprimir);
    apply("SALVAR", engine_.OpcoesPreview.BotaoGravar);
    apply("ABRIR", engine_.OpcoesPreview.BotaoLer);
    apply("PROCURAR", engine_.OpcoesPreview.BotaoProcurar);
}

void TFRMPrevi::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    remalina_ = engine_.OpcoesPreview.Remalina;
    page_ = 1;
    SizePicture();
    ShowPage(1);
    for (const char* name : {"CANCELAR", "IMPRIMIR"}) {
        QPalette pal = Button(name)->palette();
        pal.setColor(QPalette::ButtonText, ReportQColor(engine_.CorFonte));
        Button(name)->setPalette(pal);
    }
    LayoutChildren();
    AjustaZoom(engine_.OpcoesPreview.PreviewZoom);
    RefreshPrinterPanels();
    setFocus();
}

void TFRMPrevi::SizePicture() {
    const PageDrawing empty =
        EmptyPageDrawing(engine_.TamanhoQteColunas, engine_.TamanhoQteLinhas, PictureMode::Preview, remalina_);
    pictureSize_ = QSize(empty.width, empty.height);
}

void TFRMPrevi::RefreshPrinterPanels() {
    std::string printer;
    if (engine_.services.printers) printer = engine_.services.printers->CurrentPrinter().value_or("");
    if (!engine_.ArquivoGrafico.empty()) printer = kArquivoPdf + engine_.ArquivoGrafico;
    panels_[2]->setText(Q(" Impressora: " + printer));
    panels_[3]->setText(Q(ModelName(engine_.Impressora)));
}

void TFRMPrevi::ShowPage(int page) {
    page_ = page;
    picture_ = DrawPagePicture(engine_, page, PictureMode::Preview);
    visor_->update();
    panels_[0]->setText(Q("Página: " + std::to_string(page) + " de " + std::to_string(last_)));
    Button("PRIMEIRA")->setEnabled(page > 1);
    Button("ANTERIOR")->setEnabled(page > 1);
    Button("PROXIMA")->setEnabled(page < last_);
    Button("ULTIMA")->setEnabled(page < last_);
    Button("DIRETO")->setEnabled(last_ > 1);
}

void TFRMPrevi::Mostrar() { ShowPage(page_); }

void TFRMPrevi::ApplyZoomToVisor() {
    visor_->resize(Zoomed(pictureSize_.width(), zoom_) + 10, Zoomed(pictureSize_.height(), zoom_) + 10);
    visor_->update();
}

void TFRMPrevi::AjustaZoom(int zoom) {
    ZoomViewport v;
    v.scrollerWidth = scroller_->width();
    v.clientWidth = scroller_->viewport()->width();
    v.clientHeight = scroller_->viewport()->height();
    v.pictureWidth = pictureSize_.width();
    v.pictureHeight = pictureSize_.height();
    zoom_ = ResolveZoom(zoom, v);
    ApplyZoomToVisor();
    panels_[1]->setText(Q(ZoomText(zoom_)));
}

void TFRMPrevi::LARGURAClick() { AjustaZoom(kZoomFitWidth); }
void TFRMPrevi::FULLClick() { AjustaZoom(kZoomWholePage); }
void TFRMPrevi::SpeedButton1Click() { AjustaZoom(zoom_ + 10); }
void TFRMPrevi::SpeedButton2Click() { AjustaZoom(zoom_ - 10); }

void TFRMPrevi::ZoomMenuClick(int zoom) {
    for (QAction* a : zoomGroup_->actions())
        if (a->data().toInt() == zoom) a->setChecked(true);
    AjustaZoom(zoom);
}

void TFRMPrevi::PRIMEIRAClick() { if (page_ != 1) ShowPage(1); }
void TFRMPrevi::ANTERIORClick() { if (page_ > 1) ShowPage(page_ - 1); }
void TFRMPrevi::PROXIMAClick() { if (page_ < last_) ShowPage(page_ + 1); }
void TFRMPrevi::ULTIMAClick() { if (page_ != last_) ShowPage(last_); }

void TFRMPrevi::DIRETOClick() {
    const auto answer = askPage ? askPage() : std::nullopt;
    if (!answer) return;
    try {
        const int page = ParseInt32(*answer);
        if (page >= 1 && page <= last_) ShowPage(page);
    } catch (const ConversionError&) {
        engine_.ShowMessage("P\xC3\xA1gina inv\xC3\xA1lida...");
    }
}

bool TFRMPrevi::Usable(QToolButton* button) const { return button->isEnabled() && !button->isHidden(); }

void TFRMPrevi::IMPRIMIRClick() {
    if (!Usable(Button("IMPRIMIR"))) return;
    if (engine_.NoPrinterInstalled()) {
        // Nothing to print on: the summary can still be kept.
        if (engine_.services.messages && engine_.services.messages->Confirm(kMsgSalvarComoPdf) &&
            Usable(Button("SALVAR")))
            SaveAs(SaveFileType::Pdf);
        return;
    }
    engine_.ImprimirRelatorio();
}

void TFRMPrevi::SETUPClick() {
    if (!Usable(Button("SETUP"))) return;
    engine_.Setup();
    RefreshPrinterPanels();
}

void TFRMPrevi::SALVARClick() {
    if (Usable(Button("SALVAR"))) SaveAs(SaveFileType::Relatorio);
}

void TFRMPrevi::SaveAs(SaveFileType preferred) {
    if (!askSaveFile) return;
    offeredType_ = preferred;
    const auto chosen = askSaveFile(engine_.TitulodoRelatorio);
    offeredType_ = SaveFileType::Relatorio;
    if (!chosen) return;
    SaveReport(engine_, chosen->first, chosen->second);
}

void TFRMPrevi::ABRIRClick() {
    if (!Usable(Button("ABRIR")) || !askOpenFile) return;
    const auto file = askOpenFile();
    if (!file) return;
    // A file that did not load leaves the report, and the page shown, as they were.
    if (!LoadReportFile(engine_, *file)) return;
    last_ = engine_.TotalPaginas();
    SizePicture();
    ApplyZoomToVisor();
    ShowPage(1);
}

void TFRMPrevi::PROCURARClick() {
    search_.position = 0;
    find_->text->clear();
    find_->show();
    find_->raise();
}

void TFRMPrevi::FindDialog1Find() {
    const std::string needle = find_->text->text().toStdString();
    if (needle.empty()) return;
    const auto hit = SearchReport(engine_, needle, find_->down->isChecked(), find_->matchCase->isChecked(), search_);
    if (!hit) {
        ShowPage(page_); // without the old marker
        return;
    }
    ShowPage(hit->page);
    QScrollBar* v = scroller_->verticalScrollBar();
    if (v->isVisible()) {
        const int at = hit->line * RoundHalfEven(static_cast<double>(visor_->height()) / engine_.TamanhoQteLinhas);
        const int client = scroller_->viewport()->height();
        v->setValue(at > client ? at - client : 0);
    }
    QScrollBar* h = scroller_->horizontalScrollBar();
    if (h->isVisible()) {
        const int at = hit->column * RoundHalfEven(static_cast<double>(visor_->width()) / engine_.TamanhoQteColunas);
        const int client = scroller_->viewport()->width();
        h->setValue(at > client ? at - client : 0);
    }
}

void TFRMPrevi::CANCELARClick() { reject(); }

void TFRMPrevi::ScrollDown() {
    QScrollBar* v = scroller_->verticalScrollBar();
    const int before = v->value();
    v->setValue(before + RoundHalfEven(visor_->height() / 20.0));
    if (v->value() == before && page_ < last_) {
        ShowPage(page_ + 1);
        v->setValue(v->minimum());
    }
}

void TFRMPrevi::ScrollUp() {
    QScrollBar* v = scroller_->verticalScrollBar();
    const int before = v->value();
    v->setValue(before - RoundHalfEven(visor_->height() / 20.0));
    if (v->value() == before && page_ > 1) {
        ShowPage(page_ - 1);
        v->setValue(v->maximum());
    }
}

void TFRMPrevi::DoMouseWheel(bool towardsUser) {
    if (towardsUser) ScrollDown();
    else ScrollUp();
}

bool TFRMPrevi::eventFilter(QObject* watched, QEvent* event) {
    if (watched == scroller_->viewport() && event->type() == QEvent::Wheel) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->angleDelta().y() != 0) DoMouseWheel(wheel->angleDelta().y() < 0);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFRMPrevi::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    QScrollBar* h = scroller_->horizontalScrollBar();
    switch (event->key()) {
    case Qt::Key_Left: h->setValue(h->value() - 20); return;
    case Qt::Key_Right: h->setValue(h->value() + 20); return;
    case Qt::Key_Up: ScrollUp(); return;
    case Qt::Key_Down: ScrollDown(); return;
    case Qt::Key_PageUp: ANTERIORClick(); return;
    case Qt::Key_PageDown: PROXIMAClick(); return;
    case Qt::Key_Home: PRIMEIRAClick(); return;
    case Qt::Key_End: ULTIMAClick(); return;
    case Qt::Key_F3: FindDialog1Find(); return;
    case Qt::Key_Escape: reject(); return;
    case Qt::Key_Plus:
        if (keypad) { SpeedButton1Click(); return; }
        break;
    case Qt::Key_Minus:
        if (keypad) { SpeedButton2Click(); return; }
        break;
    default: break;
    }
    if (ctrl) {
        switch (event->key()) {
        case Qt::Key_S: SETUPClick(); return;
        case Qt::Key_P: IMPRIMIRClick(); return;
        case Qt::Key_G: SALVARClick(); return;
        case Qt::Key_L: ABRIRClick(); return;
        case Qt::Key_N: DIRETOClick(); return;
        case Qt::Key_F: PROCURARClick(); return;
        default: break;
        }
    }
    event->ignore();
}

void QtPreviewWindow::Exec(TRelGrade& engine) {
    TFRMPrevi window(engine, QApplication::activeWindow());
    window.Prepare();
    if (onShown) {
        QTimer::singleShot(0, &window, [this, &window] { onShown(window); });
    }
    window.exec();
}

} // namespace nfp
