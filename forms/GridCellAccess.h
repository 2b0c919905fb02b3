#pragma once
// What the companion windows (calculator, fixed phrases) may do with the main
// window's grid: read its selection and read or set one cell. They start no
// recalculation.

#include <string>

#include "ledger/LedgerTable.h"

namespace orvo::forms {

class GridCellAccess {
public:
    virtual ~GridCellAccess() = default;
    virtual CellBlock gridSelection() const = 0;
    virtual std::string cellText(int col, int row) const = 0;                  // CP932
    virtual void setCellText(int col, int row, const std::string& cp932) = 0;  // refreshes the view
};

}  // namespace orvo::forms
