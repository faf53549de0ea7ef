#pragma once
// Stands in for the report's message boxes: records what was shown and asked,
// and gives the answer the test chose.
#include <string>
#include <vector>

#include "report/engine/report_messages.h"

namespace nfp::test {

class RecordingMessages : public ReportMessages {
public:
    void ShowMessage(const std::string& text) override { shown.push_back(text); }
    bool Confirm(const std::string& question) override {
        asked.push_back(question);
        return answer;
    }
    std::vector<std::string> shown;
    std::vector<std::string> asked;
    bool answer = true;
};

} // namespace nfp::test
