#pragma once
// A PDF document of the open report: its pages as the graphic printing lays
// them out, one PDF page per report page. The engine's save as PDF
// (report_file_saver.h) writes through it into a temporary file and renames
// that into place; the Qt writer is QtPdfOutput (qt_pdf_output.h).
#include <functional>
#include <string>
#include <vector>

namespace nfp {

class TRelGrade;

class PdfOutput {
public:
    virtual ~PdfOutput() = default;
    // Writes `pages` of the engine's report, in this order, into the file at
    // `path` (replacing it). `afterPage` runs after each page and returns
    // true to stop there. False when the document could not be written.
    virtual bool Write(TRelGrade& engine, const std::string& path, const std::vector<int>& pages,
                       const std::function<bool()>& afterPage) = 0;
};

} // namespace nfp
