#pragma once
// The application's one error display: an error that no handler expects ends
// the user's action, its text is shown, and the program goes back to waiting
// for events. A silent abort ends the action without a word.
#include <QApplication>
#include <QString>

#include <functional>

namespace nfp {

using ErrorSink = std::function<void(const QString& message)>;

// Where uncaught errors go. The default shows a message box titled with the
// application title; tests put a collector here. An empty sink restores the
// default.
void SetErrorSink(ErrorSink sink);

void ShowUncaughtError(const QString& message);

// Runs one event handler: SilentAbort ends it quietly, any other exception
// goes to the error display. Returns false when the handler did not finish.
bool RunGuarded(const std::function<void()>& handler);

// Last line of defence for exceptions that leave an event handler that was
// not wrapped in RunGuarded.
class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace nfp
