// Subclassing and releasing windows: refusals and their diagnostics, the
// release at WM_DESTROY, deferred release, stale registry entries, the end of
// the engine, and no block left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "SubclassTestSupport.h"
#include "controls/subclass/BlockMemory.h"

namespace arc::test {
namespace {

using Steps = std::vector<Step>;
using Reports = std::vector<std::pair<std::wstring, std::wstring>>;
using subclass::LiveBlockCount;

std::wstring Decimal(HWND hwnd) { return std::to_wstring(reinterpret_cast<std::uintptr_t>(hwnd)); }

class SubclassLifecycleTest : public ::testing::Test {
protected:
    Steps journal;
    DiagnosticLog diagnostics;
    RecordingOwner owner{&journal};
    TestWindow window{&journal};
    long blocksAtStart = LiveBlockCount();
};

TEST_F(SubclassLifecycleTest, RefusesWhatItCannotSubclassAndSaysWhy) {
    clsSubClass engine;
    HWND desktop = GetDesktopWindow();
    DWORD desktopProcess = 0;
    GetWindowThreadProcessId(desktop, &desktopProcess);
    ASSERT_NE(desktopProcess, GetCurrentProcessId());
    EXPECT_FALSE(engine.ssc_Subclass(desktop, 0, 1, &owner, false, false));
    EXPECT_FALSE(engine.ssc_Subclass(reinterpret_cast<HWND>(0x7FFF0000), 0, 1, &owner, false, false));
    EXPECT_FALSE(engine.ssc_Subclass(nullptr, 0, 1, &owner, false, false));
    EXPECT_FALSE(engine.ssc_Subclass(window.hwnd(), 0, 0, &owner, false, false));
    EXPECT_FALSE(engine.ssc_Subclass(window.hwnd(), 0, 2, &owner, false, false));
    EXPECT_FALSE(engine.ssc_Subclass(window.hwnd(), 0, -1, &owner, false, false));
    EXPECT_FALSE(engine.ssc_Subclass(window.hwnd(), 0, 1, nullptr, false, false));
    EXPECT_EQ(diagnostics.reports, (Reports{{L"ssc_Subclass", L"Window handle belongs to another process"},
                                            {L"ssc_Subclass", L"Invalid window handle"},
                                            {L"ssc_Subclass", L"Invalid window handle"},
                                            {L"ssc_Subclass", L"Callback method not found"},
                                            {L"ssc_Subclass", L"Callback method not found"},
                                            {L"ssc_Subclass", L"Callback method not found"},
                                            {L"ssc_Subclass", L"Callback method not found"}}));
    EXPECT_EQ(window.CurrentProc(), window.OwnProc());
    EXPECT_EQ(LiveBlockCount(), blocksAtStart);
    // No block was reserved, so the registry does not exist yet.
    diagnostics.reports.clear();
    engine.ssc_AddMsg(window.hwnd(), kAsk, clsSubClass::MSG_BEFORE);
    EXPECT_EQ(diagnostics.reports, (Reports{{L"zMap_VFunction", L"Thunk hasn't been initialized"}}));
}

TEST_F(SubclassLifecycleTest, ASecondSubclassingIsRefusedAndTheFirstGoesOn) {
    clsSubClass engine;
    ASSERT_TRUE(engine.ssc_Subclass(window.hwnd(), 0, 1, &owner, false, false));
    engine.ssc_AddMsg(window.hwnd(), kAsk, clsSubClass::MSG_BEFORE);
    WNDPROC thunk = window.CurrentProc();
    EXPECT_FALSE(engine.ssc_Subclass(window.hwnd(), 0, 1, &owner, false, false));
    EXPECT_EQ(diagnostics.reports, (Reports{{L"ssc_Subclass", L"Window handle is already subclassed"}}));
    EXPECT_EQ(window.CurrentProc(), thunk);
    EXPECT_EQ(LiveBlockCount(), blocksAtStart + 1);
    SendMessageW(window.hwnd(), kAsk, 0, 0);
    EXPECT_EQ(owner.calls.size(), 1u);
}

TEST_F(SubclassLifecycleTest, TableOperationsReportWithTheirRoutineNames) {
    clsSubClass engine;
    ASSERT_TRUE(engine.ssc_Subclass(window.hwnd(), 0, 1, &owner, false, false));
    HWND hwnd = window.hwnd();
    for (UINT m = 1; m <= 32; ++m) engine.ssc_AddMsg(hwnd, WM_USER + m, clsSubClass::MSG_AFTER);
    engine.ssc_AddMsg(hwnd, WM_USER + 33, clsSubClass::MSG_AFTER);
    engine.ssc_DelMsg(hwnd, WM_NOTIFY, clsSubClass::MSG_BEFORE_AND_AFTER);
    Steps other;
    TestWindow stranger(&other);
    engine.ssc_AddMsg(stranger.hwnd(), kAsk, clsSubClass::MSG_BEFORE);
    const std::wstring overflow =
        L"Message table overflow. Either increase the value of Const MSG_ENTRIES or use ALL_MESSAGES instead of "
        L"specific message values";
    EXPECT_EQ(diagnostics.reports,
              (Reports{{L"zAddMsg", overflow},
                       {L"zDelMsg", L"Message &H4E not found in table"},
                       {L"zDelMsg", L"Message &H4E not found in table"},
                       {L"zMap_VFunction", L"Thunk type for ID of " + Decimal(stranger.hwnd()) + L" does not exist"}}));
    SendMessageW(hwnd, WM_USER + 33, 0, 0);
    SendMessageW(hwnd, WM_USER + 32, 0, 0);
    ASSERT_EQ(owner.calls.size(), 1u);
    EXPECT_EQ(owner.calls[0].msg, WM_USER + 32);
}

TEST_F(SubclassLifecycleTest, ReleasePutsTheOwnProcedureBackAndFreesTheBlock) {
    clsSubClass engine;
    ASSERT_TRUE(engine.ssc_Subclass(window.hwnd(), 0, 1, &owner, false, true));
    engine.ssc_AddMsg(window.hwnd(), clsSubClass::ALL_MESSAGES, clsSubClass::MSG_BEFORE);
    subclass::SubclassBlock* block = window.Block();
    EXPECT_EQ(block->previous, window.OwnProc());
    EXPECT_EQ(block->hwnd, window.hwnd());
    owner.calls.clear();

    engine.ssc_UnSubclass(window.hwnd());
    EXPECT_TRUE(owner.calls.empty());  // the releasing WM_NULL is nobody's business
    EXPECT_EQ(window.CurrentProc(), window.OwnProc());
    EXPECT_EQ(LiveBlockCount(), blocksAtStart);
    MEMORY_BASIC_INFORMATION info{};
    ASSERT_EQ(VirtualQuery(block, &info, sizeof info), sizeof info);
    EXPECT_EQ(info.State, static_cast<DWORD>(MEM_FREE));

    engine.ssc_AddMsg(window.hwnd(), kAsk, clsSubClass::MSG_BEFORE);
    EXPECT_EQ(diagnostics.reports,
              (Reports{{L"zMap_VFunction", L"Thunk type for ID of " + Decimal(window.hwnd()) + L" does not exist"}}));
    EXPECT_TRUE(engine.ssc_Subclass(window.hwnd(), 0, 1, &owner, false, false));
}

TEST_F(SubclassLifecycleTest, DestroyReachesTheOwnProcedureAndRestoresItAtOnce) {
    clsSubClass engine;
    ASSERT_TRUE(engine.ssc_Subclass(window.hwnd(), 0, 1, &owner, false, false));
    engine.ssc_AddMsg(window.hwnd(), WM_DESTROY, clsSubClass::MSG_BEFORE_AND_AFTER);
    engine.ssc_AddMsg(window.hwnd(), WM_NCDESTROY, clsSubClass::MSG_BEFORE_AND_AFTER);
    owner.action = [](const RecordingOwner::Call&, BOOL* handled, LRESULT*, LONG_PTR*) { *handled = TRUE; };
    journal.clear();
    window.Destroy();
    // The own procedure saw WM_DESTROY despite bHandled; no after pass, and
    // WM_NCDESTROY went straight to the restored own procedure.
    EXPECT_EQ(journal, (Steps{{"before", WM_DESTROY}, {"own", WM_DESTROY}, {"own", WM_NCDESTROY}}));
    EXPECT_EQ(LiveBlockCount(), blocksAtStart);
}

TEST_F(SubclassLifecycleTest, ReleaseAskedInsideTheAfterPassWaitsForTheNextMessage) {
    clsSubClass engine;
    ASSERT_TRUE(engine.ssc_Subclass(window.hwnd(), 0, 1, &owner, false, false));
    engine.ssc_AddMsg(window.hwnd(), kOther, clsSubClass::MSG_AFTER);
    engine.ssc_AddMsg(window.hwnd(), kAsk, clsSubClass::MSG_AFTER);
    WNDPROC thunk = window.CurrentProc();
    owner.action = [&](const RecordingOwner::Call& c, BOOL*, LRESULT*, LONG_PTR*) {
        if (c.msg == kOther) engine.ssc_UnSubclass(c.hwnd);
    };
    EXPECT_EQ(SendMessageW(window.hwnd(), kOther, 0, 0), 7);
    EXPECT_EQ(window.CurrentProc(), thunk);
    EXPECT_EQ(LiveBlockCount(), blocksAtStart + 1);

    journal.clear();
    // The next message completes the release and still gets the own
    // procedure's answer; the emptied tables call nobody.
    EXPECT_EQ(SendMessageW(window.hwnd(), kAsk, 3, 0), 1003);
    EXPECT_EQ(journal, (Steps{{"own", kAsk}}));
    EXPECT_EQ(window.CurrentProc(), window.OwnProc());
    EXPECT_EQ(LiveBlockCount(), blocksAtStart);
}

TEST_F(SubclassLifecycleTest, ReleaseAskedInsideTheBeforePassCompletesAfterTheCallbackReturns) {
    clsSubClass engine;
    ASSERT_TRUE(engine.ssc_Subclass(window.hwnd(), 0, 1, &owner, false, false));
    engine.ssc_AddMsg(window.hwnd(), kAsk, clsSubClass::MSG_BEFORE_AND_AFTER);
    long blocksInside = -1;
    WNDPROC procInside = nullptr;
    owner.action = [&](const RecordingOwner::Call& c, BOOL*, LRESULT*, LONG_PTR*) {
        engine.ssc_UnSubclass(c.hwnd);
        blocksInside = LiveBlockCount();
        procInside = window.CurrentProc();
    };
    WNDPROC thunk = window.CurrentProc();
    EXPECT_EQ(SendMessageW(window.hwnd(), kAsk, 4, 0), 1004);
    EXPECT_EQ(blocksInside, blocksAtStart + 1);
    EXPECT_EQ(procInside, thunk);
    EXPECT_EQ(owner.calls.size(), 1u);  // no after pass once released
    EXPECT_EQ(window.CurrentProc(), window.OwnProc());
    EXPECT_EQ(LiveBlockCount(), blocksAtStart);
}

TEST_F(SubclassLifecycleTest, AWindowDestroyedFromItsOwnCallbackLeavesNoBlock) {
    clsSubClass engine;
    ASSERT_TRUE(engine.ssc_Subclass(window.hwnd(), 0, 1, &owner, false, false));
    engine.ssc_AddMsg(window.hwnd(), kAsk, clsSubClass::MSG_AFTER);
    owner.action = [](const RecordingOwner::Call& c, BOOL*, LRESULT*, LONG_PTR*) { DestroyWindow(c.hwnd); };
    SendMessageW(window.hwnd(), kAsk, 0, 0);
    EXPECT_FALSE(IsWindow(window.hwnd()));
    EXPECT_EQ(LiveBlockCount(), blocksAtStart);
}

TEST_F(SubclassLifecycleTest, AStaleEntryIsWithdrawnWithoutTouchingItsMemory) {
    clsSubClass engine;
    HWND hwnd = window.hwnd();
    ASSERT_TRUE(engine.ssc_Subclass(hwnd, 0, 1, &owner, false, false));
    subclass::SubclassBlock* block = window.Block();
    window.Destroy();
    ASSERT_EQ(LiveBlockCount(), blocksAtStart);
    // Someone else takes the freed address; the engine must not write there.
    void* reused = VirtualAlloc(block, sizeof(subclass::SubclassBlock), MEM_RESERVE | MEM_COMMIT, PAGE_EXECUTE_READWRITE);
    ASSERT_EQ(reused, static_cast<void*>(block));
    std::memset(reused, 0xC3, sizeof(subclass::SubclassBlock));

    engine.ssc_AddMsg(hwnd, kAsk, clsSubClass::MSG_BEFORE);
    engine.ssc_DelMsg(hwnd, kAsk, clsSubClass::MSG_BEFORE);
    engine.ssc_UnSubclass(hwnd);
    const auto* bytes = static_cast<const BYTE*>(reused);
    EXPECT_EQ(std::count(bytes, bytes + sizeof(subclass::SubclassBlock), 0xC3),
              static_cast<long>(sizeof(subclass::SubclassBlock)));
    EXPECT_EQ(diagnostics.reports.size(), 3u);
    for (const auto& report : diagnostics.reports) {
        EXPECT_EQ(report, (std::pair<std::wstring, std::wstring>{
                              L"zMap_VFunction", L"Thunk type for ID of " + Decimal(hwnd) + L" does not exist"}));
    }
    VirtualFree(reused, 0, MEM_RELEASE);
}

TEST_F(SubclassLifecycleTest, AHandleWhoseBlockWasFreedCanBeSubclassedAgain) {
    clsSubClass engine;
    ASSERT_TRUE(engine.ssc_Subclass(window.hwnd(), 0, 1, &owner, false, false));
    // The window's own procedure is told of its destruction without dying,
    // so its handle stays valid while its block is freed: the registry entry
    // now names freed memory under a handle that is a window again.
    SendMessageW(window.hwnd(), WM_DESTROY, 0, 0);
    ASSERT_TRUE(IsWindow(window.hwnd()));
    ASSERT_EQ(window.CurrentProc(), window.OwnProc());
    ASSERT_EQ(LiveBlockCount(), blocksAtStart);

    EXPECT_TRUE(engine.ssc_Subclass(window.hwnd(), 0, 1, &owner, false, false));
    engine.ssc_AddMsg(window.hwnd(), kAsk, clsSubClass::MSG_BEFORE);
    SendMessageW(window.hwnd(), kAsk, 0, 0);
    EXPECT_EQ(owner.calls.size(), 1u);
    EXPECT_TRUE(diagnostics.reports.empty());
}

TEST_F(SubclassLifecycleTest, EndingTheEngineRestoresEveryWindow) {
    Steps journal2;
    TestWindow narrow(&journal2, false);
    TestWindow third(&journal2);
    TestWindow doomed(&journal2);
    {
        clsSubClass engine;
        for (HWND h : {window.hwnd(), narrow.hwnd(), doomed.hwnd(), third.hwnd()}) {
            ASSERT_TRUE(engine.ssc_Subclass(h, 0, 1, &owner, false, true));
            engine.ssc_AddMsg(h, kAsk, clsSubClass::MSG_BEFORE);
        }
        doomed.Destroy();  // its entry goes stale
        EXPECT_EQ(LiveBlockCount(), blocksAtStart + 3);
    }
    EXPECT_EQ(LiveBlockCount(), blocksAtStart);
    EXPECT_EQ(window.CurrentProc(), window.OwnProc());
    EXPECT_EQ(narrow.CurrentProc(), narrow.OwnProc());
    EXPECT_EQ(third.CurrentProc(), third.OwnProc());
    EXPECT_FALSE(IsWindowUnicode(narrow.hwnd()));
    SendMessageW(window.hwnd(), kAsk, 0, 0);
    EXPECT_TRUE(owner.calls.empty());
    EXPECT_TRUE(diagnostics.reports.empty());
}

TEST_F(SubclassLifecycleTest, AThousandCyclesLeaveNoBlockBehind) {
    const int regionsAtStart = ExecutableRegionCount();
    clsSubClass engine;
    for (int i = 0; i < 1000; ++i) {
        if (i % 2 == 0) {
            ASSERT_TRUE(engine.ssc_Subclass(window.hwnd(), i, 1, &owner, false, i % 4 == 0));
            engine.ssc_AddMsg(window.hwnd(), kAsk, clsSubClass::MSG_BEFORE_AND_AFTER);
            ASSERT_EQ(SendMessageW(window.hwnd(), kAsk, 1, 0), 1001);
            engine.ssc_UnSubclass(window.hwnd());
        } else {
            Steps scratch;
            TestWindow passing(&scratch);
            ASSERT_TRUE(engine.ssc_Subclass(passing.hwnd(), i, 1, &owner, false, false));
            engine.ssc_AddMsg(passing.hwnd(), kAsk, clsSubClass::MSG_AFTER);
        }  // destroyed while subclassed
    }
    EXPECT_EQ(owner.calls.size(), 1000u);
    EXPECT_EQ(LiveBlockCount(), blocksAtStart);
    EXPECT_EQ(ExecutableRegionCount(), regionsAtStart);
    EXPECT_EQ(window.CurrentProc(), window.OwnProc());
}

}  // namespace
}  // namespace arc::test
