#include "tests/support/ChartWindow.h"

ChartWindow::ChartWindow() {
    rgCalculate.SetItems({"PMT (P && I)", "Loans", "Rates", "Term (months)"});
    grdLS.SetColCount(8);
    grdLS.SetRowCount(12);
}

void ChartWindow::Calculate(int mode) {
    rgCalculate.SetItemIndex(mode);
    State.CalcMode = TCalcMode(mode);
    FillSpread(*this);
}

void ChartWindow::SetCell(int col, int row, const std::string &text) {
    grdLS.SetCells(col, row, QString::fromStdString(text));
}
