#include "PeriodDialog.h"

#include "PickerDateField.h"

namespace arc {

PeriodDialog::PeriodDialog(Host& host, bool askDay) : ModalForm(host), askDay_(askDay) {
    On(Id::Command1, Event::Click, [this] { Accept(); });
    On(Id::Command2, Event::Click, [this] { Cancel(); });
    OnMessage(WM_CLOSE, [this] { Cancel(); });
    // Enter accepts wherever the focus is.
    OnMessage(DM_GETDEFID, [](WPARAM, LPARAM) -> Reply {
        return MAKELRESULT(static_cast<int>(Id::Command1), DC_HASDEFID);
    });
}

bool PeriodDialog::Create(HWND owner, const std::wstring& caption, const std::wstring& explanation) {
    using enum Id;
    using K = ControlKind;
    std::vector<ControlDesc> table{
        {.id = Label1, .place = {120, 120, 6000, 735}, .text = explanation, .tab = 4},
        {.id = Command1, .kind = K::Button, .place = {3120, 1560, 1400, 420}, .text = L"Aceptar", .tab = 2},
        {.id = Command2, .kind = K::Button, .place = {4720, 1560, 1400, 420}, .text = L"Cancelar", .tab = 3},
    };
    if (askDay_)
        table.push_back({.id = DateBox, .kind = K::Custom, .place = {120, 960, 1935, 495}, .tab = 1,
                         .make = PickerDateFieldMaker(day_, host_)});
    else
        table.push_back({.id = TextBox, .kind = K::TextBox, .place = {120, 960, 6000, 420}, .tab = 1});
    const FormDesc desc{.className = L"ArcandoraPeriodo", .caption = caption, .width = 6240, .height = 2100,
                        .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                        .placement = Placement::CentredOnScreen};
    return Form::Create(desc, table, owner);
}

void PeriodDialog::Run(HWND owner, const Options& options) {
    RunModal(owner, [&] {
        SetFocus(askDay_ ? day_->Hwnd() : Control(Id::TextBox));
        if (options.onShown) options.onShown(*this);
    });
}

void PeriodDialog::Accept() {
    if (askDay_) {
        chosenDay_ = day_->DateTime();
    } else {
        reason_ = Text(Id::TextBox);
        if (reason_.find_first_not_of(L" \t\r\n") == std::wstring::npos) {
            host_.ShowMessage(Hwnd(), L"Escriba el motivo: queda en el historial de cambios.", MB_OK);
            SetFocus(Control(Id::TextBox));
            return;
        }
    }
    accepted_ = true;
    EndModal();
}

void PeriodDialog::Cancel() { EndModal(); }

std::optional<double> PeriodDialog::AskDay(HWND owner, Host& host, const std::wstring& caption,
                                           const std::wstring& explanation, double initial, const Options& options) {
    PeriodDialog dialog(host, true);
    if (!dialog.Create(owner, caption, explanation))
        throw RuntimeError(static_cast<long>(GetLastError()), L"No se pudo crear la ventana " + caption + L".");
    dialog.day_->SetDateTime(initial);
    dialog.Run(owner, options);
    return dialog.accepted_ ? std::optional<double>(dialog.chosenDay_) : std::nullopt;
}

std::optional<std::wstring> PeriodDialog::AskReason(HWND owner, Host& host, const std::wstring& caption,
                                                    const std::wstring& explanation, const Options& options) {
    PeriodDialog dialog(host, false);
    if (!dialog.Create(owner, caption, explanation))
        throw RuntimeError(static_cast<long>(GetLastError()), L"No se pudo crear la ventana " + caption + L".");
    dialog.Run(owner, options);
    return dialog.accepted_ ? std::optional<std::wstring>(dialog.reason_) : std::nullopt;
}

}  // namespace arc
