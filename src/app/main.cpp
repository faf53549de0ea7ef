// nfp-envio: sends Nota Fiscal Paulista receipt files to the state's service.
#include "app/error_display.h"
#include "app/f_nfp.h"
#include "app/font_substitutes.h"

int main(int argc, char** argv)
{
    nfp::GuardedApplication app(argc, argv);
    nfp::InstallFontSubstitutes();
    nfp::TF_NFP window;
    window.show();
    return app.exec();
}
