#include "money.h"

#include <cmath>

namespace money {

double basicInt(double x) { return std::floor(x); }

double roundCents(double amount, double k)
{
    // In binary 10.0049 * 100 is 1000.48999..., which would cut to 1000
    // although the rule takes it to 1001. The amount is therefore taken as
    // the decimal number it stands for, in millionths (every price has at
    // most four decimals, every product of a price and a quantity too), and
    // the rule is applied to whole numbers.
    if (!std::isfinite(amount) || std::fabs(amount) >= 1e9)
        return std::floor(amount * 100.0 + k) / 100.0;
    const long long millionths = std::llround(amount * 1e6);
    const long long constant = std::llround(k * 1e4); // k in ten-thousandths of a cent
    const long long sum = millionths + constant;     // amount * 100 + k, in ten-thousandths
    long long cents = sum / 10000;
    if (sum % 10000 < 0)
        --cents;
    return double(cents) / 100.0;
}

float roundCents(float amount, float k)
{
    const float scaled = amount * 100.0f + k;
    return std::floor(scaled) / 100.0f;
}

} // namespace money
