#pragma once
// The open-file dialog of the Ler Arquivos button: several files at once,
// one filter, resizable, no read-only check box.
#include <QString>
#include <QStringList>

#include <deque>
#include <optional>

class QWidget;

namespace nfp {

struct OpenFileRequest {
    QString title;
    QString filterDescription;
    QString pattern;
};

// Full paths of the chosen files in the dialog's order; nullopt on cancel.
std::optional<QStringList> ExecuteOpenFileDialog(QWidget* parent, const OpenFileRequest& request);

// Test and automation hook: while an instance lives, each dialog is recorded
// and, when the queue holds an answer, answered by it (nullopt as a cancel)
// instead of being shown. Instances nest; the innermost one answers.
class ScriptedOpenFileAnswers {
public:
    ScriptedOpenFileAnswers();
    ~ScriptedOpenFileAnswers();
    ScriptedOpenFileAnswers(const ScriptedOpenFileAnswers&) = delete;
    ScriptedOpenFileAnswers& operator=(const ScriptedOpenFileAnswers&) = delete;

    void Push(std::optional<QStringList> answer) { answers_.push_back(std::move(answer)); }
    const std::deque<OpenFileRequest>& Requests() const { return requests_; }

    static ScriptedOpenFileAnswers* Current();
    bool Answer(const OpenFileRequest& request, std::optional<QStringList>& answer);

private:
    std::deque<std::optional<QStringList>> answers_;
    std::deque<OpenFileRequest> requests_;
    ScriptedOpenFileAnswers* outer_;
};

} // namespace nfp
