#pragma once
// The import dialog: the profiles a registry export holds, each with a tick,
// and the base folder below which their Windows folders are found here.
// Importar stores each ticked profile whole and lists it.

#include "profiles/profile_store.h"
#include "profiles/registry_profiles.h"
#include "profiles/windows_folder.h"
#include "util/memory_table.h"

#include <QDialog>
#include <QString>

#include <deque>
#include <functional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace nfp {

class TZeltraBrowser;
class TF_Importar;

inline constexpr const char* kImportarCaption = "Importar Perfis";
inline constexpr const char* kImportNoProfiles =
    "Nenhum perfil encontrado...\r\rO arquivo não tem nenhuma chave \"...\\Zeltra\\\" seguida de um C.N.P.J. "
    "(14 dígitos).";
inline constexpr const char* kImportNoBase = "Informe a Pasta base...";
inline constexpr const char* kImportNothingTicked = "Nenhum perfil marcado para importar...";
// Exports of profiles are small; a bigger file is some other export.
inline constexpr qint64 kImportLargestFile = 64 * 1024 * 1024;

// Column texts of the list.
inline constexpr const char* kSituacaoNovo = "Novo";
inline constexpr const char* kSituacaoCadastrado = "Já cadastrado";
inline constexpr const char* kSituacaoRepetido = "Repetido no arquivo";
inline constexpr const char* kSituacaoImportado = "Importado";

// The folders on this computer, for the letter case of existing ones.
std::vector<std::string> SubfolderNamesOnDisk(const std::string& folder);

// Test and automation hook: while an instance lives, each time the import
// dialog is shown modally the next queued action runs inside its loop.
class ScriptedImportDialog {
 public:
  using Action = std::function<void(TF_Importar&)>;
  ScriptedImportDialog();
  explicit ScriptedImportDialog(std::initializer_list<Action> actions);
  ~ScriptedImportDialog();
  ScriptedImportDialog(const ScriptedImportDialog&) = delete;
  ScriptedImportDialog& operator=(const ScriptedImportDialog&) = delete;

  void Push(Action action) { actions_.push_back(std::move(action)); }
  std::size_t Pending() const { return actions_.size(); }

  static ScriptedImportDialog* Current();
  bool TakeAction(Action& action);

 private:
  std::deque<Action> actions_;
  ScriptedImportDialog* outer_;
};

class TF_Importar : public QDialog {
  Q_OBJECT
 public:
  // `registros` is CDS_Registros; it and the store must outlive the dialog.
  TF_Importar(MemoryTable& registros, ProfileStore& store, std::vector<RegistryProfile> found,
              const QString& fileName, SubfolderNames disk = SubfolderNamesOnDisk,
              QWidget* parent = nullptr);

  // Reads the export at `path` and, when it holds profiles, shows the
  // dialog for them; a file that cannot be read, is no export or holds no
  // profile is told in a message and changes nothing. The number of
  // profiles stored.
  static int ImportFile(MemoryTable& registros, ProfileStore& store, const QString& path,
                        QWidget* parent = nullptr);

  void BitBtn_BaseClick();
  void BitBtn_ImportarClick();
  void BitBtn_SairClick();

  // Shows the dialog modally (running a scripted action, if one is queued).
  void Run();

  QLabel* Label_Arquivo = nullptr;
  QTreeWidget* ListView_Perfis = nullptr;
  QLabel* Label_Base = nullptr;
  QLineEdit* Edit_Base = nullptr;
  QPushButton* BitBtn_Base = nullptr;
  QPushButton* BitBtn_Importar = nullptr;
  QPushButton* BitBtn_Sair = nullptr;
  TZeltraBrowser* ZeltraBrowser = nullptr;

  // Columns of ListView_Perfis; the first holds the tick.
  enum Column { ColCnpj, ColUsuario, ColTipo, ColWindows, ColPasta, ColSituacao, ColumnCount };

  QTreeWidgetItem* Item(int row) const;
  bool Ticked(int row) const;
  void SetTicked(int row, bool ticked);
  // The folder a row's profile would be stored with, for the base as typed.
  QString MappedFolder(int row) const;
  int Imported() const { return imported_; }

 private:
  void UpdateFolders();

  MemoryTable& registros_;
  ProfileStore& store_;
  std::vector<RegistryProfile> found_;
  SubfolderNames disk_;
  int imported_ = 0;
};

}  // namespace nfp
