// The Enviar button's send through the main window against a bare libcurl
// client, both posting the same 200 receipt files of 20 KB to the local
// service over loopback TLS in the same run. The window runs as the program
// does (its journal included) on whatever display it is given; the timed
// script scripts/bench-window-send.sh runs it under Xvfb. Prints both times
// and their ratio; target: ratio <= 1.3. Each side runs five rounds,
// alternating, and its best round counts.
//   bench_window_send [FILES]
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <curl/curl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "app/f_nfp.h"
#include "app/local_message_dlg.h"
#include "app/radio_group.h"
#include "bare_send_loop.h"
#include "local_service.h"
#include "profiles/ini_profile_store.h"
#include "sending/send_queue.h"

namespace {

using namespace nfp;
using namespace nfp::bench;

Clock::duration WindowRound(const ReceiptFolder& folder, const HttpPosterSettings& service) {
    QTemporaryDir dir;
    MainWindowSetup setup;
    setup.regional = RegionalSettings::Brazilian();
    setup.store = std::make_shared<IniProfileStore>(dir.filePath(QStringLiteral("NFP.ini")).toStdString());
    setup.service = service;
    setup.journalFile = dir.filePath(QStringLiteral("envios.sqlite")).toStdString();
    TF_NFP window(std::move(setup));
    window.show();
    QApplication::processEvents();
    window.Edit_Usuario->setText("demo");
    window.Edit_Senha->setText("demo123");
    window.Edit_CNPJ->setText("11222333000181");
    window.RadioGroup_Tipo->setItemIndex(0);
    window.ComboBox_Envio->setCurrentIndex(1);
    for (const auto& name : folder.Names()) AppendQueueRow(window.Enviar_Table(), name, folder.Path());
    QApplication::processEvents();

    const ScriptedMessageAnswers answers{MsgResult::Yes};
    const auto start = Clock::now();
    window.BitBtn_Enviar->click();
    const auto took = Clock::now() - start;
    if (window.Enviados_Table().RecordCount() != static_cast<int>(folder.Names().size()))
        throw std::runtime_error("the window did not record every file");
    return took;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int files = argc > 1 ? std::atoi(argv[1]) : 200;
    const ReceiptFolder folder(files, 20 * 1024);
    test_support::LocalService service;
    const HttpPosterSettings settings = service.PosterSettings();
    const std::vector<std::string> bodies = SendingRequests(folder);

    Clock::duration window = Clock::duration::max();
    Clock::duration bare = Clock::duration::max();
    for (int round = 0; round < 5; ++round) {
        bare = std::min(bare, BareSendRound(bodies, settings));
        window = std::min(window, WindowRound(folder, settings));
    }
    std::printf("files: %d of 20 KB over loopback TLS, platform %s\n", files,
                QApplication::platformName().toUtf8().constData());
    std::printf("bare libcurl loop:  %8.1f ms (%.2f ms per file)\n", Milliseconds(bare), Milliseconds(bare) / files);
    std::printf("window (Enviar):    %8.1f ms (%.2f ms per file)\n", Milliseconds(window),
                Milliseconds(window) / files);
    std::printf("ratio window/bare: %.3f (target <= 1.3)\n", Milliseconds(window) / Milliseconds(bare));
    return 0;
}
