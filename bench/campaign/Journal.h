#pragma once
// The driver's journal: one line per event, appended with one write each,
// so that whatever the process has written survives its kill.  The fault
// campaign's script replays it to know what the ledger must hold:
//   INICIO <process id>                  the driver starts
//   AVISO <text>                         a message the program showed (line ends as " / ")
//   LISTO                                the program's start-up is done
//   OP <n> ALTA <date> <description> <income> <expense>
//   OP <n> MODIFICACION <id> <date> <description> <income> <expense>
//   OP <n> BAJA <id>
//   OP <n> RESTAURACION <copy's file name>
//   OP <n> COPIA
//   HECHO <n> [<id of an ALTA> | <stamp of a COPIA>]   the operation was saved
//   FALLO <n> <text>                     it was not, and the program said why
// An OP without its HECHO or FALLO is the one the kill cut: it may or may
// not have been saved.
#include <windows.h>

#include <string>

namespace arc::campaign {

class Journal {
public:
    explicit Journal(const std::wstring& path);
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;
    explicit operator bool() const { return file_ != INVALID_HANDLE_VALUE; }

    // Appends the line (UTF-8) with its line feed in one write.
    void Write(const std::wstring& line);

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
};

}  // namespace arc::campaign
