#include "engine/CalcMode.h"

#include "engine/Spread.h"
#include "engine/Translatable.h"

namespace {

const std::array<TVariableInfo, 4> Variables{{
    {.Name = "loan",
     .Caption = TRANSLATABLE("Engine", "Loan"),
     .StepHeading = TRANSLATABLE("Engine", "Increment Loan Amounts By"),
     .ChartCaption = TRANSLATABLE("Engine", "Loan Amount:"),
     .ChartSteps = TRANSLATABLE("Engine", "Loan Amounts incremented by "),
     .Default = 100000},
    {.Name = "term",
     .Caption = TRANSLATABLE("Engine", "Months"),
     .ChartCaption = TRANSLATABLE("Engine", "Term:"),
     .Default = 360},
    {.Name = "rate",
     .Caption = TRANSLATABLE("Engine", "Rate"),
     .StepHeading = TRANSLATABLE("Engine", "Increment Interest Rates By"),
     .ChartCaption = TRANSLATABLE("Engine", "Interest Rate:"),
     .ChartSteps = TRANSLATABLE("Engine", "Interest Rates incremented by "),
     .Default = 8.75},
    {.Name = "payment",
     .Caption = TRANSLATABLE("Engine", "PMT"),
     .StepHeading = TRANSLATABLE("Engine", "Increment Payments By"),
     .ChartCaption = TRANSLATABLE("Engine", "Payment:"),
     .ChartSteps = TRANSLATABLE("Engine", "Payment Amounts incremented by "),
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
     .Caption = TRANSLATABLE("Engine", "PMT (P && I)"),
     .Result = Payment,
     .Inputs = {Loan, Term, Rate},
     .Rows = Loan,
     .Columns = Rate,
     .Corner = TRANSLATABLE("Engine", " Loan / Rate"),
     .FillWritesCorner = true,
     .SampleRows = &SampleLoans,
     .SampleColumns = &SampleRateHeads,
     .GridHint = TRANSLATABLE("Engine", " Grid is displaying Payment Amounts"),
     .ChartTitle = TRANSLATABLE("Engine", "Chart of Monthly Payments"),
     .ChartValues = {Loan, Rate, Term},
     .Fill = FillPaymentSpread},
    {.Mode = TCalcMode::Loans,
     .Caption = TRANSLATABLE("Engine", "Loans"),
     .Result = Loan,
     .Inputs = {Payment, Term, Rate},
     .Rows = Payment,
     .Columns = Rate,
     .Corner = TRANSLATABLE("Engine", " Pmt / Rate"),
     .FillWritesCorner = false,
     .SampleRows = &SampleRates,
     .SampleColumns = &SamplePaymentHeads,
     .GridHint = TRANSLATABLE("Engine", " Grid is displaying Loan Amounts"),
     .ChartTitle = TRANSLATABLE("Engine", "Chart of Loan Amounts"),
     .ChartValues = {Term, Rate, Payment},
     .Fill = FillLoanSpread},
    {.Mode = TCalcMode::Rates,
     .Caption = TRANSLATABLE("Engine", "Rates"),
     .Result = Rate,
     .Inputs = {Loan, Term, Payment},
     .Rows = Loan,
     .Columns = Payment,
     .Corner = TRANSLATABLE("Engine", " Loan / Pmt"),
     .FillWritesCorner = false,
     .SampleRows = &SampleLoans,
     .SampleColumns = &SamplePaymentHeads,
     .GridHint = TRANSLATABLE("Engine", " Grid is displaying Interest Rates"),
     .ChartTitle = TRANSLATABLE("Engine", "Chart of Interest Rates"),
     .ChartValues = {Loan, Payment, Term},
     .Fill = FillRateSpread},
    {.Mode = TCalcMode::Terms,
     .Caption = TRANSLATABLE("Engine", "Term (months)"),
     .Result = Term,
     .Inputs = {Loan, Rate, Payment},
     .Rows = Loan,
     .Columns = Payment,
     .Corner = TRANSLATABLE("Engine", " Loan / Pmt"),
     .FillWritesCorner = false,
     .SampleRows = &SampleLoans,
     .SampleColumns = &SamplePaymentHeads,
     .GridHint = TRANSLATABLE("Engine", " Grid is displaying Term in Months"),
     .ChartTitle = TRANSLATABLE("Engine", "Chart of Terms in Months"),
     .ChartValues = {Loan, Rate, Payment},
     .Fill = FillTermSpread},
}};

const TCalcModeInfo *CalcModeOf(int index) {
    return index >= 0 && index < int(CalcModes.size()) ? &CalcModes[size_t(index)] : nullptr;
}

const TCalcModeInfo &ModeInfo(TCalcMode mode) {
    return CalcModes[size_t(mode)];
}
