// Writes the treasury report of a ledger with 100 movements of January 2026
// (keyed in out of date order, plus some outside the range) as a PDF file,
// with Spanish regional settings: three pages.  Usage: report_sample_pdf OUT.pdf
#include "ledger/LedgerDatabase.h"
#include "ledger/TreasuryReport.h"
#include "ledger/TreasuryReportLayout.h"
#include "platform/report/PdfWriter.h"
#include "platform/report/Report.h"
#include "platform/runtime/DateValue.h"
#include "platform/runtime/Error.h"

#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: report_sample_pdf OUT.pdf\n");
        return 2;
    }
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"arc_sample_pdf_" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    int code = 0;
    try {
        arc::LedgerDatabase db(folder);
        db.CONEXION();
        double fund = 0;
        // Movement k (1..100) is dated January (k % 31) + 1 and keyed in backwards.
        for (int k = 100; k >= 1; --k) {
            int day = k % 31 + 1;
            bool income = k % 3 != 0;
            double amount = income ? 100.0 * k + 0.5 : 25.0 * k;
            double signedAmount = income ? amount : -amount;
            fund += signedAmount;
            wchar_t row[400];
            swprintf(row, 400,
                     L"INSERT INTO FINANZAS VALUES (NULL, '2026-01-%02d', 'MOVIMIENTO %03d DÍA %02d AÑO', %.2f, %.2f, "
                     L"'2026-02-01', %.2f, %.2f)",
                     day, k, day, income ? amount : 0.0, income ? 0.0 : amount, signedAmount, fund);
            db.Execute(row);
        }
        db.Execute(L"INSERT INTO FINANZAS VALUES (NULL, '2025-12-31', 'FUERA DE RANGO', 999, 0, '2026-02-01', 999, 0)");
        db.Execute(L"INSERT INTO FINANZAS VALUES (NULL, '2026-02-01', 'FUERA DE RANGO', 999, 0, '2026-02-01', 999, 0)");

        const arc::Regional es = arc::RegionalFor(L"es-ES");
        double from = arc::DateSerial(2026, 1, 1), to = arc::DateSerial(2026, 1, 31);
        auto rs = db.OpenRecordset(arc::TreasuryQuery(from, to));
        arc::report::Report report(arc::TreasuryReportLayout());
        report.SetTitle(arc::TreasuryTitle(L"Asociación Vecinal Niño Jesús", from, to, es));
        report.SetDataSource(std::make_shared<arc::report::RecordsetSource>(rs));
        auto layout = report.Paginate(es, arc::report::PageSetup::A4(11175));
        arc::report::WritePdf(layout, argv[1]);
        std::printf("%zu rows, %zu pages\n", rs->RecordCount(), layout.PageCount());
    } catch (const arc::RuntimeError& e) {
        std::fprintf(stderr, "error %ld\n", e.Number());
        code = 1;
    }
    DeleteFileW((folder + L"\\BD.db").c_str());
    RemoveDirectoryW(folder.c_str());
    return code;
}
