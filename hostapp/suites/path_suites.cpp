// Path segments, path style and opacity.
#include <array>

#include "hostapp/suites/adapter_util.h"
#include "hostapp/suites/suites.h"

namespace host {
namespace {

// ---- AI Path ----------------------------------------------------------------

HostErr GetPathSegmentCount(ArtHandle path, int16_t* count) {
  HostCall call = enterHostCall(kPathSuite, "GetPathSegmentCount");
  if (call.status) return call.status;
  if (!count) return kHostBadParameterErr;
  int32_t n = 0;
  if (Status s = call.host->document().segmentCount(artId(*call.host, path), &n); s != Status::Ok)
    return toHostErr(s);
  *count = static_cast<int16_t>(n);
  return kHostNoErr;
}

HostErr SetPathSegmentCount(ArtHandle path, int16_t count) {
  HostCall call = enterHostCall(kPathSuite, "SetPathSegmentCount");
  if (call.status) return call.status;
  return toHostErr(call.host->document().setSegmentCount(artId(*call.host, path), count));
}

// Segments cross in small batches so that a large count needs no heap.
constexpr int kBatch = 64;

HostErr GetPathSegments(ArtHandle path, int16_t index, int16_t count, PathSegment* segments) {
  HostCall call = enterHostCall(kPathSuite, "GetPathSegments");
  if (call.status) return call.status;
  if (!segments) return kHostBadParameterErr;
  const ArtId id = artId(*call.host, path);
  Document& doc = call.host->document();
  // Check the whole range first, so a failure writes nothing.
  int32_t size = 0;
  if (Status s = doc.segmentCount(id, &size); s != Status::Ok) return toHostErr(s);
  if (index < 0 || count < 1 || index + count > size) return toHostErr(Status::BadIndex);
  std::array<Segment, kBatch> buffer;
  for (int32_t done = 0; done < count;) {
    const int32_t n = std::min<int32_t>(kBatch, count - done);
    doc.getSegments(id, index + done, n, buffer.data());
    for (int32_t i = 0; i < n; ++i) segments[done + i] = toPathSegment(buffer[i]);
    done += n;
  }
  return kHostNoErr;
}

HostErr SetPathSegments(ArtHandle path, int16_t index, int16_t count, const PathSegment* segments) {
  HostCall call = enterHostCall(kPathSuite, "SetPathSegments");
  if (call.status) return call.status;
  if (!segments) return kHostBadParameterErr;
  const ArtId id = artId(*call.host, path);
  Document& doc = call.host->document();
  if (count == 1) {
    const Segment s = toSegment(segments[0]);
    return toHostErr(doc.setSegments(id, index, 1, &s));
  }
  if (count < 1) return toHostErr(Status::BadIndex);
  std::vector<Segment> converted(static_cast<std::size_t>(count));
  for (int32_t i = 0; i < count; ++i) converted[i] = toSegment(segments[i]);
  return toHostErr(doc.setSegments(id, index, count, converted.data()));
}

HostErr GetPathClosed(ArtHandle path, HostBool* closed) {
  HostCall call = enterHostCall(kPathSuite, "GetPathClosed");
  if (call.status) return call.status;
  if (!closed) return kHostBadParameterErr;
  bool c = false;
  if (Status s = call.host->document().closed(artId(*call.host, path), &c); s != Status::Ok) return toHostErr(s);
  *closed = c ? 1 : 0;
  return kHostNoErr;
}

HostErr SetPathClosed(ArtHandle path, HostBool closed) {
  HostCall call = enterHostCall(kPathSuite, "SetPathClosed");
  if (call.status) return call.status;
  return toHostErr(call.host->document().setClosed(artId(*call.host, path), closed != 0));
}

constexpr PathSuiteV4 kPath{GetPathSegmentCount, SetPathSegmentCount, GetPathSegments,
                            SetPathSegments,     GetPathClosed,       SetPathClosed};

// ---- AI Path Style -----------------------------------------------------------

HostErr GetPathStyle(ArtHandle path, PathStyle* style) {
  HostCall call = enterHostCall(kPathStyleSuite, "GetPathStyle");
  if (call.status) return call.status;
  if (!style) return kHostBadParameterErr;
  Style s;
  if (Status st = call.host->document().style(artId(*call.host, path), &s); st != Status::Ok) return toHostErr(st);
  *style = toPathStyle(s);
  return kHostNoErr;
}

HostErr SetPathStyle(ArtHandle path, const PathStyle* style) {
  HostCall call = enterHostCall(kPathStyleSuite, "SetPathStyle");
  if (call.status) return call.status;
  if (!style) return kHostBadParameterErr;
  return toHostErr(call.host->document().setStyle(artId(*call.host, path), toStyle(*style)));
}

constexpr PathStyleSuiteV5 kPathStyle{GetPathStyle, SetPathStyle};

// ---- AI Blend Style ------------------------------------------------------------

HostReal GetOpacity(ArtHandle art) {
  HostCall call = enterHostCall(kBlendStyleSuite, "GetOpacity");
  if (call.status) return 0;
  float o = 1;
  if (call.host->document().opacity(artId(*call.host, art), &o) != Status::Ok) return 1;
  return o;
}

HostErr SetOpacity(ArtHandle art, HostReal opacity) {
  HostCall call = enterHostCall(kBlendStyleSuite, "SetOpacity");
  if (call.status) return call.status;
  return toHostErr(call.host->document().setOpacity(artId(*call.host, art), opacity));
}

constexpr BlendStyleSuiteV2 kBlendStyle{GetOpacity, SetOpacity};

}  // namespace

const PathSuiteV4& pathSuite() { return kPath; }
const PathStyleSuiteV5& pathStyleSuite() { return kPathStyle; }
const BlendStyleSuiteV2& blendStyleSuite() { return kBlendStyle; }

}  // namespace host
