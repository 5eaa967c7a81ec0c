// The stand-in host's document: page, colour model, layers, art in paint
// order, symbols, swatches, graphic styles, views, undo and the memory
// budget. Plain C++; the suite adapters in hostapp/suites translate the C
// interface to these calls, and the writers read the model only.
//
// Every operation that can fail returns a Status and changes nothing when it
// fails. Art is named by id; a removed art's id is never reused, so a stale id
// is always told apart from a live one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "hostapp/model/objects.h"
#include "hostapp/model/page.h"

namespace host {

enum class Status {
  Ok,
  NoSuchObject,     // unknown, removed or foreign id
  WrongKind,        // e.g. a path operation on an envelope
  BadIndex,         // segment index or count out of range
  TooManySegments,  // would go beyond kMaxSegments
  BadValue,         // non-finite or out-of-range number, bad placement
  NotPlaced,        // the art is held by an envelope and cannot be used so
  OutOfMemory,      // the memory budget would be exceeded
};

const char* statusName(Status s);

// Bytes the model may hold. The document charges its art and symbols; the
// host charges its memory handles and blocks to the same budget.
class MemoryBudget {
 public:
  explicit MemoryBudget(std::size_t limit) : limit_(limit) {}
  // Takes `bytes` if they fit; false (and nothing taken) otherwise.
  bool reserve(std::size_t bytes);
  // Takes `bytes` even beyond the limit (undo restoring earlier state).
  void charge(std::size_t bytes) { used_ += bytes; }
  void release(std::size_t bytes);
  std::size_t used() const { return used_; }
  std::size_t limit() const { return limit_; }
  void setLimit(std::size_t limit) { limit_ = limit; }

 private:
  std::size_t limit_;
  std::size_t used_ = 0;
};

inline constexpr std::size_t kDefaultMemoryBudget = std::size_t{2} << 30;  // 2 GiB

struct DocumentSettings {
  Point pageSize = kDefaultPageSize;
  ColorModel colorModel = ColorModel::Rgb;
  std::size_t memoryBudget = kDefaultMemoryBudget;
  std::optional<Point> viewCentre;  // default: the page centre
  float viewZoom = 1;
  int32_t viewWidth = 1024;
  int32_t viewHeight = 768;
};

// What the last undo did, for tests of its cost.
struct UndoStats {
  std::size_t entries = 0;  // journal entries taken back
};

class Document {
 public:
  explicit Document(const DocumentSettings& settings = {});
  ~Document();
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  // ---- Page ----------------------------------------------------------------
  Point pageSize() const { return pageSize_; }
  ColorModel colorModel() const { return colorModel_; }
  // The style new art takes (see defaultStyle).
  const Style& currentStyle() const { return currentStyle_; }

  // ---- Layers ----------------------------------------------------------------
  // Bottom first. A document starts with one layer, "Layer 1".
  const std::vector<Layer>& layers() const { return layers_; }
  const Layer* layer(ObjectId id) const;
  int layerIndex(ObjectId id) const;  // -1 when unknown
  // The layer that receives new art: the one inserted last.
  ObjectId currentLayer() const { return currentLayer_; }
  // Inserts "Layer n" by AboveAll/BelowAll, or Above/Below the reference
  // layer; it becomes the current layer.
  Status insertLayer(Placement placement, ObjectId reference, ObjectId* layer);

  // ---- Art -------------------------------------------------------------------
  const Art* art(ArtId id) const { return id < arts_.size() ? arts_[id].get() : nullptr; }
  // Art of a layer in paint order, bottom first (envelopes stand for the art
  // they hold). Cost: the layer's art count.
  std::vector<ArtId> paintOrder(ObjectId layer) const;
  template <typename F>
  void forEachInPaintOrder(ObjectId layerId, F&& f) const {
    const Layer* l = layer(layerId);
    for (ArtId id = l ? l->bottom : kNoArt; id != kNoArt; id = art(id)->links.above) f(*art(id));
  }
  std::size_t liveArtCount() const { return liveArt_; }
  // Paths made by newPath since the message began or was last undone: the
  // spirals a drawing run has started (progress reports).
  std::uint64_t newPathsSinceUndo() const { return newPaths_; }

  // A new empty open path with the current style, placed by `placement`
  // (Above/Below need `reference`, AboveAll/BelowAll ignore it).
  Status newPath(Placement placement, ArtId reference, ArtId* id);
  // A copy of the art (geometry, closed flag, style, opacity; an envelope
  // with copies of what it holds), placed as newPath places. A reference
  // held by an envelope is placed against that envelope.
  Status duplicate(ArtId source, Placement placement, ArtId reference, ArtId* id);
  // Tight curve bounds (stroke not included). An envelope gives its shape's
  // bounds; an empty path has none (BadIndex).
  Status bounds(ArtId id, Rect* rect) const;
  // Applies the matrix to every anchor and handle (an envelope's shape and
  // art too). The stroke width is multiplied by lineScale only when
  // scaleLines; geometry changes only when transformObjects.
  Status transform(ArtId id, const Matrix& m, float lineScale, bool transformObjects, bool scaleLines);

  // ---- Paths (index rules: 0 <= index, count >= 1, at most kMaxSegments) -------
  Status segmentCount(ArtId id, int32_t* count) const;
  // Truncates, or extends with copies of the last segment (zero segments
  // when empty).
  Status setSegmentCount(ArtId id, int32_t count);
  Status getSegments(ArtId id, int32_t index, int32_t count, Segment* out) const;
  // Writes from `index` on; an index up to the segment count is allowed, so
  // writing at one past the end appends. Non-finite coordinates are refused.
  Status setSegments(ArtId id, int32_t index, int32_t count, const Segment* in);
  Status closed(ArtId id, bool* isClosed) const;
  Status setClosed(ArtId id, bool isClosed);

  // ---- Paint -------------------------------------------------------------------
  Status style(ArtId id, Style* s) const;
  // Refuses non-finite numbers, a negative width or a dash count outside 0..6.
  Status setStyle(ArtId id, const Style& s);
  Status opacity(ArtId id, float* o) const;
  // Clamped to [0, 1]; NaN refused.
  Status setOpacity(ArtId id, float o);
  // Sets the style's paint, width, dash and opacity on a path.
  Status applyGraphicStyle(ArtId id, ObjectId styleId);
  Status setTag(ArtId id, const std::string& name, const std::string& value);
  Status tag(ArtId id, const std::string& name, std::string* value) const;

  // ---- Shapes and envelopes -------------------------------------------------
  // Closed paths with the current style, placed above all. The rectangle
  // runs from its top left corner clockwise (counter-clockwise when
  // reversed); the ellipse starts at its rightmost point, counter-clockwise
  // (clockwise when reversed), four arcs with handles kappa = 0.5523 of the
  // radii.
  Status newCenteredRect(Point centre, float width, float height, bool reversed, ArtId* id);
  Status newCenteredEllipse(Point centre, float width, float height, bool reversed, ArtId* id);
  // Puts placed, distinct paths into a new envelope placed directly above
  // the first of them; the shape (a placed path, not among them) is consumed.
  // Both leave the paint order and keep their ids.
  Status makeEnvelope(std::span<const ArtId> contents, ArtId shape, int32_t deformOptions,
                      int32_t fidelity, ArtId* envelope);
  // Style 1..15, bend and distortions in [-1, 1].
  Status setWarp(ArtId envelope, const Warp& warp);

  // ---- Symbols ---------------------------------------------------------------
  const std::vector<Symbol>& symbols() const { return symbols_; }
  const Symbol* symbol(ObjectId id) const;
  // A new symbol "Symbol n" holding a copy of the art's paths.
  Status newSymbol(ArtId source, ObjectId* id);

  // ---- Swatches --------------------------------------------------------------
  // Index 0 "[None]", 1 "[Registration]", then white, black and a palette,
  // in the document's colour model.
  const std::vector<Swatch>& swatches() const { return swatches_; }
  const Swatch* swatch(ObjectId id) const;
  // Replaces every swatch from index 2 on with these entries, converted to
  // the document's colour model.
  void replacePalette(const std::vector<PaletteEntry>& entries);

  // ---- Graphic styles ----------------------------------------------------------
  // Index 0 the default style, then the built-in looks.
  const std::vector<GraphicStyle>& graphicStyles() const { return graphicStyles_; }
  const GraphicStyle* graphicStyle(ObjectId id) const;
  void replaceGraphicStyles(std::vector<GraphicStyle> styles);  // ids are assigned here

  // ---- Views -------------------------------------------------------------------
  const std::vector<View>& views() const { return views_; }
  const View* view(ObjectId id) const;
  Status setViewZoom(ObjectId id, float zoom);  // finite, > 0 and <= 64

  // ---- Redraw ------------------------------------------------------------------
  void requestRedraw() { ++redrawCount_; }
  std::uint64_t redrawCount() const { return redrawCount_; }

  // ---- Undo --------------------------------------------------------------------
  // Starts the undo scope of a new host message: undoMessage() then takes
  // back only what changed after this call.
  void beginMessage();
  // Takes back every change since beginMessage() (or since the last undo of
  // the same message), newest first. Its cost grows with what it undoes.
  UndoStats undoMessage();
  std::size_t pendingUndoEntries() const { return journal_.size(); }

  // ---- Memory --------------------------------------------------------------------
  MemoryBudget& memory() { return budget_; }
  const MemoryBudget& memory() const { return budget_; }

 private:
  // One step of the undo journal: what to do to take a change back.
  struct UndoEntry {
    enum class Kind { CreatedArt, SavedState, SavedLinks, InsertedLayer, CreatedSymbol } kind;
    std::uint32_t id = 0;                // the art, layer or symbol
    std::unique_ptr<ArtState> state;     // SavedState
    ArtLinks links;                      // SavedLinks
    ObjectId previousLayer = kNoObject;  // InsertedLayer: the current layer before
  };

  // Inline: every suite call on a path looks its art up.
  Art* mutableArt(ArtId id) { return id < arts_.size() ? arts_[id].get() : nullptr; }
  Status checkPathArt(ArtId id) const {
    const Art* a = art(id);
    if (!a) return Status::NoSuchObject;
    return a->kind == ArtKind::Path ? Status::Ok : Status::WrongKind;
  }
  Art* path(ArtId id, Status* status) {
    *status = checkPathArt(id);
    return *status == Status::Ok ? mutableArt(id) : nullptr;
  }
  const Art* path(ArtId id, Status* status) const {
    *status = checkPathArt(id);
    return *status == Status::Ok ? art(id) : nullptr;
  }
  // Saves the art's state once per undo scope, before its first change.
  void touch(Art& a);
  // Saves the art's links before a paint-order change.
  void touchLinks(Art& a);
  static std::size_t bytesFor(const Art& a);
  // Sets the art's charge to `bytes` ahead of a change; false (nothing
  // changed) when the growth does not fit the budget.
  bool rechargeTo(Art& a, std::size_t bytes);
  // Null when the budget does not hold it.
  Art* createArt(ArtKind kind, ArtState state);
  std::size_t deepBytes(const Art& a) const;
  Layer* mutableLayer(ObjectId id);
  void insertBetween(Art& a, ObjectId layer, ArtId below, ArtId above);
  Status resolvePlacement(Placement placement, ArtId reference, ObjectId* layer, ArtId* anchor) const;
  void link(Art& a, ObjectId layer, Placement placement, ArtId anchor);
  void unlink(Art& a);
  void relink(Art& a, const ArtLinks& saved);
  void destroyArt(ArtId id);
  Art* copyArt(const Art& source);
  Status newShape(std::vector<Segment> segments, ArtId* id);
  void collectPaths(const Art& a, std::vector<SymbolPath>& out) const;
  void undoEntry(UndoEntry& e);
  ObjectId nextObjectId() { return nextObjectId_++; }

  Point pageSize_;
  ColorModel colorModel_;
  Style currentStyle_;
  MemoryBudget budget_;
  std::vector<std::unique_ptr<Art>> arts_;  // indexed by id; null once removed
  std::vector<Segment> scratch_;            // transform's output, swapped in
  std::size_t liveArt_ = 0;
  std::uint64_t newPaths_ = 0;
  std::vector<Layer> layers_;
  ObjectId currentLayer_ = kNoObject;
  int layerNumber_ = 0;
  std::vector<Symbol> symbols_;
  std::vector<Swatch> swatches_;
  std::vector<GraphicStyle> graphicStyles_;
  std::vector<View> views_;
  std::uint64_t redrawCount_ = 0;
  ObjectId nextObjectId_ = 1;
  std::uint64_t scope_ = 1;
  std::vector<UndoEntry> journal_;
};

}  // namespace host
