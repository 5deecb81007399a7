// "Generar Informe": the treasury report of the range DESDE to HASTA.
#include "Form1.h"

#include "TreasuryReport.h"

namespace arc {

void Form1::Command1_Click() {
    RunTreasuryReport(Hwnd(), host_, db_, *desde_, *hasta_, Text(L"Text5"), recordset_, REPORT, options_.preview);
}

}  // namespace arc
