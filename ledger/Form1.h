#pragma once
// Form1, the one window of the ledger program "Informe Financiero": its
// controls, the window state (the caption of Label11 and ESTADO_MOD) and the
// procedures behind its buttons.  Each concern lives in its own file and
// registers its own handlers there:
//   Form1Layout.cpp     controls and their places
//   Form1.cpp           start-up, closing, status colour, Timer2
//   DayView.cpp         MOSTRAR
//   Registering.cpp     amount boxes, Command2, LA_OPERACION
//   ModifyDelete.cpp    the grid, row loading, Modificar, Eliminar, Cancelar
//   ConfigPanel.cpp     Configurar and its hover, X, Guardar and the settings files
//   ReportButton.cpp    Generar Informe
//   Backup.cpp          BACKUP, the backup at the session's end, the start-up notices
//   Restore.cpp         RESTAURAR, from the system menu and the menu bar
//   Form1Menu.cpp       the menu bar above the designed window and its commands
//   SetAsideLedger.cpp  the start's offer of a ledger that a repair set aside
//   Form1BookCheck.cpp  COMPROBAR_LIBRO, the self-check of the book and its mend
#include "DateField.h"
#include "LedgerDatabase.h"
#include "MovementRow.h"

#include "BankImport.h"
#include "HistoryWindow.h"
#include "PeriodDialog.h"
#include "SearchWindow.h"

#include "platform/grid/DataGrid.h"
#include "platform/report/Report.h"
#include "platform/runtime/Host.h"
#include "platform/window/Form.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace arc {

class Form1 : public Form {
public:
    struct Options {
        bool endProgramOnClose = true;   // posts WM_QUIT when the window is gone
        report::PreviewOptions preview;  // how the report's preview behaves (tests close it themselves)
        SearchWindow::Options search;    // how the search window behaves (tests drive it themselves)
        HistoryWindow::Options history;  // the same for the history window
        PeriodDialog::Options periodDialog;  // and for closing and reopening a period
        ImportHooks import;                  // tests drive the import's windows through its hooks
    };

    // Every control of the window, named once: the table, the code and the
    // control ids all use these.
    enum class Id : int {
        Label7 = 100, Label9, Frame1, Label6, Label4, Label3, Command1, FECHAR, Text1, Text2, Command2, Label1, Label2,
        Label5, DESDE, HASTA, Text3, Label11, DataGrid1, Command4, Command7, Command3, Timer2,
        Label13, Command5, Label12, Text5, Label10, Text4, Command6,
    };
    // "Restaurar una copia de seguridad..." on the system menu, whose own
    // commands are multiples of 16 below 0xF000.
    static constexpr UINT kRestoreCommand = 0x0010;
    // The commands of the menu bar.
    enum class Command : UINT {
        Restore = 1001, Exit, Search, TreasuryReport, About, History, ClosePeriod, ReopenPeriod, MonthlySummary,
        ImportStatement, Reconciliation, CheckBook,
        LastBackup,  // "Archivo": a greyed line saying when the last checked backup was made
    };

    static constexpr wchar_t kRegistrando[] = L"Estado: Registrando...";
    static constexpr wchar_t kModificando[] = L"Estado: Modificando...";

    Form1(Host& host, Options options);

    // Creates the window hidden and runs the start-up.  Raises RuntimeError
    // when the database cannot be opened, or when the user keeps neither a
    // ledger a cut repair set aside nor a copy; the window is then destroyed.
    void Load();
    // Shows the window centred with the focus in Text1, then tells the user
    // once when the last backup could not be made, when no backup drive is
    // set, and what the self-check of the book finds wrong.
    void Show(int showCommand);

    // Window state.
    std::wstring StatusCaption() const;
    void SetStatusCaption(const std::wstring& caption);
    COLORREF StatusColour() const;
    std::int64_t ESTADO_MOD = 0;

    // Procedures of the window.
    void MOSTRAR();
    void LA_OPERACION();
    void BACKUP();
    void RESTAURAR();

    // Event handlers, callable by tests as the user's actions would call them.
    void Command2_Click();       // Registrar
    void Command4_Click();       // Modificar Registro
    void Command3_Click();       // Eliminar Registro
    void Command1_Click();       // Generar Informe
    void Command6_Click();       // Guardar
    void BUSCAR();               // "Buscar y corregir...": the search, then the row chosen loaded
    void CERRAR_PERIODO();       // "Cerrar período..."
    void REABRIR_PERIODO();      // "Reabrir período..."
    void IMPORTAR_EXTRACTO();    // "Importar extracto bancario...", then the day view refreshed
    // "Comprobar el libro...": the self-check, told to the user, and its mend
    // on Yes; at start (atStart) a sound book, or one that cannot be read
    // now, says nothing.
    void COMPROBAR_LIBRO(bool atStart = false);
    void RowLoadingStep();       // the grid's key press, and Timer2's tick after a click
    // The row-loading step for a movement found anywhere (the day view's
    // current row, or a row chosen in the search): its values go into the
    // entry fields and the window turns to the modifying state.
    void LoadMovement(const MovementRow& movement);
    void EntryReset();           // Cancelar

    DataGrid& DataGrid1() { return grid_; }
    DateField& FECHAR() { return *fechar_; }
    DateField& DESDE() { return *desde_; }
    DateField& HASTA() { return *hasta_; }
    LedgerDatabase& Database() { return db_; }
    const std::shared_ptr<data::Recordset>& WindowRecordset() const { return recordset_; }
    bool Timer2Armed() const { return timer2Interval_ != 0; }
    // The button that Enter presses, or none.
    ControlId DefaultButton() const { return defaultButton_; }

private:
    std::vector<ControlDesc> Layout();
    // Each concern's handlers, registered from its own file.
    void ConnectLife();
    void ConnectRegistering();
    void ConnectModifyDelete();
    void ConnectConfigPanel();
    void ConnectReport();
    void ConnectBackup();
    void ConnectRestore();
    void ConnectMenu();
    static std::vector<MenuItem> MenuBar();
    void StartUp();
    void ReadSettingsFiles();
    void AmountChanged(Id box, Id other, const wchar_t* caption);
    void SetDefaultButton(ControlId id);
    void ChangeAndRecompute(const wchar_t* operation, const std::wstring& sql);
    std::wstring Question(const std::wstring& verb, bool modifying);
    void ConfirmedChange(const std::wstring& question, const std::function<void()>& change);
    // The full value of an amount box; raises RuntimeError 13 for an empty
    // box and kErrUnreadableAmount, naming the amount, for a text that gives
    // no value (the focus goes to that box).
    double AmountIn(Id box);
    std::wstring AmountForBox(const data::Value& value) const;
    void HidePanel();
    std::wstring SettingsPath(const wchar_t* file);
    void RunBackup(bool sessionEnds);  // BACKUP, or the backup made as the session ends
    void NotifyLastBackup();
    // Once per start, the first time it matters: at start, or at a backup
    // when Text4 has been emptied since.
    void TellNoBackupDrive();
    // The greyed line of "Archivo" with when the last checked backup was made.
    void ShowLastCheckedBackup();
    // Offers to put back, or to restore in place of, a ledger that a repair
    // left set aside; raises kErrLedgerSetAside when the start must stop.
    void OfferSetAsideLedger();
    // RESTAURAR; the day view is refreshed when asked.  True once restored.
    bool RestoreACopy(bool refresh);

    Options options_;
    arc::DataGrid grid_;
    std::unique_ptr<DateField> fechar_, desde_, hasta_;
    LedgerDatabase db_;
    std::shared_ptr<data::Recordset> recordset_;  // the window's record-set variable
    UINT timer2Interval_ = 0;
    ControlId defaultButton_;
    bool loadingRow_ = false;    // the row-loading step is filling both amount boxes
    bool sessionEnded_ = false;  // the session's end made the backup; a close after it makes none
    bool noDriveTold_ = false;   // this start has said that no backup drive is set
    std::unique_ptr<report::Report> REPORT;  // the report object, created on first use
};

}  // namespace arc
