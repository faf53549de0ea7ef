#include "app/error_display.h"

#include "app/local_message_dlg.h"

#include "util/silent_abort.h"

#include <QMessageBox>

#include <exception>
#include <utility>

namespace nfp {

namespace {

// One per process, like the application object it belongs to.
ErrorSink& Sink()
{
    static ErrorSink sink;
    return sink;
}

void ShowInMessageBox(const QString& message)
{
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(kApplicationTitle), message, QMessageBox::Ok);
    box.exec();
}

} // namespace

void SetErrorSink(ErrorSink sink)
{
    Sink() = std::move(sink);
}

void ShowUncaughtError(const QString& message)
{
    if (Sink())
        Sink()(message);
    else
        ShowInMessageBox(message);
}

bool RunGuarded(const std::function<void()>& handler)
{
    try {
        handler();
        return true;
    } catch (const SilentAbort&) {
    } catch (const std::exception& e) {
        ShowUncaughtError(QString::fromUtf8(e.what()));
    }
    return false;
}

GuardedApplication::GuardedApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    RunGuarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

} // namespace nfp
