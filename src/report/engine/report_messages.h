#pragma once
// How the report engine and its windows talk to the user: the application
// fills this with its message dialog; tests record what arrives.
#include <string>

namespace nfp {

// A file the engine writes (a save, a graphic print into a file) failed.
inline constexpr const char* kMsgErroGravacao = "Erro na grava\xC3\xA7" "ao do arquivo...\r\rArquivo: ";

class ReportMessages {
public:
    virtual ~ReportMessages() = default;
    // A message box with an OK button (the engine's numbered errors when no
    // OnErro handler is set, position refusals, save and load failures).
    virtual void ShowMessage(const std::string& text) = 0;
    // A confirmation with Yes and No; true for Yes. The progress window asks
    // "Deseja realmente Cancelar ?" through it.
    virtual bool Confirm(const std::string& question) = 0;
};

} // namespace nfp
