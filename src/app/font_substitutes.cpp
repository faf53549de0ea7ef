#include "app/font_substitutes.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace nfp {

void InstallFontSubstitutes()
{
    const QStringList families = QFontDatabase::families();
    struct Substitute { const char* family; QStringList standIns; };
    // Liberation Sans keeps the narrow look of the 8-point dialog font;
    // DejaVu Sans descends from the family that Verdana's metrics follow.
    const Substitute substitutes[] = {
        {"MS Sans Serif", {"Liberation Sans", "Arial", "DejaVu Sans"}},
        {"Verdana", {"DejaVu Sans", "Bitstream Vera Sans", "Liberation Sans"}},
        {"Tahoma", {"DejaVu Sans Condensed", "Liberation Sans", "DejaVu Sans"}},
    };
    for (const auto& s : substitutes) {
        if (!families.contains(QString::fromLatin1(s.family), Qt::CaseInsensitive))
            QFont::insertSubstitutions(QString::fromLatin1(s.family), s.standIns);
    }
}

} // namespace nfp
