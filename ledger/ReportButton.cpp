// "Generar Informe": the treasury report of the range DESDE to HASTA.
#include "Form1.h"

#include "TreasuryReport.h"

namespace arc {

void Form1::ConnectReport() {
    On(Id::Command1, Event::Click, [this] { Command1_Click(); });
}

void Form1::Command1_Click() {
    RunTreasuryReport(Hwnd(), host_, db_, *desde_, *hasta_, Text(Id::Text5), recordset_, REPORT, options_.preview);
}

}  // namespace arc
