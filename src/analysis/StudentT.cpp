// Student's t quantiles: the distribution function through the regularised
// incomplete beta function (continued fraction, modified Lentz), inverted by
// bisection, which is exact to the last bits that matter and always converges.
#include "analysis/StudentT.h"

#include <cmath>

namespace {

constexpr int kMaxTerms = 300;
constexpr double kTolerance = 1e-16;
constexpr double kTiny = 1e-300;  // keeps Lentz's denominators away from 0

// The continued fraction of I_x(a, b), good for x < (a + 1) / (a + b + 2).
double betaFraction(double a, double b, double x) {
  double c = 1.0;
  double d = 1.0 - (a + b) * x / (a + 1.0);
  d = 1.0 / (std::fabs(d) < kTiny ? kTiny : d);
  double result = d;
  for (int m = 1; m <= kMaxTerms; ++m) {
    for (int half = 0; half < 2; ++half) {
      const double numerator = half == 0 ? m * (b - m) * x / ((a + 2 * m - 1) * (a + 2 * m))
                                         : -(a + m) * (a + b + m) * x / ((a + 2 * m) * (a + 2 * m + 1));
      d = 1.0 + numerator * d;
      d = 1.0 / (std::fabs(d) < kTiny ? kTiny : d);
      c = 1.0 + numerator / c;
      c = std::fabs(c) < kTiny ? kTiny : c;
      result *= d * c;
      if (half == 1 && std::fabs(d * c - 1.0) < kTolerance) return result;
    }
  }
  return result;
}

// The regularised incomplete beta function I_x(a, b).
double incompleteBeta(double a, double b, double x) {
  if (x <= 0.0) return 0.0;
  if (x >= 1.0) return 1.0;
  const double front =
      std::exp(std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b) + a * std::log(x) + b * std::log1p(-x));
  if (x < (a + 1.0) / (a + b + 2.0)) return front * betaFraction(a, b, x) / a;
  return 1.0 - front * betaFraction(b, a, 1.0 - x) / b;
}

// P(T <= t) for t >= 0.
double upperHalfDistribution(double t, double degrees) {
  return 1.0 - 0.5 * incompleteBeta(degrees / 2.0, 0.5, degrees / (degrees + t * t));
}

}  // namespace

double studentTQuantile(double probability, int degreesOfFreedom) {
  const double degrees = degreesOfFreedom;
  double low = 0.0;
  double high = 1.0;
  while (upperHalfDistribution(high, degrees) < probability) high *= 2.0;
  while (true) {
    const double middle = 0.5 * (low + high);
    if (middle <= low || middle >= high) return middle;
    (upperHalfDistribution(middle, degrees) < probability ? low : high) = middle;
  }
}
