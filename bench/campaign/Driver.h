#pragma once
// The fault campaign's driver: the real Form1 on the production install
// folder, its operations run one after another through the window's own
// handlers, as a user with nobody at the screen would run them, each written
// to the journal before it starts and once the program has said how it went.
#include "Journal.h"

#include "ledger/Form1.h"
#include "support/TestHost.h"

#include <cstdint>
#include <optional>
#include <random>
#include <string>

namespace arc::campaign {

// The host with nobody at the screen: the computer's clock, the backup's
// batch really started, every message answered with its first button (Yes
// to a question, OK to a notice), recorded and written to the journal, and
// the file dialog answered by the driver.
class UnattendedHost : public test::TestHost {
public:
    UnattendedHost(const std::wstring& install, Journal& journal);
    int ShowMessage(HWND owner, const std::wstring& text, UINT flags) override;

private:
    Journal& journal_;
};

class Driver {
public:
    // run: the name of this start, so that the descriptions it writes are
    // unique across the whole campaign.
    Driver(Form1& form, UnattendedHost& host, Journal& journal, unsigned seed, std::wstring run);

    // One operation, chosen at random: register, modify, delete, restore a
    // backup or back up ("Guardar").
    void Step();

private:
    struct Movement {
        std::int64_t id;
        MovementRow row;
    };

    void Register();
    void Modify();
    void Delete();
    void Restore();
    void Backup();

    // Starts operation n: the line goes to the journal, the messages recorded so far are dropped.
    void Begin(const std::wstring& what);
    // HECHO or FALLO: the operation was saved when the program said nothing
    // beyond its questions, or said that it was saved all the same.
    void End(size_t questions, const std::wstring& savedAnyway, const std::wstring& detail = L"");
    std::optional<Movement> RandomMovement();
    std::wstring Description();
    // A random amount in the regional format of the host, and its value.
    std::pair<std::wstring, double> Amount();
    void TypeAmounts(bool income, const std::wstring& amount);

    Form1& form_;
    UnattendedHost& host_;
    Journal& journal_;
    std::mt19937 random_;
    std::wstring run_;
    int n_ = 0;
};

}  // namespace arc::campaign
