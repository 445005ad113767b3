#pragma once

// Rounding of money to cents the way the fund's invoices have always been
// computed: add a small constant to the amount in hundredths and cut towards
// minus infinity, Int(x * 100 + k) / 100. The constant differs by use:
// 0.51 for line amounts and VAT (12.3449 becomes 12.35), 0.5 for the
// co-payment, 0.501 and 0.509 where a total must tip the same way as the
// fund's own program. Some amounts are computed in single precision; those
// use the float overload so that the float arithmetic is reproduced.
namespace money {

inline constexpr double kHalf = 0.5;
inline constexpr double kHalfUp = 0.501;
inline constexpr double kNearlyUp = 0.509;
inline constexpr double kLine = 0.51;

// Exact for amounts of up to six decimals: a remainder of 0.49 of a
// hundredth goes up with 0.51 whatever the binary form of the amount.
double roundCents(double amount, double k = kLine);
float roundCents(float amount, float k);

// Int() of the old Basic: the largest whole number not greater than x.
double basicInt(double x);

} // namespace money
