#pragma once
// A form shown modally over its owner: the owner is disabled while it is on
// screen and enabled again (and activated) before it goes; its own message
// loop runs until it ends, taking the dialog keys of the form; a WM_QUIT
// that loop takes is posted again for the program's own loop.
#include "Form.h"

#include <functional>

namespace arc {

class ModalForm : public Form {
public:
    explicit ModalForm(Host& host);
    ~ModalForm() override;

    bool Ended() const { return ended_; }
    // Ends the loop: the owner comes back first, then the window is destroyed.
    void EndModal();

protected:
    // Shows the window, created hidden beforehand, disables the owner and
    // runs the loop until EndModal (or the window is destroyed otherwise).
    // `shown` runs once, when the window is on screen, before the loop.
    void RunModal(HWND owner, const std::function<void()>& shown);
    // A message of the loop, before the dialog keys; true when it was taken.
    virtual bool RouteMessage(MSG&) { return false; }
    // The loop was left with the window still there (the program is
    // quitting): it closes as the user would close it.
    virtual void CloseWindow() { EndModal(); }

private:
    void RestoreOwner();

    HWND owner_ = nullptr;
    bool ownerDisabled_ = false;
    bool ended_ = false;
};

}  // namespace arc
