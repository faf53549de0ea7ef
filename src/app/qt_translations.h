#pragma once
// Qt's own texts in Brazilian Portuguese: the open, save, folder, print and
// input dialogs, the buttons of standard message boxes and the context
// menus of text fields speak the program's language whatever the locale.
#include <QString>

class QTranslator;

namespace nfp {

// Loads qtbase_pt_BR.qm from `folder` (Qt's own translations folder when
// empty) and installs it for the running application, which owns it. A
// missing or unreadable file changes nothing and gives nullptr.
QTranslator* InstallQtTranslations(const QString& folder = {});

} // namespace nfp
