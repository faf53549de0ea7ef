#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace nfp {

QTranslator* InstallQtTranslations(const QString& folder)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return nullptr;
    const QString from = folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    auto* translator = new QTranslator(app);
    if (!translator->load(QStringLiteral("qtbase_pt_BR"), from) || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

} // namespace nfp
