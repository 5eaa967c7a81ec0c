// Path segments, path style and opacity.
#include <array>
#include <cmath>
#include <sstream>
#include <string>

#include "hostapp/suites/adapter_util.h"
#include "hostapp/suites/entry_barrier.h"
#include "hostapp/suites/suites.h"

namespace host {
namespace {

// ---- AI Path ----------------------------------------------------------------

// "index I, count C of N segments" for a refused range.
std::string rangeDetail(const Document& doc, ArtId id, int32_t index, int32_t count) {
  int32_t size = 0;
  if (doc.segmentCount(id, &size) != Status::Ok) return {};
  return "index " + std::to_string(index) + ", count " + std::to_string(count) + ", the path holds " +
         std::to_string(size);
}

// Which coordinate of a refused write is not finite, or the range.
std::string writeDetail(const Document& doc, Status st, ArtId id, int32_t index, int32_t count, const Segment* in) {
  if (st != Status::BadValue) return st == Status::BadIndex ? rangeDetail(doc, id, index, count) : std::string();
  for (int32_t i = 0; i < count; ++i) {
    const std::pair<const char*, float> values[] = {{"anchor x", in[i].anchor.x}, {"anchor y", in[i].anchor.y},
                                                    {"in x", in[i].in.x},         {"in y", in[i].in.y},
                                                    {"out x", in[i].out.x},       {"out y", in[i].out.y}};
    for (const auto& [name, v] : values) {
      if (std::isfinite(v)) continue;
      std::ostringstream text;
      text << "segment " << index + i << " " << name << " is " << v;
      return text.str();
    }
  }
  return {};
}

HostErr GetPathSegmentCount(ArtHandle path, int16_t* count) {
  HostCall call = enterHostCall(kPathSuite, "GetPathSegmentCount");
  if (call.status) return call.status;
  if (!count) return kHostBadParameterErr;
  int32_t n = 0;
  const ArtId id = artId(*call.host, path);
  if (Status s = call.host->document().segmentCount(id, &n); s != Status::Ok) return refusal(*call.host, s, id);
  *count = static_cast<int16_t>(n);
  return kHostNoErr;
}

HostErr SetPathSegmentCount(ArtHandle path, int16_t count) {
  HostCall call = enterHostCall(kPathSuite, "SetPathSegmentCount");
  if (call.status) return call.status;
  const ArtId id = artId(*call.host, path);
  return refusal(*call.host, call.host->document().setSegmentCount(id, count), id, count);
}

// Segments cross in small batches so that a large count needs no heap.
constexpr int kBatch = 64;

HostErr GetPathSegments(ArtHandle path, int16_t index, int16_t count, PathSegment* segments) {
  HostCall call = enterHostCall(kPathSuite, "GetPathSegments");
  if (call.status) return call.status;
  if (!segments) return kHostBadParameterErr;
  const ArtId id = artId(*call.host, path);
  Document& doc = call.host->document();
  // One segment, the generator's usual read: the model checks the index.
  if (count == 1) {
    Segment s;
    if (Status st = doc.getSegments(id, index, 1, &s); st != Status::Ok)
      return refusal(*call.host, st, id, index, rangeDetail(doc, id, index, count));
    *segments = toPathSegment(s);
    return kHostNoErr;
  }
  // Check the whole range first, so a failure writes nothing.
  int32_t size = 0;
  if (Status s = doc.segmentCount(id, &size); s != Status::Ok) return refusal(*call.host, s, id, index);
  if (index < 0 || count < 1 || index + count > size)
    return refusal(*call.host, Status::BadIndex, id, index, rangeDetail(doc, id, index, count));
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
    const Status st = doc.setSegments(id, index, 1, &s);
    return st == Status::Ok ? kHostNoErr : refusal(*call.host, st, id, index, writeDetail(doc, st, id, index, 1, &s));
  }
  if (count < 1) return refusal(*call.host, Status::BadIndex, id, index, rangeDetail(doc, id, index, count));
  // The host's form of the segments, in a buffer kept between writes: a
  // whole path is written at once, so it never needs allocating again.
  thread_local std::vector<Segment> converted;
  if (converted.size() < static_cast<std::size_t>(count)) converted.resize(static_cast<std::size_t>(count));
  for (int32_t i = 0; i < count; ++i) converted[i] = toSegment(segments[i]);
  const Status st = doc.setSegments(id, index, count, converted.data());
  return st == Status::Ok ? kHostNoErr
                          : refusal(*call.host, st, id, index, writeDetail(doc, st, id, index, count, converted.data()));
}

HostErr GetPathClosed(ArtHandle path, HostBool* closed) {
  HostCall call = enterHostCall(kPathSuite, "GetPathClosed");
  if (call.status) return call.status;
  if (!closed) return kHostBadParameterErr;
  bool c = false;
  const ArtId id = artId(*call.host, path);
  if (Status s = call.host->document().closed(id, &c); s != Status::Ok) return refusal(*call.host, s, id);
  *closed = c ? 1 : 0;
  return kHostNoErr;
}

HostErr SetPathClosed(ArtHandle path, HostBool closed) {
  HostCall call = enterHostCall(kPathSuite, "SetPathClosed");
  if (call.status) return call.status;
  const ArtId id = artId(*call.host, path);
  return refusal(*call.host, call.host->document().setClosed(id, closed != 0), id);
}

constexpr PathSuiteV4 kPath{barrier<GetPathSegmentCount>, barrier<SetPathSegmentCount>, barrier<GetPathSegments>,
    barrier<SetPathSegments>, barrier<GetPathClosed>, barrier<SetPathClosed>};

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

constexpr PathStyleSuiteV5 kPathStyle{barrier<GetPathStyle>, barrier<SetPathStyle>};

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

constexpr BlendStyleSuiteV2 kBlendStyle{valueBarrier<GetOpacity>, barrier<SetOpacity>};

}  // namespace

const PathSuiteV4& pathSuite() { return kPath; }
const PathStyleSuiteV5& pathStyleSuite() { return kPathStyle; }
const BlendStyleSuiteV2& blendStyleSuite() { return kBlendStyle; }

}  // namespace host
