#pragma once
// Ledger files for Corvelan's tests: made with the ledger's own table
// statement, and damaged on purpose.
#include <initializer_list>
#include <string>

namespace arc::test {

// A ledger database with rows 1..rows, every deleteEvery-th row deleted again
// (0: none), so that the file has free pages.
void MakeLedger(const std::wstring& path, int rows, int deleteEvery = 0);
// Overwrites whole pages (4096 bytes, counted from 1) with text.
void DamagePages(const std::wstring& path, std::initializer_list<int> pages);

}  // namespace arc::test
