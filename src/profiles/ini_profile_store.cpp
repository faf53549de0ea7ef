#include "profiles/ini_profile_store.h"

#include "util/integer_text.h"
#include "util/text_codec.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QVariant>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>

namespace nfp {
namespace {

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions kOwnerOnlyFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
constexpr int kLockWaitMs = 5000;

QString Q(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

[[noreturn]] void SetFailed(const char* value) {
    throw StoreError(std::string("Failed to set data for '") + value + "'");
}

// The current file, read whole; nothing when there is none.
std::optional<QByteArray> ReadFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return std::nullopt;
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        throw StoreError("Cannot open file \"" + path.toStdString() + "\". " +
                         (info.isDir() ? std::string("Is a directory") : file.errorString().toStdString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw StoreError("Cannot open file \"" + path.toStdString() + "\". " + file.errorString().toStdString());
    return bytes;
}

// A private copy of the file that QSettings parses and rewrites. QSettings
// keeps parsed files, and changes it failed to write, cached per path for
// the whole process; on a copy of unique name neither can reach the real
// file, and the real file only ever changes by one rename.
class WorkingCopy {
public:
    WorkingCopy(const QString& folder, const QByteArray& content) : file_(folder + "/.NFP.ini.XXXXXX") {
        if (!file_.open()) return;
        file_.setPermissions(kOwnerOnly);
        ok_ = file_.write(content) == content.size() && file_.flush();
        file_.close();
    }
    bool ok() const noexcept { return ok_; }
    QString path() const { return file_.fileName(); }
    // Replaces `target` by the copy in one step.
    bool ReplaceTarget(const QString& target) {
        std::error_code ec;
        std::filesystem::rename(std::filesystem::path(path().toStdU16String()),
                                std::filesystem::path(target.toStdU16String()), ec);
        if (ec) return false;
        file_.setAutoRemove(false);
        return true;
    }
private:
    QTemporaryFile file_;
    bool ok_ = false;
};

// A snapshot of the file, parsed from a copy beside it (the folder is the
// user's alone) or, in a folder that cannot be written, in the system's
// temporary folder.
class Snapshot {
public:
    Snapshot(const QString& folder, const QByteArray& content) {
        copy_ = std::make_unique<WorkingCopy>(folder, content);
        if (!copy_->ok()) copy_ = std::make_unique<WorkingCopy>(QDir::tempPath(), content);
        if (!copy_->ok()) throw StoreError("Cannot read the profile file: no room for a working copy");
        settings_ = std::make_unique<QSettings>(copy_->path(), QSettings::IniFormat);
        if (settings_->status() != QSettings::NoError) throw StoreError("Cannot read the profile file: invalid format");
    }
    QSettings& settings() { return *settings_; }
private:
    std::unique_ptr<WorkingCopy> copy_;
    std::unique_ptr<QSettings> settings_; // destroyed before the copy
};

// Serializes read-modify-write between running copies of the program.
class FileLock {
public:
    explicit FileLock(const QString& path) : lock_(path + ".lock") { locked_ = lock_.tryLock(kLockWaitMs); }
    bool locked() const noexcept { return locked_; }
private:
    QLockFile lock_;
    bool locked_ = false;
};

bool MakeOwnerOnlyFolder(const QString& folder) {
    // Folders made here are the user's alone; existing ones are left as they are.
    QStringList missing;
    for (QDir d(folder); !d.exists(); d.setPath(QFileInfo(d.absolutePath()).absolutePath())) {
        missing.prepend(d.absolutePath());
        if (d.isRoot()) break;
    }
    for (const QString& m : missing) {
        if (!QDir().mkdir(m)) return false;
        QFile::setPermissions(m, kOwnerOnlyFolder);
    }
    return QFileInfo(folder).isDir();
}

std::string TextValue(QSettings& s, const char* name) {
    const QVariant v = s.value(QLatin1String(name));
    if (!v.isValid()) return {};
    if (v.typeId() == QMetaType::QByteArray) {
        const QByteArray b = v.toByteArray();
        return std::string(b.constData(), static_cast<std::size_t>(b.size()));
    }
    if (v.typeId() == QMetaType::QString) {
        if (auto bytes = TryUtf8ToWindows1252(v.toString().toStdString())) return *bytes;
    }
    throw StoreError(std::string("Invalid data type for '") + name + "'");
}

std::int32_t IntegerValue(QSettings& s, const char* name) {
    if (!s.contains(QLatin1String(name))) throw StoreError(std::string("Failed to get data for '") + name + "'");
    const QVariant v = s.value(QLatin1String(name));
    const auto invalid = [name]() -> std::int32_t {
        throw StoreError(std::string("Invalid data type for '") + name + "'");
    };
    switch (v.typeId()) {
    case QMetaType::Int:
        return v.toInt();
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: {
        bool ok = false;
        const qlonglong n = v.toLongLong(&ok);
        if (!ok || n < INT32_MIN || n > INT32_MAX || (v.typeId() == QMetaType::ULongLong && v.toULongLong() > INT32_MAX))
            return invalid();
        return static_cast<std::int32_t>(n);
    }
    case QMetaType::QString:
        // The file keeps numbers as text.
        try {
            return ParseInt32(v.toString().toStdString());
        } catch (const ConversionError&) {
            return invalid();
        }
    default:
        return invalid();
    }
}

QByteArray Bytes(const std::string& s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }

QString MarkText(bool enviar) { return enviar ? QStringLiteral("S") : QStringLiteral("N"); }

// "S" or "N" as text; anything else, or nothing, is no mark.
std::optional<bool> SendMarkValue(QSettings& s) {
    const QVariant v = s.value(QStringLiteral("Enviar"));
    if (v.typeId() != QMetaType::QString) return std::nullopt;
    if (v.toString() == QLatin1String("S")) return true;
    if (v.toString() == QLatin1String("N")) return false;
    return std::nullopt;
}

// One change of the file under the lock: a working copy goes to `change`,
// which returns false to refuse; the copy then replaces the file. Every failure is "Failed to set data for '<value>'".
void ChangeProfileGroup(const QString& path, const char* value,
                        const std::function<bool(QSettings&)>& change) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!MakeOwnerOnlyFolder(folder)) SetFailed(value);
    const FileLock lock(path);
    if (!lock.locked()) SetFailed(value);
    std::optional<QByteArray> content;
    try {
        content = ReadFile(path);
    } catch (const StoreError&) {
        // What cannot be read cannot be kept: refuse rather than replace it.
        SetFailed(value);
    }
    WorkingCopy copy(folder, content.value_or(QByteArray()));
    if (!copy.ok()) SetFailed(value);
    {
        QSettings s(copy.path(), QSettings::IniFormat);
        if (s.status() != QSettings::NoError) SetFailed(value);
        if (!change(s)) SetFailed(value);
        s.sync();
        if (s.status() != QSettings::NoError) SetFailed(value);
    }
    if (!copy.ReplaceTarget(path)) SetFailed(value);
}

} // namespace

IniProfileStore::IniProfileStore(std::string filePath) : path_(std::move(filePath)) {}

std::string IniProfileStore::DefaultFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() + "/Zeltra/NFP.ini";
}

std::vector<std::string> IniProfileStore::ProfileKeys() {
    const QString path = Q(path_);
    const auto content = ReadFile(path);
    if (!content) return {};
    Snapshot snapshot(QFileInfo(path).absolutePath(), *content);
    std::vector<std::string> keys;
    for (const QString& group : snapshot.settings().childGroups()) keys.push_back(group.toStdString());
    return keys;
}

std::optional<StoredProfile> IniProfileStore::Read(std::string_view cnpj) {
    const QString path = Q(path_);
    const auto content = ReadFile(path);
    if (!content) return std::nullopt;
    Snapshot snapshot(QFileInfo(path).absolutePath(), *content);
    QSettings& s = snapshot.settings();
    if (!s.childGroups().contains(Q(cnpj))) return std::nullopt;
    s.beginGroup(Q(cnpj));
    StoredProfile p;
    p.usuario = TextValue(s, "Usuario");
    p.senha = TextValue(s, "Senha");
    p.tipo = IntegerValue(s, "Tipo");
    p.caminho = TextValue(s, "Caminho");
    p.enviar = SendMarkValue(s);
    return p;
}

void IniProfileStore::Write(std::string_view cnpj, const StoredProfile& profile) {
    ChangeProfileGroup(Q(path_), "Usuario", [&](QSettings& s) {
        s.beginGroup(Q(cnpj));
        s.setValue(QStringLiteral("Usuario"), Bytes(profile.usuario));
        s.setValue(QStringLiteral("Senha"), Bytes(profile.senha));
        s.setValue(QStringLiteral("Tipo"), profile.tipo);
        s.setValue(QStringLiteral("Caminho"), Bytes(profile.caminho));
        if (profile.enviar) s.setValue(QStringLiteral("Enviar"), MarkText(*profile.enviar));
        s.endGroup();
        return true;
    });
}

void IniProfileStore::WriteSendMark(std::string_view cnpj, bool enviar) {
    ChangeProfileGroup(Q(path_), "Enviar", [&](QSettings& s) {
        if (!s.childGroups().contains(Q(cnpj))) return false;
        s.setValue(Q(cnpj) + QStringLiteral("/Enviar"), MarkText(enviar));
        return true;
    });
}

void IniProfileStore::Remove(std::string_view cnpj) {
    const QString path = Q(path_);
    const QString folder = QFileInfo(path).absolutePath();
    const auto failed = [&]() { throw StoreError("Failed to delete key '" + std::string(cnpj) + "'"); };
    const auto holdsKey = [&](const QByteArray& content) {
        Snapshot snapshot(folder, content);
        return snapshot.settings().childGroups().contains(Q(cnpj));
    };
    // A key that is not there needs no write, so no lock either.
    const auto current = ReadFile(path);
    if (!current || !holdsKey(*current)) return;
    const FileLock lock(path);
    if (!lock.locked()) failed();
    const auto content = ReadFile(path);
    if (!content) return;
    WorkingCopy copy(folder, *content);
    if (!copy.ok()) failed();
    {
        QSettings s(copy.path(), QSettings::IniFormat);
        if (s.status() != QSettings::NoError) failed();
        if (!s.childGroups().contains(Q(cnpj))) return;
        s.remove(Q(cnpj));
        s.sync();
        if (s.status() != QSettings::NoError) failed();
    }
    if (!copy.ReplaceTarget(path)) failed();
}

} // namespace nfp
