#pragma once
// Reading back the PDF files the report writes: the page count, and the text
// as pdftotext (poppler-utils) finds it.
#include <cstdio>
#include <memory>
#include <string>

namespace nfp::test {

inline std::size_t PdfPageCount(const std::string& pdf) {
    std::size_t pages = 0;
    for (std::size_t at = pdf.find("/Type /Page"); at != std::string::npos; at = pdf.find("/Type /Page", at + 1))
        if (pdf.compare(at, 12, "/Type /Pages") != 0) ++pages;
    return pages;
}

// The file's text in its layout, pages separated by form feeds.
inline std::string PdfText(const std::string& file) {
    const std::string command = "pdftotext -layout '" + file + "' - 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe) return {};
    std::string text;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0) text.append(buffer, n);
    return text;
}

} // namespace nfp::test
