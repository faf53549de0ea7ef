// Qt's own dialogs in Portuguese once the program's translations are in.
#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>

#include <gtest/gtest.h>

#include <memory>

namespace nfp {
namespace {

QString CancelOfFileDialog()
{
    QFileDialog dialog(nullptr, QStringLiteral("Selecionar"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* box = dialog.findChild<QDialogButtonBox*>();
    return box && box->button(QDialogButtonBox::Cancel) ? box->button(QDialogButtonBox::Cancel)->text() : QString();
}

QString CancelOfMessageBox()
{
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::Cancel);
    return box.button(QMessageBox::Cancel)->text();
}

TEST(QtTranslations, StandardDialogsSpeakPortuguese)
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    ASSERT_TRUE(QFileInfo::exists(folder + QStringLiteral("/qtbase_pt_BR.qm")))
        << "qtbase_pt_BR.qm is missing: scripts/install-deps.sh installs qt6-translations-l10n";
    const std::unique_ptr<QTranslator> translator(InstallQtTranslations());
    ASSERT_NE(translator, nullptr);

    EXPECT_EQ(CancelOfFileDialog(), QStringLiteral("Cancelar"));
    EXPECT_EQ(CancelOfMessageBox(), QStringLiteral("Cancelar"));
    QLineEdit field;
    const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    QStringList captions;
    for (const QAction* action : menu->actions())
        captions << action->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
    EXPECT_TRUE(captions.contains(QStringLiteral("Colar"))) << captions.join(QStringLiteral(", ")).toStdString();

    QCoreApplication::removeTranslator(translator.get());
}

TEST(QtTranslations, MissingFileLeavesQtsOwnTexts)
{
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    EXPECT_EQ(InstallQtTranslations(empty.path()), nullptr);
    EXPECT_EQ(CancelOfFileDialog(), QStringLiteral("Cancel"));
}

} // namespace
} // namespace nfp
