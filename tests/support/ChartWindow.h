// The main window as the calculators and the payment chart see it: the mode group, the grid and
// the spread state, with the default inputs and steps of the program.
#pragma once

#include "controls/Aligrid.h"
#include "platform/ExtCtrls.h"
#include "printing/Qrchart.h"
#include "tests/support/DefaultSpreadView.h"

struct ChartWindow : DefaultSpreadView {
    TRadioGroup rgCalculate;
    TStringAlignGrid grdLS;
    TQRPaymentChart Chart{State, rgCalculate, grdLS, "www.tamblewick.example"};

    ChartWindow();
    // Chooses the calculation mode and fills the grid by it.
    void Calculate(int mode);

    void SetCell(int col, int row, const std::string &text) override;
};
