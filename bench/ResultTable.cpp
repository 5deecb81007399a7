#include "ResultTable.h"

#include <sqlite3.h>

#include <cstdio>
#include <string>

namespace arc::bench {
namespace {

std::string Grouped(size_t n) {
    std::string digits = std::to_string(n), out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

// Milliseconds with as many decimals as the size deserves.
std::string Ms(double ms) {
    char buf[32];
    if (ms < 10) std::snprintf(buf, sizeof buf, "%.2f", ms);
    else if (ms < 1000) std::snprintf(buf, sizeof buf, "%.1f", ms);
    else std::snprintf(buf, sizeof buf, "%.0f", ms);
    return buf;
}

std::string Ratio(double ratio) {
    char buf[32];
    std::snprintf(buf, sizeof buf, ratio < 10 ? "%.1fx" : "%.0fx", ratio);
    return buf;
}

const SizeResult* Find(const std::vector<SizeResult>& results, size_t rows) {
    for (const auto& r : results)
        if (r.rows == rows) return &r;
    return nullptr;
}

void Target(const char* what, const SizeResult* r, double value, bool met) {
    if (!r) {
        std::printf("  %-66s not measured\n", what);
        return;
    }
    std::printf("  %-66s %-10s %s\n", what, value >= 0 ? Ms(value).c_str() : "", met ? "met" : "NOT MET");
}

const char* const kFormat =
    "%9s | %7s | %13s | %9s | %9s | %6s | %6s | %8s | %8s | %7s | %8s | %9s | %10s | %5s | %8s | %10s | %10s | %7s "
    "| %7s | %7s | %10s\n";
const size_t kWidth = 235;

}  // namespace

void PrintHeader(int runs, int slowRuns) {
    std::printf("Arcandora benchmark, SQLite %s: medians of %d runs (%d for the per-row statement and for "
                "1,000,000 rows), times in ms\n",
                sqlite3_libversion(), runs, slowRuns);
    std::printf(kFormat, "rows", "build", "ACTUALIZAR_BD", "all rows", "per-row", "ratio", "ratio*", "balances", "register", "MOSTRAR",
                "day rows", "year rows", "year query", "pages", "paginate", "Content(0)", "first page", "search", "fix now",
                "fix -1y", "self-check");
    std::printf("%s\n", std::string(kWidth, '-').c_str());
    std::fflush(stdout);
}

void PrintRow(const SizeResult& r) {
    std::printf(kFormat, Grouped(r.rows).c_str(), Ms(r.generateMs).c_str(), Ms(r.recomputeMs).c_str(),
                Ms(r.recomputeAllMs).c_str(), r.perRowMs ? Ms(*r.perRowMs).c_str() : "-",
                r.ratio ? Ratio(*r.ratio).c_str() : "-", r.ratioAll ? Ratio(*r.ratioAll).c_str() : "-",
                r.balancesExact ? "exact" : "DIFFER", Ms(r.registerMs).c_str(), Ms(r.dayViewMs).c_str(),
                Grouped(r.dayRows).c_str(), Grouped(r.yearRows).c_str(), Ms(r.yearQueryMs).c_str(),
                Grouped(r.pages).c_str(), Ms(r.paginateMs).c_str(), Ms(r.contentMs).c_str(), Ms(r.firstPageMs).c_str(),
                Ms(r.searchMs).c_str(), Ms(r.correctTodayMs).c_str(), Ms(r.correctYearBackMs).c_str(),
                (Ms(r.selfCheckMs) + (r.selfCheckSound ? "" : " FAULT")).c_str());
    std::fflush(stdout);
}

void PrintSummary(const std::vector<SizeResult>& results, const std::optional<ImportTimes>& import) {
    std::printf("%s\n", std::string(kWidth, '-').c_str());
    std::printf("build ledger: generating the rows (one transaction); balances: ACTUALIZAR_BD left every balance "
                "bit for bit\n");
    std::printf("register: CONEXION, fund query, insert and its history entry in one transaction; MOSTRAR: CONEXION "
                "and the day view's query\n");
    std::printf("year query: CONEXION and the report's query for the last year; paginate: its report on pages; "
                "Content(0): the first\n");
    std::printf("page's content; first page: paginate, Content(0) and page 0 drawn to a memory DC\n");
    std::printf("ACTUALIZAR_BD: after a change to the last movement; all rows: after a change to the first one; "
                "ratio*: per-row / all rows\n");
    std::printf("search: CONEXION, the list and the totals of a search by a word typed without its accent over the "
                "whole book;\nfix now / fix -1y: a correction (change, balances recomputed from the row on, day "
                "view) of the last row / of a row a tenth of the book back;\nself-check: CONEXION, PRAGMA quick_check and "
                "the one pass over amounts, balances and dates (FAULT: the generated book was not found sound)\n\n"
                "Targets:\n");

    const SizeResult* r20k = Find(results, 20000);
    const SizeResult* r100k = Find(results, 100000);
    const SizeResult* r1m = Find(results, 1000000);
    Target("ACTUALIZAR_BD at 100,000 rows under 500 ms", r100k, r100k ? r100k->recomputeMs : 0,
           r100k && r100k->recomputeMs < 500);
    bool ratioOk = r20k && r20k->ratio && *r20k->ratio >= 100;
    std::printf("  %-66s %-10s %s\n", "ACTUALIZAR_BD at 20,000 rows at least 100x the per-row statement",
                r20k && r20k->ratio ? Ratio(*r20k->ratio).c_str() : "-", ratioOk ? "met" : "NOT MET");
    Target("registering at 100,000 rows under 50 ms", r100k, r100k ? r100k->registerMs : 0,
           r100k && r100k->registerMs < 50);
    Target("ACTUALIZAR_BD at 100,000 rows, every balance changing (shown only)", r100k,
           r100k ? r100k->recomputeAllMs : 0, r100k && r100k->recomputeAllMs < 500);
    Target("MOSTRAR's query at 100,000 rows under 50 ms", r100k, r100k ? r100k->dayViewMs : 0,
           r100k && r100k->dayViewMs < 50);
    Target("self-check of the book at 100,000 rows under 200 ms, found sound", r100k, r100k ? r100k->selfCheckMs : 0,
           r100k && r100k->selfCheckMs < 200 && r100k->selfCheckSound);
    std::string firstPage = "first page of the year at 100,000 rows (" +
                            (r100k ? Grouped(r100k->yearRows) : std::string("?")) + " rows) under 1,000 ms";
    Target(firstPage.c_str(), r100k, r100k ? r100k->firstPageMs : 0, r100k && r100k->firstPageMs < 1000);
    std::string paginate = "paginating the year at 1,000,000 rows (" +
                           (r1m ? Grouped(r1m->yearRows) : std::string("?")) + " rows) under 5,000 ms";
    Target(paginate.c_str(), r1m, r1m ? r1m->paginateMs : 0, r1m && r1m->paginateMs < 5000);
    std::string search = "search by text over 1,000,000 rows (" +
                         (r1m ? Grouped(static_cast<size_t>(r1m->searchRows)) : std::string("?")) +
                         " found), first screen under 300 ms";
    Target(search.c_str(), r1m, r1m ? r1m->searchMs : 0, r1m && r1m->searchMs < 300);
    Target("correction of today's row at 1,000,000 rows under 30 ms", r1m, r1m ? r1m->correctTodayMs : 0,
           r1m && r1m->correctTodayMs < 30);
    Target("correction a year back at 1,000,000 rows (100,000 later) under 150 ms", r1m,
           r1m ? r1m->correctYearBackMs : 0, r1m && r1m->correctYearBackMs < 150);
    if (import) {
        const std::string rows = Grouped(import->movements) + "-movement statement at " + Grouped(import->bookRows) +
                                 " rows";
        std::printf("  %-66s %-10s %s\n", ("preview of a " + rows + " under 500 ms").c_str(),
                    Ms(import->previewMs).c_str(), import->previewMs < 500 ? "met" : "NOT MET");
        std::printf("  %-66s %-10s %s\n", ("import of it (" + Grouped(import->written) + " new rows) under 2,000 ms").c_str(),
                    Ms(import->importMs).c_str(), import->importMs < 2000 ? "met" : "NOT MET");
        std::printf("  %-66s %-10s %s\n", ("movements of it marked as already in the book: " +
                                           Grouped(import->alreadyInBook)).c_str(), "", "");
    }
    bool exact = true;
    for (const auto& r : results) exact = exact && r.balancesExact;
    std::printf("  %-66s %-10s %s\n\n", "balances left bit for bit by ACTUALIZAR_BD", "", exact ? "yes" : "NO");

    std::printf("ACTUALIZAR_BD vs the per-row statement at 20,000 rows: %s; ACTUALIZAR_BD at 100,000 rows: %s\n",
                r20k && r20k->ratio ? (Ratio(*r20k->ratio) + " faster").c_str() : "not measured",
                r100k ? (Ms(r100k->recomputeMs) + " ms").c_str() : "not measured");
    std::fflush(stdout);
}

}  // namespace arc::bench
