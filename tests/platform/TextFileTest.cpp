// Settings and result files: a replace leaves the old content or the new one
// whole and nothing beside it; an exclusive create never takes a name twice.
#include "platform/runtime/TextFile.h"
#include "support/TempFolder.h"

#include <windows.h>

#include <gtest/gtest.h>

using namespace arc;
using arc::test::ReadBytes;
using arc::test::TempFolder;
using arc::test::WriteBytes;

namespace {
int EntriesIn(const TempFolder& dir) {
    int n = 0;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir / L"*").c_str(), &fd);
    do {
        if (fd.cFileName[0] != L'.') ++n;
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return n;
}
}  // namespace

TEST(ReplaceAnsiLines, GivesTheNewContentWholeOrKeepsTheOld) {
    TempFolder dir;
    WriteBytes(dir / L"unidad.inf", "una unidad antigua y larga\r\nsegunda linea\r\n");
    EXPECT_TRUE(ReplaceAnsiLines(dir / L"unidad.inf", {L"E"}));
    EXPECT_EQ(ReadBytes(dir / L"unidad.inf"), "E\r\n");
    EXPECT_TRUE(ReplaceAnsiLines(dir / L"entidad.inf", {L"Peña"}));  // a file not there yet
    EXPECT_EQ(ReadBytes(dir / L"entidad.inf"), "Pe\xF1" "a\r\n");
    EXPECT_EQ(EntriesIn(dir), 2);

    // A name that cannot be replaced (a folder holds it) is left as it is,
    // and nothing is left beside it.
    CreateDirectoryW((dir / L"carpeta.inf").c_str(), nullptr);
    EXPECT_FALSE(ReplaceAnsiLines(dir / L"carpeta.inf", {L"F"}));
    EXPECT_EQ(GetFileAttributesW((dir / L"carpeta.inf").c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(EntriesIn(dir), 3);
    EXPECT_FALSE(ReplaceAnsiLines(dir / L"no_hay\\unidad.inf", {L"F"}));
}

TEST(CreateAnsiLines, TakesANameOnlyOnce) {
    TempFolder dir;
    EXPECT_TRUE(CreateAnsiLines(dir / L"RESPALDO.TXT", {L"EN_CURSO D:\\BACKUP_ARCANDORA"}));
    EXPECT_FALSE(CreateAnsiLines(dir / L"RESPALDO.TXT", {L"otra"}));
    EXPECT_EQ(ReadBytes(dir / L"RESPALDO.TXT"), "EN_CURSO D:\\BACKUP_ARCANDORA\r\n");
}
