// Registering a movement: the amount boxes' change handling, the click of
// Command2 and LA_OPERACION, the insert of one row with its own balance.
#include "Form1.h"

#include "platform/runtime/DateValue.h"
#include "platform/runtime/NumberText.h"
#include "platform/runtime/Text.h"

namespace arc {

void Form1::AmountChanged(const std::wstring& box, const std::wstring& other, const wchar_t* caption) {
    // One reading of an amount everywhere: its full value in the regional
    // number format.
    if (auto value = ParseNumber(Text(box), host_.Regional())) {
        if (*value > 0) {
            SetText(other, L"0");
            SetWindowTextW(Control(L"Command2"), caption);
        }
        SetDefaultButton(kCommand2);
    } else {
        SetText(box, L"");
        SetFocus(Control(box));
    }
}

void Form1::Command2_Click() {
    if (StatusCaption() != kRegistrando) {
        host_.ShowMessage(Hwnd(),
                          L"No es posible registrar, el estado es: ''" + StatusCaption() +
                              L"''. Haga clic en en el botón ''Cancelar'' que se encuentra en el pie de la ventana y "
                              L"luego intente de nuevo.",
                          MB_OK);
        return;
    }
    for (const wchar_t* box : {L"Text1", L"Text2", L"Text3"}) {
        if (Text(box).empty()) {
            SetFocus(Control(box));
            return;
        }
    }
    // Registering never ends the program: a failure is reported and the
    // entry fields keep what the user typed.
    try {
        LA_OPERACION();
        MOSTRAR();
    } catch (const RuntimeError& e) {
        ShowError(e);
    }
}

void Form1::LA_OPERACION() {
    const Regional& regional = host_.Regional();
    const double income = CDbl(Text(L"Text1"), regional);
    const double expense = CDbl(Text(L"Text2"), regional);

    db_.CONEXION();
    db_.InsertMovement(fechar_->DateTime(), ToUpper(Text(L"Text3")), income, expense, Today(host_.Now()));
    SetText(L"Text1", L"");
    SetText(L"Text2", L"");
    SetText(L"Text3", L"");
    HWND text1 = Control(L"Text1");
    if (IsWindowVisible(text1)) SetFocus(text1);
}

}  // namespace arc
