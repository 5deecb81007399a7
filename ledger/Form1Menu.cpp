// The menu bar above the designed window: its menus, their keyboard access
// and what each command does.  The window's client area, and so every
// designed control, stays as it was; the window is taller by the menu.
#include "BackupResult.h"
#include "Form1.h"
#include "History.h"
#include "MonthlySummaryReport.h"

#include "platform/runtime/DateValue.h"

#include "Version.h"

namespace arc {

std::vector<MenuItem> Form1::MenuBar() {
    const auto command = [](Command c) { return static_cast<UINT>(c); };
    return {
        {L"&Archivo", 0,
         {{L"&Importar extracto bancario...", command(Command::ImportStatement)},
          {L"&Restaurar una copia de seguridad...", command(Command::Restore)},
          {L"Última copia de seguridad comprobada", command(Command::LastBackup)},
          {},
          {L"&Salir", command(Command::Exit)}}},
        {L"&Movimientos", 0,
         {{L"&Buscar y corregir...\tCtrl+B", command(Command::Search)},
          {L"&Historial de cambios", command(Command::History)},
          {L"Com&probar el libro...", command(Command::CheckBook)},
          {},
          {L"&Cerrar período...", command(Command::ClosePeriod)},
          {L"&Reabrir período...", command(Command::ReopenPeriod)}}},
        {L"&Informes", 0,
         {{L"&Informe de tesorería", command(Command::TreasuryReport)},
          {L"&Resumen mensual", command(Command::MonthlySummary)},
          {L"&Cuadre con el banco...", command(Command::Reconciliation)}}},
        {L"A&yuda", 0, {{L"&Acerca de Arcandora", command(Command::About)}}},
    };
}

void Form1::ConnectMenu() {
    // The line of the last checked backup is read again whenever "Archivo"
    // opens: a batch may have finished since.
    OnMessage(WM_INITMENUPOPUP, [this](WPARAM menu, LPARAM) -> Reply {
        const UINT line = static_cast<UINT>(Command::LastBackup);
        if (GetMenuState(reinterpret_cast<HMENU>(menu), line, MF_BYCOMMAND) != static_cast<UINT>(-1))
            ShowLastCheckedBackup();
        return {};
    });
    OnCommand(static_cast<UINT>(Command::Restore), [this] { RESTAURAR(); });
    // Leaving through the menu is closing the window: the backup runs as then.
    OnCommand(static_cast<UINT>(Command::Exit), [this] { PostMessageW(Hwnd(), WM_CLOSE, 0, 0); });
    OnCommand(static_cast<UINT>(Command::Search), [this] { BUSCAR(); });
    OnCommand(static_cast<UINT>(Command::ImportStatement), [this] { IMPORTAR_EXTRACTO(); });
    OnCommand(static_cast<UINT>(Command::Reconciliation), [this] {
        ShowBankReconciliation(Hwnd(), host_, db_, options_.import.onReconciliationShown);
    });
    OnCommand(static_cast<UINT>(Command::History),
              [this] { HistoryWindow::Show(Hwnd(), host_, db_, options_.history); });
    OnCommand(static_cast<UINT>(Command::CheckBook), [this] { COMPROBAR_LIBRO(); });
    OnCommand(static_cast<UINT>(Command::ClosePeriod), [this] { CERRAR_PERIODO(); });
    OnCommand(static_cast<UINT>(Command::ReopenPeriod), [this] { REABRIR_PERIODO(); });
    OnCommand(static_cast<UINT>(Command::TreasuryReport), [this] { Command1_Click(); });
    OnCommand(static_cast<UINT>(Command::MonthlySummary), [this] {
        RunMonthlySummary(Hwnd(), host_, db_, desde_->DateTime(), hasta_->DateTime(), Text(Id::Text5),
                          options_.preview);
    });
    OnCommand(static_cast<UINT>(Command::About), [this] {
        host_.ShowMessage(Hwnd(),
                          L"Arcandora " ARC_VERSION_TEXT L"\r\n\r\nLibro de caja de la entidad: ingresos, egresos y "
                          L"fondo, con informe de tesorería y copias de seguridad comprobadas.\r\n\r\nLa base de datos "
                          L"está en " + host_.InstallFolder() + L"\\BD.db.",
                          MB_OK);
    });
}

void Form1::ShowLastCheckedBackup() {
    const UINT line = static_cast<UINT>(Command::LastBackup);
    const auto when = LastCheckedBackup(host_);
    const std::wstring text = when ? L"Última copia de seguridad comprobada: " + BackupTimeText(*when, host_.Regional())
                                   : std::wstring(L"Aún no hay ninguna copia de seguridad comprobada");
    ModifyMenuW(GetMenu(Hwnd()), line, MF_BYCOMMAND | MF_STRING | MF_GRAYED, line, text.c_str());
}

void Form1::IMPORTAR_EXTRACTO() {
    // Each movement written is an entry of the history that names the file,
    // and the closed period refuses the movements it holds.
    ImportHooks hooks = options_.import;
    hooks.closedThrough = [this]() -> std::optional<double> {
        const auto closed = History::ClosedThrough(db_);
        return closed ? ParseIsoDate(*closed) : std::nullopt;
    };
    hooks.recordInsert = [this](data::Connection&, std::int64_t id, const std::wstring& fileName) {
        History::Entry(db_, operacion::kAlta, std::nullopt, History::Moment(host_.Now()), L"EXTRACTO=" + fileName)
            .Complete(id);
    };
    if (ImportBankStatement(Hwnd(), host_, db_, hooks)) MOSTRAR();
}

void Form1::BUSCAR() {
    if (auto chosen = SearchWindow::Choose(Hwnd(), host_, db_, options_.search)) LoadMovement(*chosen);
}

}  // namespace arc
