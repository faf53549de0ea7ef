#include "profiles/f_registro.h"

#include "app/local_message_dlg.h"
#include "profiles/cnpj_check.h"
#include "profiles/profile_list.h"
#include "profiles/profile_operations.h"
#include "widgets/zeltra_browser.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QGuiApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include <algorithm>

namespace nfp {
namespace {

ScriptedCnpjAnswers*& CurrentCnpjScript() {
  static ScriptedCnpjAnswers* current = nullptr;
  return current;
}

ScriptedProfileDialog*& CurrentDialogScript() {
  static ScriptedProfileDialog* current = nullptr;
  return current;
}

QFont PixelFont(const char* family, int pixels) {
  QFont f(QString::fromLatin1(family));
  f.setPixelSize(pixels);
  return f;
}

std::string Utf8(const QString& text) { return text.toStdString(); }

QLineEdit* MakeEdit(QWidget* parent, const char* name, QRect bounds, const QFont& font) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setGeometry(bounds);
  edit->setFont(font);
  return edit;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QRect bounds) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(bounds);
  // Labels grow with their text, so a wider substitute font does not clip them.
  label->resize(std::max(bounds.width(), label->sizeHint().width()), bounds.height());
  return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, QRect bounds,
                        QStyle::StandardPixmap picture) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(bounds);
  button->setIcon(parent->style()->standardIcon(picture));
  button->setCursor(Qt::PointingHandCursor);
  // Enter presses nothing in this dialog.
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

}  // namespace

std::string FolderWithTrailingSlash(std::string_view folder) {
  std::string out(folder);
  while (!out.empty() && out.back() == '/') out.pop_back();
  out += '/';
  return out;
}

// --- hooks ------------------------------------------------------------------

ScriptedCnpjAnswers::ScriptedCnpjAnswers() : outer_(CurrentCnpjScript()) {
  CurrentCnpjScript() = this;
}
ScriptedCnpjAnswers::ScriptedCnpjAnswers(std::initializer_list<std::optional<QString>> answers)
    : ScriptedCnpjAnswers() {
  answers_.assign(answers.begin(), answers.end());
}
ScriptedCnpjAnswers::~ScriptedCnpjAnswers() { CurrentCnpjScript() = outer_; }
ScriptedCnpjAnswers* ScriptedCnpjAnswers::Current() { return CurrentCnpjScript(); }
bool ScriptedCnpjAnswers::TakeAnswer(std::optional<QString>& answer) {
  ++asked_;
  if (answers_.empty()) return false;
  answer = std::move(answers_.front());
  answers_.pop_front();
  return true;
}

ScriptedProfileDialog::ScriptedProfileDialog() : outer_(CurrentDialogScript()) {
  CurrentDialogScript() = this;
}
ScriptedProfileDialog::ScriptedProfileDialog(std::initializer_list<Action> actions)
    : ScriptedProfileDialog() {
  actions_.assign(actions.begin(), actions.end());
}
ScriptedProfileDialog::~ScriptedProfileDialog() { CurrentDialogScript() = outer_; }
ScriptedProfileDialog* ScriptedProfileDialog::Current() { return CurrentDialogScript(); }
bool ScriptedProfileDialog::TakeAction(Action& action) {
  if (actions_.empty()) return false;
  action = std::move(actions_.front());
  actions_.pop_front();
  return true;
}

// --- the dialog -------------------------------------------------------------

TF_Registro::TF_Registro(MemoryTable& registros, ProfileStore& store, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      registros_(registros),
      store_(store) {
  setObjectName(QStringLiteral("F_Registro"));
  setWindowTitle(QString::fromUtf8(kRegistroCaption));
  setFont(PixelFont("Tahoma", 11));
  setFixedSize(435, 183);

  GroupBox_Login = new QGroupBox(QStringLiteral("Informações p/ Login:"), this);
  GroupBox_Login->setObjectName(QStringLiteral("GroupBox_Login"));
  GroupBox_Login->setGeometry(7, 7, 421, 134);
  QWidget* g = GroupBox_Login;

  Label_CNPJ = MakeLabel(g, "Label_CNPJ", QStringLiteral("C.N.P.J.:"), {7, 16, 45, 13});
  Edit_CNPJ = MakeEdit(g, "Edit_CNPJ", {7, 28, 127, 22}, PixelFont("Verdana", 13));
  Edit_CNPJ->setReadOnly(true);
  Edit_CNPJ->setMaxLength(14);
  Edit_CNPJ->setFocusPolicy(Qt::ClickFocus);

  Label_Usuario = MakeLabel(g, "Label_Usuario", QStringLiteral("Usuário:"), {147, 16, 40, 13});
  Edit_Usuario = MakeEdit(g, "Edit_Usuario", {147, 28, 127, 22}, PixelFont("MS Sans Serif", 13));

  Label_Senha = MakeLabel(g, "Label_Senha", QStringLiteral("Senha:"), {147, 51, 34, 13});
  Edit_Senha = MakeEdit(g, "Edit_Senha", {147, 63, 127, 22}, PixelFont("Verdana", 13));
  Edit_Senha->setEchoMode(QLineEdit::Password);
  Edit_Senha->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 35; }"));

  RadioGroup_Tipo = new QGroupBox(QStringLiteral("Tipo:"), g);
  RadioGroup_Tipo->setObjectName(QStringLiteral("RadioGroup_Tipo"));
  RadioGroup_Tipo->setGeometry(287, 7, 127, 78);
  tipo_ = new QButtonGroup(this);
  const QString items[] = {QStringLiteral("Contribuinte"), QStringLiteral("Contabilistas"),
                           QStringLiteral("Consumidores")};
  for (int i = 0; i < 3; ++i) {
    auto* item = new QRadioButton(items[i], RadioGroup_Tipo);
    item->setObjectName(QStringLiteral("RadioGroup_Tipo_%1").arg(i));
    item->setGeometry(8, 17 + i * 19, 113, 17);
    tipo_->addButton(item, i);
  }

  Label1 = MakeLabel(g, "Label1", QStringLiteral("Caminho (Pasta) do C.N.P.J.:"), {7, 86, 142, 13});
  BitBtn_Pasta = MakeButton(g, "BitBtn_Pasta", QString(), {7, 99, 29, 28}, QStyle::SP_DirOpenIcon);
  BitBtn_Pasta->setToolTip(QString::fromUtf8(kPastaHint));
  Edit_Caminho = MakeEdit(g, "Edit_Caminho", {42, 105, 372, 22}, PixelFont("Verdana", 13));
  // The typing limit; the trailing "/" may still take the folder past
  // what the list holds, which Confirma refuses.
  Edit_Caminho->setMaxLength(kFolderWidth);

  BitBtn_Confirma = MakeButton(this, "BitBtn_Confirma", QStringLiteral("Confirma"),
                               {252, 151, 85, 25}, QStyle::SP_DialogApplyButton);
  BitBtn_Sair = MakeButton(this, "BitBtn_Sair", QStringLiteral("Sair"), {343, 151, 85, 25},
                           QStyle::SP_DialogCloseButton);

  setTabOrder(Edit_Usuario, Edit_Senha);
  setTabOrder(Edit_Senha, TipoItem(0));
  setTabOrder(TipoItem(0), TipoItem(1));
  setTabOrder(TipoItem(1), TipoItem(2));
  setTabOrder(TipoItem(2), BitBtn_Pasta);
  setTabOrder(BitBtn_Pasta, Edit_Caminho);
  setTabOrder(Edit_Caminho, BitBtn_Confirma);
  setTabOrder(BitBtn_Confirma, BitBtn_Sair);

  ZeltraBrowser = new TZeltraBrowser(this);
  ZeltraBrowser->setObjectName(QStringLiteral("ZeltraBrowser"));
  ZeltraBrowser->Title = QStringLiteral("Localizar pastas com arquivos da NFP...");
  ZeltraBrowser->Caption = QStringLiteral("Localizar Pastas...");

  connect(BitBtn_Pasta, &QPushButton::clicked, this, [this] { BitBtn_PastaClick(); });
  connect(BitBtn_Confirma, &QPushButton::clicked, this, [this] { BitBtn_ConfirmaClick(); });
  connect(BitBtn_Sair, &QPushButton::clicked, this, [this] { BitBtn_SairClick(); });
  SetTipoIndex(0);
}

QRadioButton* TF_Registro::TipoItem(int index) const {
  return qobject_cast<QRadioButton*>(tipo_->button(index));
}

int TF_Registro::TipoIndex() const { return tipo_->checkedId(); }

void TF_Registro::SetTipoIndex(int index) {
  if (QAbstractButton* b = tipo_->button(index)) {
    b->setChecked(true);
    return;
  }
  // An exclusive group keeps one button checked: let go of it for a moment.
  tipo_->setExclusive(false);
  for (QAbstractButton* b : tipo_->buttons()) b->setChecked(false);
  tipo_->setExclusive(true);
}

bool TF_Registro::AddProfile() {
  std::optional<QString> typed;
  bool answered = false;
  if (ScriptedCnpjAnswers* script = ScriptedCnpjAnswers::Current())
    answered = script->TakeAnswer(typed);
  if (!answered) {
    QInputDialog input(parentWidget());
    input.setWindowTitle(QString::fromUtf8(kCnpjPromptTitle));
    input.setLabelText(QString::fromUtf8(kCnpjPromptLabel));
    input.setInputMode(QInputDialog::TextInput);
    input.setOkButtonText(QStringLiteral("&Ok"));
    input.setCancelButtonText(QStringLiteral("&Cancela"));
    if (input.exec() == QDialog::Accepted) typed = input.textValue();
  }
  if (!typed.has_value()) return false;  // the user gave up
  const std::optional<std::string> cnpj = ReadCnpj(Utf8(*typed));
  if (!cnpj.has_value()) {
    LocalMessageDlg(kCnpjInvalid, MessageKind::Error, MsgButton::OK, MsgResult::Ok, 0);
    return false;
  }
  return AddProfile(*cnpj);
}

bool TF_Registro::AddProfile(const std::string& cnpj) {
  if (registros_.Locate("CNPJ", FieldValue{cnpj})) {
    LocalMessageDlg(kCnpjAlreadyListed, MessageKind::Error, MsgButton::OK, MsgResult::Ok, 0);
    return false;
  }
  return Run(cnpj, std::nullopt);
}

bool TF_Registro::EditProfile() {
  if (registros_.RecordCount() == 0) return false;
  const std::string cnpj = registros_.FieldText("CNPJ");
  std::optional<ProfileValues> stored = ReadProfile(store_, cnpj);
  if (!stored) {
    // Removed elsewhere meanwhile: what the list shows, stored again on Confirma.
    stored = ProfileValues{cnpj,
                           registros_.FieldText("USUARIO"),
                           registros_.FieldText("SENHA"),
                           registros_.FieldInt("TIPO"),
                           registros_.FieldText("CAMINHO"),
                           registros_.FieldText("ENVIAR") == "S"};
  }
  return Run(cnpj, std::move(stored));
}

bool TF_Registro::Run(const std::string& cnpj, std::optional<ProfileValues> editing) {
  editing_ = std::move(editing);
  setWindowTitle(QString::fromUtf8(editing_ ? kRegistroEditCaption : kRegistroCaption));
  Edit_CNPJ->setText(QString::fromStdString(cnpj));
  added_ = false;
  ScriptedProfileDialog::Action action;
  if (ScriptedProfileDialog* script = ScriptedProfileDialog::Current();
      script != nullptr && script->TakeAction(action))
    QTimer::singleShot(0, this, [this, action] { action(*this); });
  exec();
  editing_.reset();
  return added_;
}

void TF_Registro::FormShow() {
  if (editing_) {
    Edit_Usuario->setText(QString::fromStdString(editing_->usuario));
    Edit_Senha->setText(QString::fromStdString(editing_->senha));
    SetTipoIndex(CategoryPosition(editing_->tipo));
    Edit_Caminho->setText(QString::fromStdString(editing_->caminho));
  } else {
    Edit_Usuario->clear();
    Edit_Senha->clear();
    SetTipoIndex(0);
    Edit_Caminho->clear();
  }
  Edit_Usuario->setFocus(Qt::OtherFocusReason);
}

void TF_Registro::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect s = screen->availableGeometry();
    move(s.x() + (s.width() - frameGeometry().width()) / 2,
         s.y() + (s.height() - frameGeometry().height()) / 2);
  }
  FormShow();
}

void TF_Registro::keyPressEvent(QKeyEvent* event) {
  // No default and no cancel button: Enter and Esc press nothing.
  switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      event->accept();
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

void TF_Registro::BitBtn_PastaClick() {
  if (!ZeltraBrowser->Execute()) {
    LocalMessageDlg(kNoFolderChosen, MessageKind::Warning, MsgButton::OK, MsgResult::Ok, 0);
    return;
  }
  // A folder the list could not hold whole would point elsewhere once cut.
  if (ZeltraBrowser->Directory.size() + 1 > kFolderWidth) {
    LocalMessageDlg(kFolderTooLong, MessageKind::Warning, MsgButton::OK, MsgResult::Ok, 0);
    return;
  }
  Edit_Caminho->setText(ZeltraBrowser->Directory);
  BitBtn_Confirma->setFocus(Qt::OtherFocusReason);
}

void TF_Registro::BitBtn_ConfirmaClick() {
  const QString folder =
      QString::fromStdString(FolderWithTrailingSlash(Utf8(Edit_Caminho->text())));
  if (folder.size() > kFolderWidth) {
    LocalMessageDlg(kFolderTooLong, MessageKind::Error, MsgButton::OK, MsgResult::Ok, 0);
    return;
  }
  Edit_Caminho->setText(folder);
  ProfileValues profile;
  profile.cnpj = Utf8(Edit_CNPJ->text());
  profile.usuario = Utf8(Edit_Usuario->text());
  profile.senha = Utf8(Edit_Senha->text());
  // With no choice (a stored category below 0), a change keeps the stored one.
  profile.tipo = TipoIndex() >= 0 ? TipoIndex() : editing_ ? editing_->tipo : 0;
  profile.caminho = Utf8(Edit_Caminho->text());
  // The profile's row: the current one, unless something moved the table
  // meanwhile; gone with its profile, the stored one is listed again.
  const bool onRow = editing_ && (registros_.FieldText("CNPJ") == profile.cnpj ||
                                  registros_.Locate("CNPJ", FieldValue{profile.cnpj}));
  profile.enviar = onRow ? registros_.FieldText("ENVIAR") == "S" : !editing_ || editing_->enviar;
  try {
    SaveProfile(store_, profile);
  } catch (const std::exception& e) {
    // Nothing stored or listed; the values stay for the user to mend.
    LocalMessageDlg(QString::fromUtf8(e.what()), MessageKind::Error, MsgButton::OK, MsgResult::Ok,
                    0);
    return;
  }
  if (onRow)
    registros_.Edit();
  else
    registros_.Append();
  SetProfileRow(registros_, profile);
  registros_.Post();
  added_ = true;
  accept();
}

void TF_Registro::BitBtn_SairClick() { reject(); }

}  // namespace nfp
