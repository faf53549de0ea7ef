#pragma once
// The platform as the report windows' tests give it: a printer list of
// their own and a message box that records what it was asked.
#include "report/engine/printer_system.h"

#include <map>
#include <string>
#include <vector>

#include "recording_messages.h"

namespace nfp::testing {

class ListedPrinters : public PrinterSystem {
 public:
  ListedPrinters(std::vector<std::pair<std::string, std::string>> printers, std::string current)
      : printers_(std::move(printers)), current_(std::move(current)) {}
  std::vector<std::string> PrinterNames() override {
    std::vector<std::string> names;
    for (const auto& p : printers_) names.push_back(p.first);
    return names;
  }
  std::optional<std::string> CurrentPrinter() override { return current_; }
  void SetCurrentPrinter(const std::string& name) override { current_ = name; }
  std::string PortOf(const std::string& name) override {
    for (const auto& p : printers_)
      if (p.first == name) return p.second;
    return {};
  }
  const std::string& Current() const { return current_; }

 private:
  std::vector<std::pair<std::string, std::string>> printers_;
  std::string current_;
};

using test::RecordingMessages;

}  // namespace nfp::testing
