// The main window's tests run on one QApplication on the offscreen platform,
// with the program's own fonts and error display.
#include "app/error_display.h"
#include "app/font_substitutes.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    nfp::GuardedApplication app(argc, argv);
    nfp::InstallFontSubstitutes();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
