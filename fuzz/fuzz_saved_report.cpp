// The saved report reader: whatever a file holds, reading it fails with the
// format error or gives a report that, written and read again, keeps every
// setting and every item.
//
// Input: the file's bytes.
#include "fuzz_input.h"
#include "report/files/saved_report.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace nfp;
    fuzz::FuzzInput input(data, size);
    SavedReport report;
    try {
        report = ReadSavedReport(input.Rest());
    } catch (const SavedReportFormatError&) {
        return 0;
    }
    const std::string written = WriteSavedReport(report.header.settings, report.items);
    const SavedReport again = ReadSavedReport(written);
    const SavedReportSettings& a = report.header.settings;
    const SavedReportSettings& b = again.header.settings;
    FUZZ_CHECK(again.header.version == SavedReportVersion::V4);
    FUZZ_CHECK(a.title == b.title);
    FUZZ_CHECK(a.lines == b.lines && a.columns == b.columns);
    FUZZ_CHECK(a.lineSpacing == b.lineSpacing);
    FUZZ_CHECK(a.defaultSize == b.defaultSize);
    FUZZ_CHECK(a.defaultStyle == b.defaultStyle);
    FUZZ_CHECK(again.items == report.items);
    FUZZ_CHECK(again.CountMatches());
    FUZZ_CHECK(WriteSavedReport(b, again.items) == written);
    return 0;
}
