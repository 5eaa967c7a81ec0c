// The stand-in host's document model, without the C suites.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "hostapp/model/document.h"
#include "hostapp/model/resources.h"
#include "support/compare.h"

using namespace host;

namespace {

Segment corner(float x, float y) { return {{x, y}, {x, y}, {x, y}, false}; }

ArtId makePath(Document& d, std::vector<Segment> segments = {}, Placement placement = Placement::AboveAll,
               ArtId reference = kNoArt) {
  ArtId id = kNoArt;
  EXPECT_EQ(d.newPath(placement, reference, &id), Status::Ok);
  if (!segments.empty()) {
    EXPECT_EQ(d.setSegments(id, 0, static_cast<int32_t>(segments.size()), segments.data()), Status::Ok);
  }
  return id;
}

std::vector<Segment> segmentsOf(const Document& d, ArtId id) { return d.art(id)->state.segments; }

// Everything undo must restore, in comparable form.
struct Snapshot {
  std::vector<std::pair<ObjectId, std::string>> layers;
  std::vector<std::vector<ArtId>> order;
  std::vector<std::tuple<ArtId, std::vector<Segment>, bool, Style, float, ArtId>> art;
  ObjectId currentLayer;
  std::size_t symbols, liveArt, memory;
  bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(const Document& d) {
  Snapshot s{{}, {}, {}, d.currentLayer(), d.symbols().size(), d.liveArtCount(), d.memory().used()};
  for (const Layer& l : d.layers()) {
    s.layers.emplace_back(l.id, l.name);
    s.order.push_back(d.paintOrder(l.id));
    for (ArtId id : s.order.back()) {
      const Art& a = *d.art(id);
      s.art.emplace_back(id, a.state.segments, a.state.closed, a.state.style, a.state.opacity, a.links.container);
    }
  }
  return s;
}

}  // namespace

// ---- Segments ------------------------------------------------------------------

TEST(DocumentSegments, RefusesBadIndexCountAndNonFiniteCoordinatesWithoutChange) {
  Document d;
  const ArtId p = makePath(d, {corner(0, 0), corner(1, 1)});
  const Segment s = corner(5, 5);
  Segment out;
  EXPECT_EQ(d.setSegments(p, -1, 1, &s), Status::BadIndex);
  EXPECT_EQ(d.setSegments(p, 3, 1, &s), Status::BadIndex);  // two past the end
  EXPECT_EQ(d.setSegments(p, 32768, 1, &s), Status::BadIndex);
  EXPECT_EQ(d.setSegments(p, 0, 0, &s), Status::BadIndex);
  for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
    Segment b = s;
    b.out.y = bad;
    EXPECT_EQ(d.setSegments(p, 0, 1, &b), Status::BadValue);
  }
  EXPECT_EQ(d.getSegments(p, -1, 1, &out), Status::BadIndex);
  EXPECT_EQ(d.getSegments(p, 2, 1, &out), Status::BadIndex);
  EXPECT_EQ(d.getSegments(p, 1, 2, &out), Status::BadIndex);
  EXPECT_EQ(d.getSegments(p, 0, 0, &out), Status::BadIndex);
  EXPECT_EQ(segmentsOf(d, p), (std::vector<Segment>{corner(0, 0), corner(1, 1)}));
}

TEST(DocumentSegments, WritingOnePastTheEndAppendsUpTo32767) {
  Document d;
  const ArtId p = makePath(d, {corner(0, 0)});
  const Segment s = corner(7, 8);
  ASSERT_EQ(d.setSegments(p, 1, 1, &s), Status::Ok);
  EXPECT_EQ(segmentsOf(d, p), (std::vector<Segment>{corner(0, 0), corner(7, 8)}));

  ASSERT_EQ(d.setSegmentCount(p, kMaxSegments), Status::Ok);
  EXPECT_EQ(d.art(p)->state.segments.back(), corner(7, 8));  // extended with the last segment
  EXPECT_EQ(d.setSegments(p, kMaxSegments, 1, &s), Status::TooManySegments);
  EXPECT_EQ(d.setSegmentCount(p, kMaxSegments + 1), Status::TooManySegments);
  EXPECT_EQ(d.setSegmentCount(p, -1), Status::BadIndex);
  EXPECT_EQ(d.setSegments(p, kMaxSegments - 1, 1, &s), Status::Ok);
  EXPECT_EQ(d.setSegmentCount(p, 0), Status::Ok);
  EXPECT_TRUE(d.art(p)->state.segments.empty());
}

TEST(DocumentSegments, AWriteOfManyOverwritesThenAppendsOrChangesNothing) {
  Document d;
  const ArtId p = makePath(d, {corner(0, 0), corner(1, 1), corner(2, 2)});
  const std::vector<Segment> four{corner(10, 0), corner(11, 0), corner(12, 0), corner(13, 0)};
  const std::size_t before = d.memory().used();
  ASSERT_EQ(d.setSegments(p, 1, 4, four.data()), Status::Ok);
  EXPECT_EQ(segmentsOf(d, p),
            (std::vector<Segment>{corner(0, 0), corner(10, 0), corner(11, 0), corner(12, 0), corner(13, 0)}));
  EXPECT_EQ(d.memory().used(), before + 2 * sizeof(Segment)) << "only the two appended are charged";

  // A non-finite coordinate anywhere in the batch, even the last one, refuses all of it.
  for (std::size_t bad = 0; bad < four.size(); ++bad) {
    std::vector<Segment> batch = four;
    batch[bad].in.x = std::numeric_limits<float>::infinity();
    EXPECT_EQ(d.setSegments(p, 3, 4, batch.data()), Status::BadValue) << bad;
  }
  EXPECT_EQ(d.art(p)->state.segments.size(), 5u);

  d.memory().setLimit(d.memory().used() + 3 * sizeof(Segment));
  EXPECT_EQ(d.setSegments(p, 5, 4, four.data()), Status::OutOfMemory);
  EXPECT_EQ(d.art(p)->state.segments.size(), 5u);
  EXPECT_EQ(d.setSegments(p, 5, 3, four.data()), Status::Ok) << "three fit";
  EXPECT_EQ(d.art(p)->state.segments.size(), 8u);
}

// ---- Bounds and transforms --------------------------------------------------------

TEST(DocumentGeometry, BoundsFollowTheCurveNotItsControlPoints) {
  Document d;
  // An arch: handles reach y = 100, the curve only y = 75 (at t = 1/2).
  const ArtId arch = makePath(d, {{{0, 0}, {0, 0}, {0, 100}, false}, {{100, 0}, {100, 100}, {100, 0}, false}});
  Rect r;
  ASSERT_EQ(d.bounds(arch, &r), Status::Ok);
  EXPECT_RECT_NEAR(r, (Rect{0, 75, 100, 0}), 1e-4);

  // A bulge to the right: x reaches 112.5 between anchors at x = 0.
  const ArtId bulge =
      makePath(d, {{{0, 0}, {-150, 0}, {150, 0}, false}, {{0, 100}, {150, 100}, {-150, 100}, false}});
  ASSERT_EQ(d.bounds(bulge, &r), Status::Ok);
  EXPECT_RECT_NEAR(r, (Rect{0, 100, 112.5f, 0}), 1e-4);

  // Closing adds the curve from the last anchor back to the first, which
  // bulges to the left.
  ASSERT_EQ(d.setClosed(bulge, true), Status::Ok);
  ASSERT_EQ(d.bounds(bulge, &r), Status::Ok);
  EXPECT_RECT_NEAR(r, (Rect{-112.5f, 100, 112.5f, 0}), 1e-4);

  ASSERT_EQ(d.bounds(makePath(d, {corner(3, 4)}), &r), Status::Ok);
  EXPECT_RECT_NEAR(r, (Rect{3, 4, 3, 4}), 1e-4);
  EXPECT_EQ(d.bounds(makePath(d), &r), Status::BadIndex);
}

TEST(DocumentGeometry, TransformMovesAnchorsAndHandlesAndScalesLinesOnlyWhenAsked) {
  Document d;
  const ArtId p = makePath(d, {{{1, 2}, {3, 4}, {5, 6}, true}});
  const Matrix quarterTurnThenShift{0, 1, -1, 0, 10, 20};  // (x, y) -> (10 - y, 20 + x)
  ASSERT_EQ(d.transform(p, quarterTurnThenShift, 1.0f, true, false), Status::Ok);
  EXPECT_EQ(segmentsOf(d, p)[0], (Segment{{8, 21}, {6, 23}, {4, 25}, true}));
  EXPECT_EQ(d.art(p)->state.style.strokeWidth, 1.0f);

  ASSERT_EQ(d.transform(p, Matrix{}, 3.0f, true, true), Status::Ok);
  EXPECT_EQ(d.art(p)->state.style.strokeWidth, 3.0f);

  const Matrix overflow{3e38f, 0, 0, 3e38f, 0, 0};
  EXPECT_EQ(d.transform(p, overflow, 1.0f, true, false), Status::BadValue);
  EXPECT_EQ(segmentsOf(d, p)[0].anchor, (Point{8, 21}));
}

// The identity changes nothing but the sign of a zero, as x * 1 + y * 0 + 0
// does; an envelope moves its contents and shape together, or, when one of
// them would leave the float range, none of them.
TEST(DocumentGeometry, IdentityAndEnvelopeTransformsMatchThePointByPointResult) {
  Document d;
  const ArtId p = makePath(d, {{{-0.0f, 2}, {3, -0.0f}, {-5.5f, 6}, true}});
  ASSERT_EQ(d.transform(p, Matrix{}, 1.0f, true, false), Status::Ok);
  const Segment s = segmentsOf(d, p)[0];
  EXPECT_FALSE(std::signbit(s.anchor.x));
  EXPECT_FALSE(std::signbit(s.in.y));
  EXPECT_EQ(s, (Segment{{0, 2}, {3, 0}, {-5.5f, 6}, true}));

  const ArtId small = makePath(d, {corner(1, 1), corner(2, 1)});
  const ArtId big = makePath(d, {corner(1e30f, 1), corner(1, 1)});
  const ArtId shape = makePath(d, {corner(0, 0), corner(1, 0), corner(1, 1)});
  const ArtId list[] = {small, big};
  ArtId envelope = kNoArt;
  ASSERT_EQ(d.makeEnvelope(list, shape, 0, 50, &envelope), Status::Ok);
  EXPECT_EQ(d.transform(envelope, Matrix{1e10f, 0, 0, 1, 0, 0}, 1.0f, true, false), Status::BadValue);
  EXPECT_EQ(segmentsOf(d, small)[1].anchor, (Point{2, 1}));
  EXPECT_EQ(segmentsOf(d, big)[0].anchor, (Point{1e30f, 1}));
  EXPECT_EQ(segmentsOf(d, shape)[1].anchor, (Point{1, 0}));

  ASSERT_EQ(d.transform(envelope, Matrix{2, 0, 0, 3, 1, 1}, 1.0f, true, false), Status::Ok);
  EXPECT_EQ(segmentsOf(d, small)[1].anchor, (Point{5, 4}));
  EXPECT_EQ(segmentsOf(d, big)[1].anchor, (Point{3, 4}));
  EXPECT_EQ(segmentsOf(d, shape)[1].anchor, (Point{3, 1}));
}

// ---- Paint order, duplicates, layers ------------------------------------------------

TEST(DocumentPaintOrder, DuplicatesGoAboveAllOrNextToTheirReference) {
  Document d;
  const ArtId a = makePath(d, {corner(1, 1), corner(2, 2)});
  ASSERT_EQ(d.setClosed(a, true), Status::Ok);
  ASSERT_EQ(d.setOpacity(a, 0.25f), Status::Ok);
  Style red = d.currentStyle();
  red.fill = Color::rgb(1, 0, 0);
  red.strokeWidth = 4;
  ASSERT_EQ(d.setStyle(a, red), Status::Ok);
  const ArtId b = makePath(d, {corner(3, 3)});

  ArtId top, under;
  ASSERT_EQ(d.duplicate(a, Placement::AboveAll, kNoArt, &top), Status::Ok);
  ASSERT_EQ(d.duplicate(b, Placement::Below, b, &under), Status::Ok);
  EXPECT_EQ(d.paintOrder(d.currentLayer()), (std::vector<ArtId>{a, under, b, top}));

  const ArtState& copy = d.art(top)->state;
  EXPECT_EQ(copy.segments, segmentsOf(d, a));
  EXPECT_TRUE(copy.closed);
  EXPECT_EQ(copy.style, red);
  EXPECT_EQ(copy.opacity, 0.25f);

  ArtId over;
  ASSERT_EQ(d.duplicate(a, Placement::Above, a, &over), Status::Ok);
  EXPECT_EQ(d.paintOrder(d.currentLayer()), (std::vector<ArtId>{a, over, under, b, top}));
  EXPECT_EQ(d.duplicate(a, Placement::Below, 9999, &over), Status::NoSuchObject);
  EXPECT_EQ(d.duplicate(a, static_cast<Placement>(3), a, &over), Status::BadValue);
}

TEST(DocumentPaintOrder, NewArtGoesToTheLayerInsertedLast) {
  Document d;
  ASSERT_EQ(d.layers().size(), 1u);
  EXPECT_EQ(d.layers()[0].name, "Layer 1");
  const ObjectId first = d.currentLayer();
  makePath(d);
  ObjectId second;
  ASSERT_EQ(d.insertLayer(Placement::AboveAll, kNoObject, &second), Status::Ok);
  EXPECT_EQ(d.currentLayer(), second);
  EXPECT_EQ(d.layers().back().name, "Layer 2");
  const ArtId p = makePath(d);
  EXPECT_EQ(d.art(p)->links.layer, second);
  EXPECT_EQ(d.layer(first)->artCount, 1u);
  EXPECT_EQ(d.layer(second)->artCount, 1u);
}

// ---- Undo -------------------------------------------------------------------------------

TEST(DocumentUndo, TakesBackEveryChangeOfTheMessageExactly) {
  Document d;
  const ArtId a = makePath(d, {corner(0, 0), {{10, 10}, {5, 10}, {15, 10}, false}});
  ASSERT_EQ(d.setOpacity(a, 0.5f), Status::Ok);
  const ArtId shape = makePath(d, {corner(0, 0), corner(1, 0), corner(1, 1)});
  d.beginMessage();
  const Snapshot before = snapshot(d);

  const ArtId b = makePath(d, {corner(4, 4)});
  const Segment moved = corner(-3, 9);
  ASSERT_EQ(d.setSegments(a, 1, 1, &moved), Status::Ok);
  ASSERT_EQ(d.setSegments(a, 2, 1, &moved), Status::Ok);
  ASSERT_EQ(d.setSegmentCount(a, 7), Status::Ok);
  ASSERT_EQ(d.setClosed(a, true), Status::Ok);
  Style s = d.currentStyle();
  s.strokeWidth = 9;
  ASSERT_EQ(d.setStyle(a, s), Status::Ok);
  ASSERT_EQ(d.setOpacity(a, 1.0f), Status::Ok);
  ASSERT_EQ(d.transform(a, Matrix{2, 0, 0, 2, 1, 1}, 1, true, true), Status::Ok);
  ArtId copy, envelope;
  ObjectId layer, symbol;
  ASSERT_EQ(d.duplicate(a, Placement::Below, a, &copy), Status::Ok);
  ASSERT_EQ(d.insertLayer(Placement::AboveAll, kNoObject, &layer), Status::Ok);
  makePath(d, {corner(1, 2)});
  ASSERT_EQ(d.newSymbol(a, &symbol), Status::Ok);
  const ArtId list[] = {a, b};
  ASSERT_EQ(d.makeEnvelope(list, shape, 0, 50, &envelope), Status::Ok);
  ASSERT_EQ(d.setWarp(envelope, Warp{3, 0.5f, -0.5f, 0, true}), Status::Ok);
  ASSERT_NE(snapshot(d), before);

  d.undoMessage();
  EXPECT_EQ(snapshot(d), before);
  EXPECT_EQ(d.art(b), nullptr);
  EXPECT_EQ(d.art(copy), nullptr);
  EXPECT_EQ(d.art(envelope), nullptr);

  // Changed again after the undo, in the same message: taken back again.
  ASSERT_EQ(d.setSegments(a, 0, 1, &moved), Status::Ok);
  d.undoMessage();
  EXPECT_EQ(snapshot(d), before);
}

TEST(DocumentUndo, LeavesEarlierMessagesAlone) {
  Document d;
  const ArtId kept = makePath(d, {corner(1, 1)});
  d.beginMessage();
  const Segment s = corner(2, 2);
  ASSERT_EQ(d.setSegments(kept, 0, 1, &s), Status::Ok);
  d.beginMessage();
  makePath(d);
  d.undoMessage();
  EXPECT_EQ(d.paintOrder(d.currentLayer()), std::vector<ArtId>{kept});
  EXPECT_EQ(segmentsOf(d, kept)[0], s);
}

TEST(DocumentUndo, CostGrowsWithTheChangesNotWithTheDocument) {
  for (int existing : {10, 5000}) {
    Document d;
    std::vector<ArtId> old;
    for (int i = 0; i < existing; ++i) old.push_back(makePath(d, {corner(0, 0), corner(1, 1)}));
    d.beginMessage();
    const Segment s = corner(9, 9);
    const ArtId fresh = makePath(d);
    for (int i = 0; i < 50; ++i) ASSERT_EQ(d.setSegments(fresh, i, 1, &s), Status::Ok);  // new art: no copies
    ASSERT_EQ(d.setSegments(old[3], 0, 1, &s), Status::Ok);  // its state is copied once...
    ASSERT_EQ(d.setSegments(old[3], 1, 1, &s), Status::Ok);  // ...not twice
    ArtId copy;
    ASSERT_EQ(d.duplicate(old[5], Placement::Below, old[5], &copy), Status::Ok);
    EXPECT_EQ(d.undoMessage().entries, 3u) << existing << " paths in the document";
    EXPECT_EQ(d.liveArtCount(), static_cast<std::size_t>(existing));
  }
}

// ---- Shapes and envelopes -----------------------------------------------------------------

TEST(DocumentShapes, RectangleAndEllipseAreClosedAndCentred) {
  Document d;
  ArtId rect, oval;
  ASSERT_EQ(d.newCenteredRect({100, 50}, 40, 20, false, &rect), Status::Ok);
  const Art& r = *d.art(rect);
  EXPECT_TRUE(r.state.closed);
  ASSERT_EQ(r.state.segments.size(), 4u);
  EXPECT_EQ(r.state.segments[0].anchor, (Point{80, 60}));
  EXPECT_EQ(r.state.segments[1].anchor, (Point{120, 60}));
  EXPECT_EQ(r.state.segments[2].anchor, (Point{120, 40}));

  ASSERT_EQ(d.newCenteredEllipse({100, 50}, 40, 20, false, &oval), Status::Ok);
  const Art& o = *d.art(oval);
  EXPECT_TRUE(o.state.closed);
  ASSERT_EQ(o.state.segments.size(), 4u);
  EXPECT_EQ(o.state.segments[0].anchor, (Point{120, 50}));
  EXPECT_NEAR(o.state.segments[0].out.y, 50 + 0.5523 * 10, 1e-5);
  EXPECT_EQ(o.state.segments[0].out.x, 120);
  EXPECT_EQ(o.state.segments[1].anchor, (Point{100, 60}));
  EXPECT_NEAR(o.state.segments[1].in.x, 100 + 0.5523 * 20, 1e-5);
  Rect b;
  ASSERT_EQ(d.bounds(oval, &b), Status::Ok);
  EXPECT_RECT_NEAR(b, (Rect{80, 60, 120, 40}), 1e-4);
  // Its middle is within 0.1 % of a true ellipse.
  const Point mid = bezierPoint(o.state.segments[0].anchor, o.state.segments[0].out, o.state.segments[1].in,
                                o.state.segments[1].anchor, 0.5);
  EXPECT_NEAR(std::hypot((mid.x - 100) / 20, (mid.y - 50) / 10), 1.0, 1e-3);

  EXPECT_EQ(d.newCenteredRect({0, 0}, -1, 5, false, &rect), Status::BadValue);
  EXPECT_EQ(d.paintOrder(d.currentLayer()).size(), 2u);
}

TEST(DocumentEnvelopes, HoldTheirArtAndConsumeTheShape) {
  Document d;
  const ArtId below = makePath(d, {corner(0, 0)});
  const ArtId spiral = makePath(d, {corner(1, 1), corner(5, 5)});
  const ArtId above = makePath(d, {corner(2, 2)});
  ArtId shape, env;
  ASSERT_EQ(d.newCenteredEllipse({3, 3}, 200, 200, false, &shape), Status::Ok);
  d.beginMessage();
  const Snapshot before = snapshot(d);

  const ArtId list[] = {spiral};
  ASSERT_EQ(d.makeEnvelope(list, shape, 0, 50, &env), Status::Ok);
  EXPECT_EQ(d.paintOrder(d.currentLayer()), (std::vector<ArtId>{below, env, above}));
  EXPECT_EQ(d.art(spiral)->links.container, env);
  EXPECT_EQ(d.art(shape)->links.container, env);
  EXPECT_EQ(d.art(env)->state.envelope.contents, std::vector<ArtId>{spiral});
  Rect envBounds, shapeBounds;
  ASSERT_EQ(d.bounds(env, &envBounds), Status::Ok);
  ASSERT_EQ(d.bounds(shape, &shapeBounds), Status::Ok);
  EXPECT_EQ(envBounds, shapeBounds);

  // The held spiral keeps its id and can still be changed and copied.
  const Segment s = corner(9, 9);
  EXPECT_EQ(d.setSegments(spiral, 2, 1, &s), Status::Ok);
  ArtId shadow;
  ASSERT_EQ(d.duplicate(spiral, Placement::Below, spiral, &shadow), Status::Ok);
  EXPECT_EQ(d.paintOrder(d.currentLayer()), (std::vector<ArtId>{below, shadow, env, above}));

  EXPECT_EQ(d.makeEnvelope(list, above, 0, 50, &env), Status::NotPlaced);
  const ArtId nested[] = {env};
  EXPECT_EQ(d.makeEnvelope(nested, above, 0, 50, &env), Status::WrongKind);
  const ArtId self[] = {above};
  EXPECT_EQ(d.makeEnvelope(self, above, 0, 50, &env), Status::BadValue);
  EXPECT_EQ(d.setWarp(env, Warp{0, 0, 0, 0, false}), Status::BadValue);
  EXPECT_EQ(d.setWarp(env, Warp{16, 0, 0, 0, false}), Status::BadValue);
  EXPECT_EQ(d.setWarp(env, Warp{5, 1.5f, 0, 0, false}), Status::BadValue);
  EXPECT_EQ(d.setWarp(env, Warp{5, 0, std::nanf(""), 0, false}), Status::BadValue);
  EXPECT_EQ(d.setWarp(spiral, Warp{5, 0, 0, 0, false}), Status::WrongKind);
  EXPECT_EQ(d.setWarp(env, Warp{15, -1, 1, 0.25f, true}), Status::Ok);
  EXPECT_EQ(d.art(env)->state.envelope.warp, (Warp{15, -1, 1, 0.25f, true}));

  d.undoMessage();
  EXPECT_EQ(snapshot(d), before);
}

// ---- Memory budget ---------------------------------------------------------------------------

TEST(DocumentMemory, OperationsBeyondTheBudgetFailAndChangeNothing) {
  DocumentSettings settings;
  settings.memoryBudget = 64 * 1024;
  Document d(settings);
  const ArtId p = makePath(d, {corner(0, 0)});
  d.beginMessage();
  const std::size_t used = d.memory().used();
  EXPECT_EQ(d.setSegmentCount(p, 10000), Status::OutOfMemory);
  EXPECT_EQ(d.art(p)->state.segments.size(), 1u);
  EXPECT_EQ(d.memory().used(), used);

  ArtId id;
  Status last = Status::Ok;
  int made = 0;
  while ((last = d.newPath(Placement::AboveAll, kNoArt, &id)) == Status::Ok) ++made;
  EXPECT_EQ(last, Status::OutOfMemory);
  EXPECT_GT(made, 10);
  EXPECT_EQ(d.duplicate(p, Placement::AboveAll, kNoArt, &id), Status::OutOfMemory);
  d.undoMessage();
  EXPECT_EQ(d.memory().used(), used);
}

// ---- Document resources -----------------------------------------------------------------------

TEST(DocumentResources, NewDocumentsStartWithSwatchesStylesAndStyleInTheirModel) {
  for (ColorModel m : {ColorModel::Gray, ColorModel::Rgb, ColorModel::Cmyk}) {
    DocumentSettings settings;
    settings.colorModel = m;
    Document d(settings);
    const auto& sw = d.swatches();
    ASSERT_GE(sw.size(), 24u);
    EXPECT_EQ(sw[0].name, "[None]");
    EXPECT_EQ(sw[0].color.kind, ColorKind::None);
    EXPECT_EQ(sw[1].name, "[Registration]");
    EXPECT_EQ(sw[2].color, whiteIn(m));
    EXPECT_EQ(sw[3].color, blackIn(m));
    EXPECT_EQ(sw[10].color.kind, whiteIn(m).kind);
    EXPECT_EQ(d.currentStyle().fill, whiteIn(m));
    EXPECT_EQ(d.currentStyle().stroke, blackIn(m));
    EXPECT_GE(d.graphicStyles().size(), 9u);
  }
  EXPECT_EQ(blackIn(ColorModel::Gray), Color::gray(1));
  EXPECT_EQ(blackIn(ColorModel::Cmyk), Color::cmyk(0, 0, 0, 1));
  EXPECT_EQ(whiteIn(ColorModel::Rgb), Color::rgb(1, 1, 1));
}

TEST(DocumentResources, GraphicStylesLookDifferent) {
  const auto styles = builtInGraphicStyles(ColorModel::Rgb);
  for (std::size_t i = 0; i < styles.size(); ++i)
    for (std::size_t j = i + 1; j < styles.size(); ++j)
      EXPECT_FALSE(styles[i].paint == styles[j].paint && styles[i].opacity == styles[j].opacity)
          << styles[i].name << " and " << styles[j].name;
}

TEST(DocumentResources, GimpPaletteReplacesSwatchesFromIndexTwo) {
  Document d;
  std::vector<PaletteEntry> entries;
  ASSERT_EQ(parseGimpPalette("GIMP Palette\nName: Test\nColumns: 2\n# comment\n255   0   0 Red\n  0 128 255\n",
                             &entries),
            std::nullopt);
  d.replacePalette(entries);
  ASSERT_EQ(d.swatches().size(), 4u);
  EXPECT_EQ(d.swatches()[1].name, "[Registration]");
  EXPECT_EQ(d.swatches()[2].name, "Red");
  EXPECT_EQ(d.swatches()[2].color, Color::rgb(1, 0, 0));
  EXPECT_NEAR(d.swatches()[3].color.c[1], 128 / 255.0f, 1e-6f);

  EXPECT_NE(parseGimpPalette("JASC-PAL\n", &entries), std::nullopt);
  EXPECT_NE(parseGimpPalette("GIMP Palettes are great\n1 2 3\n", &entries), std::nullopt);
  // A byte order mark, and CR or CRLF line endings.
  for (const char* text : {"\xEF\xBB\xBFGIMP Palette\n1 2 3 A\n4 5 6 B\n", "GIMP Palette\r1 2 3 A\r4 5 6 B\r",
                           "GIMP Palette \r\n1 2 3 A\r\n4 5 6 B"}) {
    entries.clear();
    ASSERT_EQ(parseGimpPalette(text, &entries), std::nullopt) << text;
    ASSERT_EQ(entries.size(), 2u) << text;
    EXPECT_EQ(entries[1].name, "B");
  }
  const auto error = parseGimpPalette("GIMP Palette\n12 300 4 Bad\n", &entries);
  ASSERT_TRUE(error);
  EXPECT_NE(error->find("line 2"), std::string::npos) << *error;
}

TEST(DocumentResources, GraphicStylesLoadFromJson) {
  std::vector<GraphicStyle> styles;
  ASSERT_EQ(parseGraphicStyles(R"({"styles": [
      {"name": "Plain"},
      {"name": "Red dash", "fill": {"on": false}, "stroke": {"color": {"kind": 5, "c": [1, 0, 0]}},
       "strokeWidth": 2.5, "opacity": 0.5, "dash": [4, 2]}]})",
                               ColorModel::Gray, &styles),
            std::nullopt);
  ASSERT_EQ(styles.size(), 2u);
  EXPECT_EQ(styles[0].paint, defaultStyle(ColorModel::Gray));
  EXPECT_FALSE(styles[1].paint.fillPaint);
  EXPECT_EQ(styles[1].paint.stroke, Color::rgb(1, 0, 0));
  EXPECT_EQ(styles[1].paint.strokeWidth, 2.5f);
  EXPECT_EQ(styles[1].opacity, 0.5f);
  EXPECT_EQ(styles[1].paint.dashCount, 2);

  EXPECT_NE(parseGraphicStyles("[{", ColorModel::Rgb, &styles), std::nullopt);
  EXPECT_NE(parseGraphicStyles("[]", ColorModel::Rgb, &styles), std::nullopt);
  const auto deep = parseGraphicStyles("{\"styles\": " + std::string(1000000, '[') + std::string(1000000, ']') + "}",
                                       ColorModel::Rgb, &styles);
  ASSERT_TRUE(deep);
  EXPECT_NE(deep->find("nested deeper than 64 levels"), std::string::npos) << *deep;
  EXPECT_NE(parseGraphicStyles(R"([{"strokeWidth": -1}])", ColorModel::Rgb, &styles), std::nullopt);
  EXPECT_NE(parseGraphicStyles(R"([{"fill": {"color": {"kind": 9}}}])", ColorModel::Rgb, &styles), std::nullopt);
}

// ---- Views ---------------------------------------------------------------------------------------

TEST(DocumentViews, ViewPointsMapThroughCentreAndZoomWithYFlipped) {
  Document d;
  const View& v = d.views()[0];
  EXPECT_EQ(v.centre, (Point{306, 396}));
  EXPECT_EQ(v.toArtwork(v.width / 2, v.height / 2), v.centre);
  ASSERT_EQ(d.setViewZoom(v.id, 2), Status::Ok);
  // 100 pixels right and 50 up on screen: 50 and 25 points at 200 %.
  EXPECT_EQ(v.toArtwork(v.width / 2 + 100, v.height / 2 - 50), (Point{356, 421}));
  int32_t h, vv;
  v.toView({356, 421}, &h, &vv);
  EXPECT_EQ(h, v.width / 2 + 100);
  EXPECT_EQ(vv, v.height / 2 - 50);
  EXPECT_EQ(d.setViewZoom(v.id, 0), Status::BadValue);
  EXPECT_EQ(d.setViewZoom(12345, 1), Status::NoSuchObject);
}
