// Rounding-off of net pay (扣零): the part of net pay below the task's money
// unit is held back and carried into the next month, where it is paid out
// once whole units have gathered.
#pragma once

#include <string>

namespace gzgl::calc {

// The money unit of a rounding-off mode (F_KWFS): 10, 5, 1, 0.5, 0.1, 100,
// 50 for modes 1..7; 0 for mode 0 and any other value (no rounding-off).
double roundOffUnit(int mode);

// The part of x below the mode's unit, taken from the digits of the decimal
// text of x / unit, so it is never negative (also for negative x). 0 in
// mode 0.
double RoundOffRemainder(double x, int mode);

// Net pay and its rounding-off for one employee: P is net pay as just
// calculated, L last month's carried remainder (FFFF).
struct NetPay {
    std::string heldBack; // FFFD, 本月扣零: decimal text
    std::string paidOut; // FFFE, 本月补发: decimal text of whole units paid from the carry
    double net = 0; // F000 before the per-employee exceptions: P less this month's remainder, plus the units paid out
};
NetPay netPay(double P, double L, int mode);

} // namespace gzgl::calc
