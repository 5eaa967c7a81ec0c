// Document resources: swatches, graphic styles, symbols and layers.
#include "hostapp/suites/adapter_util.h"
#include "hostapp/suites/entry_barrier.h"
#include "hostapp/suites/suites.h"

namespace host {
namespace {

// ---- AI Swatch List ----------------------------------------------------------------

// A document has one swatch list; a null list names it too.
constexpr std::uint32_t kDocumentSwatchList = 1;

bool isDocumentList(HostContext& host, SwatchListHandle list) {
  return list == nullptr || handleId(host, list, HandleKind::SwatchList) == kDocumentSwatchList;
}

int32_t CountSwatches(SwatchListHandle list) {
  HostCall call = enterHostCall(kSwatchListSuite, "CountSwatches");
  if (call.status || !isDocumentList(*call.host, list)) return 0;
  return static_cast<int32_t>(call.host->document().swatches().size());
}

SwatchHandle GetNthSwatch(SwatchListHandle list, int32_t index) {
  HostCall call = enterHostCall(kSwatchListSuite, "GetNthSwatch");
  if (call.status || !isDocumentList(*call.host, list)) return nullptr;
  const auto& swatches = call.host->document().swatches();
  if (index < 0 || static_cast<std::size_t>(index) >= swatches.size()) return nullptr;
  return makeHandle<SwatchHandle>(*call.host, HandleKind::Swatch, swatches[index].id);
}

HostErr GetSwatchColor(SwatchHandle swatch, HostColor* color) {
  HostCall call = enterHostCall(kSwatchListSuite, "GetSwatchColor");
  if (call.status) return call.status;
  const Swatch* s = call.host->document().swatch(handleId(*call.host, swatch, HandleKind::Swatch));
  if (!s || !color) return kHostBadParameterErr;
  *color = toHostColor(s->color);
  return kHostNoErr;
}

constexpr SwatchListSuiteV4 kSwatchList{valueBarrier<CountSwatches>, valueBarrier<GetNthSwatch>,
    barrier<GetSwatchColor>};

// ---- AI Art Style -----------------------------------------------------------------------

HostErr CountArtStyles(int32_t* count) {
  HostCall call = enterHostCall(kArtStyleSuite, "CountArtStyles");
  if (call.status) return call.status;
  if (!count) return kHostBadParameterErr;
  *count = static_cast<int32_t>(call.host->document().graphicStyles().size());
  return kHostNoErr;
}

HostErr GetNthArtStyle(int32_t index, ArtStyleHandle* style) {
  HostCall call = enterHostCall(kArtStyleSuite, "GetNthArtStyle");
  if (call.status) return call.status;
  const auto& styles = call.host->document().graphicStyles();
  if (!style) return kHostBadParameterErr;
  if (index < 0 || static_cast<std::size_t>(index) >= styles.size()) {
    call.host->gate().refuse(0, -1, "style " + std::to_string(index) + " was asked for; the document has " +
                                        std::to_string(styles.size()) + " graphic style" +
                                        (styles.size() == 1 ? "" : "s") +
                                        (styles.empty() ? "" : " (0 to " + std::to_string(styles.size() - 1) + ")"));
    return kHostBadParameterErr;
  }
  *style = makeHandle<ArtStyleHandle>(*call.host, HandleKind::ArtStyle, styles[index].id);
  return kHostNoErr;
}

HostErr ApplyArtStyle(ArtHandle art, ArtStyleHandle style) {
  HostCall call = enterHostCall(kArtStyleSuite, "ApplyArtStyle");
  if (call.status) return call.status;
  const ObjectId styleId = handleId(*call.host, style, HandleKind::ArtStyle);
  if (styleId == kNoObject) {
    call.host->gate().refuse(0, -1, "the style handle names no graphic style of the document");
    return kHostBadParameterErr;
  }
  return toHostErr(call.host->document().applyGraphicStyle(artId(*call.host, art), styleId));
}

constexpr ArtStyleSuiteV3 kArtStyle{barrier<CountArtStyles>, barrier<GetNthArtStyle>, barrier<ApplyArtStyle>};

// ---- AI Symbol --------------------------------------------------------------------------

HostErr NewSymbol(ArtHandle definitionArt, SymbolHandle* symbol, int32_t) {
  HostCall call = enterHostCall(kSymbolSuite, "NewSymbol");
  if (call.status) return call.status;
  if (!symbol) return kHostBadParameterErr;
  ObjectId id;
  if (Status s = call.host->document().newSymbol(artId(*call.host, definitionArt), &id); s != Status::Ok)
    return toHostErr(s);
  *symbol = makeHandle<SymbolHandle>(*call.host, HandleKind::Symbol, id);
  return kHostNoErr;
}

HostErr CountSymbols(int32_t* count) {
  HostCall call = enterHostCall(kSymbolSuite, "CountSymbols");
  if (call.status) return call.status;
  if (!count) return kHostBadParameterErr;
  *count = static_cast<int32_t>(call.host->document().symbols().size());
  return kHostNoErr;
}

constexpr SymbolSuiteV1 kSymbol{barrier<NewSymbol>, barrier<CountSymbols>};

// ---- AI Layer ------------------------------------------------------------------------------

HostErr InsertLayer(LayerHandle ref, int16_t paintOrder, LayerHandle* layer) {
  HostCall call = enterHostCall(kLayerSuite, "InsertLayer");
  if (call.status) return call.status;
  Placement placement;
  if (!layer || !toPlacement(paintOrder, &placement)) return kHostBadParameterErr;
  ObjectId reference = kNoObject;
  if (placement == Placement::Above || placement == Placement::Below) {
    reference = handleId(*call.host, ref, HandleKind::Layer);
    if (reference == kNoObject) return kHostBadParameterErr;
  }
  ObjectId id;
  if (Status s = call.host->document().insertLayer(placement, reference, &id); s != Status::Ok)
    return toHostErr(s);
  *layer = makeHandle<LayerHandle>(*call.host, HandleKind::Layer, id);
  return kHostNoErr;
}

HostErr CountLayers(int32_t* count) {
  HostCall call = enterHostCall(kLayerSuite, "CountLayers");
  if (call.status) return call.status;
  if (!count) return kHostBadParameterErr;
  *count = static_cast<int32_t>(call.host->document().layers().size());
  return kHostNoErr;
}

constexpr LayerSuiteV9 kLayer{barrier<InsertLayer>, barrier<CountLayers>};

}  // namespace

const SwatchListSuiteV4& swatchListSuite() { return kSwatchList; }
const ArtStyleSuiteV3& artStyleSuite() { return kArtStyle; }
const SymbolSuiteV1& symbolSuite() { return kSymbol; }
const LayerSuiteV9& layerSuite() { return kLayer; }

}  // namespace host
