// Student's t distribution: the quantiles that confidence intervals need.
// Thread rule: one thread at a time (the C library's lgamma sets a process-wide sign).
#pragma once

// The t such that P(T <= t) = probability for T with `degreesOfFreedom`
// degrees of freedom. REQUIRES: 0.5 < probability < 1, degreesOfFreedom >= 1.
double studentTQuantile(double probability, int degreesOfFreedom);
