// Real arithmetic: each result is computed in double and stored as float32.
#include <cmath>
#include <numbers>

#include "hostapp/suites/adapter_util.h"
#include "hostapp/suites/entry_barrier.h"
#include "hostapp/suites/suites.h"

namespace host {
namespace {

float f32(double v) { return static_cast<float>(v); }

HostErr RealDiv(HostReal a, HostReal b, HostReal* result) {
  HostCall call = enterHostCall(kRealMathSuite, "RealDiv");
  if (call.status) return call.status;
  if (!result) return kHostBadParameterErr;
  if (b == 0) {
    *result = 0;
    return kHostBadParameterErr;
  }
  *result = f32(double(a) / double(b));
  return kHostNoErr;
}

HostErr DegreeToRadian(HostReal degrees, HostReal* result) {
  HostCall call = enterHostCall(kRealMathSuite, "DegreeToRadian");
  if (call.status) return call.status;
  if (!result) return kHostBadParameterErr;
  *result = f32(double(degrees) * std::numbers::pi / 180.0);
  return kHostNoErr;
}

HostErr RealSin(HostReal radians, HostReal* result) {
  HostCall call = enterHostCall(kRealMathSuite, "RealSin");
  if (call.status) return call.status;
  if (!result) return kHostBadParameterErr;
  *result = f32(std::sin(double(radians)));
  return kHostNoErr;
}

HostErr PointInterpolate(const HostPoint* origin, const HostPoint* p, HostReal t, HostPoint* result) {
  HostCall call = enterHostCall(kRealMathSuite, "PointInterpolate");
  if (call.status) return call.status;
  if (!origin || !p || !result) return kHostBadParameterErr;
  const HostPoint o = *origin, q = *p;
  *result = {f32(double(q.h) + double(t) * (double(o.h) - double(q.h))),
             f32(double(q.v) + double(t) * (double(o.v) - double(q.v)))};
  return kHostNoErr;
}

HostErr MatrixSetTranslate(HostMatrix* m, HostReal tx, HostReal ty) {
  HostCall call = enterHostCall(kRealMathSuite, "MatrixSetTranslate");
  if (call.status) return call.status;
  if (!m) return kHostBadParameterErr;
  *m = {1, 0, 0, 1, tx, ty};
  return kHostNoErr;
}

// The matrix maps a row vector: [x y 1] * M. Concatenating N after M gives
// M * N, so N acts on what M has already produced.
void concat(HostMatrix* m, double a, double b, double c, double d, double tx, double ty) {
  const HostMatrix o = *m;
  *m = {f32(o.a * a + o.b * c), f32(o.a * b + o.b * d), f32(o.c * a + o.d * c), f32(o.c * b + o.d * d),
        f32(o.tx * a + o.ty * c + tx), f32(o.tx * b + o.ty * d + ty)};
}

HostErr MatrixConcatRotate(HostMatrix* m, HostReal radians) {
  HostCall call = enterHostCall(kRealMathSuite, "MatrixConcatRotate");
  if (call.status) return call.status;
  if (!m) return kHostBadParameterErr;
  const double c = std::cos(double(radians)), s = std::sin(double(radians));
  concat(m, c, s, -s, c, 0, 0);
  return kHostNoErr;
}

HostErr MatrixConcatScale(HostMatrix* m, HostReal h, HostReal v) {
  HostCall call = enterHostCall(kRealMathSuite, "MatrixConcatScale");
  if (call.status) return call.status;
  if (!m) return kHostBadParameterErr;
  concat(m, h, 0, 0, v, 0, 0);
  return kHostNoErr;
}

HostErr MatrixConcatTranslate(HostMatrix* m, HostReal tx, HostReal ty) {
  HostCall call = enterHostCall(kRealMathSuite, "MatrixConcatTranslate");
  if (call.status) return call.status;
  if (!m) return kHostBadParameterErr;
  concat(m, 1, 0, 0, 1, tx, ty);
  return kHostNoErr;
}

constexpr RealMathSuiteV1 kTable{barrier<RealDiv>, barrier<DegreeToRadian>, barrier<RealSin>, barrier<PointInterpolate>,
    barrier<MatrixSetTranslate>, barrier<MatrixConcatRotate>, barrier<MatrixConcatScale>,
    barrier<MatrixConcatTranslate>};

}  // namespace

const RealMathSuiteV1& realMathSuite() { return kTable; }

}  // namespace host
