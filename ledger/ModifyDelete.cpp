// Selecting a movement in the grid, modifying or deleting it after a Yes/No
// confirmation, and the entry reset of "Cancelar".
#include "Form1.h"

#include "SqlText.h"

#include "platform/runtime/DateValue.h"
#include "platform/runtime/NumberText.h"

namespace arc {
namespace {

const wchar_t kNotModifying[] =
    L"El estado no es ''Modificando...'' Haga clic en un registro y luego intente de nuevo.";

std::wstring ModifyErrorText(const std::wstring& description) {
    return L"Hay este error > ''" + description +
           L"''. Es probable que ya no exista el registro que usted está intentando modificar.";
}

}  // namespace

void Form1::ConnectModifyDelete() {
    // A click in the grid arms the one-shot Timer2; its tick, or a key
    // press, loads the row.  The interval goes back to 0 after the step.
    grid_.OnClick = [this] {
        timer2Interval_ = 100;
        SetTimer(Hwnd(), static_cast<UINT_PTR>(Id::Timer2), timer2Interval_, nullptr);
    };
    grid_.OnKeyPress = [this](wchar_t) { RowLoadingStep(); };
    OnMessage(WM_TIMER, [this](WPARAM timer, LPARAM) -> Reply {
        if (timer != static_cast<WPARAM>(Id::Timer2)) return {};
        KillTimer(Hwnd(), timer);
        timer2Interval_ = 0;
        RowLoadingStep();
        return 0;
    });
    On(Id::Command4, Event::Click, [this] { Command4_Click(); });
    On(Id::Command3, Event::Click, [this] { Command3_Click(); });
    On(Id::Command7, Event::Click, [this] { EntryReset(); });
}

// An amount for an entry box: the row's own value with its decimals, no
// grouping and the regional decimal separator ("0" for zero, a minus sign
// for a negative one), so that confirming without retyping keeps the row;
// a cell that holds no number leaves the box empty.
std::wstring Form1::AmountForBox(const data::Value& value) const {
    return value.IsNumber() ? CStr(value.AsDouble(), host_.Regional()) : std::wstring();
}

void Form1::ChangeAndRecompute(const std::wstring& sql) {
    // A change and its balance recomputation commit together, so the table
    // never holds a stale balance, whoever else uses the file.
    data::Transaction transaction(db_.Connection());
    db_.Execute(sql);
    db_.ACTUALIZAR_BD();
    transaction.Commit();
}

void Form1::RowLoadingStep() {
    // Without a current row, or with an id that is not a whole number, there
    // is nothing to load and nothing changes.
    const int row = grid_.Row();
    if (row < 0) return;
    const data::Value id = grid_.CellValue(row, 0);
    if (id.GetType() != data::Value::Type::Integer) return;

    // A row whose date cannot be shown is not loaded: nothing of it, and
    // nothing of an earlier row, stays in the entry fields.
    const std::wstring date = grid_.CellValue(row, 1).AsText();
    if (!fechar_->SetDateTimeText(date)) {
        EntryReset();
        host_.ShowMessage(Hwnd(),
                          L"La fecha ''" + date + L"'' de este registro no se puede leer como una fecha; el registro "
                                                  L"no se ha cargado.",
                          MB_OK);
        return;
    }
    HWND text3 = Control(Id::Text3);
    SetFocus(text3);
    const std::wstring description = grid_.CellValue(row, 2).AsText();
    SetText(Id::Text3, description);
    SendMessageW(text3, EM_SETSEL, 0, static_cast<LPARAM>(description.size()));
    ESTADO_MOD = id.AsInteger();
    // Both boxes come from the row, whatever its amounts are.
    loadingRow_ = true;
    SetText(Id::Text1, AmountForBox(grid_.CellValue(row, 3)));
    SetText(Id::Text2, AmountForBox(grid_.CellValue(row, 4)));
    loadingRow_ = false;
    SetStatusCaption(kModificando);
}

void Form1::Command4_Click() {
    ConfirmedChange(L"CUIDADO: Está a punto de modificar el registro.\r\n¿REALMENTE DESEA MODIFICAR EL REGISTRO?", [this] {
        // Both amounts and the date are read before anything is written, so
        // a bad box stops the modification with nothing half applied.
        const double income = AmountIn(Id::Text1);
        const double expense = AmountIn(Id::Text2);
        const std::wstring head = L"UPDATE FINANZAS SET FECHA = '" + IsoDate(fechar_->DateTime()) +
                                  L"', DESCRIPCION = '" + SqlQuoted(Text(Id::Text3)) + L"', INGRESO = '" +
                                  SqlNumber(income) + L"', EGRESO = '" + SqlNumber(expense) + L"', INGEGR = '";
        const std::wstring tail = L"' WHERE ID = " + std::to_wstring(ESTADO_MOD);
        if (income > 0) {
            ChangeAndRecompute(head + SqlNumber(income) + tail);
            SetStatusCaption(kRegistrando);
        }
        if (expense > 0) {
            ChangeAndRecompute(head + SqlNumber(-expense) + tail);
            SetStatusCaption(kRegistrando);
        }
    });
}

void Form1::Command3_Click() {
    ConfirmedChange(L"CUIDADO: Está a punto de eliminar el registro.\r\n¿REALMENTE DESEA ELIMINAR EL REGISTRO?", [this] {
        ChangeAndRecompute(L"DELETE FROM FINANZAS WHERE ID = " + std::to_wstring(ESTADO_MOD));
        SetStatusCaption(kRegistrando);
    });
}

// Modify and delete: the Yes/No question, then, in the modifying state, the
// change; the day view and the entry reset follow.  Every failure after the
// question is trapped: one message, the focus in Text1, nothing else run.
void Form1::ConfirmedChange(const wchar_t* question, const std::function<void()>& change) {
    if (host_.ShowMessage(Hwnd(), question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1) != IDYES) return;
    try {
        db_.CONEXION();
        if (StatusCaption() != kModificando) host_.ShowMessage(Hwnd(), kNotModifying, MB_OK);
        else change();
        MOSTRAR();
        EntryReset();
    } catch (...) {
        const RuntimeError e = CurrentError();
        if (e.Number() == kErrUnreadableAmount) {
            ShowRuntimeError(host_, Hwnd(), e);  // the amount is named and keeps the focus
            return;
        }
        host_.ShowMessage(Hwnd(), ModifyErrorText(e.Description()), MB_OK);
        SetFocus(Control(Id::Text1));
    }
}

void Form1::EntryReset() {
    SetText(Id::Text1, L"");
    SetText(Id::Text2, L"");
    SetText(Id::Text3, L"");
    fechar_->SetDateTime(Today(host_.Now()));
    ESTADO_MOD = 0;
    SetStatusCaption(kRegistrando);
    SetFocus(Control(Id::Text1));
}

}  // namespace arc
