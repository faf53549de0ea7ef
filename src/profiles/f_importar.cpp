#include "profiles/f_importar.h"

#include "app/local_message_dlg.h"
#include "profiles/f_registro.h"
#include "profiles/profile_list.h"
#include "profiles/profile_operations.h"
#include "util/text_codec.h"
#include "widgets/zeltra_browser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <filesystem>
#include <set>

namespace nfp {
namespace {

ScriptedImportDialog*& CurrentImportScript() {
  static ScriptedImportDialog* current = nullptr;
  return current;
}

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

void Tell(const QString& text, MessageKind kind) {
  LocalMessageDlg(text, kind, MsgButton::OK, MsgResult::Ok, 0);
}

class MiddleElidingDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->textElideMode = Qt::ElideMiddle;
  }
};

QString Profiles(int n) {
  return n == 1 ? QStringLiteral("1 perfil importado.") : QStringLiteral("%1 perfis importados.").arg(n);
}

}  // namespace

// File names here are bytes, UTF-8 by convention, as the paths given.
std::vector<std::string> SubfolderNamesOnDisk(const std::string& folder) {
  namespace fs = std::filesystem;
  std::vector<std::string> names;
  std::error_code ec;
  fs::directory_iterator it(fs::path(folder), ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code kindError;
    if (it->is_directory(kindError)) names.push_back(it->path().filename().string());
  }
  return names;
}

// --- hook -------------------------------------------------------------------

ScriptedImportDialog::ScriptedImportDialog() : outer_(CurrentImportScript()) {
  CurrentImportScript() = this;
}
ScriptedImportDialog::ScriptedImportDialog(std::initializer_list<Action> actions)
    : ScriptedImportDialog() {
  actions_.assign(actions.begin(), actions.end());
}
ScriptedImportDialog::~ScriptedImportDialog() { CurrentImportScript() = outer_; }
ScriptedImportDialog* ScriptedImportDialog::Current() { return CurrentImportScript(); }
bool ScriptedImportDialog::TakeAction(Action& action) {
  if (actions_.empty()) return false;
  action = std::move(actions_.front());
  actions_.pop_front();
  return true;
}

// --- the dialog -------------------------------------------------------------

TF_Importar::TF_Importar(MemoryTable& registros, ProfileStore& store,
                         std::vector<RegistryProfile> found, const QString& fileName,
                         SubfolderNames disk, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      registros_(registros),
      store_(store),
      found_(std::move(found)),
      disk_(std::move(disk)) {
  setObjectName(QStringLiteral("F_Importar"));
  setWindowTitle(QString::fromUtf8(kImportarCaption));
  resize(940, 380);

  Label_Arquivo = new QLabel(
      QStringLiteral("Perfis encontrados em %1 (os já cadastrados só são substituídos se marcados):")
          .arg(fileName),
      this);
  Label_Arquivo->setObjectName(QStringLiteral("Label_Arquivo"));

  ListView_Perfis = new QTreeWidget(this);
  ListView_Perfis->setObjectName(QStringLiteral("ListView_Perfis"));
  ListView_Perfis->setRootIsDecorated(false);
  ListView_Perfis->setUniformRowHeights(true);
  ListView_Perfis->setAllColumnsShowFocus(true);
  // Folders are told apart by their ends.
  for (const int c : {ColWindows, ColPasta})
    ListView_Perfis->setItemDelegateForColumn(c, new MiddleElidingDelegate(ListView_Perfis));
  ListView_Perfis->setColumnCount(ColumnCount);
  ListView_Perfis->setHeaderLabels({QStringLiteral("C.N.P.J."), QStringLiteral("Usuário"),
                                    QStringLiteral("Tipo"), QStringLiteral("Pasta no Windows"),
                                    QStringLiteral("Pasta neste computador"),
                                    QStringLiteral("Situação")});
  const int widths[] = {130, 100, 90, 120, 200};
  for (int c = 0; c < ColSituacao; ++c) ListView_Perfis->setColumnWidth(c, widths[c]);

  const auto listed = [this](const std::string& cnpj) {
    const int field = registros_.FieldIndex("CNPJ");
    for (int row = 0; row < registros_.RecordCount(); ++row)
      if (registros_.TextAt(row, field) == cnpj) return true;
    return false;
  };
  for (const RegistryProfile& p : found_) {
    auto* item = new QTreeWidgetItem(ListView_Perfis);
    item->setText(ColCnpj, Q(p.cnpj));
    item->setText(ColUsuario, Q(p.usuario));
    if (p.tipo) item->setText(ColTipo, Q(CategoryCellText(*p.tipo)));
    item->setText(ColWindows, Q(p.caminho));
    item->setToolTip(ColWindows, Q(p.keyPath));
    if (!p.problems.empty()) {
      QStringList problems;
      for (const std::string& problem : p.problems) problems << Q(problem);
      item->setText(ColSituacao, QStringLiteral("Não pode ser importado: ") + problems.join(QStringLiteral("; ")));
      item->setToolTip(ColSituacao, problems.join(QLatin1Char('\n')));
      // An empty box, which cannot be ticked, keeps the columns aligned.
      item->setCheckState(ColCnpj, Qt::Unchecked);
      item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
      continue;
    }
    const bool existing = listed(p.cnpj);
    item->setText(ColSituacao, QString::fromUtf8(existing    ? kSituacaoCadastrado
                                                 : p.repeated ? kSituacaoRepetido
                                                              : kSituacaoNovo));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(ColCnpj, existing || p.repeated ? Qt::Unchecked : Qt::Checked);
    if (existing)
      item->setToolTip(ColSituacao, QStringLiteral("Marcado, substitui o perfil cadastrado pelo do arquivo."));
  }

  ListView_Perfis->resizeColumnToContents(ColCnpj);

  Label_Base = new QLabel(QStringLiteral("Pasta base:"), this);
  Label_Base->setObjectName(QStringLiteral("Label_Base"));
  Edit_Base = new QLineEdit(QDir::homePath() + QLatin1Char('/'), this);
  Edit_Base->setObjectName(QStringLiteral("Edit_Base"));
  Edit_Base->setToolTip(QStringLiteral(
      "A pasta onde estão as pastas copiadas do Windows: C:\\NFP\\LOJA1\\ passa a ser esta pasta + NFP/LOJA1/"));
  Label_Base->setBuddy(Edit_Base);
  BitBtn_Base = new QPushButton(this);
  BitBtn_Base->setObjectName(QStringLiteral("BitBtn_Base"));
  BitBtn_Base->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
  BitBtn_Base->setToolTip(QStringLiteral("Seleciona a Pasta base..."));
  BitBtn_Base->setCursor(Qt::PointingHandCursor);
  BitBtn_Base->setAutoDefault(false);

  BitBtn_Importar = new QPushButton(style()->standardIcon(QStyle::SP_DialogApplyButton),
                                    QStringLiteral("Importar"), this);
  BitBtn_Importar->setObjectName(QStringLiteral("BitBtn_Importar"));
  BitBtn_Importar->setCursor(Qt::PointingHandCursor);
  BitBtn_Importar->setAutoDefault(false);
  BitBtn_Sair = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton),
                                QStringLiteral("Sair"), this);
  BitBtn_Sair->setObjectName(QStringLiteral("BitBtn_Sair"));
  BitBtn_Sair->setCursor(Qt::PointingHandCursor);
  BitBtn_Sair->setAutoDefault(false);

  ZeltraBrowser = new TZeltraBrowser(this);
  ZeltraBrowser->setObjectName(QStringLiteral("ZeltraBrowser"));
  ZeltraBrowser->Title = QStringLiteral("Localizar a pasta onde estão as pastas copiadas do Windows...");
  ZeltraBrowser->Caption = QStringLiteral("Pasta base");

  auto* baseRow = new QHBoxLayout;
  baseRow->addWidget(Label_Base);
  baseRow->addWidget(Edit_Base, 1);
  baseRow->addWidget(BitBtn_Base);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(BitBtn_Importar);
  buttons->addWidget(BitBtn_Sair);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label_Arquivo);
  layout->addWidget(ListView_Perfis, 1);
  layout->addLayout(baseRow);
  layout->addLayout(buttons);

  connect(Edit_Base, &QLineEdit::textChanged, this, [this] { UpdateFolders(); });
  connect(BitBtn_Base, &QPushButton::clicked, this, [this] { BitBtn_BaseClick(); });
  connect(BitBtn_Importar, &QPushButton::clicked, this, [this] { BitBtn_ImportarClick(); });
  connect(BitBtn_Sair, &QPushButton::clicked, this, [this] { BitBtn_SairClick(); });
  UpdateFolders();
}

int TF_Importar::ImportFile(MemoryTable& registros, ProfileStore& store, const QString& path,
                            QWidget* parent) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    Tell(QStringLiteral("Não foi possível ler o arquivo \"%1\"...\r\r%2").arg(path, file.errorString()),
         MessageKind::Error);
    return 0;
  }
  if (file.size() > kImportLargestFile) {
    Tell(QStringLiteral("O arquivo \"%1\" é grande demais para uma exportação de perfis (mais de 64 MB)..."
                        "\r\rNo Editor do Registro, exporte só a chave "
                        "HKEY_CURRENT_USER\\Software\\Microsoft\\Zeltra.")
             .arg(path),
         MessageKind::Error);
    return 0;
  }
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    Tell(QStringLiteral("Não foi possível ler o arquivo \"%1\"...\r\r%2").arg(path, file.errorString()),
         MessageKind::Error);
    return 0;
  }
  std::vector<RegistryProfile> found;
  try {
    found = FindRegistryProfiles(
        ParseRegistryExport(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
  } catch (const RegistryExportError& e) {
    Tell(QString::fromUtf8(e.what()), MessageKind::Error);
    return 0;
  }
  if (found.empty()) {
    Tell(QString::fromUtf8(kImportNoProfiles), MessageKind::Warning);
    return 0;
  }
  TF_Importar dialog(registros, store, std::move(found), QFileInfo(path).fileName(),
                     SubfolderNamesOnDisk, parent);
  dialog.Run();
  return dialog.Imported();
}

void TF_Importar::Run() {
  ScriptedImportDialog::Action action;
  if (ScriptedImportDialog* script = ScriptedImportDialog::Current();
      script != nullptr && script->TakeAction(action))
    QTimer::singleShot(0, this, [this, action] { action(*this); });
  exec();
}

QTreeWidgetItem* TF_Importar::Item(int row) const { return ListView_Perfis->topLevelItem(row); }

bool TF_Importar::Ticked(int row) const {
  return Item(row)->data(ColCnpj, Qt::CheckStateRole).toInt() == Qt::Checked;
}

void TF_Importar::SetTicked(int row, bool ticked) {
  if (Item(row)->flags() & Qt::ItemIsUserCheckable)
    Item(row)->setCheckState(ColCnpj, ticked ? Qt::Checked : Qt::Unchecked);
}

QString TF_Importar::MappedFolder(int row) const {
  const std::string base = Edit_Base->text().toStdString();
  if (base.empty()) return {};
  return Q(MapWindowsFolder(found_[static_cast<std::size_t>(row)].caminho, base, disk_));
}

void TF_Importar::UpdateFolders() {
  for (int row = 0; row < ListView_Perfis->topLevelItemCount(); ++row) {
    Item(row)->setText(ColPasta, MappedFolder(row));
    Item(row)->setToolTip(ColPasta, MappedFolder(row));
  }
}

void TF_Importar::BitBtn_BaseClick() {
  if (!ZeltraBrowser->Execute()) return;
  Edit_Base->setText(QString::fromStdString(FolderWithTrailingSlash(ZeltraBrowser->Directory.toStdString())));
}

void TF_Importar::BitBtn_ImportarClick() {
  if (Edit_Base->text().isEmpty()) {
    Tell(QString::fromUtf8(kImportNoBase), MessageKind::Warning);
    Edit_Base->setFocus(Qt::OtherFocusReason);
    return;
  }
  std::vector<int> rows;
  for (int row = 0; row < ListView_Perfis->topLevelItemCount(); ++row)
    if (Ticked(row)) rows.push_back(row);
  if (rows.empty()) {
    Tell(QString::fromUtf8(kImportNothingTicked), MessageKind::Warning);
    return;
  }

  int imported = 0;
  QStringList refused;
  std::set<std::string> done;
  for (const int row : rows) {
    const RegistryProfile& p = found_[static_cast<std::size_t>(row)];
    QTreeWidgetItem* item = Item(row);
    // Only profiles read whole, with their category, can be ticked.
    ProfileValues profile{p.cnpj, p.usuario, p.senha, p.tipo.value_or(0), MappedFolder(row).toStdString(), true};
    std::string reason;
    const bool existing = registros_.Locate("CNPJ", FieldValue{p.cnpj});
    if (done.contains(p.cnpj)) {
      reason = "C.N.P.J. repetido no arquivo, já importado acima.";
    } else if (Utf8Length(profile.caminho) > static_cast<std::size_t>(kFolderWidth)) {
      reason = "Caminho (Pasta) muito longo: no máximo 150 caracteres, incluindo a barra final.";
    } else {
      // A profile already listed keeps its mark and its place.
      if (existing) profile.enviar = registros_.FieldText("ENVIAR") == "S";
      try {
        SaveProfile(store_, profile);
      } catch (const std::exception& e) {
        reason = e.what();
      }
    }
    if (!reason.empty()) {
      refused << QStringLiteral("C.N.P.J. %1: %2").arg(Q(p.cnpj), Q(reason));
      item->setText(ColSituacao, QStringLiteral("Não importado: ") + Q(reason));
      item->setToolTip(ColSituacao, Q(reason));
      continue;
    }
    if (existing)
      registros_.Edit();
    else
      registros_.Append();
    SetProfileRow(registros_, profile);
    registros_.Post();
    done.insert(p.cnpj);
    ++imported;
    item->setText(ColSituacao, QString::fromUtf8(kSituacaoImportado));
    // Done: greyed, and no second import on another click.
    item->setCheckState(ColCnpj, Qt::Unchecked);
    item->setFlags(item->flags() & ~(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled));
  }
  imported_ += imported;
  if (refused.isEmpty()) {
    Tell(Profiles(imported), MessageKind::Information);
    accept();
    return;
  }
  // The refused ones stay ticked, with their reasons, for another try.
  Tell(Profiles(imported) + QStringLiteral("\r\rNão importados:\r") + refused.join(QLatin1Char('\r')),
       MessageKind::Warning);
}

void TF_Importar::BitBtn_SairClick() { reject(); }

}  // namespace nfp
