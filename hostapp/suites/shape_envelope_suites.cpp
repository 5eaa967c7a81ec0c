// Constructed shapes and envelopes.
#include <vector>

#include "hostapp/suites/adapter_util.h"
#include "hostapp/suites/entry_barrier.h"
#include "hostapp/suites/suites.h"

namespace host {
namespace {

// ---- AI Shape Construction -------------------------------------------------------

HostErr NewCenteredRect(HostReal cx, HostReal cy, HostReal width, HostReal height, HostBool reversed,
                        ArtHandle* shape) {
  HostCall call = enterHostCall(kShapeConstructionSuite, "NewCenteredRect");
  if (call.status) return call.status;
  if (!shape) return kHostBadParameterErr;
  ArtId id;
  Status s = call.host->document().newCenteredRect({cx, cy}, width, height, reversed != 0, &id);
  if (s != Status::Ok) return toHostErr(s);
  *shape = artHandle(*call.host, id);
  return kHostNoErr;
}

HostErr NewCenteredOval(HostReal cx, HostReal cy, HostReal width, HostReal height, HostBool reversed,
                        ArtHandle* shape) {
  HostCall call = enterHostCall(kShapeConstructionSuite, "NewCenteredOval");
  if (call.status) return call.status;
  if (!shape) return kHostBadParameterErr;
  ArtId id;
  Status s = call.host->document().newCenteredEllipse({cx, cy}, width, height, reversed != 0, &id);
  if (s != Status::Ok) return toHostErr(s);
  *shape = artHandle(*call.host, id);
  return kHostNoErr;
}

constexpr ShapeConstructionSuiteV4 kShapes{barrier<NewCenteredRect>, barrier<NewCenteredOval>};

// ---- AI Envelope --------------------------------------------------------------------

HostErr MakeEnvelope(ArtHandle* artList, int32_t count, ArtHandle shape, const EnvelopeOptions* options,
                     ArtHandle* envelope) {
  HostCall call = enterHostCall(kEnvelopeSuite, "MakeEnvelope");
  if (call.status) return call.status;
  if (!artList || !envelope || count < 1 || count > 4096) return kHostBadParameterErr;
  std::vector<ArtId> contents;
  for (int32_t i = 0; i < count; ++i) {
    const ArtId id = artId(*call.host, artList[i]);
    if (id == kNoArt) return kHostBadParameterErr;
    contents.push_back(id);
  }
  const ArtId shapeId = artId(*call.host, shape);
  if (shapeId == kNoArt) return kHostBadParameterErr;
  const EnvelopeOptions o = options ? *options : EnvelopeOptions{0, 50};
  ArtId id;
  Status s = call.host->document().makeEnvelope(contents, shapeId, o.deformOptions, o.fidelity, &id);
  if (s != Status::Ok) return toHostErr(s);
  *envelope = artHandle(*call.host, id);
  return kHostNoErr;
}

HostErr SetEnvelopeWarp(ArtHandle envelope, int32_t warpStyle, HostReal bend, HostReal horizontalDistortion,
                        HostReal verticalDistortion, HostBool rotate) {
  HostCall call = enterHostCall(kEnvelopeSuite, "SetEnvelopeWarp");
  if (call.status) return call.status;
  const Warp warp{warpStyle, bend, horizontalDistortion, verticalDistortion, rotate != 0};
  return toHostErr(call.host->document().setWarp(artId(*call.host, envelope), warp));
}

constexpr EnvelopeSuiteV1 kEnvelope{barrier<MakeEnvelope>, barrier<SetEnvelopeWarp>};

}  // namespace

const ShapeConstructionSuiteV4& shapeConstructionSuite() { return kShapes; }
const EnvelopeSuiteV1& envelopeSuite() { return kEnvelope; }

}  // namespace host
