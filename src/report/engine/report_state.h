#pragma once
// The state of the report being written. It exists once per process, so
// that only one report can be open at a time, whichever component opens it.
#include <optional>
#include <string>

#include "report/engine/control_sequences.h"
#include "report/engine/page_store.h"

namespace nfp {

class TRelGrade;

struct ReportState {
    bool open = false;
    bool abandoned = false;
    int currentPage = 1;

    int copies = 1;
    bool collate = true;
    bool reverse = false;
    std::string pageSelection; // empty: every page
    int oddEven = 0;           // 0 all, 1 odd only, 2 even only

    std::optional<PageStore> store;
    std::string itemBuffer; // where each placed text is laid out before it is stored

    ControlTable table;
    DefaultFont font;

    bool cancel = false;
    bool pagePrinted = false;
    bool previewActive = false;

    std::optional<std::string> findMarker; // a stored item with kind 'M'

    const TRelGrade* owner = nullptr; // the component that opened the report
};

ReportState& TheReportState();

} // namespace nfp
