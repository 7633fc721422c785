// The yearly cost of credit from its cash flows: the APR of the actuarial method (a rate per
// unit period, the fraction of a period counted as simple interest) and the annual percentage
// rate of charge (yearly compounding over times in years). Plain C++.
#pragma once

#include <optional>
#include <vector>

// A payment and its time after the advance: whole unit periods plus a fraction of one.
struct TActuarialPayment {
    int Periods = 0;
    double Fraction = 0;
    double Amount = 0;
};

// The rate per unit period i at which the advance equals the payments discounted, each by
// (1 + Fraction x i)(1 + i)^Periods; nothing when no rate from -99 % to 1000 % a period does.
std::optional<double> ActuarialRate(double advance, const std::vector<TActuarialPayment> &payments);

// A payment and its time after the advance in years.
struct TDatedPayment {
    double Years = 0;
    double Amount = 0;
};

// The yearly rate X at which the advance equals the payments, each discounted by
// (1 + X)^Years; nothing when no rate from -99 % to 10,000 % a year does.
std::optional<double> AnnualChargeRate(double advance, const std::vector<TDatedPayment> &payments);
