#include "Driver.h"

#include "ledger/SqlText.h"
#include "platform/runtime/DateValue.h"
#include "platform/runtime/FolderFiles.h"
#include "platform/runtime/NumberText.h"
#include "platform/runtime/SystemHost.h"
#include "support/WindowActions.h"

#include <algorithm>
#include <vector>

namespace arc::campaign {
namespace {

using Id = Form1::Id;
using test::SetBoxText;

// A message on one line of the journal.
std::wstring OneLine(const std::wstring& text) {
    std::wstring line;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
        line += text[i] == L'\n' || text[i] == L'\r' ? std::wstring(L" / ") : std::wstring(1, text[i]);
    }
    return line;
}

// The checked backups in the folder: the names a copy takes once checked.
std::vector<std::wstring> Backups(const std::wstring& folder) {
    std::vector<std::wstring> names;
    // (The pattern in two pieces: "??-" would be a trigraph.)
    for (auto& name : FileNamesIn(folder, L"????????????" L"-BD.DB"))
        if (name.size() == 18) names.push_back(std::move(name));
    return names;
}

}  // namespace

UnattendedHost::UnattendedHost(const std::wstring& install, Journal& journal)
    : TestHost(install), journal_(journal) {
    realClock = true;
    startForReal = true;
}

int UnattendedHost::ShowMessage(HWND owner, const std::wstring& text, UINT flags) {
    journal_.Write(L"AVISO " + OneLine(text));
    return TestHost::ShowMessage(owner, text, flags);
}

Driver::Driver(Form1& form, UnattendedHost& host, Journal& journal, unsigned seed, std::wstring run)
    : form_(form), host_(host), journal_(journal), random_(seed), run_(std::move(run)) {}

void Driver::Step() {
    // Most work is registering and correcting; backups and restores are
    // rarer, as they are at a treasurer's desk, but common enough that many
    // kills find one under way.
    const unsigned pick = random_() % 100;
    if (pick < 35) Register();
    else if (pick < 58) Modify();
    else if (pick < 70) Delete();
    else if (pick < 90) Backup();
    else Restore();
    PumpPendingMessages();
}

void Driver::Begin(const std::wstring& what) {
    ++n_;
    host_.messages.clear();
    journal_.Write(L"OP " + std::to_wstring(n_) + L" " + what);
}

void Driver::End(size_t questions, const std::wstring& savedAnyway, const std::wstring& detail) {
    const auto& shown = host_.messages;
    bool saved = shown.size() <= questions;
    for (size_t i = questions; i < shown.size(); ++i)
        if (!savedAnyway.empty() && shown[i].text.find(savedAnyway) != std::wstring::npos) saved = true;
    if (saved) {
        journal_.Write(L"HECHO " + std::to_wstring(n_) + (detail.empty() ? L"" : L" " + detail));
        return;
    }
    journal_.Write(L"FALLO " + std::to_wstring(n_) + L" " + OneLine(shown[questions].text));
}

std::wstring Driver::Description() { return L"CAMPANA " + run_ + L" " + std::to_wstring(n_ + 1); }

std::pair<std::wstring, double> Driver::Amount() {
    const double value = static_cast<double>(1 + random_() % 500000) / 100.0;
    return {CStr(value, host_.Regional()), value};
}

void Driver::TypeAmounts(bool income, const std::wstring& amount) {
    // The other box first, so that typing the amount leaves it at "0".
    SetBoxText(form_.Control(income ? Id::Text2 : Id::Text1), L"0");
    SetBoxText(form_.Control(income ? Id::Text1 : Id::Text2), amount);
}

std::optional<Driver::Movement> Driver::RandomMovement() {
    auto& db = form_.Database();
    db.CONEXION();
    auto last = db.OpenRecordset(L"SELECT max(ID) AS M FROM FINANZAS");
    if (!last->Field(L"M").IsNumber()) return std::nullopt;
    const std::int64_t from = static_cast<std::int64_t>(random_() % static_cast<unsigned>(last->Field(L"M").AsInteger() + 1));
    auto rs = db.OpenRecordset(L"SELECT ID, FECHA, DESCRIPCION, INGRESO, EGRESO FROM FINANZAS WHERE ID >= " +
                               std::to_wstring(from) + L" ORDER BY ID LIMIT 1");
    if (rs->Eof()) return std::nullopt;
    return Movement{rs->Field(L"ID").AsInteger(),
                    {rs->Field(L"ID"), rs->Field(L"FECHA").AsText(), rs->Field(L"DESCRIPCION").AsText(),
                     rs->Field(L"INGRESO"), rs->Field(L"EGRESO")}};
}

void Driver::Register() {
    form_.EntryReset();
    const std::wstring description = Description();
    const bool income = random_() % 4 == 0;
    const auto [text, value] = Amount();
    TypeAmounts(income, text);
    SetBoxText(form_.Control(Id::Text3), description);
    Begin(L"ALTA " + IsoDate(form_.FECHAR().DateTime()) + L" " + description + L" " +
          SqlNumber(income ? value : 0) + L" " + SqlNumber(income ? 0 : value));
    form_.Command2_Click();
    // The id it was given, read back by its description, which no other row has.
    std::wstring id = L"?";
    try {
        form_.Database().CONEXION();
        auto rs = form_.Database().OpenRecordset(L"SELECT ID FROM FINANZAS WHERE DESCRIPCION = '" +
                                                 SqlQuoted(description) + L"'");
        if (!rs->Eof()) id = std::to_wstring(rs->Field(L"ID").AsInteger());
    } catch (const RuntimeError&) {
    }
    End(0, L"quedó registrado", id);
}

void Driver::Modify() {
    const auto movement = RandomMovement();
    if (!movement) return Register();
    form_.EntryReset();
    form_.LoadMovement(movement->row);
    // Now and then the movement moves to another day of the book's years.
    const double day = random_() % 4 == 0 ? DateSerial(2016, 1, 1) + static_cast<double>(random_() % 3650)
                                          : form_.FECHAR().DateTime();
    form_.FECHAR().SetDateTime(day);
    const std::wstring description = Description();
    SetBoxText(form_.Control(Id::Text3), description);
    const bool income = random_() % 4 == 0;
    const auto [text, value] = Amount();
    TypeAmounts(income, text);
    Begin(L"MODIFICACION " + std::to_wstring(movement->id) + L" " + IsoDate(form_.FECHAR().DateTime()) + L" " +
          description + L" " + SqlNumber(income ? value : 0) + L" " + SqlNumber(income ? 0 : value));
    form_.Command4_Click();
    End(1, L"quedó guardado");
}

void Driver::Delete() {
    const auto movement = RandomMovement();
    if (!movement) return Register();
    form_.EntryReset();
    form_.LoadMovement(movement->row);
    Begin(L"BAJA " + std::to_wstring(movement->id));
    form_.Command3_Click();
    End(1, L"quedó guardado");
}

void Driver::Restore() {
    const std::wstring folder = form_.Text(Id::Text4) + L":\\BACKUP_ARCANDORA";
    const auto copies = Backups(folder);
    if (copies.empty()) return Backup();
    const std::wstring chosen = copies[random_() % copies.size()];
    host_.dialogAnswers = {folder + L"\\" + chosen};
    Begin(L"RESTAURACION " + chosen);
    form_.RESTAURAR();
    // The question, then what became of it: only "Se restauró" says it was done.
    const auto& shown = host_.messages;
    const bool restored = shown.size() >= 2 && shown[1].text.rfind(L"Se restauró la copia", 0) == 0;
    journal_.Write(restored ? L"HECHO " + std::to_wstring(n_)
                            : L"FALLO " + std::to_wstring(n_) + L" " + OneLine(shown.empty() ? L"" : shown.back().text));
}

void Driver::Backup() {
    // The run's stamp is that of the one result file it adds.
    const auto before = FileNamesIn(host_.InstallFolder(), L"RESPALDO-*.TXT");
    Begin(L"COPIA");
    form_.Command6_Click();  // "Guardar": the settings files, then the backup
    std::wstring stamp = L"?";
    for (const auto& name : FileNamesIn(host_.InstallFolder(), L"RESPALDO-*.TXT"))
        if (std::find(before.begin(), before.end(), name) == before.end() && name.size() == 25) stamp = name.substr(9, 12);
    End(0, L"", stamp);
}

}  // namespace arc::campaign
