#include "ListView.h"

namespace arc {

void AnswerTextRequest(NMLVDISPINFOW& request, std::wstring& buffer, std::wstring text) {
    if (!(request.item.mask & LVIF_TEXT) || !request.item.pszText || request.item.cchTextMax <= 0) return;
    buffer = std::move(text);
    for (auto& c : buffer)
        if (c == L'\r' || c == L'\n' || c == L'\t') c = L' ';
    lstrcpynW(request.item.pszText, buffer.c_str(), request.item.cchTextMax);
}

ListView::~ListView() {
    if (list_) {
        RemoveWindowSubclass(list_, &ListView::ListProc, 1);
        DestroyWindow(list_);
    }
}

HWND ListView::Create(HWND parent, const Place& twips, const TwipsScale& scale, Options options) {
    scale_ = scale;
    options_ = options;
    const RECT r = scale.Rect(twips);
    list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL |
                                LVS_OWNERDATA | (options.editFirstColumn ? LVS_EDITLABELS : 0),
                            r.left, r.top, r.right - r.left, r.bottom - r.top, parent, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    if (!list_) return nullptr;
    ListView_SetExtendedListViewStyle(
        list_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | (options.checkBoxes ? LVS_EX_CHECKBOXES : 0));
    // The boxes' states come from the owner, like the texts.
    if (options.checkBoxes) ListView_SetCallbackMask(list_, LVIS_STATEIMAGEMASK);
    font_ = MakeFont(FontDesc(), scale);
    SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    SetWindowSubclass(list_, &ListView::ListProc, 1, reinterpret_cast<DWORD_PTR>(this));
    return list_;
}

void ListView::SetColumns(const std::vector<ListColumn>& columns) {
    while (ListView_DeleteColumn(list_, 0)) {
    }
    for (size_t c = 0; c < columns.size(); ++c) {
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        col.pszText = const_cast<wchar_t*>(columns[c].header.c_str());
        col.cx = scale_.X(columns[c].widthTwips);
        // The first column of a list view is always left-aligned by the control.
        col.fmt = c == 0 || columns[c].align == Align::Left ? LVCFMT_LEFT
                  : columns[c].align == Align::Right        ? LVCFMT_RIGHT
                                                            : LVCFMT_CENTER;
        col.iSubItem = static_cast<int>(c);
        ListView_InsertColumn(list_, static_cast<int>(c), &col);
    }
}

void ListView::SetRows(size_t count, const std::function<bool(size_t)>& checked) {
    checks_.assign(count, false);
    if (checked)
        for (size_t i = 0; i < count; ++i) checks_[i] = checked(i);
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemCountEx(list_, static_cast<int>(count), 0);
    InvalidateRect(list_, nullptr, TRUE);
}

bool ListView::Checked(size_t row) const { return row < checks_.size() && checks_[row]; }

void ListView::SetChecked(size_t row, bool checked) {
    if (row >= checks_.size() || checks_[row] == checked) return;
    checks_[row] = checked;
    ListView_RedrawItems(list_, static_cast<int>(row), static_cast<int>(row));
    if (OnCheck) OnCheck(row, checked);
}

void ListView::Toggle(HWND list, int row) {
    NMITEMACTIVATE notice{};
    notice.hdr.hwndFrom = list;
    notice.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
    notice.hdr.code = kToggleNotice;
    notice.iItem = row;
    SendMessageW(GetParent(list), WM_NOTIFY, notice.hdr.idFrom, reinterpret_cast<LPARAM>(&notice));
}

int ListView::CurrentRow() const { return ListView_GetNextItem(list_, -1, LVNI_FOCUSED); }

void ListView::SetCurrentRow(size_t row) {
    const int at = static_cast<int>(row);
    ListView_SetItemState(list_, at, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list_, at, FALSE);
}

bool ListView::OnReflectedNotify(const NMHDR& header, LRESULT& result) {
    if (!list_ || header.hwndFrom != list_) return false;
    result = 0;
    switch (header.code) {
        case LVN_GETDISPINFOW: {
            auto& request = *reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header));
            const auto row = static_cast<size_t>(request.item.iItem);
            if ((request.item.mask & LVIF_STATE) && options_.checkBoxes) {
                request.item.state = INDEXTOSTATEIMAGEMASK(Checked(row) ? 2 : 1);
                request.item.stateMask = LVIS_STATEIMAGEMASK;
            }
            AnswerTextRequest(request, textBuffer_, CellText(row, request.item.iSubItem));
            return true;
        }
        case kToggleNotice: {
            const int row = reinterpret_cast<const NMITEMACTIVATE&>(header).iItem;
            if (row >= 0) SetChecked(static_cast<size_t>(row), !Checked(static_cast<size_t>(row)));
            return true;
        }
        case LVN_KEYDOWN:
            if (options_.editFirstColumn && reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_F2 &&
                CurrentRow() >= 0) {
                ListView_EditLabel(list_, CurrentRow());
                return true;
            }
            return false;
        case LVN_BEGINLABELEDITW:
            result = options_.editFirstColumn ? FALSE : TRUE;
            return true;
        case LVN_ENDLABELEDITW: {
            const auto& edit = reinterpret_cast<const NMLVDISPINFOW&>(header);
            // The text stays the owner's: the row keeps asking for it.
            if (edit.item.pszText && OnEdited) OnEdited(static_cast<size_t>(edit.item.iItem), edit.item.pszText);
            ListView_RedrawItems(list_, edit.item.iItem, edit.item.iItem);
            result = FALSE;
            return true;
        }
        default:
            return false;
    }
}

LRESULT CALLBACK ListView::ListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<ListView*>(data);
    switch (msg) {
        case WM_KEYDOWN:
            if (wParam == VK_SPACE && self->options_.checkBoxes) {
                self->Toggle(hwnd, ListView_GetNextItem(hwnd, -1, LVNI_FOCUSED));
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == L' ' && self->options_.checkBoxes) return 0;  // no search for a blank
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            LVHITTESTINFO hit{};
            hit.pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (self->options_.checkBoxes && ListView_SubItemHitTest(hwnd, &hit) >= 0 &&
                (hit.flags & LVHT_ONITEMSTATEICON) && hit.iSubItem == 0) {
                SetFocus(hwnd);
                ListView_SetItemState(hwnd, hit.iItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
                self->Toggle(hwnd, hit.iItem);
                return 0;
            }
            break;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, &ListView::ListProc, 1);
            self->list_ = nullptr;
            break;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

}  // namespace arc
