// The one-pass balance statement gives exactly what the per-row statement
// gave: same values bit for bit, same types, on awkward data.
#include "LedgerFixture.h"

#include "platform/data/Statement.h"
#include "platform/runtime/Text.h"

#include <cstring>
#include <random>

namespace arc::test {
namespace {

struct Balance {
    long long id;
    int type;
    double value;
};

std::vector<Balance> Balances(sqlite3* db) {
    std::vector<Balance> out;
    data::Statement st(db, "SELECT ID, ESTADO FROM FINANZAS ORDER BY ID");
    while (st.Step()) out.push_back({st.Integer(0), st.ColumnType(1), st.Real(1)});
    return out;
}

// 6000 rows of awkward amounts, with gaps in the ids.
void FillAwkwardRows(Sql& db) {
    db.Exec(ToUtf8(LedgerDatabase::kCreateTable));
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> cents(-250000, 500000);
    db.Exec("BEGIN");
    for (int i = 0; i < 6000; ++i) {
        // NULL amounts at the very start and scattered later; two-decimal
        // amounts that binary doubles cannot hold exactly.
        bool null = i < 3 || random() % 37 == 0;
        char sql[256];
        std::snprintf(sql, sizeof sql,
                      "INSERT INTO FINANZAS (FECHA, DESCRIPCION, INGEGR, FECHA_OP) VALUES ('2026-01-01', 'X', %s, "
                      "'2026-01-01')",
                      null ? "NULL" : (std::to_string(cents(random) / 100) + "." +
                                       std::to_string(10 + random() % 90)).c_str());
        db.Exec(sql);
    }
    db.Exec("COMMIT");
    // Gaps, the first id among them.
    db.Exec("DELETE FROM FINANZAS WHERE ID = 1 OR ID % 11 = 0 OR ID BETWEEN 3000 AND 3050");
}

void ExpectSameBits(const std::vector<Balance>& actual, const std::vector<Balance>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(actual[i].id, expected[i].id);
        ASSERT_EQ(actual[i].type, expected[i].type) << "row " << expected[i].id;
        ASSERT_EQ(std::memcmp(&actual[i].value, &expected[i].value, sizeof(double)), 0)
            << "row " << expected[i].id << ": " << actual[i].value << " vs " << expected[i].value;
    }
}

TEST(BalanceEquivalence, OnePassEqualsPerRowBitForBit) {
    TempFolder folder;
    Sql db(folder / L"BD.db");
    FillAwkwardRows(db);
    db.Exec(ToUtf8(LedgerDatabase::kRecomputeBalancesPerRow));
    auto expected = Balances(db.Db());
    db.Exec("UPDATE FINANZAS SET ESTADO = -1");
    db.Exec(ToUtf8(LedgerDatabase::kRecomputeBalances));
    auto actual = Balances(db.Db());

    ASSERT_GT(expected.size(), 5000u);
    EXPECT_EQ(expected[0].type, SQLITE_NULL);  // leading NULL amounts give a NULL balance
    ExpectSameBits(actual, expected);
    int reals = 0;
    for (const Balance& b : expected) reals += b.type == SQLITE_FLOAT;
    EXPECT_GT(reals, 5000);
}

// A change or a removal recomputed from its own row on leaves every balance
// as the full recomputation does: at the first rows (NULL balances before
// them), in the middle, after a gap and at the last row.
TEST(BalanceEquivalence, FromTheChangedRowOnEqualsTheFullRecomputeBitForBit) {
    TempFolder folder;
    {
        Sql db(folder / L"BD.db");
        FillAwkwardRows(db);
        db.Exec(ToUtf8(LedgerDatabase::kRecomputeBalances));
    }
    LedgerDatabase ledger(folder.Path());
    ledger.CONEXION();
    Sql db(folder / L"BD.db");
    for (long long id : {2LL, 4LL, 5LL, 2999LL, 3051LL, 4500LL, 6000LL}) {
        const bool remove = id % 2 == 1;
        const std::string where = " WHERE ID = " + std::to_string(id);
        db.Exec(remove ? "DELETE FROM FINANZAS" + where : "UPDATE FINANZAS SET INGEGR = 0.07" + where);
        ledger.RecomputeBalancesFrom(id);
        const auto partial = Balances(db.Db());
        ledger.ACTUALIZAR_BD();
        SCOPED_TRACE("row " + std::to_string(id));
        ExpectSameBits(partial, Balances(db.Db()));
    }
}

TEST(BalanceEquivalence, ThroughTheLedgerAfterDeletingTheFirstRow) {
    TempFolder folder;
    LedgerDatabase ledger(folder.Path());
    ledger.CONEXION();
    ledger.Execute(L"INSERT INTO FINANZAS (INGEGR) VALUES (0.1); INSERT INTO FINANZAS (INGEGR) VALUES (0.2);"
                   L"INSERT INTO FINANZAS (INGEGR) VALUES (-0.3); DELETE FROM FINANZAS WHERE ID = 1");
    ledger.ACTUALIZAR_BD();
    auto rs = ledger.OpenRecordset(L"SELECT ESTADO FROM FINANZAS ORDER BY ID");
    EXPECT_EQ(rs->At(0, 0).AsDouble(), 0.2);
    EXPECT_EQ(rs->At(1, 0).AsDouble(), 0.2 + -0.3);
}

}  // namespace
}  // namespace arc::test
