// What the thunk does with each message of a subclassed window: the before
// and after passes, bHandled and lReturn, user values, the owner's method
// table and the narrow or wide window functions.
#include <gtest/gtest.h>

#include <stdexcept>

#include "SubclassTestSupport.h"
#include "controls/subclass/PlatformProcs.h"

namespace arc::test {
namespace {

using Steps = std::vector<Step>;

class SubclassDispatchTest : public ::testing::Test {
protected:
    void Subclass(int When, std::initializer_list<UINT> messages, LONG_PTR user = 0) {
        ASSERT_TRUE(engine.ssc_Subclass(window.hwnd(), user, 1, &owner, true, false));
        for (UINT m : messages) engine.ssc_AddMsg(window.hwnd(), m, When);
        journal.clear();
    }
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageW(window.hwnd(), msg, wParam, lParam);
    }

    Steps journal;
    RecordingOwner owner{&journal};
    TestWindow window{&journal};
    clsSubClass engine;
};

TEST_F(SubclassDispatchTest, BeforeAndAfterSurroundTheOwnProcedure) {
    Subclass(clsSubClass::MSG_BEFORE_AND_AFTER, {kAsk});
    EXPECT_EQ(Send(kAsk, 5, 6), 1005);
    EXPECT_EQ(journal, (Steps{{"before", kAsk}, {"own", kAsk}, {"after", kAsk}}));
    ASSERT_EQ(owner.calls.size(), 2u);
    EXPECT_TRUE(owner.calls[0].before);
    EXPECT_EQ(owner.calls[0].lReturnOnEntry, 0);
    EXPECT_FALSE(owner.calls[1].before);
    EXPECT_EQ(owner.calls[1].lReturnOnEntry, 1005);  // the own procedure's result
    EXPECT_EQ(owner.calls[1].hwnd, window.hwnd());
    EXPECT_EQ(owner.calls[1].wParam, 5u);
    EXPECT_EQ(owner.calls[1].lParam, 6);
}

TEST_F(SubclassDispatchTest, OnlyTheChosenTableAndMessagesReachTheOwner) {
    Subclass(clsSubClass::MSG_AFTER, {kAsk});
    EXPECT_EQ(Send(kUnlisted), 99);
    EXPECT_EQ(Send(kAsk, 1), 1001);
    EXPECT_EQ(journal, (Steps{{"own", kUnlisted}, {"own", kAsk}, {"after", kAsk}}));
}

TEST_F(SubclassDispatchTest, HandledBeforeReturnsTheOwnersResultAlone) {
    Subclass(clsSubClass::MSG_BEFORE_AND_AFTER, {kAsk});
    owner.action = [](const RecordingOwner::Call& c, BOOL* handled, LRESULT* result, LONG_PTR*) {
        if (c.before) {
            *handled = TRUE;
            *result = 4321;
        }
    };
    EXPECT_EQ(Send(kAsk), 4321);
    EXPECT_EQ(journal, (Steps{{"before", kAsk}}));
}

TEST_F(SubclassDispatchTest, HandledAfterChangesNothingButTheResultStands) {
    Subclass(clsSubClass::MSG_AFTER, {kAsk, kOther});
    owner.action = [](const RecordingOwner::Call& c, BOOL* handled, LRESULT* result, LONG_PTR*) {
        *handled = TRUE;
        if (c.msg == kOther) *result = 55;
    };
    EXPECT_EQ(Send(kAsk, 2), 1002);
    EXPECT_EQ(Send(kOther), 55);
    EXPECT_EQ(Send(kAsk, 3), 1003);
    EXPECT_EQ(journal, (Steps{{"own", kAsk}, {"after", kAsk}, {"own", kOther}, {"after", kOther}, {"own", kAsk},
                              {"after", kAsk}}));
}

TEST_F(SubclassDispatchTest, WmNullMatchingAHoleReachesTheOwner) {
    Subclass(clsSubClass::MSG_BEFORE, {kAsk, kOther});
    engine.ssc_DelMsg(window.hwnd(), kAsk, clsSubClass::MSG_BEFORE);
    Send(WM_NULL);
    Send(kAsk);
    ASSERT_EQ(owner.calls.size(), 1u);
    EXPECT_EQ(owner.calls[0].msg, static_cast<UINT>(WM_NULL));
}

TEST_F(SubclassDispatchTest, UserValueChangesPersistPerWindow) {
    Steps otherJournal;
    TestWindow other(&otherJournal);
    Subclass(clsSubClass::MSG_BEFORE, {kAsk}, 10);
    ASSERT_TRUE(engine.ssc_Subclass(other.hwnd(), 500, 1, &owner, false, false));
    engine.ssc_AddMsg(other.hwnd(), kAsk, clsSubClass::MSG_BEFORE);
    owner.action = [](const RecordingOwner::Call&, BOOL*, LRESULT*, LONG_PTR* user) { *user += 1; };
    Send(kAsk);
    Send(kAsk);
    SendMessageW(other.hwnd(), kAsk, 0, 0);
    Send(kAsk);
    ASSERT_EQ(owner.calls.size(), 4u);
    EXPECT_EQ(owner.calls[0].user, 10);
    EXPECT_EQ(owner.calls[1].user, 11);
    EXPECT_EQ(owner.calls[2].user, 500);
    EXPECT_EQ(owner.calls[3].user, 12);
}

TEST_F(SubclassDispatchTest, AnExceptionInTheCallbackStaysInsideTheEngine) {
    Subclass(clsSubClass::MSG_BEFORE, {kAsk});
    owner.action = [](const RecordingOwner::Call&, BOOL*, LRESULT*, LONG_PTR*) { throw std::runtime_error("x"); };
    EXPECT_EQ(Send(kAsk, 8), 1008);
    EXPECT_EQ(journal, (Steps{{"before", kAsk}, {"own", kAsk}}));
}

// Owners whose method tables are more than one interface.
class Extra {
public:
    virtual ~Extra() = default;
    virtual int Tag() { return 0; }
    int padding = 0x5A5A5A5A;
};

class SecondBaseOwner : public Extra, public SubclassOwner {
public:
    void __stdcall WindowProc(BOOL, BOOL*, LRESULT* lReturn, HWND, UINT uMsg, WPARAM, LPARAM, LONG_PTR*) override {
        seen = uMsg;
        self = this;
        *lReturn = 77;
    }
    virtual void __stdcall AddedLater() {}
    UINT seen = 0;
    SecondBaseOwner* self = nullptr;
};

TEST(SubclassOwnerTable, OrdinalOneIsTheOverrideOfWindowProcWhereverTheInterfaceSits) {
    Steps journal;
    SecondBaseOwner owner;
    TestWindow window(&journal);
    clsSubClass engine;
    ASSERT_TRUE(engine.ssc_Subclass(window.hwnd(), 0, 1, &owner, false, false));
    engine.ssc_AddMsg(window.hwnd(), kAsk, clsSubClass::MSG_AFTER);
    EXPECT_EQ(SendMessageW(window.hwnd(), kAsk, 0, 0), 77);
    EXPECT_EQ(owner.seen, kAsk);
    EXPECT_EQ(owner.self, &owner);  // the object pointer was adjusted back to the whole owner
}

// Narrow and wide windows.
TEST(SubclassCharacterSet, UnicodeAskedForANarrowWindowUsesTheNarrowFunctions) {
    Steps journal;
    RecordingOwner owner;
    TestWindow window(&journal, false);
    clsSubClass engine;
    ASSERT_FALSE(IsWindowUnicode(window.hwnd()));
    ASSERT_TRUE(engine.ssc_Subclass(window.hwnd(), 0, 1, &owner, false, true));
    HMODULE user = GetModuleHandleW(L"user32");
    EXPECT_EQ(reinterpret_cast<FARPROC>(window.Block()->callWindowProc), GetProcAddress(user, "CallWindowProcA"));
    EXPECT_EQ(reinterpret_cast<FARPROC>(window.Block()->setWindowLong), GetProcAddress(user, subclass::kSetWindowLongA));
    EXPECT_FALSE(IsWindowUnicode(window.hwnd()));
    EXPECT_TRUE(SetWindowTextA(window.hwnd(), "Pe\xF1" "a"));
    char text[16] = {};
    GetWindowTextA(window.hwnd(), text, 16);
    EXPECT_STREQ(text, "Pe\xF1" "a");
}

TEST(SubclassCharacterSet, AWideWindowStaysWideWhenUnicodeIsAskedFor) {
    Steps journal;
    RecordingOwner owner;
    TestWindow window(&journal, true);
    clsSubClass engine;
    ASSERT_TRUE(engine.ssc_Subclass(window.hwnd(), 0, 1, &owner, false, true));
    HMODULE user = GetModuleHandleW(L"user32");
    EXPECT_EQ(reinterpret_cast<FARPROC>(window.Block()->callWindowProc), GetProcAddress(user, "CallWindowProcW"));
    EXPECT_TRUE(IsWindowUnicode(window.hwnd()));
}

TEST(SubclassCharacterSet, AWideWindowSubclassedNarrowGetsItsOwnProcedureBack) {
    Steps journal;
    RecordingOwner owner;
    TestWindow window(&journal, true);
    clsSubClass engine;
    ASSERT_TRUE(engine.ssc_Subclass(window.hwnd(), 0, 1, &owner, false, false));
    engine.ssc_AddMsg(window.hwnd(), WM_SETTEXT, clsSubClass::MSG_BEFORE);
    EXPECT_TRUE(SetWindowTextW(window.hwnd(), L"A\u00F1o \u20AC"));
    wchar_t text[16] = {};
    GetWindowTextW(window.hwnd(), text, 16);
    EXPECT_STREQ(text, L"A\u00F1o \u20AC");
    EXPECT_EQ(owner.calls.size(), 1u);

    engine.ssc_UnSubclass(window.hwnd());
    EXPECT_TRUE(IsWindowUnicode(window.hwnd()));
    EXPECT_EQ(window.CurrentProc(), window.OwnProc());
}

}  // namespace
}  // namespace arc::test
