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
    const char *Caption;      // its box's row caption
    const char *StepHeading;  // its step group's heading (none for the term)
    const char *ChartCaption; // how the chart names its value
    const char *ChartSteps;   // how the chart names its steps, followed by the step text
    double Default;           // the window's value at first start and after a math error
};
const TVariableInfo &VariableInfo(TVariable v);

struct TCalcModeInfo {
    TCalcMode Mode;
    const char *Caption;             // its item in the mode group
    const char *Name;                // its name on the command line
    TVariable Result;                // what the cells hold: its box is hidden
    std::array<TVariable, 3> Inputs; // the boxes shown, top to bottom, reset after a math error
    TVariable Rows, Columns;         // down the rows and across; their step groups left and right
    const char *Corner;              // the sample grid: corner, row and column headers
    const std::array<const char *, 11> *SampleRows;
    const std::array<const char *, 7> *SampleColumns;
    const char *GridHint;
    const char *ChartTitle;
    std::array<TVariable, 3> ChartValues; // the three values the chart's header names
    void (*Fill)(TSpreadView &view);      // the grid calculator
};

extern const std::array<TCalcModeInfo, 4> CalcModes;

// The mode of a mode group index or a stored CalcMode; nothing outside 0 to 3.
const TCalcModeInfo *CalcModeOf(int index);
