#include "widgets/zeltra_browser.h"

#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>

namespace nfp {
namespace {

ScriptedFolderAnswers*& CurrentScript() {
  static ScriptedFolderAnswers* current = nullptr;
  return current;
}

QString Standard(QStandardPaths::StandardLocation location) {
  const QString path = QStandardPaths::writableLocation(location);
  return path.isEmpty() ? QDir::homePath() : path;
}

}  // namespace

QString RootFolderPath(TRootID root) {
  switch (root) {
    // The shell's top and the computer itself: everything, so the file-system root.
    case TRootID::idDesktop:
    case TRootID::idDrives:
      return QDir::rootPath();
    case TRootID::idPersonal:
      return Standard(QStandardPaths::DocumentsLocation);
    case TRootID::idDesktopDirectory:
    case TRootID::idCommonDesktopDirectory:
      return Standard(QStandardPaths::DesktopLocation);
    case TRootID::idPrograms:
    case TRootID::idStartMenu:
    case TRootID::idCommonStartMenu:
    case TRootID::idCommonPrograms:
      return Standard(QStandardPaths::ApplicationsLocation);
    case TRootID::idFonts:
      return Standard(QStandardPaths::FontsLocation);
    case TRootID::idAppData:
      return Standard(QStandardPaths::GenericDataLocation);
    default:
      return QDir::homePath();
  }
}

QString WithoutTrailingSeparator(const QString& folder) {
  QString out = QDir::fromNativeSeparators(folder);
  while (out.size() > 1 && out.endsWith(u'/')) {
    // "C:/" is a root as much as "/" is.
    if (out.size() == 3 && out[1] == u':') break;
    out.chop(1);
  }
  return out;
}

// --- scripted answers -----------------------------------------------------

ScriptedFolderAnswers::ScriptedFolderAnswers() : outer_(CurrentScript()) { CurrentScript() = this; }

ScriptedFolderAnswers::ScriptedFolderAnswers(std::initializer_list<std::optional<QString>> answers)
    : ScriptedFolderAnswers() {
  answers_.assign(answers.begin(), answers.end());
}

ScriptedFolderAnswers::~ScriptedFolderAnswers() { CurrentScript() = outer_; }

ScriptedFolderAnswers* ScriptedFolderAnswers::Current() { return CurrentScript(); }

bool ScriptedFolderAnswers::TakeAnswer(std::optional<QString>& answer) {
  if (answers_.empty()) return false;
  answer = std::move(answers_.front());
  answers_.pop_front();
  return true;
}

// --- the browser ----------------------------------------------------------

TZeltraBrowser::TZeltraBrowser(QObject* owner) : QObject(owner), Directory(QDir::homePath()) {}

bool TZeltraBrowser::Execute() {
  const FolderRequest request{RootFolderPath(Root), Directory, Title, Caption};

  std::optional<QString> chosen;
  bool answered = false;
  if (ScriptedFolderAnswers* script = ScriptedFolderAnswers::Current()) {
    script->Record(request);
    answered = script->TakeAnswer(chosen);
  }
  if (!answered) {
    // Not owned by the calling window, like the shell's own picker.
    QFileDialog dialog(nullptr);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setSidebarUrls({QUrl::fromLocalFile(request.root)});
    dialog.setLabelText(QFileDialog::LookIn, request.title);
    dialog.setDirectory(request.directory.isEmpty() ? request.root : request.directory);
    if (!request.caption.isEmpty()) dialog.setWindowTitle(request.caption);
    dialog.adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      const QRect s = screen->geometry();
      dialog.move((s.width() - dialog.width()) / 2, (s.height() - dialog.height()) / 2);
    }
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
      chosen = dialog.selectedFiles().front();
  }
  if (!chosen.has_value() || chosen->isEmpty()) return false;
  Directory = WithoutTrailingSeparator(*chosen);
  return true;
}

}  // namespace nfp
