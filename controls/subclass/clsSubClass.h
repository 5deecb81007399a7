#pragma once
// Public face of the subclassing engine.  An owner sees chosen messages of a
// window before and/or after the window's own procedure, through one callback
// method chosen by ordinal (1 = the owner's last method).
//
// This header fixes what the engine's users rely on; the implementation may
// add private members but keeps these declarations.
#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "controls/subclass/SubclassRegistry.h"

namespace arc {

// Owners derive from this and override WindowProc.  Ordinals count back from
// the last method of this interface, WindowProc, which is ordinal 1; methods
// that a derived class adds play no part.  All methods are __stdcall so the
// engine's thunk can call them with the owner's pointer as the first stack
// argument.
class SubclassOwner {
public:
    virtual void __stdcall WindowProc(BOOL bBefore, BOOL* bHandled, LRESULT* lReturn, HWND lng_hWnd, UINT uMsg,
                                      WPARAM wParam, LPARAM lParam, LONG_PTR* lParamUser) = 0;

protected:
    ~SubclassOwner() = default;
};

class clsSubClass {
public:
    static constexpr int MSG_ENTRIES = 32;
    static constexpr UINT ALL_MESSAGES = static_cast<UINT>(-1);
    enum When { MSG_BEFORE = 1, MSG_AFTER = 2, MSG_BEFORE_AND_AFTER = 3 };

    // Diagnostics: routine name and message text.  The default hook shows
    // and records nothing; tests replace it to observe the reports.
    using DiagnosticHook = std::function<void(const std::wstring& routine, const std::wstring& message)>;
    static void SetDiagnosticHook(DiagnosticHook hook);

    clsSubClass();
    ~clsSubClass();  // the end of the engine: releases every window it still holds
    clsSubClass(const clsSubClass&) = delete;
    clsSubClass& operator=(const clsSubClass&) = delete;

    bool ssc_Subclass(HWND lng_hWnd, LONG_PTR lParamUser, int nOrdinal, SubclassOwner* oCallback, bool bIdeSafety,
                      bool bUnicode);
    void ssc_UnSubclass(HWND lng_hWnd);
    void ssc_AddMsg(HWND lng_hWnd, UINT uMsg, int When);
    void ssc_DelMsg(HWND lng_hWnd, UINT uMsg, int When);

private:
    // The registry look-up: the live block of a subclassed window, or
    // nullptr after reporting why there is none.
    subclass::SubclassBlock* zMap_VFunction(HWND lng_hWnd);
    // Asks the block's thunk to put the window's own procedure back and free
    // the block, then forgets the window.
    void ReleaseWindow(HWND lng_hWnd, subclass::SubclassBlock* block);
    bool Refuse(const std::wstring& message);

    subclass::SubclassRegistry registry_;
    bool registryCreated_ = false;  // by the first subclassing that reserves a block
};

}  // namespace arc
