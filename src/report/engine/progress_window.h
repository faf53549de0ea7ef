#pragma once
// The progress window the engine shows while it prints, saves or loads a
// report (implemented by the Qt progress window TFRMProgr in f_progr.*).
//
// The engine drives it in this order: ProgressWindowFactory::Create, then
// SetColors, SetLabel, SetCaption (only for "Gravando..." or "Lendo...";
// a new window reads "Imprimindo..."), SetMaximum, SetPosition(0), Show;
// Step and Repaint between items; Close at the end (the destructor closes
// it too). Its only output is the engine's cancel flag: after the user
// confirms "Deseja realmente Cancelar ?" the window calls
// TRelGrade::Cancelar() on its owner engine, and the running loop sees it
// at its next item.
#include <memory>
#include <string>

#include "report/engine/report_types.h"

namespace nfp {

class TRelGrade;

inline constexpr const char* kCaptionImprimindo = "Imprimindo...";
inline constexpr const char* kCaptionGravando = "Gravando...";
inline constexpr const char* kCaptionLendo = "Lendo...";

class ProgressWindow {
public:
    virtual ~ProgressWindow() = default;
    virtual void SetColors(TColor form, TColor font) = 0;
    // Also picks the animation strip: printing, writing or reading.
    virtual void SetCaption(const std::string& caption) = 0;
    virtual void SetLabel(const std::string& text) = 0;
    virtual void SetMaximum(int maximum) = 0;
    virtual void SetPosition(int position) = 0;
    // Shows the window without waiting; every other window of the
    // application is disabled until Close.
    virtual void Show() = 0;
    virtual void Step() = 0;
    virtual void Repaint() = 0;
    // Hides the window and enables the other windows again.
    virtual void Close() = 0;
};

class ProgressWindowFactory {
public:
    virtual ~ProgressWindowFactory() = default;
    // `owner` is the engine whose cancel flag the window sets.
    virtual std::unique_ptr<ProgressWindow> Create(TRelGrade& owner) = 0;
};

} // namespace nfp
