// The timing built-ins timedelta and lifetime, on the monotonic clock with
// references shared by the whole process.
// Thread rule: the references are atomic or initialised once; any thread may call.
#include "builtins/Arguments.h"
#include "builtins/BuiltinFunctions.h"

#include <atomic>
#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

// Ticks of the monotonic clock; kUnset until timedelta is first called.
constexpr Clock::rep kUnset = 0;
std::atomic<Clock::rep> timedeltaReference{kUnset};

double secondsBetween(Clock::rep earlier, Clock::rep later) {
  return std::chrono::duration<double>(Clock::duration(later - earlier)).count();
}

}  // namespace

// Seconds since the previous call in the process (nearly 0 on the first),
// as a vector of one number. Arguments are ignored.
VANTER_PRIMITIVE(primitiveTimedelta) {
  const Clock::rep now = Clock::now().time_since_epoch().count();
  Clock::rep previous = timedeltaReference.exchange(now);
  if (previous == kUnset) previous = now;
  const double elapsed = secondsBetween(previous, now);
  result.adopt(std::make_unique<CVectorValue>(&elapsed, 1));
  return 1;
}

// Seconds since the first call of lifetime in the process.
VANTER_PRIMITIVE(primitiveLifetime) {
  static const Clock::time_point reference = Clock::now();
  giveNumber(result, std::chrono::duration<double>(Clock::now() - reference).count());
  return 1;
}
