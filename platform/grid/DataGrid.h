#pragma once
// A read-only data grid: a report-style list view bound to a record set.
// One column per field, headed by the field's name; widths in twips; a
// number format and an alignment per column; a row height in twips; a
// current row whose cell texts (as shown) and values can be read.  The list
// view is virtual: it asks for the texts of the rows on screen only, so a
// large record set costs nothing to bind.
#include "platform/data/Recordset.h"
#include "platform/runtime/Regional.h"
#include "platform/window/Controls.h"
#include "platform/window/Gdi.h"

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace arc {

class DataGrid : public ReflectedControl {
public:
    DataGrid() = default;
    ~DataGrid();
    DataGrid(const DataGrid&) = delete;
    DataGrid& operator=(const DataGrid&) = delete;

    // Creates the list view as a child of parent at a place given in twips,
    // at the parent's scale.
    bool Create(HWND parent, const Place& twips, const TwipsScale& scale, const FontDesc& headerFont,
                const FontDesc& cellFont);

    // Binds the record set: columns by field, headed by the field names, the
    // rows in the record set's order.  Earlier column settings are dropped,
    // and so are the current row and the scroll position.
    void Bind(std::shared_ptr<data::Recordset> recordset);
    const std::shared_ptr<data::Recordset>& DataSource() const { return recordset_; }

    void SetColumnWidth(int column, int twips);
    int ColumnWidth(int column) const;  // twips
    void SetNumberFormat(int column, const std::wstring& format, const Regional& regional);
    void SetAlignment(int column, Align align);
    void SetRowHeight(int twips);
    int RowHeightPixels() const;

    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    const std::wstring& ColumnHeader(int column) const { return columns_.at(static_cast<size_t>(column)).header; }
    int RowCount() const;

    // The current row (focused or selected), or -1 when there is none.
    int Row() const;
    void SetRow(int row);
    // The text a cell shows (in its column's number format) and its value.
    std::wstring CellText(int row, int column) const;
    data::Value CellValue(int row, int column) const;

    HWND Hwnd() const { return list_; }
    bool Visible() const { return list_ && IsWindowVisible(list_); }
    void Show() { if (list_) ShowWindow(list_, SW_SHOW); }

    // Events.  Click: a mouse click in the grid (DoubleClick: a double one).  KeyPress: a character key
    // (Enter included) typed while the grid has the focus.  Both run from
    // the notices the parent form reflects back to the grid, so what they
    // raise reaches the form's own error barrier.
    std::function<void()> OnClick;
    std::function<void()> OnDoubleClick;
    std::function<void(wchar_t)> OnKeyPress;

    bool OnReflectedNotify(const NMHDR& header, LRESULT& result) override;

private:
    struct Column {
        std::wstring header;
        int widthTwips = 1440;
        std::wstring format;
        Align align = Align::Left;
    };
    static LRESULT CALLBACK ListProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    void ApplyColumn(int column);
    void RebuildColumns();

    HWND list_ = nullptr;
    TwipsScale scale_;
    Font headerFont_, cellFont_;
    HIMAGELIST rowSizer_ = nullptr;
    std::shared_ptr<data::Recordset> recordset_;
    std::vector<Column> columns_;
    Regional regional_;
    mutable std::wstring textBuffer_;
};

}  // namespace arc
