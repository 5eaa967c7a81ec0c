#include "hostapp/suites/adapter_util.h"
#include "hostapp/suites/entry_barrier.h"
#include "hostapp/suites/suites.h"

namespace host {
namespace {

// Resolves paint order and reference art; Above/Below need a live reference.
HostErr placementOf(HostContext& host, int16_t paintOrder, ArtHandle prep, Placement* placement,
                    ArtId* reference) {
  if (!toPlacement(paintOrder, placement)) return kHostBadParameterErr;
  *reference = kNoArt;
  if (*placement == Placement::Above || *placement == Placement::Below) {
    *reference = artId(host, prep);
    if (*reference == kNoArt) return kHostBadParameterErr;
  }
  return kHostNoErr;
}

HostErr NewArt(int16_t type, int16_t paintOrder, ArtHandle prep, ArtHandle* newArt) {
  HostCall call = enterHostCall(kArtSuite, "NewArt");
  if (call.status) return call.status;
  if (!newArt || type != kPathArt) return kHostBadParameterErr;
  Placement placement;
  ArtId reference;
  if (HostErr e = placementOf(*call.host, paintOrder, prep, &placement, &reference)) return e;
  ArtId id;
  if (Status s = call.host->document().newPath(placement, reference, &id); s != Status::Ok) return toHostErr(s);
  *newArt = artHandle(*call.host, id);
  return kHostNoErr;
}

HostErr DuplicateArt(ArtHandle art, int16_t paintOrder, ArtHandle prep, ArtHandle* newArt) {
  HostCall call = enterHostCall(kArtSuite, "DuplicateArt");
  if (call.status) return call.status;
  const ArtId source = artId(*call.host, art);
  if (!newArt) return kHostBadParameterErr;
  if (source == kNoArt) return refusal(*call.host, Status::NoSuchObject, kNoArt);
  Placement placement;
  ArtId reference;
  if (HostErr e = placementOf(*call.host, paintOrder, prep, &placement, &reference)) return e;
  ArtId id;
  Status s = call.host->document().duplicate(source, placement, reference, &id);
  if (s != Status::Ok) return refusal(*call.host, s, source);
  *newArt = artHandle(*call.host, id);
  return kHostNoErr;
}

HostErr GetArtBounds(ArtHandle art, HostRect* bounds) {
  HostCall call = enterHostCall(kArtSuite, "GetArtBounds");
  if (call.status) return call.status;
  if (!bounds) return kHostBadParameterErr;
  Rect r;
  const ArtId id = artId(*call.host, art);
  if (Status s = call.host->document().bounds(id, &r); s != Status::Ok) return refusal(*call.host, s, id);
  *bounds = {r.left, r.top, r.right, r.bottom};
  return kHostNoErr;
}

HostErr GetArtType(ArtHandle art, int16_t* type) {
  HostCall call = enterHostCall(kArtSuite, "GetArtType");
  if (call.status) return call.status;
  const Art* a = call.host->document().art(artId(*call.host, art));
  if (!a || !type) return kHostBadParameterErr;
  *type = static_cast<int16_t>(a->kind);
  return kHostNoErr;
}

constexpr ArtSuiteV9 kTable{barrier<NewArt>, barrier<DuplicateArt>, barrier<GetArtBounds>, barrier<GetArtType>};

}  // namespace

const ArtSuiteV9& artSuite() { return kTable; }

}  // namespace host
