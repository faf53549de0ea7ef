#pragma once
// Folder picker that remembers the last folder chosen.

#include <QObject>
#include <QString>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace nfp {

enum class TRootID : int {
  idDesktop = 0,
  idInternet,
  idPrograms,
  idControlPanel,
  idPrinters,
  idPersonal,
  idFavorites,
  idStartup,
  idRecent,
  idSendTo,
  idRecycleBin,
  idStartMenu,
  idDesktopDirectory,
  idDrives,
  idNetwork,
  idNetHood,
  idFonts,
  idTemplates,
  idCommonStartMenu,
  idCommonPrograms,
  idCommonStartup,
  idCommonDesktopDirectory,
  idAppData,
  idPrintHood,
};

// The folder at the top of the dialog's tree for a root value: the matching
// standard location where this platform has one, else the home folder.
QString RootFolderPath(TRootID root);

// What the dialog is asked to show.
struct FolderRequest {
  QString root;        // top folder of the tree
  QString directory;   // preselected folder, empty for none
  QString title;       // instruction text
  QString caption;     // window title, empty for the platform's own
};

// Test and automation hook: while an instance lives, Execute records every
// request and, when the queue holds an answer, uses it instead of showing the
// dialog (std::nullopt answers as a cancel). With the queue empty the real
// dialog is shown. Instances nest; the innermost one answers.
class ScriptedFolderAnswers {
 public:
  ScriptedFolderAnswers();
  explicit ScriptedFolderAnswers(std::initializer_list<std::optional<QString>> answers);
  ~ScriptedFolderAnswers();
  ScriptedFolderAnswers(const ScriptedFolderAnswers&) = delete;
  ScriptedFolderAnswers& operator=(const ScriptedFolderAnswers&) = delete;

  void Push(std::optional<QString> answer) { answers_.push_back(std::move(answer)); }
  const std::vector<FolderRequest>& Requests() const { return requests_; }
  std::size_t Pending() const { return answers_.size(); }

  static ScriptedFolderAnswers* Current();
  bool TakeAnswer(std::optional<QString>& answer);
  void Record(FolderRequest request) { requests_.push_back(std::move(request)); }

 private:
  std::deque<std::optional<QString>> answers_;
  std::vector<FolderRequest> requests_;
  ScriptedFolderAnswers* outer_;
};

class TZeltraBrowser : public QObject {
  Q_OBJECT
 public:
  explicit TZeltraBrowser(QObject* owner = nullptr);

  QString About;
  QString Directory;   // starts at the home folder; holds the last choice
  QString Title = QStringLiteral("Localizar arquivos ou pastas");
  TRootID Root = TRootID::idDesktop;
  QString Caption = QStringLiteral("Localizar");

  // True when a folder was chosen; Directory then holds it, without a
  // trailing "/" except for the root "/". False on cancel, Directory kept.
  bool Execute();
};

// Removes trailing separators, keeping a bare root ("/", "C:/").
QString WithoutTrailingSeparator(const QString& folder);

}  // namespace nfp
