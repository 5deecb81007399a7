#pragma once
// "Cuadre con el banco": for a statement the book imported (chosen from a
// list of all of them), the bank's final balance at the statement's last
// date beside the book's fund at that date, and the difference; when they
// differ, the book's movements of the period that are not in the statement
// and the statement's that are not in the book.  "Cerrar" or Escape closes.
#include "Reconciliation.h"

#include "platform/data/Connection.h"
#include "platform/runtime/Host.h"
#include "platform/window/ListView.h"
#include "platform/window/ModalForm.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace arc {

class ReconciliationWindow : public ModalForm {
public:
    enum Id : int {
        kClose = IDCANCEL,
        kHeadline = 300, kStatementLabel, kStatementBox, kAccountText, kBankLabel, kBankValue, kBookLabel, kBookValue,
        kDifferenceLabel, kDifferenceValue, kVerdict, kBookOnlyLabel, kBookOnlyList, kFileOnlyLabel, kFileOnlyList,
    };
    static constexpr wchar_t kCaption[] = L"Cuadre con el banco";

    // Shows the statement given (one of the list) under the headline (what
    // an import just did, or nothing), modally.
    static void Show(HWND owner, Host& host, data::Connection& connection, std::int64_t statementId,
                     const std::wstring& headline, const std::function<void(ReconciliationWindow&)>& shown = {});

    const Reconciliation& Current() const { return current_; }
    ListView& BookOnly() { return bookOnly_; }
    ListView& FileOnly() { return fileOnly_; }
    // Chooses a statement of the list, as the user would.
    void ChooseStatement(int item);

private:
    ReconciliationWindow(Host& host, data::Connection& connection);
    bool Create(HWND owner, std::int64_t statementId, const std::wstring& headline);
    std::vector<ControlDesc> Layout(const std::wstring& headline);
    void Arrange();
    void ShowStatement(std::int64_t id);

    data::Connection& connection_;
    std::vector<std::pair<std::int64_t, std::wstring>> statements_;
    Reconciliation current_;
    ListView bookOnly_, fileOnly_;
    bool listsShown_ = false;
};

}  // namespace arc
