#include "hostapp/model/document.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "hostapp/model/resources.h"

namespace host {

const char* statusName(Status s) {
  switch (s) {
    case Status::Ok: return "ok";
    case Status::NoSuchObject: return "no such object";
    case Status::WrongKind: return "wrong kind of object";
    case Status::BadIndex: return "bad index or count";
    case Status::TooManySegments: return "too many segments";
    case Status::BadValue: return "bad value";
    case Status::NotPlaced: return "art held by an envelope";
    case Status::OutOfMemory: return "out of memory";
  }
  return "unknown";
}

bool MemoryBudget::reserve(std::size_t bytes) {
  if (bytes > limit_ || used_ > limit_ - bytes) return false;
  used_ += bytes;
  return true;
}

void MemoryBudget::release(std::size_t bytes) { used_ -= std::min(bytes, used_); }

Point View::toArtwork(int32_t h, int32_t v) const {
  return {static_cast<float>(double(centre.x) + (double(h) - double(width) / 2) / double(zoom)),
          static_cast<float>(double(centre.y) - (double(v) - double(height) / 2) / double(zoom))};
}

void View::toView(Point p, int32_t* h, int32_t* v) const {
  *h = static_cast<int32_t>(std::lround((double(p.x) - double(centre.x)) * double(zoom) + double(width) / 2));
  *v = static_cast<int32_t>(std::lround(double(height) / 2 - (double(p.y) - double(centre.y)) * double(zoom)));
}

namespace {

bool finite(float v) { return std::isfinite(v); }

bool validColor(const Color& c) {
  const auto k = static_cast<int32_t>(c.kind);
  if (k < 0 || k > static_cast<int32_t>(ColorKind::None)) return false;
  return std::all_of(c.c.begin(), c.c.end(), finite);
}

bool validStyle(const Style& s) {
  if (!validColor(s.fill) || !validColor(s.stroke)) return false;
  if (!finite(s.strokeWidth) || s.strokeWidth < 0) return false;
  if (!finite(s.dashOffset) || !finite(s.miterLimit)) return false;
  if (s.dashCount < 0 || s.dashCount > static_cast<int32_t>(s.dashes.size())) return false;
  for (int32_t i = 0; i < s.dashCount; ++i)
    if (!finite(s.dashes[i]) || s.dashes[i] < 0) return false;
  return true;
}

float half(float v) { return static_cast<float>(double(v) / 2); }

}  // namespace

// ---- Construction ----------------------------------------------------------

Document::Document(const DocumentSettings& settings)
    : pageSize_(settings.pageSize),
      colorModel_(settings.colorModel),
      currentStyle_(defaultStyle(settings.colorModel)),
      budget_(settings.memoryBudget) {
  arts_.emplace_back();  // id 0 names no art
  layers_.push_back(Layer{nextObjectId(), "Layer 1", kNoArt, kNoArt, 0});
  currentLayer_ = layers_.back().id;
  layerNumber_ = 1;

  const Color registration = colorModel_ == ColorModel::Cmyk ? Color::cmyk(1, 1, 1, 1) : blackIn(colorModel_);
  swatches_.push_back(Swatch{nextObjectId(), "[None]", Color::none()});
  swatches_.push_back(Swatch{nextObjectId(), "[Registration]", registration});
  std::vector<PaletteEntry> palette{{"White", 1, 1, 1}, {"Black", 0, 0, 0}};
  for (const PaletteEntry& e : defaultPalette()) palette.push_back(e);
  replacePalette(palette);
  // White and black are exact in every model.
  swatches_[2].color = whiteIn(colorModel_);
  swatches_[3].color = blackIn(colorModel_);

  replaceGraphicStyles(builtInGraphicStyles(colorModel_));

  View view;
  view.id = nextObjectId();
  view.centre = settings.viewCentre.value_or(Point{half(pageSize_.x), half(pageSize_.y)});
  view.zoom = settings.viewZoom;
  view.width = settings.viewWidth;
  view.height = settings.viewHeight;
  views_.push_back(view);
}

Document::~Document() = default;

// ---- Lookup ----------------------------------------------------------------

const Layer* Document::layer(ObjectId id) const {
  for (const Layer& l : layers_)
    if (l.id == id) return &l;
  return nullptr;
}

Layer* Document::mutableLayer(ObjectId id) { return const_cast<Layer*>(std::as_const(*this).layer(id)); }

int Document::layerIndex(ObjectId id) const {
  for (std::size_t i = 0; i < layers_.size(); ++i)
    if (layers_[i].id == id) return static_cast<int>(i);
  return -1;
}

const Symbol* Document::symbol(ObjectId id) const {
  for (const Symbol& s : symbols_)
    if (s.id == id) return &s;
  return nullptr;
}

const Swatch* Document::swatch(ObjectId id) const {
  for (const Swatch& s : swatches_)
    if (s.id == id) return &s;
  return nullptr;
}

const GraphicStyle* Document::graphicStyle(ObjectId id) const {
  for (const GraphicStyle& s : graphicStyles_)
    if (s.id == id) return &s;
  return nullptr;
}

const View* Document::view(ObjectId id) const {
  for (const View& v : views_)
    if (v.id == id) return &v;
  return nullptr;
}

std::vector<ArtId> Document::paintOrder(ObjectId layerId) const {
  std::vector<ArtId> ids;
  forEachInPaintOrder(layerId, [&](const Art& a) { ids.push_back(a.id); });
  return ids;
}

// ---- Memory and undo bookkeeping -------------------------------------------

std::size_t Document::bytesFor(const Art& a) {
  return sizeof(Art) + a.state.segments.size() * sizeof(Segment) +
         a.state.envelope.contents.size() * sizeof(ArtId);
}

std::size_t Document::deepBytes(const Art& a) const {
  std::size_t bytes = bytesFor(a);
  if (a.kind == ArtKind::Envelope) {
    for (ArtId id : a.state.envelope.contents)
      if (const Art* c = art(id)) bytes += deepBytes(*c);
    if (const Art* s = art(a.state.envelope.shape)) bytes += deepBytes(*s);
  }
  return bytes;
}

bool Document::rechargeTo(Art& a, std::size_t bytes) {
  if (bytes > a.chargedBytes) {
    if (!budget_.reserve(bytes - a.chargedBytes)) return false;
  } else {
    budget_.release(a.chargedBytes - bytes);
  }
  a.chargedBytes = bytes;
  return true;
}

void Document::touch(Art& a) {
  if (a.createdScope == scope_ || a.savedScope == scope_) return;
  journal_.push_back({UndoEntry::Kind::SavedState, a.id, std::make_unique<ArtState>(a.state), {}, kNoObject});
  a.savedScope = scope_;
}

void Document::touchLinks(Art& a) { journal_.push_back({UndoEntry::Kind::SavedLinks, a.id, nullptr, a.links, kNoObject}); }

Art* Document::createArt(ArtKind kind, ArtState state) {
  auto a = std::make_unique<Art>();
  a->kind = kind;
  a->state = std::move(state);
  const std::size_t bytes = bytesFor(*a);
  if (!budget_.reserve(bytes)) return nullptr;
  a->chargedBytes = bytes;
  a->id = static_cast<ArtId>(arts_.size());
  a->createdScope = scope_;
  arts_.push_back(std::move(a));
  ++liveArt_;
  journal_.push_back({UndoEntry::Kind::CreatedArt, arts_.back()->id, nullptr, {}, kNoObject});
  return arts_.back().get();
}

void Document::destroyArt(ArtId id) {
  Art* a = mutableArt(id);
  if (!a) return;
  unlink(*a);
  budget_.release(a->chargedBytes);
  arts_[id].reset();
  --liveArt_;
}

void Document::beginMessage() {
  newPaths_ = 0;
  journal_.clear();
  ++scope_;
}

UndoStats Document::undoMessage() {
  newPaths_ = 0;
  UndoStats stats{journal_.size()};
  while (!journal_.empty()) {
    undoEntry(journal_.back());
    journal_.pop_back();
  }
  // Art saved before this undo must be saved again when it next changes.
  ++scope_;
  return stats;
}

void Document::undoEntry(UndoEntry& e) {
  switch (e.kind) {
    case UndoEntry::Kind::CreatedArt: destroyArt(e.id); break;
    case UndoEntry::Kind::SavedState: {
      Art* a = mutableArt(e.id);
      if (!a) break;
      std::swap(a->state, *e.state);
      const std::size_t bytes = bytesFor(*a);
      budget_.release(a->chargedBytes);
      budget_.charge(bytes);
      a->chargedBytes = bytes;
      break;
    }
    case UndoEntry::Kind::SavedLinks:
      if (Art* a = mutableArt(e.id)) relink(*a, e.links);
      break;
    case UndoEntry::Kind::InsertedLayer: {
      const int index = layerIndex(e.id);
      if (index >= 0) layers_.erase(layers_.begin() + index);
      currentLayer_ = e.previousLayer;
      --layerNumber_;
      break;
    }
    case UndoEntry::Kind::CreatedSymbol:
      if (!symbols_.empty() && symbols_.back().id == e.id) {
        budget_.release(symbols_.back().chargedBytes);
        symbols_.pop_back();
      }
      break;
  }
}

// ---- Paint order ---------------------------------------------------------------

void Document::insertBetween(Art& a, ObjectId layerId, ArtId below, ArtId above) {
  Layer* l = mutableLayer(layerId);
  a.links.layer = layerId;
  a.links.below = below;
  a.links.above = above;
  a.links.placed = true;
  if (below != kNoArt) mutableArt(below)->links.above = a.id;
  else l->bottom = a.id;
  if (above != kNoArt) mutableArt(above)->links.below = a.id;
  else l->top = a.id;
  ++l->artCount;
}

void Document::link(Art& a, ObjectId layerId, Placement placement, ArtId anchor) {
  const Layer* l = layer(layerId);
  switch (placement) {
    case Placement::AboveAll: insertBetween(a, layerId, l->top, kNoArt); break;
    case Placement::BelowAll: insertBetween(a, layerId, kNoArt, l->bottom); break;
    case Placement::Above: insertBetween(a, layerId, anchor, art(anchor)->links.above); break;
    case Placement::Below: insertBetween(a, layerId, art(anchor)->links.below, anchor); break;
  }
}

void Document::unlink(Art& a) {
  if (!a.links.placed) return;
  Layer* l = mutableLayer(a.links.layer);
  if (a.links.below != kNoArt) mutableArt(a.links.below)->links.above = a.links.above;
  else l->bottom = a.links.above;
  if (a.links.above != kNoArt) mutableArt(a.links.above)->links.below = a.links.below;
  else l->top = a.links.below;
  --l->artCount;
  a.links.placed = false;
  a.links.below = a.links.above = kNoArt;
}

void Document::relink(Art& a, const ArtLinks& saved) {
  unlink(a);
  a.links = saved;
  if (saved.placed) {
    a.links.placed = false;
    insertBetween(a, saved.layer, saved.below, saved.above);
  }
}

Status Document::resolvePlacement(Placement placement, ArtId reference, ObjectId* layerId,
                                  ArtId* anchor) const {
  switch (placement) {
    case Placement::AboveAll:
    case Placement::BelowAll:
      *layerId = currentLayer_;
      *anchor = kNoArt;
      return Status::Ok;
    case Placement::Above:
    case Placement::Below: {
      const Art* r = art(reference);
      if (!r) return Status::NoSuchObject;
      // Art held by an envelope is placed against the envelope.
      while (r->links.container != kNoArt) r = art(r->links.container);
      if (!r->links.placed) return Status::NotPlaced;
      *layerId = r->links.layer;
      *anchor = r->id;
      return Status::Ok;
    }
  }
  return Status::BadValue;
}

// ---- Layers ----------------------------------------------------------------------

Status Document::insertLayer(Placement placement, ObjectId reference, ObjectId* out) {
  std::size_t index = 0;
  switch (placement) {
    case Placement::AboveAll: index = layers_.size(); break;
    case Placement::BelowAll: index = 0; break;
    case Placement::Above:
    case Placement::Below: {
      const int ref = layerIndex(reference);
      if (ref < 0) return Status::NoSuchObject;
      index = static_cast<std::size_t>(ref) + (placement == Placement::Above ? 1 : 0);
      break;
    }
    default: return Status::BadValue;
  }
  Layer l{nextObjectId(), "Layer " + std::to_string(layerNumber_ + 1), kNoArt, kNoArt, 0};
  ++layerNumber_;
  layers_.insert(layers_.begin() + static_cast<std::ptrdiff_t>(index), l);
  journal_.push_back({UndoEntry::Kind::InsertedLayer, l.id, nullptr, {}, currentLayer_});
  currentLayer_ = l.id;
  *out = l.id;
  return Status::Ok;
}

// ---- Art creation ------------------------------------------------------------------

Status Document::newPath(Placement placement, ArtId reference, ArtId* id) {
  ObjectId layerId;
  ArtId anchor;
  if (Status s = resolvePlacement(placement, reference, &layerId, &anchor); s != Status::Ok) return s;
  ArtState state;
  state.style = currentStyle_;
  Art* a = createArt(ArtKind::Path, std::move(state));
  if (!a) return Status::OutOfMemory;
  link(*a, layerId, placement, anchor);
  *id = a->id;
  ++newPaths_;
  return Status::Ok;
}

Art* Document::copyArt(const Art& source) {
  ArtState state = source.state;
  if (source.kind == ArtKind::Envelope) {
    state.envelope.contents.clear();
    state.envelope.shape = kNoArt;
  }
  Art* copy = createArt(source.kind, std::move(state));
  if (!copy || source.kind != ArtKind::Envelope) return copy;
  const ArtId copyId = copy->id;  // createArt below may move the table
  std::vector<ArtId> contents;
  for (ArtId id : source.state.envelope.contents) {
    Art* c = copyArt(*art(id));
    c->links.container = copyId;
    contents.push_back(c->id);
  }
  Art* shape = copyArt(*art(source.state.envelope.shape));
  shape->links.container = copyId;
  Art* env = mutableArt(copyId);
  env->state.envelope.contents = std::move(contents);
  env->state.envelope.shape = shape->id;
  rechargeTo(*env, bytesFor(*env));  // fits: deepBytes counted it
  return env;
}

Status Document::duplicate(ArtId source, Placement placement, ArtId reference, ArtId* id) {
  const Art* src = art(source);
  if (!src) return Status::NoSuchObject;
  ObjectId layerId;
  ArtId anchor;
  if (Status s = resolvePlacement(placement, reference, &layerId, &anchor); s != Status::Ok) return s;
  const std::size_t bytes = deepBytes(*src);
  if (!budget_.reserve(bytes)) return Status::OutOfMemory;
  budget_.release(bytes);  // the copies below take it piece by piece
  Art* copy = copyArt(*src);
  link(*copy, layerId, placement, anchor);
  *id = copy->id;
  return Status::Ok;
}

Status Document::newShape(std::vector<Segment> segments, ArtId* id) {
  ArtState state;
  state.segments = std::move(segments);
  state.closed = true;
  state.style = currentStyle_;
  Art* a = createArt(ArtKind::Path, std::move(state));
  if (!a) return Status::OutOfMemory;
  link(*a, currentLayer_, Placement::AboveAll, kNoArt);
  *id = a->id;
  return Status::Ok;
}

Status Document::newCenteredRect(Point c, float width, float height, bool reversed, ArtId* id) {
  if (!finite(c.x) || !finite(c.y) || !finite(width) || !finite(height) || width < 0 || height < 0)
    return Status::BadValue;
  const float hw = half(width), hh = half(height);
  const float left = static_cast<float>(double(c.x) - hw), right = static_cast<float>(double(c.x) + hw);
  const float top = static_cast<float>(double(c.y) + hh), bottom = static_cast<float>(double(c.y) - hh);
  auto corner = [](float x, float y) { return Segment{{x, y}, {x, y}, {x, y}, true}; };
  std::vector<Segment> s{corner(left, top), corner(right, top), corner(right, bottom), corner(left, bottom)};
  if (reversed) std::reverse(s.begin() + 1, s.end());
  return newShape(std::move(s), id);
}

Status Document::newCenteredEllipse(Point c, float width, float height, bool reversed, ArtId* id) {
  if (!finite(c.x) || !finite(c.y) || !finite(width) || !finite(height) || width < 0 || height < 0)
    return Status::BadValue;
  constexpr double kKappa = 0.5523;
  const float rx = half(width), ry = half(height);
  const float kx = static_cast<float>(kKappa * rx), ky = static_cast<float>(kKappa * ry);
  auto at = [&](double dx, double dy) {
    return Point{static_cast<float>(double(c.x) + dx), static_cast<float>(double(c.y) + dy)};
  };
  // Counter-clockwise from the rightmost point; each anchor's out handle
  // leads to the next anchor.
  std::vector<Segment> s{
      {at(rx, 0), at(rx, -ky), at(rx, ky), false},
      {at(0, ry), at(kx, ry), at(-kx, ry), false},
      {at(-rx, 0), at(-rx, ky), at(-rx, -ky), false},
      {at(0, -ry), at(-kx, -ry), at(kx, -ry), false},
  };
  if (reversed) {
    std::reverse(s.begin() + 1, s.end());
    for (Segment& seg : s) std::swap(seg.in, seg.out);
  }
  return newShape(std::move(s), id);
}

// ---- Envelopes ---------------------------------------------------------------------

Status Document::makeEnvelope(std::span<const ArtId> contents, ArtId shape, int32_t deformOptions,
                              int32_t fidelity, ArtId* envelope) {
  if (contents.empty()) return Status::BadIndex;
  for (std::size_t i = 0; i < contents.size(); ++i) {
    const Art* a = art(contents[i]);
    if (!a) return Status::NoSuchObject;
    if (a->kind != ArtKind::Path) return Status::WrongKind;
    if (!a->links.placed) return Status::NotPlaced;
    if (contents[i] == shape) return Status::BadValue;
    for (std::size_t j = 0; j < i; ++j)
      if (contents[j] == contents[i]) return Status::BadValue;
  }
  if (Status s = checkPathArt(shape); s != Status::Ok) return s;
  if (!art(shape)->links.placed) return Status::NotPlaced;

  ArtState state;
  state.style = currentStyle_;
  state.envelope.contents.assign(contents.begin(), contents.end());
  state.envelope.shape = shape;
  state.envelope.deformOptions = deformOptions;
  state.envelope.fidelity = fidelity;
  Art* env = createArt(ArtKind::Envelope, std::move(state));
  if (!env) return Status::OutOfMemory;
  const Art* first = art(contents[0]);
  link(*env, first->links.layer, Placement::Above, first->id);
  auto take = [&](ArtId id) {
    Art* a = mutableArt(id);
    touchLinks(*a);
    unlink(*a);
    a->links.container = env->id;
  };
  for (ArtId id : contents) take(id);
  take(shape);
  *envelope = env->id;
  return Status::Ok;
}

Status Document::setWarp(ArtId envelope, const Warp& warp) {
  Art* env = mutableArt(envelope);
  if (!env) return Status::NoSuchObject;
  if (env->kind != ArtKind::Envelope) return Status::WrongKind;
  auto unit = [](float v) { return finite(v) && v >= -1 && v <= 1; };
  if (warp.style < 1 || warp.style > 15 || !unit(warp.bend) || !unit(warp.horizontal) ||
      !unit(warp.vertical))
    return Status::BadValue;
  touch(*env);
  env->state.envelope.warp = warp;
  return Status::Ok;
}

// ---- Geometry ------------------------------------------------------------------------

Status Document::bounds(ArtId id, Rect* rect) const {
  const Art* a = art(id);
  if (!a) return Status::NoSuchObject;
  if (a->kind == ArtKind::Envelope) return bounds(a->state.envelope.shape, rect);
  if (a->state.segments.empty()) return Status::BadIndex;
  *rect = segmentBounds(a->state.segments, a->state.closed);
  return Status::Ok;
}

namespace {

bool isIdentity(const Matrix& m) { return m.a == 1 && m.b == 0 && m.c == 0 && m.d == 1 && m.tx == 0 && m.ty == 0; }

// The identity's exact result: x * 1 + y * 0 + 0 is x for every finite x,
// except that -0 becomes +0, which adding +0 also does.
void applyIdentity(std::vector<Segment>& segments) {
  for (Segment& s : segments) {
    s.anchor = {s.anchor.x + 0.0f, s.anchor.y + 0.0f};
    s.in = {s.in.x + 0.0f, s.in.y + 0.0f};
    s.out = {s.out.x + 0.0f, s.out.y + 0.0f};
  }
}

// Writes the transformed path to `out`; false when a point leaves the float
// range (then `out` is partly written and the path itself untouched).
bool transformInto(const std::vector<Segment>& segments, const Matrix& m, std::vector<Segment>& out) {
  out.resize(segments.size());
  for (std::size_t i = 0; i < segments.size(); ++i) {
    const Segment& s = segments[i];
    Segment& t = out[i];
    t = s;
    t.anchor = m.apply(s.anchor);
    t.in = m.apply(s.in);
    t.out = m.apply(s.out);
    if (!isFinite(t)) return false;
  }
  return true;
}

}  // namespace

Status Document::transform(ArtId id, const Matrix& m, float lineScale, bool transformObjects,
                           bool scaleLines) {
  const Art* root = art(id);
  if (!root) return Status::NoSuchObject;
  if (!m.isFinite() || !finite(lineScale) || lineScale < 0) return Status::BadValue;
  // The paths affected: the art itself, or an envelope's shape and contents.
  std::vector<ArtId> paths;
  if (root->kind == ArtKind::Path) {
    paths.push_back(id);
  } else {
    paths = root->state.envelope.contents;
    paths.push_back(root->state.envelope.shape);
  }
  // A refused transform leaves every path as it was: each is transformed into
  // scratch and checked before any changes (one path, the usual case, is
  // then swapped in as it stands). The identity moves nothing but -0.
  const bool identity = isIdentity(m);
  const bool moves = transformObjects && !identity;
  if (moves)
    for (ArtId p : paths)
      if (!transformInto(art(p)->state.segments, m, scratch_)) return Status::BadValue;
  for (ArtId p : paths) {
    Art& a = *mutableArt(p);
    touch(a);
    if (moves) {
      if (paths.size() > 1) transformInto(a.state.segments, m, scratch_);
      a.state.segments.swap(scratch_);
    } else if (transformObjects) {
      applyIdentity(a.state.segments);
    }
    if (scaleLines) a.state.style.strokeWidth = static_cast<float>(double(a.state.style.strokeWidth) * lineScale);
  }
  return Status::Ok;
}

// ---- Paths -----------------------------------------------------------------------------

namespace {

// Every coordinate of the segments finite. One pass without an early exit
// and without a branch per coordinate: a whole path is checked at once.
bool allFinite(const Segment* in, int32_t count) {
  constexpr uint32_t kExponent = 0x7f800000u;
  const auto infiniteOrNaN = [](float v) { return (std::bit_cast<uint32_t>(v) & kExponent) == kExponent; };
  bool bad = false;
  for (int32_t i = 0; i < count; ++i) {
    const Segment& s = in[i];
    bad |= infiniteOrNaN(s.anchor.x) | infiniteOrNaN(s.anchor.y) | infiniteOrNaN(s.in.x) | infiniteOrNaN(s.in.y) |
           infiniteOrNaN(s.out.x) | infiniteOrNaN(s.out.y);
  }
  return !bad;
}

}  // namespace

Status Document::segmentCount(ArtId id, int32_t* count) const {
  Status s;
  const Art* a = path(id, &s);
  if (a) *count = static_cast<int32_t>(a->state.segments.size());
  return s;
}

Status Document::setSegmentCount(ArtId id, int32_t count) {
  Status s;
  Art* a = path(id, &s);
  if (!a) return s;
  if (count < 0) return Status::BadIndex;
  if (count > kMaxSegments) return Status::TooManySegments;
  auto& segs = a->state.segments;
  const std::size_t n = static_cast<std::size_t>(count);
  if (n == segs.size()) return Status::Ok;
  if (!rechargeTo(*a, bytesFor(*a) - segs.size() * sizeof(Segment) + n * sizeof(Segment)))
    return Status::OutOfMemory;
  touch(*a);
  segs.resize(n, segs.empty() ? Segment{} : segs.back());
  return Status::Ok;
}

Status Document::getSegments(ArtId id, int32_t index, int32_t count, Segment* out) const {
  Status s;
  const Art* a = path(id, &s);
  if (!a) return s;
  const auto size = static_cast<int64_t>(a->state.segments.size());
  if (index < 0 || count < 1 || int64_t{index} + count > size) return Status::BadIndex;
  std::copy_n(a->state.segments.begin() + index, count, out);
  return Status::Ok;
}

Status Document::setSegments(ArtId id, int32_t index, int32_t count, const Segment* in) {
  Status s;
  Art* a = path(id, &s);
  if (!a) return s;
  auto& segs = a->state.segments;
  const auto size = static_cast<int64_t>(segs.size());
  if (index < 0 || count < 1 || index > size) return Status::BadIndex;
  const int64_t end = int64_t{index} + count;
  if (end > kMaxSegments) return Status::TooManySegments;
  if (!allFinite(in, count)) return Status::BadValue;
  if (end > size) {
    const std::size_t extra = static_cast<std::size_t>(end - size) * sizeof(Segment);
    if (!rechargeTo(*a, a->chargedBytes + extra)) return Status::OutOfMemory;
  }
  touch(*a);
  // Segments inside the path are overwritten, the rest appended: the path
  // grows once, to the size the write asks for.
  const int32_t inside = static_cast<int32_t>(std::min<int64_t>(count, size - index));
  std::copy_n(in, inside, segs.begin() + index);
  if (inside < count) {
    if (segs.capacity() < static_cast<std::size_t>(end)) segs.reserve(std::max<std::size_t>(end, 2 * segs.size()));
    segs.insert(segs.end(), in + inside, in + count);
  }
  return Status::Ok;
}

Status Document::closed(ArtId id, bool* isClosed) const {
  Status s;
  const Art* a = path(id, &s);
  if (a) *isClosed = a->state.closed;
  return s;
}

Status Document::setClosed(ArtId id, bool isClosed) {
  Status s;
  Art* a = path(id, &s);
  if (!a) return s;
  if (a->state.closed == isClosed) return Status::Ok;
  touch(*a);
  a->state.closed = isClosed;
  return Status::Ok;
}

// ---- Paint -------------------------------------------------------------------------------

Status Document::style(ArtId id, Style* out) const {
  Status s;
  const Art* a = path(id, &s);
  if (a) *out = a->state.style;
  return s;
}

Status Document::setStyle(ArtId id, const Style& style) {
  Status s;
  Art* a = path(id, &s);
  if (!a) return s;
  if (!validStyle(style)) return Status::BadValue;
  touch(*a);
  a->state.style = style;
  return Status::Ok;
}

Status Document::opacity(ArtId id, float* out) const {
  const Art* a = art(id);
  if (!a) return Status::NoSuchObject;
  *out = a->state.opacity;
  return Status::Ok;
}

Status Document::setOpacity(ArtId id, float o) {
  Art* a = mutableArt(id);
  if (!a) return Status::NoSuchObject;
  if (std::isnan(o)) return Status::BadValue;
  touch(*a);
  a->state.opacity = std::clamp(o, 0.0f, 1.0f);
  return Status::Ok;
}

Status Document::applyGraphicStyle(ArtId id, ObjectId styleId) {
  Status s;
  Art* a = path(id, &s);
  if (!a) return s;
  const GraphicStyle* g = graphicStyle(styleId);
  if (!g) return Status::NoSuchObject;
  touch(*a);
  const auto reserved = a->state.style.reserved;
  a->state.style = g->paint;
  a->state.style.reserved = reserved;
  a->state.opacity = g->opacity;
  return Status::Ok;
}

Status Document::setTag(ArtId id, const std::string& name, const std::string& value) {
  Art* a = mutableArt(id);
  if (!a) return Status::NoSuchObject;
  touch(*a);
  for (auto& [n, v] : a->state.tags) {
    if (n == name) {
      v = value;
      return Status::Ok;
    }
  }
  a->state.tags.emplace_back(name, value);
  return Status::Ok;
}

Status Document::tag(ArtId id, const std::string& name, std::string* value) const {
  const Art* a = art(id);
  if (!a) return Status::NoSuchObject;
  for (const auto& [n, v] : a->state.tags) {
    if (n == name) {
      *value = v;
      return Status::Ok;
    }
  }
  return Status::BadValue;
}

// ---- Symbols -------------------------------------------------------------------------------

void Document::collectPaths(const Art& a, std::vector<SymbolPath>& out) const {
  if (a.kind == ArtKind::Path) {
    out.push_back(SymbolPath{a.state.segments, a.state.closed, a.state.style, a.state.opacity});
    return;
  }
  for (ArtId id : a.state.envelope.contents) collectPaths(*art(id), out);
}

Status Document::newSymbol(ArtId source, ObjectId* id) {
  const Art* a = art(source);
  if (!a) return Status::NoSuchObject;
  Symbol symbol;
  collectPaths(*a, symbol.paths);
  std::size_t bytes = sizeof(Symbol);
  for (const SymbolPath& p : symbol.paths) bytes += sizeof(SymbolPath) + p.segments.size() * sizeof(Segment);
  if (!budget_.reserve(bytes)) return Status::OutOfMemory;
  symbol.id = nextObjectId();
  symbol.name = "Symbol " + std::to_string(symbols_.size() + 1);
  symbol.source = source;
  symbol.chargedBytes = bytes;
  symbols_.push_back(std::move(symbol));
  journal_.push_back({UndoEntry::Kind::CreatedSymbol, symbols_.back().id, nullptr, {}, kNoObject});
  *id = symbols_.back().id;
  return Status::Ok;
}

// ---- Swatches, styles, views -------------------------------------------------------------------

void Document::replacePalette(const std::vector<PaletteEntry>& entries) {
  swatches_.resize(std::min<std::size_t>(swatches_.size(), 2));
  for (const PaletteEntry& e : entries)
    swatches_.push_back(Swatch{nextObjectId(), e.name, fromRgb(e.r, e.g, e.b, colorModel_)});
}

void Document::replaceGraphicStyles(std::vector<GraphicStyle> styles) {
  graphicStyles_ = std::move(styles);
  for (GraphicStyle& s : graphicStyles_) s.id = nextObjectId();
}

Status Document::setViewZoom(ObjectId id, float zoom) {
  for (View& v : views_) {
    if (v.id != id) continue;
    if (!finite(zoom) || zoom <= 0 || zoom > 64) return Status::BadValue;
    v.zoom = zoom;
    return Status::Ok;
  }
  return Status::NoSuchObject;
}

}  // namespace host
