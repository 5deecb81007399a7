#pragma once
// The ledger's table statement, for suites that make ledger files without
// linking the ledger itself (Corvelan's tests). The ledger's suite checks
// that it is still the ledger's own statement, letter for letter.
namespace arc::test {

inline constexpr char kLedgerTable[] =
    "CREATE TABLE if NOT exists FINANZAS (`ID` INTEGER PRIMARY KEY AUTOINCREMENT, `FECHA` TEXT, `DESCRIPCION` TEXT, "
    "`INGRESO` DOUBLE, `EGRESO` DOUBLE, `FECHA_OP` TEXT, `INGEGR` DOUBLE, ESTADO DOUBLE)";

}  // namespace arc::test
