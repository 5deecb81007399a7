#pragma once
// A movement as a row of the day view (or of the search) shows it, with the
// grid's columns 0 ID, 1 FECHA, 2 DESCRIPCION, 3 INGRESO, 4 EGRESO, 5 ESTADO:
// what the row-loading step puts into the entry fields.
#include "platform/data/Value.h"
#include "platform/grid/DataGrid.h"
#include "platform/runtime/Regional.h"

#include <string>

namespace arc {

struct MovementRow {
    data::Value id;
    std::wstring fecha;
    std::wstring descripcion;
    data::Value ingreso, egreso;
};

inline MovementRow RowOfGrid(const DataGrid& grid, int row) {
    return {grid.CellValue(row, 0), grid.CellValue(row, 1).AsText(), grid.CellValue(row, 2).AsText(),
            grid.CellValue(row, 3), grid.CellValue(row, 4)};
}

// The day view's columns: widths in twips, amounts "#,##0.##" to the right,
// rows of 300 twips.  The search lists its rows the same way.
void ShowAsDayView(DataGrid& grid, const Regional& regional);

}  // namespace arc
