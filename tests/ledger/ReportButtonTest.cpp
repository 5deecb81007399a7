// "Generar Informe" from the window: the range's movements shown modally,
// the grid untouched, failures reported without ending anything.
#include "LedgerFixture.h"

#include "platform/report/PreviewWindow.h"
#include "platform/runtime/DateValue.h"

namespace arc::test {
namespace {

class ReportButton : public LedgerTest {
protected:
    void RegisterOn(double date, const std::wstring& income, const std::wstring& description) {
        form->FECHAR().SetDateTime(date);
        Register(income, L"", description);
    }
};

TEST_F(ReportButton, ShowsTheRangesMovementsModallyAndKeepsTheDayView) {
    bool ownerEnabled = true;
    size_t pages = 0;
    options.preview.onShown = [&](report::PreviewWindow& preview) {
        ownerEnabled = IsWindowEnabled(form->Hwnd()) != FALSE;
        pages = preview.PageCount();
        preview.Close();
    };
    ASSERT_TRUE(Start());
    SendMessageW(form->Control(Id::Text5), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Iglesia"));
    RegisterOn(DateSerial(2026, 1, 31), L"10", L"fuera");
    RegisterOn(DateSerial(2026, 3, 1), L"20", L"marzo");
    RegisterOn(DateSerial(2026, 2, 1), L"30", L"febrero");
    form->DESDE().SetDateTime(DateSerial(2026, 2, 1));
    form->HASTA().SetDateTime(DateSerial(2026, 3, 1));
    Click(Id::Command1);
    EXPECT_FALSE(ownerEnabled);  // modal while shown
    EXPECT_EQ(pages, 1u);
    EXPECT_TRUE(IsWindowEnabled(form->Hwnd()));
    EXPECT_TRUE(host.messages.empty());
    // The window's record-set variable now holds the report's rows, in date
    // order; the grid keeps showing the day's three movements.
    const auto& rs = form->WindowRecordset();
    ASSERT_EQ(rs->RecordCount(), 2u);
    EXPECT_EQ(rs->FieldName(0), L"FECHA");
    EXPECT_EQ(rs->At(0, 1).AsText(), L"FEBRERO");
    EXPECT_EQ(rs->At(1, 1).AsText(), L"MARZO");
    EXPECT_EQ(form->DataGrid1().RowCount(), 3);
    EXPECT_EQ(form->DataGrid1().CellText(0, 2), L"FUERA");
}

TEST_F(ReportButton, TheMonthlySummaryOpensFromTheMenuForTheWindowsRange) {
    std::wstring title;
    options.preview.onShown = [&](report::PreviewWindow& preview) {
        title = preview.GetLayout().Title();
        preview.Close();
    };
    ASSERT_TRUE(Start());
    SendMessageW(form->Control(Id::Text5), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Iglesia"));
    RegisterOn(DateSerial(2026, 2, 10), L"30", L"febrero");
    form->DESDE().SetDateTime(DateSerial(2026, 1, 15));
    form->HASTA().SetDateTime(DateSerial(2026, 3, 1));
    form->RunCommand(static_cast<UINT>(Form1::Command::MonthlySummary));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(title, L"Iglesia\r\nResumen mensual\r\nDe enero de 2026 a marzo de 2026");
}

TEST_F(ReportButton, AFailureIsReportedAndTheWindowGoesOn) {
    bool shown = false;
    options.preview.onShown = [&](report::PreviewWindow& preview) {
        shown = true;
        preview.Close();
    };
    ASSERT_TRUE(Start());
    auto before = form->WindowRecordset();
    {
        Sql other(DbPath());
        other.Exec("BEGIN EXCLUSIVE");
        Click(Id::Command1);
        other.Exec("ROLLBACK");
    }
    EXPECT_FALSE(shown);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find(L"'5'"), std::wstring::npos);
    EXPECT_EQ(form->WindowRecordset(), before);
    EXPECT_TRUE(IsWindow(form->Hwnd()));
    Click(Id::Command1);
    EXPECT_TRUE(shown);
}

}  // namespace
}  // namespace arc::test
