#include "DayViewDenied.h"

#include <sqlite3.h>

#include <cstring>

namespace arc::test {
namespace {

int DenyDayView(void*, int action, const char*, const char* column, const char*, const char*) {
    return action == SQLITE_READ && column && std::strcmp(column, "FECHA_OP") == 0 ? SQLITE_DENY : SQLITE_OK;
}

int InstallDenial(sqlite3* db, char**, const sqlite3_api_routines*) {
    sqlite3_set_authorizer(db, DenyDayView, nullptr);
    return SQLITE_OK;
}

}  // namespace

DayViewDenied::DayViewDenied() { sqlite3_auto_extension(reinterpret_cast<void (*)()>(InstallDenial)); }
DayViewDenied::~DayViewDenied() { sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(InstallDenial)); }

}  // namespace arc::test
