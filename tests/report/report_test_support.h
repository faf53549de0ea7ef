#pragma once
// Real parts for report tests: a private temporary folder, the direct route
// writing real files, and a recorder standing in for message boxes.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "report/print/direct_port_route.h"
#include "support/temp_dir.h"
#include "report/engine/page_item.h"
#include "report/engine/page_store.h"
#include "report/engine/rel_grade.h"
#include "recording_messages.h"

namespace nfp::test {

// A text as a layout placed it on the grid.
struct PlacedText {
    int page, line, column;
    std::string text;
    bool operator==(const PlacedText&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const PlacedText& p) {
    return os << p.page << "/" << p.line << "/" << p.column << " '" << p.text << "'";
}

// Every text of the open report, in store order.
inline std::vector<PlacedText> PlacedTexts(const TRelGrade& rel) {
    std::vector<PlacedText> placed;
    for (const auto& stored : rel.Store()->Items()) {
        const auto item = ParsePageItem(stored);
        placed.push_back({item->page, item->line, item->column, item->text});
    }
    return placed;
}

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A report component printing on the direct route into `file`.
struct DirectReport {
    TRelGrade rel;
    RecordingMessages messages;
    DirectPortRoute route;
    explicit DirectReport(const std::string& file) {
        rel.services.messages = &messages;
        rel.services.directPort = &route;
        rel.UsaGerenciadorImpr = false;
        rel.PortaComunicacao = file;
        rel.MostrarProgresso = false;
    }
};

// Escape sequences for readable golden tables.
inline std::string Esc(const std::string& rest) { return "\x1B" + rest; }

} // namespace nfp::test
