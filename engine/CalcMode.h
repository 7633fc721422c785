// The four calculation modes and what each means: which value the grid computes, which boxes
// and step groups the window shows, the grid's sample and hint, the chart's title and values,
// and the calculator. The window, the chart and the engine read this one table.
#pragma once

#include <array>

class TSpreadView;

enum class TCalcMode { Payments, Loans, Rates, Terms };

// The four values of a loan; each has its box in the window, and all but the term a step group.
enum class TVariable { Loan, Term, Rate, Payment };

struct TVariableInfo {
    const char *Name = nullptr;         // its name on the command line
    const char *Caption = nullptr;      // its box's row caption
    const char *StepHeading = nullptr;  // its step group's heading (none for the term)
    const char *ChartCaption = nullptr; // how the chart names its value
    const char *ChartSteps = nullptr;   // how the chart names its steps, then the step text
    double Default = 0;                 // the window's value at first start and after a math error
};
const TVariableInfo &VariableInfo(TVariable v);

struct TCalcModeInfo {
    TCalcMode Mode;
    const char *Caption;             // its item in the mode group
    TVariable Result;                // what the cells hold (naming the mode): its box is hidden
    std::array<TVariable, 3> Inputs; // the boxes shown, top to bottom, reset after a math error
    TVariable Rows, Columns;         // down the rows and across; their step groups left and right
    const char *Corner;              // the sample grid: corner, row and column headers
    bool FillWritesCorner;           // its calculator writes the corner too (else only the reset)
    const std::array<const char *, 11> *SampleRows;
    const std::array<const char *, 7> *SampleColumns;
    const char *GridHint;
    const char *ChartTitle;
    std::array<TVariable, 3> ChartValues; // the three values the chart's header names
    void (*Fill)(TSpreadView &view);      // the grid calculator
};

extern const std::array<TCalcModeInfo, 4> CalcModes;

// The mode of a mode group index; nothing outside 0 to 3.
const TCalcModeInfo *CalcModeOf(int index);
// What a mode means.
const TCalcModeInfo &ModeInfo(TCalcMode mode);
