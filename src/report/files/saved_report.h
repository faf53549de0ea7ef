#pragma once
// The saved report file (.RGR): a control record of nine lines (identity,
// item count, title, page size, default font) followed by the page items
// exactly as the store holds them, one per line. On disk the text is
// Windows-1252 with CR LF line ends; here the items are the store's UTF-8.
//
// Version 3 files lack the six colour digits of each item; they are read
// as black.
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "report/engine/report_types.h"

namespace nfp {

class TRelGrade;

inline constexpr const char* kSavedReportHeader4 = "<< RelGrade 4.0 - Talverin Inform\xC3\xA1tica >>";
inline constexpr const char* kSavedReportHeader3 = "<< RelGrade 3.0 - Talverin Inform\xC3\xA1tica >>";
inline constexpr const char* kSavedReportNotice = "<< ESTE  ARQUIVO N\xC3\x83O DEVE SER EDITADO >>";

inline constexpr const char* kMsgFormatoInvalido = "Formato do arquivo \xC3\xA9 inv\xC3\xA1lido...";
inline constexpr const char* kMsgErroControle = "RelGrade: Erro no controle, relat\xC3\xB3rio pode causar erro";

// A file that is not a saved report, or whose control record does not read.
class SavedReportFormatError : public std::runtime_error {
public:
    SavedReportFormatError() : std::runtime_error(kMsgFormatoInvalido) {}
};

enum class SavedReportVersion { V3, V4 };

// The component settings a saved report carries.
struct SavedReportSettings {
    std::string title;
    int lines = 66;
    int columns = 80;
    TLinha lineSpacing = TLinha::Seis;
    // Nothing when the file names no known size: the component keeps its own.
    std::optional<TSize> defaultSize = TSize::S10cpp;
    TStyle defaultStyle;
};

SavedReportSettings SettingsOf(const TRelGrade& rel);
void ApplySettings(TRelGrade& rel, const SavedReportSettings& settings);

// --- writing (Windows-1252 bytes, each line ended by CR LF) ---------------

// Lines 1 to 9.
std::string SavedReportControlRecord(const SavedReportSettings& settings, std::size_t itemCount);
// One stored item as its line. Characters Windows-1252 lacks become "?".
std::string SavedReportItemLine(std::string_view storedItem);
// A whole file.
std::string WriteSavedReport(const SavedReportSettings& settings, const std::vector<std::string>& items);

// --- reading ---------------------------------------------------------------

struct SavedReportHeader {
    SavedReportVersion version = SavedReportVersion::V4;
    long long expectedCount = 0;
    SavedReportSettings settings;
};

// Walks the bytes of a saved report: the control record is read at once
// (SavedReportFormatError when it does not read), then the items one by one
// until the end of the text or an empty line. A line ends at CR LF, at a
// lone CR or at a lone LF.
class SavedReportReader {
public:
    explicit SavedReportReader(std::string_view bytes);
    const SavedReportHeader& Header() const { return header_; }
    // The next item as the store keeps it (UTF-8, colour digits present).
    std::optional<std::string> NextItem();

private:
    std::optional<std::string_view> NextLine();
    std::string_view rest_;
    bool ended_ = false;
    SavedReportHeader header_;
};

struct SavedReport {
    SavedReportHeader header;
    std::vector<std::string> items;
    bool CountMatches() const { return static_cast<long long>(items.size()) == header.expectedCount; }
};

SavedReport ReadSavedReport(std::string_view bytes);

} // namespace nfp
