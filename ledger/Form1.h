#pragma once
// Form1, the one window of the ledger program "Informe Financiero": its
// controls, the window state (the caption of Label11 and ESTADO_MOD) and the
// procedures behind its buttons.  Each concern lives in its own file:
//   Form1Layout.cpp     controls and their places
//   Form1.cpp           start-up, closing, status colour, hover, messages
//   DayView.cpp         MOSTRAR
//   Registering.cpp     amount boxes, Command2, LA_OPERACION
//   ModifyDelete.cpp    row loading, Modificar, Eliminar, Cancelar
//   ConfigPanel.cpp     Configurar, X, Guardar and the settings files
//   Backup.cpp          BACKUP, the backup at the session's end, the start-up notice
//   Restore.cpp         RESTAURAR, from the system menu
#include "DateField.h"
#include "LedgerDatabase.h"

#include "platform/grid/DataGrid.h"
#include "platform/report/Report.h"
#include "platform/runtime/Host.h"
#include "platform/window/Controls.h"
#include "platform/window/Window.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace arc {

class Form1 : public Window {
public:
    // Builds a date field (FECHAR, DESDE, HASTA) at a place given in twips.
    using DateFieldFactory = std::function<std::unique_ptr<DateField>(HWND parent, int left, int top, int width,
                                                                      int height, Host& host)>;

    struct Options {
        DateFieldFactory makeDateField;  // empty: the picker control
        bool endProgramOnClose = true;   // posts WM_QUIT when the window is gone
        report::PreviewOptions preview;  // how the report's preview behaves (tests close it themselves)
    };

    static constexpr wchar_t kRegistrando[] = L"Estado: Registrando...";
    static constexpr wchar_t kModificando[] = L"Estado: Modificando...";

    Form1(Host& host, Options options);
    ~Form1() override;

    // Creates the window hidden and runs the start-up.  Raises RuntimeError
    // when the database cannot be opened; the window is then destroyed.
    void Load();
    // Shows the window centred with the focus in Text1, then tells the user
    // once when the last backup could not be made.
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
    // "Restaurar una copia de seguridad..." of the system menu.
    void RESTAURAR();

    // Event handlers, callable by tests as the user's actions would call them.
    void Command2_Click();       // Registrar
    void Command4_Click();       // Modificar Registro
    void Command3_Click();       // Eliminar Registro
    void Command7_Click();       // Cancelar
    void Command1_Click();       // Generar Informe
    void Label9_Click();         // Configurar
    void Command5_Click();       // X
    void Command6_Click();       // Guardar
    void DataGrid1_Click();      // arms Timer2
    void DataGrid1_KeyPress(wchar_t key);
    void Timer2_Tick();
    void RowLoadingStep();
    void EntryReset();

    HWND Control(const std::wstring& name) const { return controls_.Get(name); }
    std::wstring Text(const std::wstring& name) const;
    void SetText(const std::wstring& name, const std::wstring& text);
    COLORREF ForeColour(const std::wstring& name) const { return controls_.ForeColour(name); }
    DataGrid& DataGrid1() { return grid_; }
    DateField& FECHAR() { return *fechar_; }
    DateField& DESDE() { return *desde_; }
    DateField& HASTA() { return *hasta_; }
    LedgerDatabase& Database() { return db_; }
    const std::shared_ptr<data::Recordset>& WindowRecordset() const { return recordset_; }
    bool Timer2Armed() const { return timer2Interval_ != 0; }
    // The button that Enter presses, or 0.
    int DefaultButtonId() const { return defaultButton_; }

    // Control ids.
    enum Id : int {
        kCommand1 = 101, kCommand2, kCommand3, kCommand4, kCommand5, kCommand6, kCommand7,
        kText1 = 201, kText2, kText3, kText4, kText5,
        kLabel9 = 301, kFrame1 = 401, kDataGrid1 = 501,
        kTimer2 = 2,
        // The system menu's own commands are multiples of 16 below 0xF000.
        kRestoreCommand = 0x0010,
    };

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnUnhandledError() override;

private:
    void CreateControls();
    void StartUp();
    void ReadSettingsFiles();
    void OnCommand(int id, int code, HWND control);
    void AmountChanged(const std::wstring& box, const std::wstring& other, const wchar_t* caption);
    void SetDefaultButton(int id);
    void ChangeAndRecompute(const std::wstring& sql);
    void ConfirmedChange(const wchar_t* question, const std::function<void()>& change);
    // The full value of an amount box; raises RuntimeError 13 for an empty
    // box and kErrUnreadableAmount, naming the amount, for a text that gives
    // no value (the focus goes to that box).
    double AmountIn(const wchar_t* box);
    std::wstring AmountForBox(const data::Value& value) const;
    void HidePanel();
    void SetMousePointer(int value);
    std::wstring SettingsPath(const wchar_t* file);
    void ShowError(const RuntimeError& e);

    Host& host_;
    Options options_;
    ControlSet controls_;
    arc::DataGrid grid_;
    std::unique_ptr<DateField> fechar_, desde_, hasta_;
    LedgerDatabase db_;
    std::shared_ptr<data::Recordset> recordset_;  // the window's record-set variable
    UINT timer2Interval_ = 0;
    int defaultButton_ = 0;
    int mousePointer_ = 0;
    bool loadingRow_ = false;  // the row-loading step is filling both amount boxes
    void RunBackup(bool sessionEnds);  // BACKUP, or the backup made as the session ends
    void NotifyLastBackup();
    bool sessionEnded_ = false;  // the session's end made the backup; a close after it makes none
    std::unique_ptr<report::Report> REPORT;  // the report object, created on first use
};

}  // namespace arc
