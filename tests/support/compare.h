// Comparisons of geometry within a tolerance, for EXPECT_PRED_FORMAT-style
// use through the macros below. A failure prints both values, the
// difference and the tolerance:
//
//   EXPECT_POINT_NEAR(seg.p, (HostPoint{10, 20}), 1e-3);
//   EXPECT_SEGMENT_NEAR(got[k], want[k], kTol) << "segment " << k;
//   EXPECT_RECT_NEAR(bounds, (host::Rect{0, 10, 10, 0}), 1e-4);
#pragma once

#include <gtest/gtest.h>

#include "hostapp/model/geometry.h"
#include "shell/host/host_types.h"

namespace testing_support {

::testing::AssertionResult pointNear(const char* gotText, const char* wantText, const char* tolText, HostPoint got,
                                     HostPoint want, double tolerance);
::testing::AssertionResult pointNear(const char* gotText, const char* wantText, const char* tolText,
                                     host::Point got, host::Point want, double tolerance);
// Anchor and both handles within the tolerance, and the same corner flag.
::testing::AssertionResult segmentNear(const char* gotText, const char* wantText, const char* tolText,
                                       const PathSegment& got, const PathSegment& want, double tolerance);
::testing::AssertionResult segmentNear(const char* gotText, const char* wantText, const char* tolText,
                                       const host::Segment& got, const host::Segment& want, double tolerance);
::testing::AssertionResult rectNear(const char* gotText, const char* wantText, const char* tolText,
                                    const host::Rect& got, const host::Rect& want, double tolerance);

}  // namespace testing_support

#define EXPECT_POINT_NEAR(got, want, tolerance) EXPECT_PRED_FORMAT3(::testing_support::pointNear, got, want, tolerance)
#define EXPECT_SEGMENT_NEAR(got, want, tolerance) \
  EXPECT_PRED_FORMAT3(::testing_support::segmentNear, got, want, tolerance)
#define EXPECT_RECT_NEAR(got, want, tolerance) EXPECT_PRED_FORMAT3(::testing_support::rectNear, got, want, tolerance)
