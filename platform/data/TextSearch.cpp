#include "TextSearch.h"

#include "platform/runtime/Text.h"

#include <sqlite3.h>

#include <string>

namespace arc::data {
namespace {

void DeleteFolded(void* folded) { delete static_cast<std::string*>(folded); }

void Contiene(sqlite3_context* context, int, sqlite3_value** args) {
    if (sqlite3_value_type(args[0]) == SQLITE_NULL) return;  // NULL
    // The needle is folded on the first row and kept with the statement.
    auto* needle = static_cast<std::string*>(sqlite3_get_auxdata(context, 1));
    if (!needle) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(args[1]));
        needle = new std::string(FoldForSearch(text ? std::string_view(text, static_cast<size_t>(sqlite3_value_bytes(args[1])))
                                                    : std::string_view()));
        sqlite3_set_auxdata(context, 1, needle, DeleteFolded);
        needle = static_cast<std::string*>(sqlite3_get_auxdata(context, 1));
        if (!needle) {
            sqlite3_result_error_nomem(context);
            return;
        }
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(args[0]));
    const std::string_view haystack(text ? text : "", static_cast<size_t>(sqlite3_value_bytes(args[0])));
    sqlite3_result_int(context, ContainsFolded(haystack, *needle) ? 1 : 0);
}

}  // namespace

void AddTextSearch(Connection& connection) {
    const int rc = sqlite3_create_function_v2(connection.Handle(), "CONTIENE", 2,
                                              SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, Contiene, nullptr,
                                              nullptr, nullptr);
    if (rc != SQLITE_OK) connection.Raise(rc);
}

}  // namespace arc::data
