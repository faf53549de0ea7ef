#include "app/open_file_dialog.h"

#include <QFileDialog>

namespace nfp {

namespace {
ScriptedOpenFileAnswers* g_current = nullptr; // test hook only, innermost instance
}

ScriptedOpenFileAnswers::ScriptedOpenFileAnswers()
    : outer_(g_current)
{
    g_current = this;
}

ScriptedOpenFileAnswers::~ScriptedOpenFileAnswers()
{
    g_current = outer_;
}

ScriptedOpenFileAnswers* ScriptedOpenFileAnswers::Current()
{
    return g_current;
}

bool ScriptedOpenFileAnswers::Answer(const OpenFileRequest& request, std::optional<QStringList>& answer)
{
    requests_.push_back(request);
    if (answers_.empty())
        return false;
    answer = std::move(answers_.front());
    answers_.pop_front();
    return true;
}

std::optional<QStringList> ExecuteOpenFileDialog(QWidget* parent, const OpenFileRequest& request)
{
    if (auto* scripted = ScriptedOpenFileAnswers::Current()) {
        std::optional<QStringList> answer;
        if (scripted->Answer(request, answer))
            return answer;
    }
    QFileDialog dialog(parent, request.title);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setSizeGripEnabled(true);
    dialog.setNameFilter(request.filterDescription + QStringLiteral(" (") + request.pattern + QStringLiteral(")"));
    // Receipt files come from systems where names ignore letter case.
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
        return std::nullopt;
    return files;
}

} // namespace nfp
