// The configuration panel's "Guardar": both settings files, then a backup.
// Every step is tried on its own and a failing one is skipped silently: an
// unwritable program folder keeps the old files, the backup still runs and
// the panel still closes.  Each file is replaced whole or not at all, so a
// failed write never leaves it empty (an empty unidad.inf would stop every
// later backup without a word).
#include "Form1.h"

#include "platform/runtime/TextFile.h"

namespace arc {

void Form1::Command6_Click() {
    // Each file is one line, the box's text unchanged, rewritten whole.
    ReplaceAnsiLines(SettingsPath(L"unidad.inf"), {Text(L"Text4")});
    ReplaceAnsiLines(SettingsPath(L"entidad.inf"), {Text(L"Text5")});
    // The backup reads the drive from Text4, not from the file just written.
    BACKUP();
    HidePanel();
}

}  // namespace arc
