#pragma once
// The shape shared by the modal, resizable list windows of the ledger
// ("Buscar movimientos", "Historial de cambios"): filters along the top, a
// grid that takes what the window gives, and at its foot a line of text at
// the left and buttons at the right.  The window cannot be made smaller
// than it was designed, and remembers its size (only that) for the next
// time in the same session.
#include "platform/grid/DataGrid.h"
#include "platform/window/ModalForm.h"

#include <functional>
#include <vector>

namespace arc {

class ListWindow : public ModalForm {
protected:
    // The places of the parts the window moves as it is resized.
    struct Parts {
        int gridTop = 960;              // twips from the top of the client area
        ControlId footText;             // the line of text at the foot
        std::vector<ControlId> footButtons;  // from the right edge leftwards
    };

    ListWindow(Host& host, SIZE& rememberedSize);

    // Creates the window from its description and control table, at the
    // remembered size when there is one.
    bool CreateList(HWND owner, const FormDesc& desc, const std::vector<ControlDesc>& table, Parts parts);
    // The control-table entry of the grid.
    ControlDesc GridEntry(ControlId id, int tab, const Place& place);
    // Shows the window over the owner until Finish(); `first` runs once it
    // is shown (the first search), then `onShown` (tests).
    void RunList(HWND owner, const std::function<void()>& first, const std::function<void()>& onShown);
    // Keeps the window's size for the next time and ends it.
    void Finish();

    DataGrid grid_;

private:
    void PlaceParts();

    SIZE& remembered_;
    Parts parts_;
    SIZE minimum_{};
};

}  // namespace arc
