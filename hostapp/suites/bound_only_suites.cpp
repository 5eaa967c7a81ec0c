// Suites the plug-in binds without calling: tags, matching art and real
// Bezier arithmetic. They work all the same.
#include <cstring>

#include "hostapp/suites/adapter_util.h"
#include "hostapp/suites/entry_barrier.h"
#include "hostapp/suites/suites.h"

namespace host {
namespace {

// ---- AI Tag --------------------------------------------------------------------

HostErr SetTag(ArtHandle art, const char* name, const char* value) {
  HostCall call = enterHostCall(kTagSuite, "SetTag");
  if (call.status) return call.status;
  if (!name || !value) return kHostBadParameterErr;
  return toHostErr(call.host->document().setTag(artId(*call.host, art), name, value));
}

HostErr GetTag(ArtHandle art, const char* name, char* buf, int32_t size) {
  HostCall call = enterHostCall(kTagSuite, "GetTag");
  if (call.status) return call.status;
  if (!name || !buf || size < 1) return kHostBadParameterErr;
  std::string value;
  if (Status s = call.host->document().tag(artId(*call.host, art), name, &value); s != Status::Ok)
    return toHostErr(s);
  if (value.size() >= static_cast<std::size_t>(size)) return kHostBadParameterErr;
  std::memcpy(buf, value.c_str(), value.size() + 1);
  return kHostNoErr;
}

constexpr TagSuiteV2 kTag{barrier<SetTag>, barrier<GetTag>};

// ---- AI Matching Art -------------------------------------------------------------

// The stand-in host has no selection.
HostErr CountSelectedArt(int32_t* count) {
  HostCall call = enterHostCall(kMatchingArtSuite, "CountSelectedArt");
  if (call.status) return call.status;
  if (!count) return kHostBadParameterErr;
  *count = 0;
  return kHostNoErr;
}

constexpr MatchingArtSuiteV4 kMatchingArt{barrier<CountSelectedArt>};

// ---- AI Real Bezier ----------------------------------------------------------------

HostErr EvaluatePoint(const HostPoint* p0, const HostPoint* p1, const HostPoint* p2, const HostPoint* p3,
                      HostReal t, HostPoint* result) {
  HostCall call = enterHostCall(kRealBezierSuite, "EvaluatePoint");
  if (call.status) return call.status;
  if (!p0 || !p1 || !p2 || !p3 || !result) return kHostBadParameterErr;
  *result = toHostPoint(bezierPoint(toPoint(*p0), toPoint(*p1), toPoint(*p2), toPoint(*p3), t));
  return kHostNoErr;
}

constexpr RealBezierSuiteV1 kRealBezier{barrier<EvaluatePoint>};

}  // namespace

const TagSuiteV2& tagSuite() { return kTag; }
const MatchingArtSuiteV4& matchingArtSuite() { return kMatchingArt; }
const RealBezierSuiteV1& realBezierSuite() { return kRealBezier; }

}  // namespace host
