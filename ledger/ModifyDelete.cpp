// Selecting a movement in the grid, modifying or deleting it after a Yes/No
// confirmation, and the entry reset of "Cancelar".
#include "ClosedPeriod.h"
#include "Form1.h"
#include "History.h"
#include "MovementText.h"

#include "SqlText.h"

#include "platform/runtime/DateValue.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/NumberText.h"

#include <cwctype>

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

void Form1::ChangeAndRecompute(const wchar_t* operation, const std::wstring& sql) {
    // A change, its balance recomputation and its history entry commit
    // together, so the table never holds a stale balance nor a change
    // without its trace, whoever else uses the file.  Only the balances from
    // the changed row on can change.
    data::Transaction transaction(db_.Connection());
    History::Entry entry(db_, operation, ESTADO_MOD, History::Moment(host_.Now()));
    db_.Execute(sql);
    db_.RecomputeBalancesFrom(ESTADO_MOD);
    entry.Complete();
    transaction.Commit();
}

void Form1::RowLoadingStep() {
    // Without a current row there is nothing to load and nothing changes.
    const int row = grid_.Row();
    if (row >= 0) LoadMovement(RowOfGrid(grid_, row));
}

void Form1::LoadMovement(const MovementRow& movement) {
    // With an id that is not a whole number there is nothing to load.
    const data::Value& id = movement.id;
    if (id.GetType() != data::Value::Type::Integer) return;

    // A row whose date cannot be shown is not loaded: nothing of it, and
    // nothing of an earlier row, stays in the entry fields.
    const std::wstring& date = movement.fecha;
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
    const std::wstring& description = movement.descripcion;
    SetText(Id::Text3, description);
    SendMessageW(text3, EM_SETSEL, 0, static_cast<LPARAM>(description.size()));
    ESTADO_MOD = id.AsInteger();
    // Both boxes come from the row, whatever its amounts are.
    loadingRow_ = true;
    SetText(Id::Text1, AmountForBox(movement.ingreso));
    SetText(Id::Text2, AmountForBox(movement.egreso));
    loadingRow_ = false;
    SetStatusCaption(kModificando);
}

void Form1::Command4_Click() {
    ConfirmedChange(Question(L"modificar", true), [this] {
        // Both amounts and the date are read before anything is written, so
        // a bad box stops the modification with nothing half applied.
        const double income = AmountIn(Id::Text1);
        const double expense = AmountIn(Id::Text2);
        const std::wstring day = IsoDate(fechar_->DateTime());
        RefuseChangeIfClosed(db_, host_.Regional(), ESTADO_MOD, L"modificar", day);
        const std::wstring head = L"UPDATE FINANZAS SET FECHA = '" + day +
                                  L"', DESCRIPCION = '" + SqlQuoted(Text(Id::Text3)) + L"', INGRESO = '" +
                                  SqlNumber(income) + L"', EGRESO = '" + SqlNumber(expense) + L"', INGEGR = '";
        const std::wstring tail = L"' WHERE ID = " + std::to_wstring(ESTADO_MOD);
        if (income > 0) {
            ChangeAndRecompute(operacion::kModificacion, head + SqlNumber(income) + tail);
            SetStatusCaption(kRegistrando);
        }
        if (expense > 0) {
            ChangeAndRecompute(operacion::kModificacion, head + SqlNumber(-expense) + tail);
            SetStatusCaption(kRegistrando);
        }
    });
}

void Form1::Command3_Click() {
    ConfirmedChange(Question(L"eliminar", false), [this] {
        RefuseChangeIfClosed(db_, host_.Regional(), ESTADO_MOD, L"eliminar");
        ChangeAndRecompute(operacion::kBaja, L"DELETE FROM FINANZAS WHERE ID = " + std::to_wstring(ESTADO_MOD));
        SetStatusCaption(kRegistrando);
    });
}

// "CUIDADO: Está a punto de <verb> el registro del ..., ''...'', ingreso de
// ...." naming the movement as stored (and, for a modification, as it will
// be), then "¿REALMENTE DESEA <VERB> EL REGISTRO?".  Without a loaded row, or
// when it cannot be read, the question names none.
std::wstring Form1::Question(const std::wstring& verb, bool modifying) {
    std::wstring upper = verb;
    for (wchar_t& c : upper) c = static_cast<wchar_t>(towupper(c));
    const std::wstring ask = L"\r\n¿REALMENTE DESEA " + upper + L" EL REGISTRO?";
    const std::wstring head = L"CUIDADO: Está a punto de " + verb + L" el registro";
    if (StatusCaption() != kModificando || ESTADO_MOD == 0) return head + L"." + ask;
    const Regional& regional = host_.Regional();
    std::wstring named;
    try {
        db_.CONEXION();
        auto row = db_.OpenRecordset(L"select FECHA, DESCRIPCION, INGRESO, EGRESO FROM FINANZAS WHERE ID = " +
                                     std::to_wstring(ESTADO_MOD));
        if (row->Eof()) return head + L"." + ask;
        named = L" " + NamedMovement(row->Field(L"FECHA").AsText(), row->Field(L"DESCRIPCION").AsText(),
                             row->Field(L"INGRESO").AsDouble(), row->Field(L"EGRESO").AsDouble(), regional);
    } catch (...) {
        return head + L"." + ask;
    }
    std::wstring after;
    if (modifying) {
        const auto income = ParseNumber(Text(Id::Text1), regional), expense = ParseNumber(Text(Id::Text2), regional);
        if (income && expense)
            after = L"\r\nQuedará así: " + NamedMovement(IsoDate(fechar_->DateTime()), Text(Id::Text3), *income, *expense,
                                                  regional) + L".";
    }
    return head + named + L"." + after + ask;
}

// Modify and delete: the Yes/No question, then, in the modifying state, the
// change; the day view and the entry reset follow.  Every failure of the
// change is trapped: one message, the focus in Text1, nothing else run.  A
// refresh that fails after the change was saved says so, and the entry is
// reset all the same.
void Form1::ConfirmedChange(const std::wstring& question, const std::function<void()>& change) {
    if (host_.ShowMessage(Hwnd(), question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1) != IDYES) return;
    try {
        db_.CONEXION();
        if (StatusCaption() != kModificando) {
            host_.ShowMessage(Hwnd(), kNotModifying, MB_OK);
        } else {
            change();
        }
    } catch (...) {
        const RuntimeError e = CurrentError();
        if (IsOwnRefusal(e.Number())) {
            ShowRuntimeError(host_, Hwnd(), e);  // the amount or the closed period is named
            return;
        }
        host_.ShowMessage(Hwnd(), ModifyErrorText(e.Description()), MB_OK);
        SetFocus(Control(Id::Text1));
        return;
    }
    // The change is saved: whatever the refresh does, the entry fields are
    // emptied, so that nothing of the row can be registered a second time.
    try {
        MOSTRAR();
    } catch (...) {
        EntryReset();
        host_.ShowMessage(Hwnd(),
                          L"El cambio quedó guardado, pero la lista del día no se pudo actualizar; no lo repita ni "
                          L"lo registre otra vez.\r\n\r\n" + RuntimeErrorText(CurrentError()),
                          MB_OK);
        return;
    }
    EntryReset();
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
