#pragma once
// Real windows, a recording owner and a diagnostic log for the engine tests.
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "controls/subclass/SubclassBlock.h"
#include "controls/subclass/clsSubClass.h"

namespace arc::test {

// Messages the windows' own procedure answers with a known result.
constexpr UINT kAsk = WM_APP + 1;       // own result: wParam + 1000
constexpr UINT kOther = WM_APP + 2;     // own result: 7
constexpr UINT kUnlisted = WM_APP + 3;  // own result: 99

// One step seen by a test: who saw which message ("own", "before", "after").
struct Step {
    std::string who;
    UINT msg;
    bool operator==(const Step&) const = default;
};

// A top-level window of a class of ours, wide or narrow, whose procedure
// logs every message it gets into a shared journal.  Destroyed on scope exit
// unless already gone.
class TestWindow {
public:
    explicit TestWindow(std::vector<Step>* journal, bool wide = true);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    WNDPROC OwnProc() const;     // the class's procedure
    WNDPROC CurrentProc() const; // what the window runs now
    // The engine's block for this window, taken from its current procedure.
    subclass::SubclassBlock* Block() const { return subclass::BlockOfThunk(CurrentProc()); }
    void Destroy();

private:
    HWND hwnd_ = nullptr;
    bool wide_;
};

// The owner: logs every callback and lets a test act inside it.
class RecordingOwner : public SubclassOwner {
public:
    struct Call {
        bool before;
        HWND hwnd;
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
        LONG_PTR user;
        LRESULT lReturnOnEntry;
    };
    using Action = std::function<void(const Call&, BOOL* bHandled, LRESULT* lReturn, LONG_PTR* lParamUser)>;

    explicit RecordingOwner(std::vector<Step>* journal = nullptr) : journal_(journal) {}
    void __stdcall WindowProc(BOOL bBefore, BOOL* bHandled, LRESULT* lReturn, HWND lng_hWnd, UINT uMsg,
                              WPARAM wParam, LPARAM lParam, LONG_PTR* lParamUser) override;

    std::vector<Call> calls;
    Action action;

private:
    std::vector<Step>* journal_;
};

// Collects the engine's diagnostics while it lives.
class DiagnosticLog {
public:
    DiagnosticLog();
    ~DiagnosticLog();
    std::vector<std::pair<std::wstring, std::wstring>> reports;
};

// Committed regions of the process that are readable, writable and
// executable, as the system sees them.
int ExecutableRegionCount();

}  // namespace arc::test
