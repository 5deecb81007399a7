#include "DataGrid.h"

#include "platform/runtime/Format.h"
#include "platform/runtime/NumberText.h"
#include "platform/window/ListView.h"

#include <commctrl.h>

#include <algorithm>

namespace arc {

DataGrid::~DataGrid() {
    if (list_) {
        RemoveWindowSubclass(list_, &DataGrid::ListProc, 1);
        DestroyWindow(list_);
    }
    if (rowSizer_) ImageList_Destroy(rowSizer_);
}

bool DataGrid::Create(HWND parent, const Place& twips, const TwipsScale& scale, const FontDesc& headerFont,
                      const FontDesc& cellFont) {
    scale_ = scale;
    RECT r = scale.Rect(twips);
    list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                                LVS_OWNERDATA,
                            r.left, r.top, r.right - r.left, r.bottom - r.top, parent, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    if (!list_) return false;
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    cellFont_ = MakeFont(cellFont, scale);
    headerFont_ = MakeFont(headerFont, scale);
    SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(cellFont_.Get()), FALSE);
    if (HWND header = ListView_GetHeader(list_))
        SendMessageW(header, WM_SETFONT, reinterpret_cast<WPARAM>(headerFont_.Get()), FALSE);
    SetWindowSubclass(list_, &DataGrid::ListProc, 1, reinterpret_cast<DWORD_PTR>(this));
    return true;
}

void DataGrid::Bind(std::shared_ptr<data::Recordset> recordset) {
    recordset_ = std::move(recordset);
    columns_.clear();
    if (recordset_)
        for (size_t i = 0; i < recordset_->FieldCount(); ++i) {
            Column c;
            c.header = recordset_->FieldName(i);
            columns_.push_back(c);
        }
    RebuildColumns();
    if (!list_) return;
    ListView_SetItemCountEx(list_, RowCount(), 0);
    // A new binding starts afresh: the list view would keep the selected and
    // focused row numbers and the scroll position, which now name other
    // records, and a key press would load one of them.
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetSelectionMark(list_, -1);
    if (RowCount() > 0) ListView_EnsureVisible(list_, 0, FALSE);
    InvalidateRect(list_, nullptr, TRUE);
}

void DataGrid::RebuildColumns() {
    if (!list_) return;
    while (ListView_DeleteColumn(list_, 0)) {
    }
    for (int c = 0; c < ColumnCount(); ++c) {
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        col.pszText = const_cast<wchar_t*>(columns_[static_cast<size_t>(c)].header.c_str());
        col.cx = scale_.X(columns_[static_cast<size_t>(c)].widthTwips);
        col.fmt = LVCFMT_LEFT;
        col.iSubItem = c;
        ListView_InsertColumn(list_, c, &col);
    }
}

void DataGrid::ApplyColumn(int column) {
    if (!list_ || column < 0 || column >= ColumnCount()) return;
    const Column& c = columns_[static_cast<size_t>(column)];
    LVCOLUMNW col{};
    col.mask = LVCF_WIDTH | LVCF_FMT;
    col.cx = scale_.X(c.widthTwips);
    // The first column of a list view is always left-aligned by the control.
    col.fmt = column == 0 ? LVCFMT_LEFT
                          : (c.align == Align::Right ? LVCFMT_RIGHT : c.align == Align::Center ? LVCFMT_CENTER : LVCFMT_LEFT);
    ListView_SetColumn(list_, column, &col);
    InvalidateRect(list_, nullptr, TRUE);
}

void DataGrid::SetColumnWidth(int column, int twips) {
    if (column < 0 || column >= ColumnCount()) return;
    columns_[static_cast<size_t>(column)].widthTwips = twips;
    ApplyColumn(column);
}

int DataGrid::ColumnWidth(int column) const {
    if (column < 0 || column >= ColumnCount()) return 0;
    return columns_[static_cast<size_t>(column)].widthTwips;
}

void DataGrid::SetNumberFormat(int column, const std::wstring& format, const Regional& regional) {
    if (column < 0 || column >= ColumnCount()) return;
    columns_[static_cast<size_t>(column)].format = format;
    regional_ = regional;
    InvalidateRect(list_, nullptr, TRUE);
}

void DataGrid::SetAlignment(int column, Align align) {
    if (column < 0 || column >= ColumnCount()) return;
    columns_[static_cast<size_t>(column)].align = align;
    ApplyColumn(column);
}

void DataGrid::SetRowHeight(int twips) {
    // A list view takes its row height from its small image list; an empty
    // one-pixel-wide list of the wanted height sets it; the grid lines take
    // one more pixel of their own.
    int px = std::max(1, scale_.Y(twips) - 1);
    if (rowSizer_) ImageList_Destroy(rowSizer_);
    rowSizer_ = ImageList_Create(1, px, ILC_COLOR, 0, 1);
    ListView_SetImageList(list_, rowSizer_, LVSIL_SMALL);
}

int DataGrid::RowHeightPixels() const {
    RECT r{};
    if (RowCount() > 0 && ListView_GetItemRect(list_, 0, &r, LVIR_BOUNDS)) return r.bottom - r.top;
    int cx = 0, cy = 0;
    if (rowSizer_) ImageList_GetIconSize(rowSizer_, &cx, &cy);
    return cy;
}

int DataGrid::RowCount() const { return recordset_ ? static_cast<int>(recordset_->RecordCount()) : 0; }

int DataGrid::Row() const {
    if (!list_ || RowCount() == 0) return -1;
    int row = ListView_GetNextItem(list_, -1, LVNI_SELECTED);
    if (row < 0) row = ListView_GetNextItem(list_, -1, LVNI_FOCUSED);
    return row < RowCount() ? row : -1;
}

void DataGrid::SetRow(int row) {
    if (row < 0 || row >= RowCount()) return;
    ListView_SetItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list_, row, FALSE);
}

data::Value DataGrid::CellValue(int row, int column) const {
    if (!recordset_ || row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) return {};
    return recordset_->At(static_cast<size_t>(row), static_cast<size_t>(column));
}

std::wstring DataGrid::CellText(int row, int column) const {
    data::Value v = CellValue(row, column);
    if (v.IsNull()) return L"";
    const std::wstring& format = columns_[static_cast<size_t>(column)].format;
    if (!format.empty()) {
        if (v.IsNumber()) return FormatNumber(v.AsDouble(), format, regional_);
        // A number kept as text is shown formatted too, as the grid's format would.
        std::wstring t = v.AsText();
        Regional point;
        point.decimal = L".";
        if (auto n = ParseNumber(t, point)) return FormatNumber(*n, format, regional_);
        return t;
    }
    if (v.GetType() == data::Value::Type::Real) {
        // Plain real values show without a trailing ".0".
        std::wstring t = v.AsText();
        if (t.size() > 2 && t.compare(t.size() - 2, 2, L".0") == 0) t.resize(t.size() - 2);
        return t;
    }
    return v.AsText();
}

bool DataGrid::OnReflectedNotify(const NMHDR& header, LRESULT& result) {
    if (!list_ || header.hwndFrom != list_) return false;
    result = 0;
    switch (header.code) {
        case LVN_GETDISPINFOW: {
            auto& request = *reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header));
            if (request.item.mask & LVIF_TEXT)
                AnswerTextRequest(request, textBuffer_, CellText(request.item.iItem, request.item.iSubItem));
            return true;
        }
        case NM_CLICK:
            if (OnClick) OnClick();
            return true;
        case NM_DBLCLK:
            if (OnDoubleClick) OnDoubleClick();
            return true;
        case NM_CHAR:
            if (OnKeyPress) OnKeyPress(static_cast<wchar_t>(reinterpret_cast<const NMCHAR*>(&header)->ch));
            return true;
        default:
            return false;
    }
}

LRESULT CALLBACK DataGrid::ListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<DataGrid*>(data);
    switch (msg) {
        case WM_GETDLGCODE:
            // Enter belongs to the grid (it loads the current row), not to
            // the window's default button.
            if (lParam && reinterpret_cast<MSG*>(lParam)->message == WM_KEYDOWN &&
                reinterpret_cast<MSG*>(lParam)->wParam == VK_RETURN)
                return DLGC_WANTALLKEYS;
            return DefSubclassProc(hwnd, msg, wParam, lParam) | DLGC_WANTCHARS;
        case WM_CHAR: {
            // The key press goes to the parent as a notice, like a click, so
            // that it runs inside the parent's window procedure and a failure
            // reaches the parent's error handling.  The list view's own
            // incremental search would move the current row on a typed
            // letter; the grid is read-only, so the key ends here.
            NMCHAR notice{};
            notice.hdr.hwndFrom = hwnd;
            notice.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd));
            notice.hdr.code = static_cast<UINT>(NM_CHAR);
            notice.ch = static_cast<UINT>(wParam);
            SendMessageW(GetParent(hwnd), WM_NOTIFY, notice.hdr.idFrom, reinterpret_cast<LPARAM>(&notice));
            return 0;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, &DataGrid::ListProc, 1);
            self->list_ = nullptr;
            break;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

}  // namespace arc
