#include "engine/CalcMode.h"

#include "engine/Spread.h"

namespace {

const std::array<TVariableInfo, 4> Variables{{
    {.Name = "loan",
     .Caption = "Loan",
     .StepHeading = "Increment Loan Amounts By",
     .ChartCaption = "Loan Amount:",
     .ChartSteps = "Loan Amounts incremented by ",
     .Default = 100000},
    {.Name = "term", .Caption = "Months", .ChartCaption = "Term:", .Default = 360},
    {.Name = "rate",
     .Caption = "Rate",
     .StepHeading = "Increment Interest Rates By",
     .ChartCaption = "Interest Rate:",
     .ChartSteps = "Interest Rates incremented by ",
     .Default = 8.75},
    {.Name = "payment",
     .Caption = "PMT",
     .StepHeading = "Increment Payments By",
     .ChartCaption = "Payment:",
     .ChartSteps = "Payment Amounts incremented by ",
     .Default = 786.7},
}};

const std::array<const char *, 11> SampleLoans{" $95,000",  " $96,000",  " $97,000",  " $98,000",
                                               " $99,000",  " $100,000", " $101,000", " $102,000",
                                               " $103,000", " $104,000", " $105,000"};
const std::array<const char *, 11> SampleRates{" 7.50%", " 7.75%", " 8.00%", " 8.25%",
                                               " 8.50%", " 8.75%", " 9.00%", " 9.25%",
                                               " 9.50%", " 9.75%", "10.00%"};
const std::array<const char *, 7> SampleRateHeads{"8.00%", "8.25%", "8.50%", "8.75%",
                                                  "9.00%", "9.25%", "9.50%"};
const std::array<const char *, 7> SamplePaymentHeads{"$650.00", "$700.00", "$750.00", "$800.00",
                                                     "$850.00", "$900.00", "$950.00"};

using enum TVariable;

} // namespace

const TVariableInfo &VariableInfo(TVariable v) {
    return Variables[size_t(v)];
}

const std::array<TCalcModeInfo, 4> CalcModes{{
    {.Mode = TCalcMode::Payments,
     .Caption = "PMT (P && I)",
     .Result = Payment,
     .Inputs = {Loan, Term, Rate},
     .Rows = Loan,
     .Columns = Rate,
     .Corner = " Loan / Rate",
     .FillWritesCorner = true,
     .SampleRows = &SampleLoans,
     .SampleColumns = &SampleRateHeads,
     .GridHint = " Grid is displaying Payment Amounts",
     .ChartTitle = "Chart of Monthly Payments",
     .ChartValues = {Loan, Rate, Term},
     .Fill = FillPaymentSpread},
    {.Mode = TCalcMode::Loans,
     .Caption = "Loans",
     .Result = Loan,
     .Inputs = {Payment, Term, Rate},
     .Rows = Payment,
     .Columns = Rate,
     .Corner = " Pmt / Rate",
     .FillWritesCorner = false,
     .SampleRows = &SampleRates,
     .SampleColumns = &SamplePaymentHeads,
     .GridHint = " Grid is displaying Loan Amounts",
     .ChartTitle = "Chart of Loan Amounts",
     .ChartValues = {Term, Rate, Payment},
     .Fill = FillLoanSpread},
    {.Mode = TCalcMode::Rates,
     .Caption = "Rates",
     .Result = Rate,
     .Inputs = {Loan, Term, Payment},
     .Rows = Loan,
     .Columns = Payment,
     .Corner = " Loan / Pmt",
     .FillWritesCorner = false,
     .SampleRows = &SampleLoans,
     .SampleColumns = &SamplePaymentHeads,
     .GridHint = " Grid is displaying Interest Rates",
     .ChartTitle = "Chart of Interest Rates",
     .ChartValues = {Loan, Payment, Term},
     .Fill = FillRateSpread},
    {.Mode = TCalcMode::Terms,
     .Caption = "Term (months)",
     .Result = Term,
     .Inputs = {Loan, Rate, Payment},
     .Rows = Loan,
     .Columns = Payment,
     .Corner = " Loan / Pmt",
     .FillWritesCorner = false,
     .SampleRows = &SampleLoans,
     .SampleColumns = &SamplePaymentHeads,
     .GridHint = " Grid is displaying Term in Months",
     .ChartTitle = "Chart of Terms in Months",
     .ChartValues = {Loan, Rate, Payment},
     .Fill = FillTermSpread},
}};

const TCalcModeInfo *CalcModeOf(int index) {
    return index >= 0 && index < int(CalcModes.size()) ? &CalcModes[size_t(index)] : nullptr;
}

const TCalcModeInfo &ModeInfo(TCalcMode mode) {
    return CalcModes[size_t(mode)];
}
