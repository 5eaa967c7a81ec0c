#include "support/compare.h"

#include <cmath>
#include <sstream>

namespace testing_support {
namespace {

// The largest difference between two lists of coordinates (infinite when
// one is NaN and the other is not).
template <std::size_t N>
double largestDifference(const float (&a)[N], const float (&b)[N]) {
  double worst = 0;
  for (std::size_t i = 0; i < N; ++i) {
    if (std::isnan(a[i]) && std::isnan(b[i])) continue;
    const double d = std::fabs(static_cast<double>(a[i]) - static_cast<double>(b[i]));
    worst = std::isnan(d) ? INFINITY : std::max(worst, d);
  }
  return worst;
}

std::string text(HostPoint p) {
  std::ostringstream out;
  out.precision(9);
  out << "(" << p.h << ", " << p.v << ")";
  return out.str();
}

std::string text(const PathSegment& s) {
  return "{anchor " + text(s.p) + ", in " + text(s.in) + ", out " + text(s.out) + (s.corner ? ", corner}" : "}");
}

std::string text(const host::Rect& r) {
  std::ostringstream out;
  out.precision(9);
  out << "{left " << r.left << ", top " << r.top << ", right " << r.right << ", bottom " << r.bottom << "}";
  return out.str();
}

HostPoint toHost(host::Point p) { return {p.x, p.y}; }
PathSegment toHost(const host::Segment& s) {
  return {toHost(s.anchor), toHost(s.in), toHost(s.out), s.corner ? 1 : 0};
}

::testing::AssertionResult verdict(bool ok, const char* gotText, const char* wantText, const char* tolText,
                                   const std::string& got, const std::string& want, double difference,
                                   double tolerance, const char* extra = "") {
  if (ok) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << gotText << " is " << got << "\n"
                                       << wantText << " is " << want << "\n"
                                       << "they differ by " << difference << " beyond " << tolText << " = "
                                       << tolerance << extra;
}

}  // namespace

::testing::AssertionResult pointNear(const char* gotText, const char* wantText, const char* tolText, HostPoint got,
                                     HostPoint want, double tolerance) {
  const float a[] = {got.h, got.v}, b[] = {want.h, want.v};
  const double d = largestDifference(a, b);
  return verdict(d <= tolerance, gotText, wantText, tolText, text(got), text(want), d, tolerance);
}

::testing::AssertionResult pointNear(const char* gotText, const char* wantText, const char* tolText,
                                     host::Point got, host::Point want, double tolerance) {
  return pointNear(gotText, wantText, tolText, toHost(got), toHost(want), tolerance);
}

::testing::AssertionResult segmentNear(const char* gotText, const char* wantText, const char* tolText,
                                       const PathSegment& got, const PathSegment& want, double tolerance) {
  const float a[] = {got.p.h, got.p.v, got.in.h, got.in.v, got.out.h, got.out.v};
  const float b[] = {want.p.h, want.p.v, want.in.h, want.in.v, want.out.h, want.out.v};
  const double d = largestDifference(a, b);
  const bool corner = (got.corner != 0) == (want.corner != 0);
  return verdict(d <= tolerance && corner, gotText, wantText, tolText, text(got), text(want), d, tolerance,
                 corner ? "" : "\n(and the corner flags differ)");
}

::testing::AssertionResult segmentNear(const char* gotText, const char* wantText, const char* tolText,
                                       const host::Segment& got, const host::Segment& want, double tolerance) {
  return segmentNear(gotText, wantText, tolText, toHost(got), toHost(want), tolerance);
}

::testing::AssertionResult rectNear(const char* gotText, const char* wantText, const char* tolText,
                                    const host::Rect& got, const host::Rect& want, double tolerance) {
  const float a[] = {got.left, got.top, got.right, got.bottom};
  const float b[] = {want.left, want.top, want.right, want.bottom};
  const double d = largestDifference(a, b);
  return verdict(d <= tolerance, gotText, wantText, tolText, text(got), text(want), d, tolerance);
}

}  // namespace testing_support
