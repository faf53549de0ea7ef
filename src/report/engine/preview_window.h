#pragma once
// The preview window Fechar opens modally when OpcoesPreview.Preview is set.
namespace nfp {

class TRelGrade;

class PreviewWindow {
public:
    virtual ~PreviewWindow() = default;
    // Shows the engine's open report and returns when the window is closed.
    virtual void Exec(TRelGrade& engine) = 0;
};

} // namespace nfp
