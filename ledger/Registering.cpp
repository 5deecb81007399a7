// Registering a movement: the amount boxes' change handling, the click of
// Command2 and LA_OPERACION, the insert of one row with its own balance.
#include "ClosedPeriod.h"
#include "Form1.h"
#include "History.h"

#include "platform/runtime/DateValue.h"
#include "platform/runtime/NumberText.h"
#include "platform/runtime/Text.h"

namespace arc {

void Form1::ConnectRegistering() {
    On(Id::Text1, Event::Change, [this] { AmountChanged(Id::Text1, Id::Text2, L"Registrar Ingreso"); });
    On(Id::Text2, Event::Change, [this] { AmountChanged(Id::Text2, Id::Text1, L"Registrar Egreso"); });
    On(Id::Command2, Event::Click, [this] { Command2_Click(); });
    // The dialog manager asks which button Enter presses.
    OnMessage(DM_GETDEFID, [this](WPARAM, LPARAM) -> Reply {
        return defaultButton_ == ControlId() ? 0 : MAKELRESULT(defaultButton_.Value(), DC_HASDEFID);
    });
}

void Form1::SetDefaultButton(ControlId id) {
    if (defaultButton_ == id) return;
    if (HWND old = Control(defaultButton_)) SendMessageW(old, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    defaultButton_ = id;
    if (HWND button = Control(id)) SendMessageW(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void Form1::AmountChanged(Id box, Id other, const wchar_t* caption) {
    // The numeric test lets through every text on the way to a number; the
    // "> 0" test takes the one strict reading that registering and modifying
    // store.  While a row is loaded both boxes come from the row itself.
    const std::wstring text = Text(box);
    if (IsNumeric(text, host_.Regional())) {
        const NumberReading amount = ReadNumber(text, host_.Regional());
        if (amount.kind == NumberReading::Kind::Number && amount.value > 0) {
            if (!loadingRow_) SetText(other, L"0");
            SetWindowTextW(Control(Id::Command2), caption);
        }
        SetDefaultButton(Id::Command2);
    } else {
        SetText(box, L"");
        SetFocus(Control(box));
    }
}

double Form1::AmountIn(Id box) {
    const Regional& regional = host_.Regional();
    const std::wstring text = Text(box);
    const NumberReading amount = ReadNumber(text, regional);
    if (amount.kind == NumberReading::Kind::Number) return amount.value;
    if (text.empty()) return CDbl(text, regional);  // the runtime's type mismatch
    // A number left half typed ("-", "1e") or with grouping that no number
    // has ("1.000.5") is never read as some other amount.
    SetFocus(Control(box));
    const std::wstring head = L"El importe ''" + text + L"'' de " +
                              (box == Id::Text1 ? L"Ingreso" : L"Egreso");
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
    for (Id box : {Id::Text1, Id::Text2, Id::Text3}) {
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
        ShowRuntimeError(host_, Hwnd(), e);
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
    const double income = AmountIn(Id::Text1);
    const double expense = AmountIn(Id::Text2);
    const double date = fechar_->DateTime();

    db_.CONEXION();
    RefuseIfClosed(db_, host_.Regional(), IsoDate(date), L"registrar");
    const std::wstring moment = History::Moment(host_.Now());
    db_.InsertMovement(date, ToUpper(Text(Id::Text3)), income, expense, Today(host_.Now()), [&](std::int64_t id) {
        History::Entry(db_, operacion::kAlta, std::nullopt, moment).Complete(id);
    });
    SetText(Id::Text1, L"");
    SetText(Id::Text2, L"");
    SetText(Id::Text3, L"");
    HWND text1 = Control(Id::Text1);
    if (IsWindowVisible(text1)) SetFocus(text1);
}

}  // namespace arc
