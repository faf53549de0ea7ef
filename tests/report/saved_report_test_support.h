#pragma once
// Report files tests: an engine with real print routes writing into a
// private temporary folder, and a progress window that records how it was
// driven and whose Cancel the test can press (the user's confirmed answer).
#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "report/engine/progress_window.h"
#include "report/engine/rel_grade.h"
#include "report_test_support.h"

namespace nfp::test {

struct ProgressRecord {
    std::string caption = kCaptionImprimindo;
    std::string label;
    int maximum = -1;
    int steps = 0;
    bool shown = false;
    bool closed = false;
};

class RecordingProgressFactory : public ProgressWindowFactory {
public:
    // Cancel is pressed (and confirmed) at this step of the next window.
    int cancelAtStep = 0;
    std::vector<ProgressRecord> windows;

    std::unique_ptr<ProgressWindow> Create(TRelGrade& owner) override {
        windows.emplace_back();
        return std::make_unique<Window>(*this, windows.size() - 1, owner);
    }

private:
    class Window : public ProgressWindow {
    public:
        Window(RecordingProgressFactory& f, std::size_t index, TRelGrade& owner) : f_(f), i_(index), owner_(owner) {}
        ~Window() override { Close(); }
        void SetColors(TColor, TColor) override {}
        void SetCaption(const std::string& c) override { rec().caption = c; }
        void SetLabel(const std::string& t) override { rec().label = t; }
        void SetMaximum(int m) override { rec().maximum = m; }
        void SetPosition(int) override {}
        void Show() override { rec().shown = true; }
        void Step() override {
            if (++rec().steps == f_.cancelAtStep) owner_.Cancelar();
        }
        void Repaint() override {}
        void Close() override { rec().closed = true; }

    private:
        ProgressRecord& rec() { return f_.windows[i_]; }
        RecordingProgressFactory& f_;
        std::size_t i_;
        TRelGrade& owner_;
    };
};

// An engine whose text model prints on the direct route.
struct FileEngine {
    TRelGrade rel;
    RecordingMessages messages;
    DirectPortRoute route;
    RecordingProgressFactory progress;
    FileEngine() {
        rel.services.messages = &messages;
        rel.services.directPort = &route;
        rel.services.progress = &progress;
        rel.UsaGerenciadorImpr = false;
        rel.PortaComunicacao = "/dev/null";
        rel.MostrarProgresso = false;
    }
};

// The names in a folder.
inline std::set<std::string> Listing(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) names.insert(e.path().filename().string());
    return names;
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

} // namespace nfp::test
