#pragma once
// The preview of a bank's statement before anything is written: the
// account, the period, the bank's balances and whether the file is
// consistent; every movement with its date, description, income or
// expense, ticked unless it is already in the book or lies in the closed
// period; the description of each row editable (F2).  For a CSV file, the
// separator, decimal mark, date order and columns as found, each of which
// the user may change; what the file cannot tell is left for the user to
// choose, and nothing can be imported until it is chosen.  "Importar"
// (Enter) gives the plan; "Cancelar" (Escape) or closing gives none.
#include "BankStatement.h"
#include "CsvStatementReader.h"
#include "StatementImport.h"

#include "platform/runtime/Host.h"
#include "platform/window/ListView.h"
#include "platform/window/ModalForm.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace arc {

// What the preview shows: the accounts of a Norma 43 file, or the text of
// a CSV file (with the separator found in it).
struct StatementSource {
    std::wstring fileName;
    std::vector<AccountStatement> accounts;
    std::wstring csvText;
    wchar_t csvSeparator = 0;  // 0: the source is Norma 43
    bool IsCsv() const { return csvSeparator != 0; }
};

class ImportPreviewWindow : public ModalForm {
public:
    enum Id : int {
        kImport = IDOK, kCancel = IDCANCEL,
        kFile = 200, kAccountLabel, kAccountBox, kSeparatorLabel, kSeparatorBox, kDecimalLabel, kDecimalBox,
        kOrderLabel, kOrderBox, kDateLabel, kDateBox, kConceptLabel, kConceptBox, kAmountLabel, kAmountBox,
        kIncomeLabel, kIncomeBox, kExpenseLabel, kExpenseBox, kBalanceLabel, kBalanceBox, kAccountText,
        kPeriodText, kBalancesText, kCheckText, kList, kSummary, kHelp,
    };
    // List columns.
    enum Column : int { kDescriptionColumn, kDateColumn, kIncomeColumn, kExpenseColumn, kStateColumn, kLineColumn };
    using Planner = std::function<ImportPlan(AccountStatement)>;

    static constexpr wchar_t kCaption[] = L"Importar extracto bancario";

    // The plan to import, or nullopt when the user cancels.  `shown` runs
    // once the window is on screen (tests drive it from there).
    static std::optional<ImportPlan> Show(HWND owner, Host& host, const StatementSource& source,
                                          const Planner& planner,
                                          const std::function<void(ImportPreviewWindow&)>& shown = {});

    // What the window holds now; no plan while the CSV choices leave it unreadable.
    const std::optional<ImportPlan>& Plan() const { return plan_; }
    ListView& List() { return list_; }
    void Import();
    void Cancel() { EndModal(); }
    // Chooses an item of one of the window's lists, as the user would.
    void Choose(Id box, int item);

private:
    ImportPreviewWindow(Host& host, const StatementSource& source, const Planner& planner);
    bool Create(HWND owner);
    std::vector<ControlDesc> Layout();
    void Connect();
    void Arrange();

    void ChooseAccount(size_t index);
    void SplitTable();
    void ColumnsChanged();
    void ReadCsv();
    void ShowPlan();
    void ShowSummary();
    void FillColumnBox(Id box, int chosen);
    int Chosen(Id box) const;
    void SetError(const std::wstring& text);
    void CheckChanged(size_t row, bool checked);
    bool DescriptionEdited(size_t row, const std::wstring& text);
    std::wstring Cell(size_t row, int column) const;

    const StatementSource& source_;
    Planner planner_;
    ListView list_;
    std::optional<ImportPlan> plan_;
    CsvTable table_;
    CsvLayout layout_;
    bool imported_ = false;
};

}  // namespace arc
