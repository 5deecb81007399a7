#include "RunningSum.h"

#include <sqlite3.h>

#include <limits>

namespace arc::data {
namespace {

struct Sum {
    double value;
    sqlite3_int64 lastId = std::numeric_limits<sqlite3_int64>::min();
};

void SumaCorrida(sqlite3_context* context, int, sqlite3_value** args) {
    auto* sum = static_cast<Sum*>(sqlite3_user_data(context));
    const sqlite3_int64 id = sqlite3_value_int64(args[0]);
    if (id <= sum->lastId) {
        sqlite3_result_error(context, "SUMA_CORRIDA: rows out of order", -1);
        return;
    }
    sum->lastId = id;
    switch (sqlite3_value_numeric_type(args[1])) {
        case SQLITE_NULL: break;
        case SQLITE_INTEGER: sum->value += static_cast<double>(sqlite3_value_int64(args[1])); break;
        default: sum->value += sqlite3_value_double(args[1]); break;
    }
    sqlite3_result_double(context, sum->value);
}

// Defines the function for as long as it lives.
class Defined {
public:
    Defined(Connection& connection, Sum& sum) : db_(connection.Handle()) {
        const int rc = sqlite3_create_function_v2(db_, "SUMA_CORRIDA", 2, SQLITE_UTF8, &sum, SumaCorrida, nullptr,
                                                  nullptr, nullptr);
        if (rc != SQLITE_OK) connection.Raise(rc);
    }
    ~Defined() { sqlite3_create_function_v2(db_, "SUMA_CORRIDA", 2, SQLITE_UTF8, nullptr, nullptr, nullptr, nullptr, nullptr); }
    Defined(const Defined&) = delete;
    Defined& operator=(const Defined&) = delete;

private:
    sqlite3* db_;
};

}  // namespace

void ExecuteWithRunningSum(Connection& connection, const std::wstring& sql, double start) {
    Sum sum{start};
    Defined defined(connection, sum);
    connection.Execute(sql);
}

}  // namespace arc::data
