// The menu bar above the designed window: its menus, their keyboard access
// and what each command does.  The window's client area, and so every
// designed control, stays as it was; the window is taller by the menu.
#include "Form1.h"
#include "MonthlySummaryReport.h"

#include "Version.h"

namespace arc {

std::vector<MenuItem> Form1::MenuBar() {
    const auto command = [](Command c) { return static_cast<UINT>(c); };
    return {
        {L"&Archivo", 0,
         {{L"&Restaurar una copia de seguridad...", command(Command::Restore)},
          {},
          {L"&Salir", command(Command::Exit)}}},
        {L"&Movimientos", 0,
         {{L"&Buscar y corregir...\tCtrl+B", command(Command::Search)},
          {L"&Historial de cambios", command(Command::History)},
          {},
          {L"&Cerrar período...", command(Command::ClosePeriod)},
          {L"&Reabrir período...", command(Command::ReopenPeriod)}}},
        {L"&Informes", 0,
         {{L"&Informe de tesorería", command(Command::TreasuryReport)},
          {L"&Resumen mensual", command(Command::MonthlySummary)}}},
        {L"A&yuda", 0, {{L"&Acerca de Arcandora", command(Command::About)}}},
    };
}

void Form1::ConnectMenu() {
    OnCommand(static_cast<UINT>(Command::Restore), [this] { RESTAURAR(); });
    // Leaving through the menu is closing the window: the backup runs as then.
    OnCommand(static_cast<UINT>(Command::Exit), [this] { PostMessageW(Hwnd(), WM_CLOSE, 0, 0); });
    OnCommand(static_cast<UINT>(Command::Search), [this] { BUSCAR(); });
    OnCommand(static_cast<UINT>(Command::History),
              [this] { HistoryWindow::Show(Hwnd(), host_, db_, options_.history); });
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

void Form1::BUSCAR() {
    if (auto chosen = SearchWindow::Choose(Hwnd(), host_, db_, options_.search)) LoadMovement(*chosen);
}

}  // namespace arc
