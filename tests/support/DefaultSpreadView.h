// A spread view that reads the inputs and steps the program starts with: a loan of 100,000 at
// 8.75 % over 360 months, a payment of 786.70 and the fourth step in each step group. It selects,
// colours and enables nothing; the grid it writes to and its mode are the deriving class's.
#pragma once

#include "engine/Spread.h"

struct DefaultSpreadView : TSpreadView {
    SpreadState State;

    SpreadState &Spread() override { return State; }
    int LoanStepIndex() override { return 3; }
    int InterestStepIndex() override { return 3; }
    int PaymentStepIndex() override { return 3; }
    double LoanValue() override { return 100000; }
    double InterestValue() override { return 8.75; }
    double TermValue() override { return 360; }
    double PaymentValue() override { return 786.7; }
    void SelectCell(int, int) override {}
    void SetColorCol(int, TRgb) override {}
    void SetColorRow(int, TRgb) override {}
    void AllowPrinting() override {}
};
