#pragma once
// What the companion windows (calculator, fixed phrases) may do with the main
// window's grid: read its selection and read or set one cell. They start no
// recalculation.

#include <string>

#include "ledger/LedgerTable.h"
#include "ledger/StepKind.h"

namespace orvo::forms {

class GridCellAccess {
public:
    virtual ~GridCellAccess() = default;
    virtual CellBlock gridSelection() const = 0;
    virtual std::string cellText(int col, int row) const = 0;                  // CP932
    // One step of the ledger's history; refreshes the view.
    virtual void setCellText(int col, int row, const std::string& cp932,
                             StepKind kind = StepKind::CellEdit) = 0;
};

}  // namespace orvo::forms
