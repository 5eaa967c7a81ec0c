// The document, its views, undo and random numbers.
#include <cmath>

#include "hostapp/suites/adapter_util.h"
#include "hostapp/suites/entry_barrier.h"
#include "hostapp/suites/suites.h"

namespace host {
namespace {

// ---- AI Document ----------------------------------------------------------------

HostErr GetDocumentPageSize(HostPoint* size) {
  HostCall call = enterHostCall(kDocumentSuite, "GetDocumentPageSize");
  if (call.status) return call.status;
  if (!size) return kHostBadParameterErr;
  *size = toHostPoint(call.host->document().pageSize());
  return kHostNoErr;
}

HostErr GetDocumentColorModel(int16_t* model) {
  HostCall call = enterHostCall(kDocumentSuite, "GetDocumentColorModel");
  if (call.status) return call.status;
  if (!model) return kHostBadParameterErr;
  *model = static_cast<int16_t>(call.host->document().colorModel());
  return kHostNoErr;
}

HostErr RedrawDocument() {
  HostCall call = enterHostCall(kDocumentSuite, "RedrawDocument");
  if (call.status) return call.status;
  call.host->document().requestRedraw();
  return kHostNoErr;
}

constexpr DocumentSuiteV7 kDocument{barrier<GetDocumentPageSize>, barrier<GetDocumentColorModel>,
    barrier<RedrawDocument>};

// ---- AI Document View -------------------------------------------------------------

const View* viewOf(HostContext& host, ViewHandle view) {
  return host.document().view(handleId(host, view, HandleKind::View));
}

HostErr GetNthDocumentView(int32_t n, ViewHandle* view) {
  HostCall call = enterHostCall(kDocumentViewSuite, "GetNthDocumentView");
  if (call.status) return call.status;
  const auto& views = call.host->document().views();
  if (!view || n < 0 || static_cast<std::size_t>(n) >= views.size()) return kHostBadParameterErr;
  *view = makeHandle<ViewHandle>(*call.host, HandleKind::View, views[n].id);
  return kHostNoErr;
}

HostErr GetDocumentViewCenter(ViewHandle view, HostPoint* center) {
  HostCall call = enterHostCall(kDocumentViewSuite, "GetDocumentViewCenter");
  if (call.status) return call.status;
  const View* v = viewOf(*call.host, view);
  if (!v || !center) return kHostBadParameterErr;
  *center = toHostPoint(v->centre);
  return kHostNoErr;
}

HostErr ViewPointToArtworkPoint(ViewHandle view, const ViewPoint* viewPt, HostPoint* artPt) {
  HostCall call = enterHostCall(kDocumentViewSuite, "ViewPointToArtworkPoint");
  if (call.status) return call.status;
  const View* v = viewOf(*call.host, view);
  if (!v || !viewPt || !artPt) return kHostBadParameterErr;
  *artPt = toHostPoint(v->toArtwork(viewPt->h, viewPt->v));
  return kHostNoErr;
}

HostErr ArtworkPointToViewPoint(ViewHandle view, const HostPoint* artPt, ViewPoint* viewPt) {
  HostCall call = enterHostCall(kDocumentViewSuite, "ArtworkPointToViewPoint");
  if (call.status) return call.status;
  const View* v = viewOf(*call.host, view);
  if (!v || !artPt || !viewPt || !std::isfinite(artPt->h) || !std::isfinite(artPt->v))
    return kHostBadParameterErr;
  v->toView(toPoint(*artPt), &viewPt->h, &viewPt->v);
  return kHostNoErr;
}

HostErr GetDocumentViewZoom(ViewHandle view, HostReal* zoom) {
  HostCall call = enterHostCall(kDocumentViewSuite, "GetDocumentViewZoom");
  if (call.status) return call.status;
  const View* v = viewOf(*call.host, view);
  if (!v || !zoom) return kHostBadParameterErr;
  *zoom = v->zoom;
  return kHostNoErr;
}

HostErr SetDocumentViewZoom(ViewHandle view, HostReal zoom) {
  HostCall call = enterHostCall(kDocumentViewSuite, "SetDocumentViewZoom");
  if (call.status) return call.status;
  return toHostErr(call.host->document().setViewZoom(handleId(*call.host, view, HandleKind::View), zoom));
}

constexpr DocumentViewSuiteV7 kDocumentView{barrier<GetNthDocumentView>, barrier<GetDocumentViewCenter>,
    barrier<ViewPointToArtworkPoint>, barrier<ArtworkPointToViewPoint>, barrier<GetDocumentViewZoom>,
    barrier<SetDocumentViewZoom>};

// ---- AI Undo ------------------------------------------------------------------------

HostErr UndoChanges() {
  HostCall call = enterHostCall(kUndoSuite, "UndoChanges");
  if (call.status) return call.status;
  call.host->document().undoMessage();
  return kHostNoErr;
}

constexpr UndoSuiteV4 kUndo{barrier<UndoChanges>};

// ---- AI Random ------------------------------------------------------------------------

HostReal FloatRnd() {
  HostCall call = enterHostCall(kRandomSuite, "FloatRnd");
  if (call.status) return 0;
  return call.host->random().next();
}

HostErr SetRndSeed(uint64_t seed) {
  HostCall call = enterHostCall(kRandomSuite, "SetRndSeed");
  if (call.status) return call.status;
  call.host->random().seed(seed);
  return kHostNoErr;
}

constexpr RandomSuiteV3 kRandom{valueBarrier<FloatRnd>, barrier<SetRndSeed>};

}  // namespace

const DocumentSuiteV7& documentSuite() { return kDocument; }
const DocumentViewSuiteV7& documentViewSuite() { return kDocumentView; }
const UndoSuiteV4& undoSuite() { return kUndo; }
const RandomSuiteV3& randomSuite() { return kRandom; }

}  // namespace host
