#include "widgets/zeltra_browser.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace nfp {
namespace {

TEST(ZeltraBrowser, StartsAtHomeWithItsTexts) {
  const TZeltraBrowser browser;
  EXPECT_EQ(browser.Directory, QDir::homePath());
  EXPECT_EQ(browser.Title, QStringLiteral("Localizar arquivos ou pastas"));
  EXPECT_EQ(browser.Caption, QStringLiteral("Localizar"));
  EXPECT_EQ(browser.Root, TRootID::idDesktop);
  EXPECT_TRUE(browser.About.isEmpty());
}

TEST(ZeltraBrowser, TrailingSeparators) {
  struct Case {
    const char* in;
    const char* out;
  };
  for (const Case& c : {Case{"/home/ana/nfp/", "/home/ana/nfp"}, Case{"/home/ana//", "/home/ana"},
                        Case{"/home/ana", "/home/ana"}, Case{"/", "/"}, Case{"C:/", "C:/"},
                        Case{"C:/dados/", "C:/dados"}}) {
    EXPECT_EQ(WithoutTrailingSeparator(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
  }
}

TEST(ZeltraBrowser, ChoiceIsKeptAndReopenedAt) {
  TZeltraBrowser browser;
  browser.Title = QStringLiteral("Localizar pastas com arquivos da NFP...");
  browser.Caption = QStringLiteral("Localizar Pastas...");
  ScriptedFolderAnswers script{QStringLiteral("/dados/nfp/"), std::nullopt, QStringLiteral("/")};

  ASSERT_TRUE(browser.Execute());
  EXPECT_EQ(browser.Directory, QStringLiteral("/dados/nfp"));
  // Cancel leaves the folder as it was.
  EXPECT_FALSE(browser.Execute());
  EXPECT_EQ(browser.Directory, QStringLiteral("/dados/nfp"));
  ASSERT_TRUE(browser.Execute());
  EXPECT_EQ(browser.Directory, QStringLiteral("/"));

  ASSERT_EQ(script.Requests().size(), 3u);
  EXPECT_EQ(script.Requests()[0].directory, QDir::homePath());
  EXPECT_EQ(script.Requests()[0].title, browser.Title);
  EXPECT_EQ(script.Requests()[0].caption, browser.Caption);
  EXPECT_EQ(script.Requests()[0].root, QDir::rootPath());
  EXPECT_EQ(script.Requests()[1].directory, QStringLiteral("/dados/nfp"));
  EXPECT_EQ(script.Requests()[2].directory, QStringLiteral("/dados/nfp"));
}

TEST(ZeltraBrowser, TwoInstancesAreIndependent) {
  TZeltraBrowser a;
  TZeltraBrowser b;
  ScriptedFolderAnswers script{QStringLiteral("/a")};
  ASSERT_TRUE(a.Execute());
  EXPECT_EQ(a.Directory, QStringLiteral("/a"));
  EXPECT_EQ(b.Directory, QDir::homePath());
}

TEST(ZeltraBrowser, RootsMapToStandardPlaces) {
  EXPECT_EQ(RootFolderPath(TRootID::idDesktop), QDir::rootPath());
  EXPECT_EQ(RootFolderPath(TRootID::idDrives), QDir::rootPath());
  EXPECT_EQ(RootFolderPath(TRootID::idPersonal),
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
  EXPECT_EQ(RootFolderPath(TRootID::idDesktopDirectory),
            QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
  EXPECT_EQ(RootFolderPath(TRootID::idCommonDesktopDirectory),
            RootFolderPath(TRootID::idDesktopDirectory));
  EXPECT_EQ(RootFolderPath(TRootID::idCommonStartMenu), RootFolderPath(TRootID::idStartMenu));
  EXPECT_EQ(RootFolderPath(TRootID::idRecycleBin), QDir::homePath());
  EXPECT_EQ(RootFolderPath(TRootID::idPrinters), QDir::homePath());
}

// The real dialog: its texts, preselection and the folder it hands back.
TEST(ZeltraBrowser, RealDialogConfirmAndCancel) {
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  ASSERT_TRUE(QDir(tmp.path()).mkpath(QStringLiteral("Clientes/Loja")));
  const QString start = tmp.path() + QStringLiteral("/Clientes");
  const QString chosen = start + QStringLiteral("/Loja");

  TZeltraBrowser browser;
  browser.Directory = start;
  browser.Title = QStringLiteral("Localizar pastas com arquivos da NFP...");
  browser.Caption = QStringLiteral("Localizar Pastas...");

  QString seenTitle, seenLabel, seenDir;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    seenTitle = dialog->windowTitle();
    seenLabel = dialog->labelText(QFileDialog::LookIn);
    seenDir = dialog->directory().absolutePath();
    dialog->setDirectory(chosen);
    static_cast<QDialog*>(dialog)->accept();
  });
  ASSERT_TRUE(browser.Execute());
  EXPECT_EQ(seenTitle, browser.Caption);
  EXPECT_EQ(seenLabel, browser.Title);
  EXPECT_EQ(seenDir, QDir(start).absolutePath());
  EXPECT_EQ(browser.Directory, QDir(chosen).absolutePath());

  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->reject();
  });
  EXPECT_FALSE(browser.Execute());
  EXPECT_EQ(browser.Directory, QDir(chosen).absolutePath());
}

}  // namespace
}  // namespace nfp
