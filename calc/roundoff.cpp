#include "calc/roundoff.h"

#include "calc/numformat.h"
#include "core/numtext.h"

namespace gzgl::calc {

double roundOffUnit(int mode) {
    switch (mode) {
    case 1: return 10;
    case 2: return 5;
    case 3: return 1;
    case 4: return 0.5;
    case 5: return 0.1;
    case 6: return 100;
    case 7: return 50;
    default: return 0;
    }
}

double RoundOffRemainder(double x, int mode) {
    const double u = roundOffUnit(mode);
    if (u == 0)
        return 0;
    const std::string t = decimalText(x / u);
    const auto dot = t.find('.');
    if (dot == std::string::npos)
        return 0;
    return u * readNumber("0" + t.substr(dot));
}

NetPay netPay(double P, double L, int mode) {
    NetPay n;
    n.heldBack = decimalText(RoundOffRemainder(P + L, mode));
    const double r1 = RoundOffRemainder(P, mode);
    const double r2 = RoundOffRemainder(r1 + L, mode);
    const double B = roundToPattern(r1 + L - r2, 2);
    n.paidOut = decimalText(B);
    n.net = roundToPattern(P - r1, 2) + B;
    return n;
}

} // namespace gzgl::calc
