#pragma once
// Ledger files for Corvelan's tests: made with the ledger's own table
// statement, and damaged on purpose.
#include <initializer_list>
#include <string>

namespace arc::test {

// A ledger database with rows 1..rows, every deleteEvery-th row deleted again
// (0: none), so that the file has free pages.
void MakeLedger(const std::wstring& path, int rows, int deleteEvery = 0);
// A ledger of rows 1..rows as a crash leaves it: the file written halfway
// through a transaction that changed every row, and its hot journal beside
// it.  Rolled back, it holds the committed rows, as MakeLedger makes them.
void MakeCrashedLedger(const std::wstring& path, int rows);
// A database made by the statements alone.
void MakeDatabase(const std::wstring& path, const std::string& sql);
// Overwrites whole pages (4096 bytes, counted from 1) with text.
void DamagePages(const std::wstring& path, std::initializer_list<int> pages);

}  // namespace arc::test
