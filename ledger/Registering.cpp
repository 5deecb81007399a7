// Registering a movement: the amount boxes' change handling, the click of
// Command2 and LA_OPERACION, the insert of one row with its own balance.
#include "Form1.h"

#include "platform/runtime/DateValue.h"
#include "platform/runtime/NumberText.h"
#include "platform/runtime/Text.h"

namespace arc {

void Form1::AmountChanged(const std::wstring& box, const std::wstring& other, const wchar_t* caption) {
    // The numeric test lets through every text on the way to a number; the
    // "> 0" test takes the one strict reading that registering and modifying
    // store.  While a row is loaded both boxes come from the row itself.
    const std::wstring text = Text(box);
    if (IsNumeric(text, host_.Regional())) {
        const NumberReading amount = ReadNumber(text, host_.Regional());
        if (amount.kind == NumberReading::Kind::Number && amount.value > 0) {
            if (!loadingRow_) SetText(other, L"0");
            SetWindowTextW(Control(L"Command2"), caption);
        }
        SetDefaultButton(kCommand2);
    } else {
        SetText(box, L"");
        SetFocus(Control(box));
    }
}

double Form1::AmountIn(const wchar_t* box) {
    const Regional& regional = host_.Regional();
    const std::wstring text = Text(box);
    const NumberReading amount = ReadNumber(text, regional);
    if (amount.kind == NumberReading::Kind::Number) return amount.value;
    if (text.empty()) return CDbl(text, regional);  // the runtime's type mismatch
    // A number left half typed ("-", "1e") or with grouping that no number
    // has ("1.000.5") is never read as some other amount.
    SetFocus(Control(box));
    const std::wstring head = L"El importe ''" + text + L"'' de " +
                              (std::wstring(box) == L"Text1" ? L"Ingreso" : L"Egreso");
    const wchar_t tail[] = L"Corríjalo y vuelva a intentarlo; no se ha guardado nada.";
    if (amount.kind == NumberReading::Kind::NotNumber)
        throw RuntimeError(kErrUnreadableAmount, head + L" no es un número completo. " + tail);
    throw RuntimeError(kErrUnreadableAmount, head + L" no se puede leer: el separador de miles ''" +
                                                 regional.thousand + L"'' va cada tres cifras y los decimales van "
                                                 L"tras ''" + regional.decimal + L"''. " + tail);
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
    } catch (const RuntimeError& e) {
        ShowError(e);
        return;
    }
    // The movement is stored: a failing refresh must not make the user
    // register it a second time.
    try {
        MOSTRAR();
    } catch (...) {
        host_.ShowMessage(Hwnd(),
                          L"El movimiento quedó registrado, pero la lista del día no se pudo actualizar; no lo "
                          L"registre otra vez.\r\n\r\n" + RuntimeErrorText(CurrentError()),
                          MB_OK);
    }
}

void Form1::LA_OPERACION() {
    // Both amounts and the date are read before anything is written.
    const double income = AmountIn(L"Text1");
    const double expense = AmountIn(L"Text2");
    const double date = fechar_->DateTime();

    db_.CONEXION();
    db_.InsertMovement(date, ToUpper(Text(L"Text3")), income, expense, Today(host_.Now()));
    SetText(L"Text1", L"");
    SetText(L"Text2", L"");
    SetText(L"Text3", L"");
    HWND text1 = Control(L"Text1");
    if (IsWindowVisible(text1)) SetFocus(text1);
}

}  // namespace arc
