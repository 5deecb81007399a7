// The treasury report of a ledger with 100 movements of January 2026 (keyed
// in out of date order, a few with quotes, separators, line breaks and a
// letter outside Windows-1252, plus two outside the range), for the scripts
// beside it.  The ledger is left in FOLDER\BD.db.  Spanish settings unless
// the mode ends in "-en".
//   report_sample FOLDER pdf            writes FOLDER\informe.pdf (A4, no printer)
//   report_sample FOLDER csv[-en]       "Guardar CSV" in the preview: FOLDER\informe.csv
//   report_sample FOLDER print PRINTER DOCUMENT [FROM TO]
//                                       "Imprimir" in the preview, the system's print
//                                       dialog answered: PRINTER, pages FROM..TO
// With "summary-" before the mode (summary-pdf, summary-csv, summary-print),
// the monthly summary of 15 January to 10 March 2026 of a ledger with
// movements in those three months and around them, through its preview:
// FOLDER\resumen.pdf and FOLDER\resumen.csv by the preview's buttons.
// "summary-show" leaves its preview open until it is closed by hand.
//   report_sample FOLDER shot ZOOM      the preview's first page at ZOOM %, as drawn
//                                       on screen: FOLDER\vista-ZOOM.bmp
#include "ledger/LedgerDatabase.h"
#include "ledger/MonthlySummaryReport.h"
#include "ledger/TreasuryReport.h"
#include "ledger/TreasuryReportLayout.h"
#include "platform/report/PdfWriter.h"
#include "platform/report/Report.h"
#include "platform/runtime/DateValue.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Text.h"
#include "support/TestHost.h"

#include <windows.h>
#include <dlgs.h>

#include <cstdio>
#include <string>

namespace {

// The print dialog's answer, given from a timer inside its modal loop.
struct DialogAnswer {
    std::wstring printer;
    int from = 0, to = 0;  // 0: all pages
    std::wstring rangeText;
    bool answered = false;
} answer;

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM found) {
    wchar_t cls[16] = L"";
    GetClassNameW(hwnd, cls, 16);
    if (IsWindowVisible(hwnd) && std::wstring(cls) == L"#32770" && GetDlgItem(hwnd, cmb4)) {
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK AnswerPrintDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) return;
    KillTimer(nullptr, timer);
    HWND printers = GetDlgItem(dialog, cmb4);
    LRESULT item = SendMessageW(printers, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                reinterpret_cast<LPARAM>(answer.printer.c_str()));
    if (item < 0) {
        std::fprintf(stderr, "printer not in the dialog\n");
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    if (item != SendMessageW(printers, CB_GETCURSEL, 0, 0)) {
        SendMessageW(printers, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cmb4, CBN_SELCHANGE), reinterpret_cast<LPARAM>(printers));
    }
    if (answer.from > 0) {
        SendMessageW(GetDlgItem(dialog, rad3), BM_CLICK, 0, 0);
        SetDlgItemInt(dialog, edt1, static_cast<UINT>(answer.from), FALSE);
        SetDlgItemInt(dialog, edt2, static_cast<UINT>(answer.to), FALSE);
    }
    wchar_t text[200] = L"";
    GetDlgItemTextW(dialog, grp1, text, 200);
    answer.rangeText = text;
    answer.answered = true;
    SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

// What a window shows on screen, as a 24-bit BMP file.
void SaveShot(HWND hwnd, const std::wstring& file) {
    RECT r;
    GetClientRect(hwnd, &r);
    const int w = r.right, h = r.bottom, stride = (w * 3 + 3) & ~3;
    HDC dc = GetDC(hwnd), mem = CreateCompatibleDC(dc);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, dc, 0, 0, SRCCOPY);
    GdiFlush();
    BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(sizeof fh + sizeof bi.bmiHeader + stride * h), 0, 0,
                        static_cast<DWORD>(sizeof fh + sizeof bi.bmiHeader)};
    if (FILE* f = _wfopen(file.c_str(), L"wb")) {
        std::fwrite(&fh, sizeof fh, 1, f);
        std::fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f);
        std::fwrite(bits, static_cast<size_t>(stride) * h, 1, f);
        std::fclose(f);
    }
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(hwnd, dc);
}

// Standard output in UTF-8, whatever the console's code page.
void PrintLine(const std::wstring& text) {
    std::string bytes = arc::ToUtf8(text + L"\n");
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

void FillLedger(arc::LedgerDatabase& db) {
    db.CONEXION();
    double fund = 0;
    // Movement k (1..100) is dated January (k % 31) + 1 and keyed in backwards.
    for (int k = 100; k >= 1; --k) {
        int day = k % 31 + 1;
        bool income = k % 3 != 0;
        double amount = income ? 100.0 * k + 0.5 : 25.0 * k;
        double signedAmount = income ? amount : -amount;
        fund += signedAmount;
        const wchar_t* extra = k == 7    ? L" \"CUOTA\"; luz, agua"
                               : k == 8  ? L"\r\nSEGUNDA LÍNEA"
                               : k == 9  ? L" ŁÓDŹ"
                                         : L"";
        wchar_t row[500];
        swprintf(row, 500,
                 L"INSERT INTO FINANZAS VALUES (NULL, '2026-01-%02d', 'MOVIMIENTO %03d DÍA %02d AÑO%ls', %.2f, %.2f, "
                 L"'2026-02-01', %.2f, %.2f)",
                 day, k, day, extra, income ? amount : 0.0, income ? 0.0 : amount, signedAmount, fund);
        db.Execute(row);
    }
    db.Execute(L"INSERT INTO FINANZAS VALUES (NULL, '2025-12-31', 'FUERA DE RANGO', 999, 0, '2026-02-01', 999, 0)");
    db.Execute(L"INSERT INTO FINANZAS VALUES (NULL, '2026-02-01', 'FUERA DE RANGO', 999, 0, '2026-02-01', 999, 0)");
}

// Movements of January, February and March 2026 keyed in out of date
// order, and others before and after those months.
void FillSummaryLedger(arc::LedgerDatabase& db) {
    db.CONEXION();
    const wchar_t* rows[][3] = {
        {L"2026-03-01", L"DONACION", L"5000"},     {L"2025-12-20", L"ANTES", L"1000"},
        {L"2026-01-15", L"LUZ", L"-450.75"},        {L"2026-02-14", L"TECHO", L"-2000"},
        {L"2026-01-01", L"CUOTAS", L"1200.25"},     {L"2025-11-05", L"ANTES", L"-250.50"},
        {L"2026-03-31", L"SILLAS", L"-999.99"},     {L"2026-01-31", L"RIFA", L"300"},
        {L"2026-02-28", L"COLECTA", L"80.10"},      {L"2026-04-01", L"DESPUES", L"777"},
        {L"2026-03-31", L"REDONDEO", L"0.01"},
    };
    double fund = 0;
    for (auto& r : rows) {
        double amount = _wtof(r[2]);
        fund += amount;
        wchar_t row[300];
        swprintf(row, 300, L"INSERT INTO FINANZAS VALUES (NULL, '%ls', '%ls', %.2f, %.2f, '2026-04-02', %.2f, %.2f)",
                 r[0], r[1], amount > 0 ? amount : 0.0, amount < 0 ? -amount : 0.0, amount, fund);
        db.Execute(row);
    }
}

}  // namespace

// The part of the printer's paper it can print on, in points from the
// paper's corner, as its driver tells it.
std::wstring PrintableArea(const std::wstring& printer) {
    HDC ic = CreateICW(L"WINSPOOL", printer.c_str(), nullptr, nullptr);
    if (!ic) return L"unknown";
    auto points = [&](int dots, int axis) { return std::to_wstring(dots * 72.0 / GetDeviceCaps(ic, axis)); };
    int x = GetDeviceCaps(ic, PHYSICALOFFSETX), y = GetDeviceCaps(ic, PHYSICALOFFSETY);
    std::wstring area = points(x, LOGPIXELSX) + L" " + points(y, LOGPIXELSY) + L" " +
                        points(x + GetDeviceCaps(ic, HORZRES), LOGPIXELSX) + L" " +
                        points(y + GetDeviceCaps(ic, VERTRES), LOGPIXELSY);
    DeleteDC(ic);
    return area;
}

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: report_sample FOLDER [summary-]pdf|csv|csv-en|print PRINTER DOCUMENT [FROM TO]|shot ZOOM\n");
        return 2;
    }
    std::wstring folder = argv[1], mode = argv[2];
    const bool summary = mode.rfind(L"summary-", 0) == 0;
    if (summary) mode = mode.substr(8);
    int code = 0;
    try {
        DeleteFileW((folder + L"\\BD.db").c_str());
        arc::LedgerDatabase db(folder);
        if (summary) FillSummaryLedger(db);
        else FillLedger(db);
        arc::test::TestHost host(folder, mode == L"csv-en" ? L"en-US" : L"es-ES");
        const std::wstring entity = L"Asociación Vecinal Niño Jesús";
        double from = arc::DateSerial(2026, 1, 1), to = arc::DateSerial(2026, 1, 31);
        auto rs = db.OpenRecordset(arc::TreasuryQuery(from, to));
        arc::report::Report report(arc::TreasuryReportLayout());
        report.SetTitle(arc::TreasuryTitle(entity, from, to, host.Regional()));
        report.SetDataSource(std::make_shared<arc::report::RecordsetSource>(rs));
        if (mode == L"pdf" && !summary) {
            auto layout = report.Paginate(host.Regional(), arc::report::PageSetup::A4(11175));
            arc::report::WritePdf(layout, folder + L"\\informe.pdf");
            std::printf("%zu rows, %zu pages\n", rs->RecordCount(), layout.PageCount());
            return 0;
        }
        arc::report::PreviewOptions options;
        options.chooseSaveFile = [&](HWND, const std::wstring& extension) {
            return folder + (summary ? L"\\resumen." : L"\\informe.") + extension;
        };
        if (mode == L"print") {
            if (argc < 4) return 2;
            answer.printer = argv[3];
            if (argc >= 5) options.documentName = argv[4];
            if (argc >= 7) answer.from = _wtoi(argv[5]), answer.to = _wtoi(argv[6]);
        }
        size_t previewPages = 0;
        options.onShown = [&](arc::report::PreviewWindow& preview) {
            previewPages = preview.PageCount();
            using W = arc::report::PreviewWindow;
            if (mode == L"show") return;
            if (mode == L"print") {
                SetTimer(nullptr, 0, 100, AnswerPrintDialog);
                SendMessageW(preview.Control(W::kPrint), BM_CLICK, 0, 0);
            } else if (mode == L"shot" && argc >= 4) {
                preview.ZoomTo(_wtof(argv[3]), POINT{0, 0});
                HWND view = preview.View().Hwnd();
                UpdateWindow(view);
                SaveShot(view, folder + L"\\vista-" + argv[3] + L".bmp");
            } else {
                SendMessageW(preview.Control(mode == L"pdf" ? W::kSavePdf : W::kSaveCsv), BM_CLICK, 0, 0);
            }
            preview.Close();
        };
        HWND owner = CreateWindowExW(0, L"STATIC", L"Form1", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
        if (!summary) report.Show(owner, host, options);
        else if (!arc::RunMonthlySummary(owner, host, db, arc::DateSerial(2026, 1, 15), arc::DateSerial(2026, 3, 10),
                                         entity, options))
            code = 1;
        DestroyWindow(owner);
        PrintLine(L"preview pages: " + std::to_wstring(previewPages));
        if (mode == L"print") {
            PrintLine(L"dialog range: " + answer.rangeText);
            PrintLine(L"printable area: " + PrintableArea(answer.printer));
        }
        for (const auto& m : host.messages) PrintLine(L"message: " + m.text);
        if (mode == L"print" && !answer.answered) code = 1;
        if (!host.messages.empty()) code = 1;
    } catch (const arc::RuntimeError& e) {
        PrintLine(L"error " + std::to_wstring(e.Number()) + L": " + e.Description());
        code = 1;
    }
    return code;
}
