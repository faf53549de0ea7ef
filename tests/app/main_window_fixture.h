#pragma once
// A main window over a throwaway profile file, a fixed clock and the
// Brazilian regional settings; uncaught errors are collected, not shown.
#include "app/error_display.h"
#include "app/f_nfp.h"
#include "profiles/ini_profile_store.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>

namespace nfp::test {

inline LocalMoment MomentAt(int y, unsigned m, unsigned d, int hh, int mm, int ss)
{
    return LocalMoment{Date{std::chrono::year{y}, std::chrono::month{m}, std::chrono::day{d}},
                       std::chrono::seconds{hh * 3600 + mm * 60 + ss}};
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        store = std::make_shared<IniProfileStore>(dir.filePath(QStringLiteral("NFP.ini")).toStdString());
        SetErrorSink([this](const QString& message) { errors << message; });
    }

    void TearDown() override
    {
        window.reset();
        SetErrorSink({});
    }

    // Creates and shows the window, which runs its start-up sequence.
    TF_NFP& Open()
    {
        MainWindowSetup setup;
        setup.regional = regional;
        setup.clock = [this] { return now; };
        setup.store = store;
        setup.service = service;
        setup.journalFile = journalFile.value_or(JournalFile());
        window = std::make_unique<TF_NFP>(std::move(setup));
        window->show();
        QApplication::processEvents();
        return *window;
    }

    // The window's send journal, in the test's folder.
    std::filesystem::path JournalFile() const { return dir.filePath(QStringLiteral("envios.sqlite")).toStdString(); }

    // A folder of receipt files made for the test.
    QString Folder(const QString& name)
    {
        const QString path = dir.filePath(name);
        QDir().mkpath(path);
        return path;
    }
    QString WriteFile(const QString& folder, const QString& name, const QByteArray& bytes)
    {
        const QString path = Folder(folder) + QLatin1Char('/') + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    // Nothing listens there: a request that should never go out fails.
    HttpPosterSettings service = [] {
        HttpPosterSettings s;
        s.endpoint = "https://127.0.0.1:9/ws/arquivocf.asmx";
        return s;
    }();
    RegionalSettings regional = RegionalSettings::Brazilian();
    // Another journal than the test folder's, for the window to open.
    std::optional<std::filesystem::path> journalFile;
    QTemporaryDir dir;
    std::shared_ptr<IniProfileStore> store;
    LocalMoment now = MomentAt(2025, 12, 8, 14, 29, 58);
    QStringList errors;
    std::unique_ptr<TF_NFP> window;
};

} // namespace nfp::test
