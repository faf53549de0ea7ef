#include "report/engine/report_state.h"

namespace nfp {

ReportState& TheReportState() {
    static ReportState state;
    return state;
}

} // namespace nfp
