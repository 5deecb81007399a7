#pragma once
// A report-style list view whose cells the owner gives as they come on
// screen: columns with headers, widths in twips and alignment; optionally a
// check box per row and a first column the user may edit in place (F2, or
// a click on the current row).  The list is virtual, so that ten thousand
// rows cost no more to show than ten: it keeps the check boxes itself and
// ticks them on Space and on a click on the box, the same on every system.
#include "Controls.h"
#include "Gdi.h"
#include "Twips.h"

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace arc {

struct ListColumn {
    std::wstring header;
    int widthTwips = 1440;
    Align align = Align::Left;
};

// Answers a list view's request for a cell's text from the text given,
// which the buffer keeps alive; a row shows one line, so line breaks and
// tabs become blanks.
void AnswerTextRequest(NMLVDISPINFOW& request, std::wstring& buffer, std::wstring text);

class ListView : public ReflectedControl {
public:
    struct Options {
        bool checkBoxes = false;
        bool editFirstColumn = false;
    };

    ListView() = default;
    ~ListView();
    ListView(const ListView&) = delete;
    ListView& operator=(const ListView&) = delete;

    // Creates the list view as a child of parent, at a place in twips.
    HWND Create(HWND parent, const Place& twips, const TwipsScale& scale, Options options);
    HWND Hwnd() const { return list_; }

    void SetColumns(const std::vector<ListColumn>& columns);
    // Replaces every row; the check boxes start as `checked` says.  No
    // OnCheck is raised for them.
    void SetRows(size_t count, const std::function<bool(size_t)>& checked = {});
    size_t RowCount() const { return checks_.size(); }
    // Repaints the rows' texts after the owner's data changed.
    void Refresh() { InvalidateRect(list_, nullptr, FALSE); }

    bool Checked(size_t row) const;
    // Raises OnCheck as the user's tick would.
    void SetChecked(size_t row, bool checked);
    int CurrentRow() const;
    void SetCurrentRow(size_t row);
    std::wstring CellText(size_t row, int column) const { return CellTextOf ? CellTextOf(row, column) : L""; }

    std::function<std::wstring(size_t row, int column)> CellTextOf;
    // A check box was ticked or cleared by the user (or SetChecked).
    std::function<void(size_t row, bool checked)> OnCheck;
    // The first column's text was edited; false refuses the text.
    std::function<bool(size_t row, const std::wstring& text)> OnEdited;

    bool OnReflectedNotify(const NMHDR& header, LRESULT& result) override;

private:
    static LRESULT CALLBACK ListProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    // The list's own window asks its parent to tick a row, so that the
    // owner's handler runs inside the parent's error barrier.
    static constexpr UINT kToggleNotice = 0x8000;
    void Toggle(HWND list, int row);

    HWND list_ = nullptr;
    TwipsScale scale_;
    Font font_;
    Options options_;
    std::vector<bool> checks_;
    mutable std::wstring textBuffer_;
};

}  // namespace arc
