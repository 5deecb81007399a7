#pragma once
// The shape shared by the modal, resizable list windows of the ledger
// ("Buscar movimientos", "Historial de cambios"): filters along the top, a
// grid that takes what the window gives, and at its foot a line of text at
// the left and buttons at the right.  The window cannot be made smaller
// than it was designed, and remembers its size (only that) for the next
// time in the same session.
#include "DateField.h"

#include "platform/grid/DataGrid.h"
#include "platform/window/ModalForm.h"

#include <functional>
#include <memory>
#include <vector>

namespace arc {

class ListWindow : public ModalForm {
public:
    // The range of days the list covers.
    DateField& DESDE() { return *desde_; }
    DateField& HASTA() { return *hasta_; }

protected:
    // The places of the parts the window moves as it is resized.
    struct Parts {
        int gridTop = 960;              // twips from the top of the client area
        ControlId footText;             // the line of text at the foot
        std::vector<ControlId> footButtons;  // from the right edge leftwards
    };

    ListWindow(Host& host, SIZE& rememberedSize);

    // Creates the window (of that class, caption and width, resizable, centred
    // on the screen) from its control table, at the remembered size when
    // there is one.
    bool CreateList(HWND owner, const wchar_t* className, const wchar_t* caption, int width,
                    const std::vector<ControlDesc>& table, Parts parts);
    // The control-table entries of the range of days at the top left: "Desde"
    // and "Hasta" over their date fields (tabs 0 and 1; the labels' tabs
    // labelTab and labelTab + 1).
    std::vector<ControlDesc> DateRangeEntries(ControlId label1, ControlId desde, ControlId label2, ControlId hasta,
                                              int labelTab);
    // The control-table entry of the grid.
    ControlDesc GridEntry(ControlId id, int tab, const Place& place);
    // Shows the window over the owner until Finish(); `first` runs once it
    // is shown (the first search), then `onShown` (tests).
    void RunList(HWND owner, const std::function<void()>& first, const std::function<void()>& onShown);
    // Keeps the window's size for the next time and ends it.
    void Finish();

    DataGrid grid_;
    std::unique_ptr<DateField> desde_, hasta_;

private:
    void PlaceParts();

    SIZE& remembered_;
    Parts parts_;
    SIZE minimum_{};
};

}  // namespace arc
