// MOSTRAR: the day view, every movement keyed in today, in the grid.
#include "Form1.h"
#include "MovementRow.h"

#include "platform/runtime/DateValue.h"

namespace arc {

void ShowAsDayView(DataGrid& grid, const Regional& regional) {
    const int widths[] = {0, 1500, 5800, 1700, 1700, 1700};
    for (int c = 0; c < 6; ++c) grid.SetColumnWidth(c, widths[c]);
    for (int c = 3; c <= 5; ++c) {
        grid.SetNumberFormat(c, L"#,##0.##", regional);
        grid.SetAlignment(c, Align::Right);
    }
    grid.SetRowHeight(300);
}

void Form1::MOSTRAR() {
    db_.CONEXION();
    recordset_ = db_.OpenRecordset(LedgerDatabase::DayViewQuery(Today(host_.Now())));
    grid_.Bind(recordset_);
    grid_.Show();
    ShowAsDayView(grid_, host_.Regional());
    HWND text1 = Control(Id::Text1);
    if (IsWindowVisible(text1)) SetFocus(text1);
}

}  // namespace arc
