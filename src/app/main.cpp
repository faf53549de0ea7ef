// nfp-envio: sends Nota Fiscal Paulista receipt files to the state's service.
#include "app/command_line.h"
#include "app/error_display.h"
#include "app/f_nfp.h"
#include "app/font_substitutes.h"
#include "app/qt_translations.h"

#include <cstdio>
#include <span>

int main(int argc, char** argv)
{
    // Read before the application object exists: --version and --help work
    // without a display.
    const nfp::CommandLineResult command =
        nfp::ReadCommandLine(std::span<const char* const>(argv + 1, static_cast<std::size_t>(argc > 0 ? argc - 1 : 0)));
    if (!command.openWindow) {
        std::fputs(command.standardOutput.c_str(), stdout);
        std::fputs(command.standardError.c_str(), stderr);
        return command.exitStatus;
    }
    nfp::GuardedApplication app(argc, argv);
    nfp::InstallQtTranslations();
    nfp::InstallFontSubstitutes();
    nfp::TF_NFP window;
    window.show();
    return app.exec();
}
