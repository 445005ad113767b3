#include "money.h"

#include <cmath>

namespace money {

double basicInt(double x) { return std::floor(x); }

double roundCents(double amount, double k)
{
    return std::floor(amount * 100.0 + k) / 100.0;
}

float roundCents(float amount, float k)
{
    const float scaled = amount * 100.0f + k;
    return std::floor(scaled) / 100.0f;
}

} // namespace money
