#include "LedgerBench.h"

#include "CorrectionBench.h"
#include "LedgerGenerator.h"
#include "ScratchFolder.h"
#include "SelfCheckBench.h"
#include "Stopwatch.h"

#include "ledger/History.h"
#include "ledger/LedgerDatabase.h"
#include "ledger/TreasuryReport.h"
#include "ledger/TreasuryReportLayout.h"
#include "platform/report/GdiRenderer.h"
#include "platform/report/Report.h"
#include "platform/runtime/DateValue.h"
#include "platform/runtime/NumberText.h"
#include "platform/runtime/Text.h"

#include <cstdio>

namespace arc::bench {
namespace {

// Registering one movement the way LA_OPERACION does it: a fresh
// connection, then the fund read, the row inserted with its balance and its
// entry in the history, in one transaction.
void RegisterMovement(LedgerDatabase& database, double day, const std::wstring& description, double income,
                      double expense) {
    database.CONEXION();
    const std::wstring moment = IsoDate(day) + L" 12:00:00";
    database.InsertMovement(day, ToUpper(description), income, expense, day, [&](std::int64_t id) {
        History::Entry(database, operacion::kAlta, std::nullopt, moment).Complete(id);
    });
}

// Draws a page the way the preview does, at the screen's resolution, into a
// memory bitmap the size of the sheet.
void DrawToMemory(const report::Layout& layout, const report::PageContent& content) {
    HDC screen = GetDC(nullptr);
    int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    report::DeviceMapping map = report::DeviceMapping::ForDpi(dpiX, dpiY);
    int width = map.X(layout.Page().width), height = map.Y(layout.Page().height);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT sheet{0, 0, width, height};
    FillRect(memory, &sheet, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    report::GdiRenderer renderer;
    renderer.Draw(memory, content, map);
    GdiFlush();
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

std::wstring Grouped(size_t n) {
    std::wstring digits = std::to_wstring(n), out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i && (digits.size() - i) % 3 == 0) out += L',';
        out += digits[i];
    }
    return out;
}

void Progress(size_t rows, const wchar_t* what) {
    std::fwprintf(stderr, L"  %ls rows: %ls\n", Grouped(rows).c_str(), what);
    std::fflush(stderr);
}

}  // namespace

SizeResult MeasureLedger(size_t rows, const std::wstring& parent, const Regional& regional,
                         const BenchOptions& options) {
    SizeResult r;
    r.rows = rows;
    const int runs = rows >= options.slowFrom ? options.slowRuns : options.runs;
    ScratchFolder folder(L"ledger_" + std::to_wstring(rows), parent);
    LedgerDatabase database(folder.Path());
    database.CONEXION();

    Progress(rows, L"generating");
    Stopwatch generation;
    GeneratedLedger ledger = GenerateLedger(database, rows, 20261207u + static_cast<unsigned>(rows));
    r.generateMs = generation.ElapsedMs();

    Progress(rows, L"ACTUALIZAR_BD");
    database.CONEXION();
    // The usual case: the program changes only movements keyed in today, the
    // last ones, so only the last balances change; the worst case: the first
    // movement changes and every balance after it is rewritten.  Each run is
    // prepared by changing the sign of that movement's amount (not timed);
    // two changes restore it exactly.
    auto flip = [&](const wchar_t* which) {
        return [&database, which] {
            database.Execute(std::wstring(L"UPDATE FINANZAS SET INGEGR = -INGEGR WHERE ID = (SELECT ") + which +
                             L"(ID) FROM FINANZAS)");
        };
    };
    r.recomputeMs = MedianMs(runs, [&] { database.ACTUALIZAR_BD(); }, flip(L"MAX"));
    r.recomputeAllMs = MedianMs(runs, [&] { database.ACTUALIZAR_BD(); }, flip(L"MIN"));
    if (runs % 2) {
        flip(L"MAX")();
        flip(L"MIN")();
        database.ACTUALIZAR_BD();
    }
    r.balancesExact = BalancesMatch(database, ledger.balances);
    if (rows <= options.perRowLimit) {
        Progress(rows, L"per-row statement");
        r.perRowMs = MedianMs(options.slowRuns, [&] { database.Execute(LedgerDatabase::kRecomputeBalancesPerRow); });
        r.ratio = *r.perRowMs / r.recomputeMs;
        r.ratioAll = *r.perRowMs / r.recomputeAllMs;
    }

    Progress(rows, L"self-check");
    MeasureSelfCheck(database, regional, runs, r);

    Progress(rows, L"search and corrections");
    MeasureCorrections(database, ledger, runs, r);
    r.balancesExact = r.balancesExact && BalancesMatch(database, ledger.balances);

    Progress(rows, L"registering");
    // The history begins at the program's start, not at the first movement.
    database.CONEXION();
    History::Ensure(database, IsoDate(ledger.lastDay) + L" 08:00:00");
    int n = 0;
    r.registerMs = MedianMs(runs, [&] {
        ++n;
        RegisterMovement(database, ledger.lastDay, L"Movimiento de prueba " + std::to_wstring(n), n % 2 ? 0 : 125.5,
                         n % 2 ? 37.25 : 0);
    });

    Progress(rows, L"day view");
    r.dayViewMs = MedianMs(runs, [&] {
        database.CONEXION();
        auto rs = database.OpenRecordset(LedgerDatabase::DayViewQuery(ledger.lastDay));
        r.dayRows = rs->RecordCount();
    });

    Progress(rows, L"report query");
    std::shared_ptr<data::Recordset> year;
    r.yearQueryMs = MedianMs(runs, [&] {
        database.CONEXION();
        year = database.OpenRecordset(TreasuryQuery(ledger.yearFrom, ledger.yearTo));
    });
    r.yearRows = year->RecordCount();

    // The report as the "Generar Informe" click prepares it; its sheet is the
    // default printer's or A4, as in the preview.
    report::Report REPORT(TreasuryReportLayout());
    REPORT.SetTitle(TreasuryTitle(L"Asociación de prueba", ledger.yearFrom, ledger.yearTo, regional));
    REPORT.SetDataSource(std::make_shared<report::RecordsetSource>(year));

    Progress(rows, L"pagination");
    std::optional<report::Layout> layout;
    r.paginateMs = MedianMs(runs, [&] { layout.emplace(REPORT.Paginate(regional)); });
    r.pages = layout->PageCount();
    r.contentMs = MedianMs(runs, [&] { report::PageContent page = layout->Content(0); });
    Progress(rows, L"first page");
    r.firstPageMs = MedianMs(runs, [&] {
        report::Layout laid = REPORT.Paginate(regional);
        report::PageContent page = laid.Content(0);
        DrawToMemory(laid, page);
    });
    return r;
}

}  // namespace arc::bench
