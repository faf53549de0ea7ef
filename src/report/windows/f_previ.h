#pragma once
// TFRMPrevi: the report engine's preview window. Fechar opens it modally
// (through QtPreviewWindow) when OpcoesPreview.Preview is set; closing it
// ends the report.
#include <QCursor>
#include <QDialog>
#include <QPicture>
#include <QPointer>

#include <functional>
#include <optional>
#include <string>

#include "report/engine/preview_window.h"
#include "report/engine/report_types.h"
#include "report/engine/report_search.h"
#include "report/files/report_file_saver.h"

class QActionGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QRadioButton;
class QScrollArea;
class QStatusBar;
class QToolButton;

namespace nfp {

class TRelGrade;

// The open-hand and grabbing-hand cursors of the page (cursor slots 101
// and 102), drawn here.
QCursor HandCursor(bool grabbing);

// The model's name in the status bar.
std::string ModelName(TModelo model);

// The save dialog's file types, in SaveFileType order.
QStringList SaveDialogFilters();

// What Imprimir asks when there is no printer to print on.
inline constexpr const char* kMsgSalvarComoPdf =
    "Nenhuma impressora instalada.\r\rDeseja salvar o relatório como Documento PDF ?";

class TFRMPrevi;

// The page the preview paints on.
class TVisor : public QWidget {
public:
    explicit TVisor(TFRMPrevi& form, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TFRMPrevi& form_;
};

// The find dialog: text, direction, match case (whole word disabled).
class TFindDialog : public QDialog {
public:
    explicit TFindDialog(QWidget* parent);
    QLineEdit* text;
    QRadioButton* up;
    QRadioButton* down;
    QCheckBox* matchCase;
    QCheckBox* wholeWord;
    std::function<void()> onFind;
};

class TFRMPrevi : public QDialog {
public:
    TFRMPrevi(TRelGrade& engine, QWidget* parent = nullptr);
    ~TFRMPrevi() override;

    // What Fechar does before showing: caption, colours, button states.
    void Prepare();

    void AjustaZoom(int zoom);
    void Mostrar();

    // Handlers, public so tests drive them as the controls do.
    void LARGURAClick();
    void FULLClick();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void ZoomMenuClick(int zoom);
    void PRIMEIRAClick();
    void ANTERIORClick();
    void DIRETOClick();
    void PROXIMAClick();
    void ULTIMAClick();
    void IMPRIMIRClick();
    void SETUPClick();
    void SALVARClick();
    void ABRIRClick();
    void PROCURARClick();
    void FindDialog1Find();
    void CANCELARClick();
    void DoMouseWheel(bool towardsUser);

    // The save dialog, then the save; `preferred` is the file type the
    // dialog offers first.
    void SaveAs(SaveFileType preferred);

    // Modal answers, replaceable in tests: the page typed in the input box
    // (nothing for Cancel), the file and type chosen in the save dialog
    // (which offers SaveTypeOffered() first), the file picked in the open
    // dialog.
    std::function<std::optional<std::string>()> askPage;
    std::function<std::optional<std::pair<std::string, SaveFileType>>(const std::string& suggested)> askSaveFile;
    std::function<std::optional<std::string>()> askOpenFile;

    // State, for the window's own parts and tests.
    int CurrentPage() const { return page_; }
    int LastPage() const { return last_; }
    int Zoom() const { return zoom_; }
    const QPicture& Picture() const { return picture_; }
    QSize PictureSize() const { return pictureSize_; }
    QScrollArea* Scroller() const { return scroller_; }
    TVisor* Visor() const { return visor_; }
    QLabel* Panel(int i) const { return panels_[i]; }
    QToolButton* Button(const char* objectName) const;
    TFindDialog* FindDialog() const { return find_; }
    SaveFileType SaveTypeOffered() const { return offeredType_; }
    QMenu* Popup() const { return popup_; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TVisor;
    QToolButton* AddButton(const char* name, int x, int width, const QString& hint, const QString& caption = {});
    void LayoutChildren();
    void SizePicture();
    void ShowPage(int page);
    void RefreshPrinterPanels();
    void ApplyZoomToVisor();
    bool Usable(QToolButton* button) const;
    void ScrollDown();
    void ScrollUp();

    TRelGrade& engine_;
    QWidget* panelH_;
    QScrollArea* scroller_;
    TVisor* visor_;
    QStatusBar* status_;
    QLabel* panels_[5];
    QMenu* popup_;
    QActionGroup* zoomGroup_;
    TFindDialog* find_;
    QPicture picture_;
    QSize pictureSize_;
    int page_ = 1;
    int last_ = 1;
    int zoom_ = 100;
    bool remalina_ = false;
    bool pressed_ = false;
    QPoint pressedAt_;
    SearchState search_;
    SaveFileType offeredType_ = SaveFileType::Relatorio;
    QCursor openHand_;
    QCursor grabbingHand_;
};

// The engine's preview service: shows TFRMPrevi modally.
class QtPreviewWindow final : public PreviewWindow {
public:
    void Exec(TRelGrade& engine) override;
    // Called once the window is up, before the user acts (tests look at it
    // and close it here).
    std::function<void(TFRMPrevi&)> onShown;
};

} // namespace nfp
