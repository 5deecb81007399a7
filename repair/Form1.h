#pragma once
// Form1 of Corvelan, "Repara y compacta BD": a button that lets the user
// pick a database, a label with the chosen file and a status line.  One press
// of the button writes REPARADOR.BAT, flashes the status line, opens the batch
// through the shell and ends the program, leaving the batch to rebuild the
// database in its own console window.
#include "platform/runtime/Host.h"
#include "platform/window/Form.h"

#include <functional>
#include <string>

namespace arc::repair {

// Colours of the status line (BGR).
constexpr COLORREF kStatusBlue = 0x00C00000;
constexpr COLORREF kStatusRed = 0x000000FF;
constexpr COLORREF kStatusText = 0x00FFFFFF;

// Passes of one flashing of the status line.
constexpr int kFlashPasses = 10000;

class Form1 : public Form {
public:
    // The window's controls, named once.
    enum class Id : int { Command1 = 100, Label2, Label1 };

    // host: the outside world.  onEnd: called once when the window has gone,
    // whether the user closed it or a repair ended the program; the real
    // program quits its message loop there.
    Form1(Host& host, std::function<void()> onEnd);

    // Creates the window hidden, at its design size.
    bool Create();

    COLORREF StatusBackColour() const { return BackColour(Id::Label2); }

protected:
    // Anything unforeseen ends the program as a failing step would, after
    // its number and description are shown.
    void OnUnhandledError(const RuntimeError& error) override;

private:
    // The button's click: the whole repair (Form1Repair.cpp).
    void Command1_Click();
    // Flashes the status line, hands the batch to the shell and ends the program.
    void StartRepair(const std::wstring& batchFolder, const std::wstring& workingFolder);
    // Stops before anything is written: the status line shows why, or hides
    // when there is nothing to say, and the window waits for another try.
    void BackToIdle(const std::wstring& status);
    void FlashStatusLine();

    void EndProgram();

    std::function<void()> onEnd_;
    bool busy_ = false;    // a press is being handled
    bool ending_ = false;  // the window is being destroyed
};

}  // namespace arc::repair
