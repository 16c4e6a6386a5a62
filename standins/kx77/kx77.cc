// Our own geometry for the two kx77dll functions the Danvora library calls.
#include "danvora/kx77.h"

#include <cmath>

namespace {

constexpr double kGonPerRadian = 200.0 / 3.14159265358979323846;

}  // namespace

extern "C" {

double PLATFORM_STDCALL kx77_direction(const double* from, const double* to) {
  if (from == nullptr || to == nullptr) return 0.0;
  const double dy = to[0] - from[0];
  const double dx = to[1] - from[1];
  if (dy == 0.0 && dx == 0.0) return 0.0;
  return kx77_normalize_angle(std::atan2(dy, dx) * kGonPerRadian);
}

double PLATFORM_STDCALL kx77_normalize_angle(double angle) {
  if (!std::isfinite(angle)) return angle;
  double normal = std::fmod(angle, 400.0);
  if (normal < 0.0) normal += 400.0;
  // A tiny negative angle rounds up to the full circle.
  if (normal >= 400.0) normal = 0.0;
  return normal;
}

}  // extern "C"
