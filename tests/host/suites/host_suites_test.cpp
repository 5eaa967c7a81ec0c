// The application suites as the plug-in sees them: through the bound suite
// pointers of a HostFixture.
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>

#include "hostapp/suites/adapter_util.h"
#include "support/host_fixture.h"

using namespace host;

namespace {

PathSegment point(float x, float y) { return {{x, y}, {x, y}, {x, y}, 0}; }

HostPoint apply(const HostMatrix& m, float x, float y) {
  return {m.a * x + m.c * y + m.tx, m.b * x + m.d * y + m.ty};
}

class HostSuitesTest : public HostFixture {
 protected:
  ArtHandle newPath(std::initializer_list<PathSegment> segments = {}) {
    ArtHandle art = nullptr;
    EXPECT_EQ(gArtSuite->NewArt(kPathArt, kPlaceAboveAll, nullptr, &art), kHostNoErr);
    int16_t i = 0;
    for (const PathSegment& s : segments) EXPECT_EQ(gPathSuite->SetPathSegments(art, i++, 1, &s), kHostNoErr);
    return art;
  }
};

}  // namespace

TEST_F(HostSuitesTest, PathSegmentsRefuseBadIndicesAndAppendAtTheEnd) {
  ArtHandle path = newPath({point(0, 0), point(1, 1)});
  const PathSegment s = point(5, 6);
  PathSegment out;
  EXPECT_NE(gPathSuite->SetPathSegments(path, -1, 1, &s), kHostNoErr);
  EXPECT_NE(gPathSuite->SetPathSegments(path, 3, 1, &s), kHostNoErr);
  EXPECT_NE(gPathSuite->SetPathSegments(path, 0, 0, &s), kHostNoErr);
  PathSegment nan = s;
  nan.p.h = std::numeric_limits<float>::quiet_NaN();
  EXPECT_NE(gPathSuite->SetPathSegments(path, 0, 1, &nan), kHostNoErr);
  EXPECT_NE(gPathSuite->GetPathSegments(path, 2, 1, &out), kHostNoErr);
  EXPECT_NE(gPathSuite->GetPathSegments(path, 0, 1, nullptr), kHostNoErr);

  ASSERT_EQ(gPathSuite->SetPathSegments(path, 2, 1, &s), kHostNoErr);
  int16_t count = 0;
  ASSERT_EQ(gPathSuite->GetPathSegmentCount(path, &count), kHostNoErr);
  EXPECT_EQ(count, 3);
  ASSERT_EQ(gPathSuite->GetPathSegments(path, 2, 1, &out), kHostNoErr);
  EXPECT_EQ(std::memcmp(&out, &s, sizeof s), 0);

  PathSegment three[3];
  ASSERT_EQ(gPathSuite->GetPathSegments(path, 0, 3, three), kHostNoErr);
  EXPECT_EQ(three[1].p.v, 1.0f);

  ASSERT_EQ(gPathSuite->SetPathSegmentCount(path, kMaxPathSegments), kHostNoErr);
  EXPECT_EQ(gPathSuite->SetPathSegments(path, kMaxPathSegments, 1, &s), kHostTooManySegmentsErr);
}

TEST_F(HostSuitesTest, StaleForeignAndMistypedHandlesAreRefused) {
  host().beginMessage();
  ArtHandle path = newPath({point(0, 0)});
  ASSERT_EQ(gUndoSuite->UndoChanges(), kHostNoErr);
  int16_t count;
  HostRect bounds;
  EXPECT_NE(gPathSuite->GetPathSegmentCount(path, &count), kHostNoErr);  // undone: stale
  EXPECT_NE(gArtSuite->GetArtBounds(path, &bounds), kHostNoErr);
  ArtHandle copy = nullptr;
  EXPECT_NE(gArtSuite->DuplicateArt(path, kPlaceAboveAll, nullptr, &copy), kHostNoErr);
  EXPECT_EQ(copy, nullptr);

  ViewHandle view;
  ASSERT_EQ(gDocumentViewSuite->GetNthDocumentView(0, &view), kHostNoErr);
  EXPECT_NE(gPathSuite->GetPathSegmentCount(reinterpret_cast<ArtHandle>(view), &count), kHostNoErr);
  EXPECT_NE(gPathSuite->GetPathSegmentCount(reinterpret_cast<ArtHandle>(&count), &count), kHostNoErr);
  EXPECT_NE(gPathSuite->GetPathSegmentCount(nullptr, &count), kHostNoErr);
  EXPECT_EQ(gBlendStyleSuite->GetOpacity(path), 1.0f);

  // A 32-bit handle has room for the kind and the id only, not the host's key.
  if constexpr (sizeof(std::uintptr_t) >= 8) {
    const auto encoded = reinterpret_cast<std::uintptr_t>(newPath());
    const auto otherKey = reinterpret_cast<ArtHandle>(encoded ^ (std::uint64_t{1} << 32));
    EXPECT_NE(gPathSuite->GetPathSegmentCount(otherKey, &count), kHostNoErr);
  }

  SwatchHandle swatch = gSwatchListSuite->GetNthSwatch(nullptr, 2);
  ASSERT_NE(swatch, nullptr);
  ArtStyleHandle style;
  EXPECT_NE(gArtStyleSuite->ApplyArtStyle(newPath(), reinterpret_cast<ArtStyleHandle>(swatch)), kHostNoErr);
  ASSERT_EQ(gArtStyleSuite->GetNthArtStyle(1, &style), kHostNoErr);
  EXPECT_NE(gArtStyleSuite->ApplyArtStyle(reinterpret_cast<ArtHandle>(style), style), kHostNoErr);
}

TEST_F(HostSuitesTest, BoundsTransformAndDuplicatePlacement) {
  ArtHandle a = newPath({{{0, 0}, {0, 0}, {0, 100}, 0}, {{100, 0}, {100, 100}, {100, 0}, 0}});
  HostRect r;
  ASSERT_EQ(gArtSuite->GetArtBounds(a, &r), kHostNoErr);
  EXPECT_FLOAT_EQ(r.top, 75.0f);
  EXPECT_FLOAT_EQ(r.right, 100.0f);

  PathStyle style;
  ASSERT_EQ(gPathStyleSuite->GetPathStyle(a, &style), kHostNoErr);
  style.strokeWidth = 2;
  ASSERT_EQ(gPathStyleSuite->SetPathStyle(a, &style), kHostNoErr);
  HostMatrix m;
  ASSERT_EQ(gRealMathSuite->MatrixSetTranslate(&m, 10, -20), kHostNoErr);
  ASSERT_EQ(gRealMathSuite->MatrixConcatScale(&m, 3, 3), kHostNoErr);
  ASSERT_EQ(gTransformArtSuite->TransformArt(a, &m, 1.0f, kTransformObjects), kHostNoErr);
  ASSERT_EQ(gArtSuite->GetArtBounds(a, &r), kHostNoErr);
  EXPECT_FLOAT_EQ(r.left, 30.0f);
  EXPECT_FLOAT_EQ(r.bottom, -60.0f);
  EXPECT_FLOAT_EQ(r.top, 165.0f);
  ASSERT_EQ(gPathStyleSuite->GetPathStyle(a, &style), kHostNoErr);
  EXPECT_EQ(style.strokeWidth, 2.0f);

  ArtHandle b = newPath({point(1, 1)});
  ArtHandle top, under;
  ASSERT_EQ(gArtSuite->DuplicateArt(a, kPlaceAboveAll, nullptr, &top), kHostNoErr);
  ASSERT_EQ(gArtSuite->DuplicateArt(b, kPlaceBelow, b, &under), kHostNoErr);
  const std::vector<ArtId> expected{artIdOf(a), artIdOf(under), artIdOf(b), artIdOf(top)};
  EXPECT_EQ(document().paintOrder(document().currentLayer()), expected);
  EXPECT_NE(gArtSuite->DuplicateArt(a, kPlaceBelow, nullptr, &under), kHostNoErr);
  EXPECT_NE(gArtSuite->DuplicateArt(a, kPlaceInsideOnTop, a, &under), kHostNoErr);
  EXPECT_NE(gArtSuite->NewArt(kGroupArt, kPlaceAboveAll, nullptr, &under), kHostNoErr);
}

TEST_F(HostSuitesTest, RealMathWorksInDoubleAndConcatenatesAfterTheMatrix) {
  HostReal r = 5;
  EXPECT_NE(gRealMathSuite->RealDiv(1, 0, &r), kHostNoErr);
  EXPECT_EQ(r, 0.0f);
  ASSERT_EQ(gRealMathSuite->RealDiv(1, 3, &r), kHostNoErr);
  EXPECT_EQ(r, static_cast<float>(1.0 / 3.0));
  ASSERT_EQ(gRealMathSuite->DegreeToRadian(180, &r), kHostNoErr);
  EXPECT_EQ(r, static_cast<float>(std::numbers::pi));
  ASSERT_EQ(gRealMathSuite->RealSin(r, &r), kHostNoErr);
  EXPECT_EQ(r, static_cast<float>(std::sin(static_cast<double>(static_cast<float>(std::numbers::pi)))));

  const HostPoint origin{10, 20}, p{0, 0};
  HostPoint q;
  ASSERT_EQ(gRealMathSuite->PointInterpolate(&origin, &p, 0.25f, &q), kHostNoErr);
  EXPECT_EQ(q.h, 2.5f);
  EXPECT_EQ(q.v, 5.0f);

  // translate, then turn a quarter, then scale, then translate again:
  // (1, 0) -> (11, 0) -> (0, 11) -> (0, 33) -> (5, 38).
  HostMatrix m;
  ASSERT_EQ(gRealMathSuite->MatrixSetTranslate(&m, 10, 0), kHostNoErr);
  ASSERT_EQ(gRealMathSuite->MatrixConcatRotate(&m, static_cast<float>(std::numbers::pi / 2)), kHostNoErr);
  ASSERT_EQ(gRealMathSuite->MatrixConcatScale(&m, 2, 3), kHostNoErr);
  ASSERT_EQ(gRealMathSuite->MatrixConcatTranslate(&m, 5, 5), kHostNoErr);
  const HostPoint moved = apply(m, 1, 0);
  EXPECT_NEAR(moved.h, 5, 1e-5);
  EXPECT_NEAR(moved.v, 38, 1e-5);
  EXPECT_NE(gRealMathSuite->MatrixConcatScale(nullptr, 1, 1), kHostNoErr);
}

TEST_F(HostSuitesTest, UndoTakesBackTheMessagesArt) {
  newPath({point(0, 0)});
  host().beginMessage();
  ArtHandle a = newPath({point(1, 1)});
  ArtHandle copy;
  ASSERT_EQ(gArtSuite->DuplicateArt(a, kPlaceAboveAll, nullptr, &copy), kHostNoErr);
  EXPECT_EQ(document().liveArtCount(), 3u);
  ASSERT_EQ(gUndoSuite->UndoChanges(), kHostNoErr);
  EXPECT_EQ(document().liveArtCount(), 1u);
}

TEST_F(HostSuitesTest, DocumentViewAndRedraw) {
  HostPoint size;
  ASSERT_EQ(gDocumentSuite->GetDocumentPageSize(&size), kHostNoErr);
  EXPECT_EQ(size.h, 612.0f);
  EXPECT_EQ(size.v, 792.0f);
  int16_t model = -1;
  ASSERT_EQ(gDocumentSuite->GetDocumentColorModel(&model), kHostNoErr);
  EXPECT_EQ(model, kDocRGBColorModel);
  ASSERT_EQ(gDocumentSuite->RedrawDocument(), kHostNoErr);
  EXPECT_EQ(document().redrawCount(), 1u);

  ViewHandle view;
  EXPECT_NE(gDocumentViewSuite->GetNthDocumentView(1, &view), kHostNoErr);
  ASSERT_EQ(gDocumentViewSuite->GetNthDocumentView(0, &view), kHostNoErr);
  HostPoint centre;
  ASSERT_EQ(gDocumentViewSuite->GetDocumentViewCenter(view, &centre), kHostNoErr);
  EXPECT_EQ(centre.h, 306.0f);
  EXPECT_EQ(centre.v, 396.0f);
  ASSERT_EQ(gDocumentViewSuite->SetDocumentViewZoom(view, 0.5f), kHostNoErr);
  const ViewPoint corner{0, 0};
  HostPoint art;
  ASSERT_EQ(gDocumentViewSuite->ViewPointToArtworkPoint(view, &corner, &art), kHostNoErr);
  const View& v = document().views()[0];
  EXPECT_EQ(art.h, 306.0f - v.width);  // half the window at 50 %
  EXPECT_EQ(art.v, 396.0f + v.height);
  ViewPoint back;
  ASSERT_EQ(gDocumentViewSuite->ArtworkPointToViewPoint(view, &art, &back), kHostNoErr);
  EXPECT_EQ(back.h, 0);
  EXPECT_EQ(back.v, 0);
}

TEST_F(HostSuitesTest, RandomSuiteDrawsTheServiceValues) {
  scriptRandom({0.5f, 0.125f});
  EXPECT_EQ(gRandomSuite->FloatRnd(), 0.5f);
  EXPECT_EQ(gRandomSuite->FloatRnd(), 0.125f);
  EXPECT_EQ(host().random().drawCount(), 2u);
  ASSERT_EQ(gRandomSuite->SetRndSeed(1), kHostNoErr);
  EXPECT_EQ(gRandomSuite->FloatRnd(), static_cast<float>(0x910a2dec89025cc1ull >> 40) / 16777216.0f);
}

TEST_F(HostSuitesTest, SwatchesAndArtStyles) {
  const int32_t n = gSwatchListSuite->CountSwatches(nullptr);
  ASSERT_GE(n, 24);
  EXPECT_EQ(gSwatchListSuite->GetNthSwatch(nullptr, n), nullptr);
  EXPECT_EQ(gSwatchListSuite->GetNthSwatch(nullptr, -1), nullptr);
  HostColor c;
  EXPECT_EQ(gSwatchListSuite->GetSwatchColor(nullptr, &c), kHostBadParameterErr);
  ASSERT_EQ(gSwatchListSuite->GetSwatchColor(gSwatchListSuite->GetNthSwatch(nullptr, 3), &c), kHostNoErr);
  EXPECT_EQ(c.kind, kThreeColor);
  EXPECT_EQ(c.c[0] + c.c[1] + c.c[2], 0.0f);  // black

  int32_t styles = 0;
  ASSERT_EQ(gArtStyleSuite->CountArtStyles(&styles), kHostNoErr);
  ASSERT_GE(styles, 9);
  ArtStyleHandle style;
  EXPECT_EQ(gArtStyleSuite->GetNthArtStyle(styles, &style), kHostBadParameterErr);
  ASSERT_EQ(gArtStyleSuite->GetNthArtStyle(4, &style), kHostNoErr);
  ArtHandle a = newPath({point(0, 0)});
  ASSERT_EQ(gArtStyleSuite->ApplyArtStyle(a, style), kHostNoErr);
  const GraphicStyle& g = document().graphicStyles()[4];
  EXPECT_EQ(document().art(artIdOf(a))->state.style, g.paint);
  EXPECT_EQ(gBlendStyleSuite->GetOpacity(a), g.opacity);
}

TEST_F(HostSuitesTest, SymbolsLayersShapesAndEnvelopes) {
  ArtHandle spiral = newPath({point(0, 0), point(50, 50)});
  SymbolHandle symbol;
  ASSERT_EQ(gSymbolSuite->NewSymbol(spiral, &symbol, 0), kHostNoErr);
  ASSERT_EQ(document().symbols().size(), 1u);
  EXPECT_EQ(document().symbols()[0].paths[0].segments.size(), 2u);
  EXPECT_EQ(gSymbolSuite->NewSymbol(nullptr, &symbol, 0), kHostBadParameterErr);

  LayerHandle layer;
  ASSERT_EQ(gLayerSuite->InsertLayer(nullptr, kPlaceAboveAll, &layer), kHostNoErr);
  int32_t layers = 0;
  ASSERT_EQ(gLayerSuite->CountLayers(&layers), kHostNoErr);
  EXPECT_EQ(layers, 2);
  ArtHandle rect, oval;
  ASSERT_EQ(gShapeConstructionSuite->NewCenteredRect(100, 100, 200, 200, 0, &rect), kHostNoErr);
  ASSERT_EQ(gShapeConstructionSuite->NewCenteredOval(100, 100, 200, 200, 0, &oval), kHostNoErr);
  EXPECT_EQ(document().art(artIdOf(oval))->links.layer, document().currentLayer());
  HostBool closed = 0;
  ASSERT_EQ(gPathSuite->GetPathClosed(oval, &closed), kHostNoErr);
  EXPECT_TRUE(closed);

  ArtHandle envelope;
  const EnvelopeOptions options{0, 50};
  EXPECT_EQ(gEnvelopeSuite->MakeEnvelope(&spiral, 0, oval, &options, &envelope), kHostBadParameterErr);
  EXPECT_EQ(gEnvelopeSuite->MakeEnvelope(&oval, 1, oval, &options, &envelope), kHostBadParameterErr);
  ASSERT_EQ(gEnvelopeSuite->MakeEnvelope(&spiral, 1, oval, &options, &envelope), kHostNoErr);
  int16_t type;
  ASSERT_EQ(gArtSuite->GetArtType(envelope, &type), kHostNoErr);
  EXPECT_EQ(type, kEnvelopeArt);
  EXPECT_EQ(document().art(artIdOf(spiral))->links.container, artIdOf(envelope));
  EXPECT_EQ(gEnvelopeSuite->SetEnvelopeWarp(envelope, 16, 0, 0, 0, 0), kHostBadParameterErr);
  EXPECT_EQ(gEnvelopeSuite->SetEnvelopeWarp(envelope, 1, -1.01f, 0, 0, 0), kHostBadParameterErr);
  EXPECT_EQ(gEnvelopeSuite->SetEnvelopeWarp(spiral, 1, 0, 0, 0, 0), kHostBadParameterErr);
  ASSERT_EQ(gEnvelopeSuite->SetEnvelopeWarp(envelope, 15, 1, -1, 0.5f, 1), kHostNoErr);
  EXPECT_EQ(document().art(artIdOf(envelope))->state.envelope.warp, (Warp{15, 1, -1, 0.5f, true}));
  // The held spiral can still be transformed, styled and copied.
  HostMatrix m{1, 0, 0, 1, 5, 5};
  EXPECT_EQ(gTransformArtSuite->TransformArt(spiral, &m, 1, kTransformObjects), kHostNoErr);
  ArtHandle shadow;
  EXPECT_EQ(gArtSuite->DuplicateArt(spiral, kPlaceBelow, spiral, &shadow), kHostNoErr);
}

TEST_F(HostSuitesTest, MemoryBudgetFailsWithMinus108) {
  document().memory().setLimit(document().memory().used() + 4096);
  MemHandle handle = nullptr;
  EXPECT_EQ(gMdMemorySuite->NewHandle(8192, &handle), kHostOutOfMemoryErr);
  ASSERT_EQ(gMdMemorySuite->NewHandle(308, &handle), kHostNoErr);
  const char* bytes = static_cast<const char*>(*handle);
  EXPECT_TRUE(std::all_of(bytes, bytes + 308, [](char c) { return c == 0; }));
  int32_t size = 0;
  ASSERT_EQ(gMdMemorySuite->GetHandleSize(handle, &size), kHostNoErr);
  EXPECT_EQ(size, 308);

  ArtHandle art = newPath({point(0, 0)});
  EXPECT_EQ(gPathSuite->SetPathSegmentCount(art, 10000), kHostOutOfMemoryErr);
  HostErr last = kHostNoErr;
  for (int i = 0; i < 1000 && last == kHostNoErr; ++i) last = gArtSuite->NewArt(kPathArt, kPlaceAboveAll, nullptr, &art);
  EXPECT_EQ(last, kHostOutOfMemoryErr);

  ASSERT_EQ(gMdMemorySuite->DisposeHandle(handle), kHostNoErr);
  EXPECT_NE(gMdMemorySuite->DisposeHandle(handle), kHostNoErr);
  void* block = nullptr;
  ASSERT_EQ(gBlocksSuite->AllocateBlock(16, "globals", &block), kHostNoErr);
  EXPECT_EQ(host().memory().blockName(block), "globals");
  EXPECT_EQ(gBlocksSuite->FreeBlock(block), kHostNoErr);
  EXPECT_EQ(gBlocksSuite->FreeBlock(nullptr), kHostNoErr);
  EXPECT_NE(gBlocksSuite->FreeBlock(block), kHostNoErr);
}

TEST_F(HostSuitesTest, FilterMenuAndUserSuitesRecordAndConvert) {
  unsigned char category[] = "\x0cTQV <Create>";
  unsigned char title[] = "\x09Spiral...";
  const FilterDescription description{category, title};
  FilterHandle filter;
  ASSERT_EQ(gFilterSuite->AddFilter(nullptr, "Vrix_Spiral", &description, 0, &filter), kHostNoErr);
  MenuItemHandle item;
  ASSERT_EQ(gFilterSuite->GetFilterMenuItem(filter, &item), kHostNoErr);
  ASSERT_EQ(gMenuSuite->UpdateMenuItemAutomatically(item, 1, 0, 0, 0, 0, 1, 0), kHostNoErr);
  ASSERT_EQ(host().filters().size(), 1u);
  EXPECT_EQ(host().filters()[0].category, "TQV <Create>");
  EXPECT_EQ(host().filters()[0].title, "Spiral...");
  const MenuItemRecord& record = host().menuItems()[0];
  EXPECT_TRUE(record.automaticUpdate);
  EXPECT_EQ(record.conditions[4], 1);
  EXPECT_EQ(gFilterSuite->GetFilterMenuItem(reinterpret_cast<FilterHandle>(item), &item), kHostBadParameterErr);

  unsigned char text[256];
  ASSERT_EQ(gUserSuite->NumberToText(-108, 0, text), kHostNoErr);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(text + 1), text[0]), "-108");
  HostReal value = 0;
  unsigned char number[] = "\x03" "271";
  ASSERT_EQ(gUserSuite->TextToNumber(number, &value), kHostNoErr);
  EXPECT_EQ(value, 271.0f);
  unsigned char code[] = "\x04SEGM";
  EXPECT_EQ(gUserSuite->TextToNumber(code, &value), kHostBadParameterErr);
  unsigned char tooLarge[] = "\x05" "1e300";
  EXPECT_EQ(gUserSuite->TextToNumber(tooLarge, &value), kHostBadParameterErr);
  EXPECT_EQ(value, 271.0f);  // kept by every refusal
}
