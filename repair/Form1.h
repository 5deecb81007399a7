#pragma once
// Form1 of Corvelan, "Repara y compacta BD": a button that lets the user
// pick a database, a label with the chosen file and a status line.  One press
// of the button writes REPARADOR.BAT, flashes the status line, opens the batch
// through the shell and ends the program, leaving the batch to rebuild the
// database in its own console window.
#include "platform/runtime/Host.h"
#include "platform/window/Controls.h"
#include "platform/window/Window.h"

#include <functional>
#include <memory>
#include <string>

namespace arc::repair {

// The mouse pointer values the window uses.
constexpr int kPointerDefault = 0;
constexpr int kPointerHourglass = 11;

// Colours of the status line (BGR).
constexpr COLORREF kStatusBlue = 0x00C00000;
constexpr COLORREF kStatusRed = 0x000000FF;
constexpr COLORREF kStatusText = 0x00FFFFFF;

// Passes of one flashing of the status line.
constexpr int kFlashPasses = 10000;

class Form1 : public Window {
public:
    // host: the outside world.  onEnd: called once when the window has gone,
    // whether the user closed it or a repair ended the program; the real
    // program quits its message loop there.
    Form1(Host& host, std::function<void()> onEnd);
    ~Form1() override;

    // Creates the window hidden, at its design size.
    bool Create();

    // A control by its design name: "Command1", "Label1", "Label2".
    HWND Control(const std::wstring& name) const;
    COLORREF StatusBackColour() const;
    int MousePointer() const { return mousePointer_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnUnhandledError() override;

private:
    // The button's click: the whole repair (Form1Repair.cpp).
    void Command1_Click();
    // Flashes the status line, hands the batch to the shell and ends the program.
    void StartRepair(const std::wstring& batchFolder, const std::wstring& workingFolder);
    // Stops before anything is written: the status line shows why, or hides
    // when there is nothing to say, and the window waits for another try.
    void BackToIdle(const std::wstring& status);
    void ShowRuntimeError(long number, const std::wstring& description);
    void FlashStatusLine();

    void SetCaption(const std::wstring& name, const std::wstring& text);
    std::wstring Caption(const std::wstring& name) const;
    void RepaintWindow();
    void RepaintControl(const std::wstring& name);
    void SetStatusBackColour(COLORREF colour);
    void SetMousePointer(int pointer);
    void EndProgram();

    Host& host_;
    std::function<void()> onEnd_;
    std::unique_ptr<ControlSet> controls_;
    int mousePointer_ = kPointerDefault;
    bool busy_ = false;    // a press is being handled
    bool ending_ = false;  // the window is being destroyed
};

}  // namespace arc::repair
