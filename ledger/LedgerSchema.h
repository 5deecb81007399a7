#pragma once
// What Corvelan knows of the ledger's database besides the table FINANZAS:
// the statement that recomputes the balances, with which it mends a
// recovered book, and the table in which a repaired book carries the note of
// its repair to Arcandora.  A header alone, so that Corvelan takes the texts
// without linking anything of the ledger.
namespace arc {

// Every balance of FINANZAS made the running sum of the signed amounts in
// row-id order (ACTUALIZAR_BD).  The window sum adds the same values in the
// same order as a per-row sub-query would, so the balances come out bit for
// bit the same, in linear time instead of quadratic.  Only rows whose
// balance changes are written (a REAL column holds no integer that could
// compare equal).
inline constexpr wchar_t kRecomputeRunningBalances[] =
    L"UPDATE FINANZAS SET estado = r.SALDO FROM (SELECT rowid AS RID, SUM(INGEGR) OVER (ORDER BY rowid ROWS BETWEEN "
    L"UNBOUNDED PRECEDING AND CURRENT ROW) AS SALDO FROM FINANZAS) AS r WHERE FINANZAS.rowid = r.RID AND "
    L"FINANZAS.estado IS NOT r.SALDO";

// Corvelan's batch leaves one row (MOMENTO, NOTA) per repair in this table of
// the new database; Arcandora, at its next start, turns each into a
// REPARACION entry of the history and drops the table, in one transaction,
// so that every repair is recorded once.  MOMENTO: when the repair was
// prepared, "YYYY-MM-DD hh:mm:ss".  NOTA: "ARCHIVO=<the file repaired>;
// ANTERIOR=<the name it was set aside under>;VOLCADO=<the dump>;
// MODO=VOLCADO|RECUPERACION;FILAS_ANTES=<rows of FINANZAS before, or ?>",
// then ";HISTORIAL_ANTES=<rows of HISTORIAL before, or ?>" for a book that
// had a history.
inline constexpr wchar_t kPendingRepairTable[] = L"REPARACION_PENDIENTE";

}  // namespace arc
