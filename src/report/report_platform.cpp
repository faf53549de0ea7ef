#include "report/report_platform.h"

#include <QCoreApplication>

#include "report/rel_grade.h"

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
    rel.services.processEvents = [] { QCoreApplication::processEvents(); };
}

} // namespace nfp
