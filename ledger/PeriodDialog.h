#pragma once
// The small modal window behind "Cerrar período..." and "Reabrir
// período...": a line of explanation, then either a day (the last day of the
// period to close) or a text (the reason for reopening), and Aceptar /
// Cancelar.  Enter accepts, Escape cancels.  A reason left empty is asked
// for again.
#include "DateField.h"

#include "platform/window/ModalForm.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace arc {

class PeriodDialog : public ModalForm {
public:
    enum class Id : int { Label1 = 100, DateBox, TextBox, Command1 = IDOK, Command2 = IDCANCEL };
    struct Options {
        // Runs once the window is shown, inside its loop (tests answer it from here).
        std::function<void(PeriodDialog&)> onShown;
    };

    // The day chosen (a date value), or none when cancelled.
    static std::optional<double> AskDay(HWND owner, Host& host, const std::wstring& caption,
                                        const std::wstring& explanation, double initial, const Options& options = {});
    // The reason typed, or none when cancelled.
    static std::optional<std::wstring> AskReason(HWND owner, Host& host, const std::wstring& caption,
                                                 const std::wstring& explanation, const Options& options = {});

    PeriodDialog(Host& host, bool askDay);

    void Accept();
    void Cancel();
    DateField* Day() { return day_.get(); }

private:
    bool Create(HWND owner, const std::wstring& caption, const std::wstring& explanation);
    void Run(HWND owner, const Options& options);

    bool askDay_;
    std::unique_ptr<DateField> day_;
    bool accepted_ = false;
    double chosenDay_ = 0;
    std::wstring reason_;
};

}  // namespace arc
