#pragma once
// The profile dialog: a new taxpayer profile is entered here for a CNPJ the
// add operation supplies, or the current profile is changed in place; either
// is stored whole and listed on Confirma.

#include "profiles/profile_operations.h"
#include "profiles/profile_store.h"
#include "util/memory_table.h"

#include <QDialog>
#include <QString>

#include <deque>
#include <functional>
#include <optional>
#include <string>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace nfp {

class TZeltraBrowser;
class TF_Registro;

// Texts of the add operation.
inline constexpr const char* kRegistroCaption = "Cadastro de Dados do Contribuinte";
inline constexpr const char* kRegistroEditCaption = "Alteração de Dados do Contribuinte";
inline constexpr const char* kCnpjPromptTitle = "Novo Registro";
inline constexpr const char* kCnpjPromptLabel = "C.N.P.J. do novo registro (14 dígitos):";
inline constexpr const char* kCnpjInvalid =
    "C.N.P.J. Inválido...\r\rInforme os 14 dígitos do C.N.P.J., com os dígitos verificadores "
    "corretos.";
inline constexpr const char* kCnpjAlreadyListed = "C.N.P.J. já Cadastrado...";
inline constexpr const char* kNoFolderChosen = "Nenhuma Pasta Selecionada...";
inline constexpr const char* kFolderTooLong =
    "Caminho (Pasta) muito longo...\r\rO caminho pode ter no máximo 150 caracteres, incluindo a "
    "barra final.";
// The widest folder the profile list holds, its trailing "/" included.
inline constexpr int kFolderWidth = 150;
inline constexpr const char* kPastaHint =
    "Seleciona a Pasta onde estará os arquivos a serem enviados...";

// The folder with exactly one trailing "/" ("/" for an empty folder);
// letter case is kept, file names being case-sensitive here.
std::string FolderWithTrailingSlash(std::string_view folder);

// Test and automation hook for the CNPJ question of the add operation:
// while an instance lives, queued answers replace the input dialog
// (std::nullopt answers as a cancel); with the queue empty the dialog shows.
class ScriptedCnpjAnswers {
 public:
  ScriptedCnpjAnswers();
  explicit ScriptedCnpjAnswers(std::initializer_list<std::optional<QString>> answers);
  ~ScriptedCnpjAnswers();
  ScriptedCnpjAnswers(const ScriptedCnpjAnswers&) = delete;
  ScriptedCnpjAnswers& operator=(const ScriptedCnpjAnswers&) = delete;

  void Push(std::optional<QString> answer) { answers_.push_back(std::move(answer)); }
  int Asked() const { return asked_; }
  std::size_t Pending() const { return answers_.size(); }

  static ScriptedCnpjAnswers* Current();
  bool TakeAnswer(std::optional<QString>& answer);

 private:
  std::deque<std::optional<QString>> answers_;
  int asked_ = 0;
  ScriptedCnpjAnswers* outer_;
};

// Test and automation hook for the dialog itself: while an instance lives,
// each time the dialog is shown modally the next queued action runs inside
// its loop (to fill fields and press Confirma or Sair). With the queue empty
// the user works the dialog.
class ScriptedProfileDialog {
 public:
  using Action = std::function<void(TF_Registro&)>;
  ScriptedProfileDialog();
  explicit ScriptedProfileDialog(std::initializer_list<Action> actions);
  ~ScriptedProfileDialog();
  ScriptedProfileDialog(const ScriptedProfileDialog&) = delete;
  ScriptedProfileDialog& operator=(const ScriptedProfileDialog&) = delete;

  void Push(Action action) { actions_.push_back(std::move(action)); }
  std::size_t Pending() const { return actions_.size(); }

  static ScriptedProfileDialog* Current();
  bool TakeAction(Action& action);

 private:
  std::deque<Action> actions_;
  ScriptedProfileDialog* outer_;
};

// Created hidden once, next to the main window, and reused for every
// addition and change. `registros` is CDS_Registros; both must outlive the
// dialog.
class TF_Registro : public QDialog {
  Q_OBJECT
 public:
  TF_Registro(MemoryTable& registros, ProfileStore& store, QWidget* parent = nullptr);

  // The add-profile button's operation: asks for the CNPJ, refuses one that
  // is not valid or is already listed (the list then moves to it), and
  // otherwise opens the dialog for it. True when a profile was added.
  bool AddProfile();
  // The same for a CNPJ already read (14 digits); no question is asked.
  bool AddProfile(const std::string& cnpj);
  // Opens the dialog on the current profile, filled as it is stored (as it
  // is listed when its key has gone): the CNPJ stays, everything else may
  // change. Confirma stores the whole profile, its send mark as listed, and
  // updates its row, which stays current. True when it was stored.
  bool EditProfile();

  // Handlers, public so tests drive them as the buttons do.
  void BitBtn_PastaClick();
  void BitBtn_ConfirmaClick();
  void BitBtn_SairClick();

  // Controls.
  QGroupBox* GroupBox_Login = nullptr;
  QLabel* Label_CNPJ = nullptr;
  QLineEdit* Edit_CNPJ = nullptr;
  QLabel* Label_Usuario = nullptr;
  QLineEdit* Edit_Usuario = nullptr;
  QLabel* Label_Senha = nullptr;
  QLineEdit* Edit_Senha = nullptr;
  QGroupBox* RadioGroup_Tipo = nullptr;
  QLabel* Label1 = nullptr;
  QPushButton* BitBtn_Pasta = nullptr;
  QLineEdit* Edit_Caminho = nullptr;
  QPushButton* BitBtn_Confirma = nullptr;
  QPushButton* BitBtn_Sair = nullptr;
  TZeltraBrowser* ZeltraBrowser = nullptr;

  // Chosen position of RadioGroup_Tipo: 0 Contribuinte, 1 Contabilistas,
  // 2 Consumidores; -1 none (SetTipoIndex with another value chooses none).
  int TipoIndex() const;
  void SetTipoIndex(int index);
  QRadioButton* TipoItem(int index) const;

  // Whether the last opening ended with a stored profile.
  bool Added() const { return added_; }
  // Whether the dialog is open on an existing profile.
  bool Editing() const { return editing_.has_value(); }

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void FormShow();
  // Shows the dialog modally for `cnpj`, new or (with `editing`) existing.
  bool Run(const std::string& cnpj, std::optional<ProfileValues> editing);

  MemoryTable& registros_;
  ProfileStore& store_;
  QButtonGroup* tipo_ = nullptr;
  bool added_ = false;
  // The profile being changed, as the dialog was filled with it.
  std::optional<ProfileValues> editing_;
};

}  // namespace nfp
