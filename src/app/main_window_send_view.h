#pragma once
// The main window as the send run and the queries see it: the login panel,
// the Enviar tab's choices, the status line, the progress bar and the cursor.
#include "sending/send_run.h"

#include <QElapsedTimer>

namespace nfp {

class TF_NFP;

class MainWindowSendView final : public SendRunView {
public:
    explicit MainWindowSendView(TF_NFP& window) : window_(window) {}

    ServiceCredentials Credentials() override;
    SendChoice Choice() override;
    void SetStatus(std::string_view text) override;
    void SetProgress(long long maximum, long long position) override;
    void SetBusyCursor(bool busy) override;
    void ProcessMessages() override;
    int AskAfterUnexpectedReply(const std::string& question) override;
    void TellFileRefused(const std::string& message) override;
    int CurrentYear() override;

private:
    TF_NFP& window_;
    // When the progress bar was last painted at once (see SetProgress).
    QElapsedTimer sinceBarPainted_;
};

} // namespace nfp
