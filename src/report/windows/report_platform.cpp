#include "report/windows/report_platform.h"

#include <QCoreApplication>
#include <QLocale>

#include "report/engine/rel_grade.h"

namespace nfp {

void ReportPlatform::Attach(TRelGrade& rel) {
    rel.services.messages = &messages_;
    rel.services.printers = &printers_;
    rel.services.spooler = &spooler_;
    rel.services.directPort = &direct_;
    rel.services.graphic = &graphic_;
    rel.services.setupDialog = &setup_;
    rel.services.progress = &progress_;
    rel.services.preview = &preview_;
    rel.services.pdf = &pdf_;
    rel.services.processEvents = [] { QCoreApplication::processEvents(); };
    rel.Separadores = LocaleNumberSeparators(QLocale::system());
}

NumberSeparators LocaleNumberSeparators(const QLocale& locale) {
    NumberSeparators s;
    const QString decimal = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    // Numbers are written byte by byte: a separator that is not one plain
    // character (a narrow no-break space, say) keeps the default.
    if (decimal.size() == 1 && decimal[0].unicode() < 0x80) s.decimal = static_cast<char>(decimal[0].unicode());
    if (group.size() == 1 && group[0].unicode() < 0x80) s.thousands = static_cast<char>(group[0].unicode());
    if (s.decimal == s.thousands) return NumberSeparators{};
    return s;
}

} // namespace nfp
