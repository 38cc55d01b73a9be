#include "formats/playing_time.h"

#include <limits>

namespace tunora {
namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

std::uint64_t saturatingMultiply(std::uint64_t a, std::uint64_t b) {
  return b != 0 && a > kMax / b ? kMax : a * b;
}

std::uint64_t saturatingAdd(std::uint64_t a, std::uint64_t b) {
  return a > kMax - b ? kMax : a + b;
}

}  // namespace

std::uint64_t millisecondsOf(std::uint64_t units, std::uint64_t perSecond) {
  if (perSecond == 0) return 0;
  // Whole seconds and the rest apart, so that the product stays in range for
  // any rate below 2^54.
  const std::uint64_t whole = saturatingMultiply(units / perSecond, 1000);
  const std::uint64_t rest = units % perSecond;
  if (perSecond > kMax / 1000) return saturatingAdd(whole, rest / (perSecond / 1000));
  return saturatingAdd(whole, (rest * 1000 + perSecond / 2) / perSecond);
}

std::uint64_t millisecondsOfBytes(std::uint64_t bytes, double bitsPerSecond) {
  if (!(bitsPerSecond > 0)) return 0;
  const double milliseconds = static_cast<double>(bytes) * 8000.0 / bitsPerSecond + 0.5;
  // Also catches a rate so small that the quotient is infinite.
  return milliseconds >= 0x1p64 ? kMax : static_cast<std::uint64_t>(milliseconds);
}

}  // namespace tunora
