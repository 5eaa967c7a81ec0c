// The objects a document holds besides its page: art (paths and envelopes),
// layers, symbols, swatches, graphic styles and views. Everything is named by
// a document-unique id; 0 is never an id.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "hostapp/model/color.h"
#include "hostapp/model/geometry.h"

namespace host {

using ArtId = std::uint32_t;
using ObjectId = std::uint32_t;  // layers, symbols, swatches, styles, views
inline constexpr ArtId kNoArt = 0;
inline constexpr ObjectId kNoObject = 0;

// Segment indices are signed 16-bit on the host interface.
inline constexpr int32_t kMaxSegments = 32767;

// Art kinds; the values are the host codes.
enum class ArtKind : int16_t { Path = 2, Envelope = 20 };

// Where new or duplicated art goes; the values are the host codes.
enum class Placement : int16_t {
  Above = 1,     // directly over the reference
  Below = 2,     // directly under the reference
  AboveAll = 5,  // top of the layer that receives new art
  BelowAll = 6,  // bottom of the layer that receives new art
};

// An envelope warp: style 1..15 (0 = the plain shape distortion), bend and
// distortions in [-1, 1].
struct Warp {
  int32_t style = 0;
  float bend = 0;
  float horizontal = 0;
  float vertical = 0;
  bool rotate = false;
  friend bool operator==(const Warp&, const Warp&) = default;
};

// An envelope: the art it holds (in the order given), the shape it consumed
// and its warp. The held art and the shape are not in any paint order; they
// keep their ids and can still be read and changed.
struct EnvelopeData {
  std::vector<ArtId> contents;
  ArtId shape = kNoArt;
  int32_t deformOptions = 0;
  int32_t fidelity = 50;
  Warp warp;
};

// The value of an art object: what undo saves and restores.
struct ArtState {
  std::vector<Segment> segments;  // paths
  bool closed = false;
  Style style;
  float opacity = 1;
  EnvelopeData envelope;  // envelopes
  std::vector<std::pair<std::string, std::string>> tags;
};

// Where an art object sits. Paint order is a doubly linked list per layer
// (bottom to top), so art is inserted and taken out in constant time.
struct ArtLinks {
  ObjectId layer = kNoObject;
  ArtId below = kNoArt;      // next art down in the paint order
  ArtId above = kNoArt;      // next art up in the paint order
  bool placed = false;       // in its layer's paint order
  ArtId container = kNoArt;  // the envelope holding it (then not placed)
};

struct Art {
  ArtId id = kNoArt;
  ArtKind kind = ArtKind::Path;
  ArtState state;
  ArtLinks links;
  std::size_t chargedBytes = 0;  // what the memory budget counts for it
  std::uint64_t createdScope = 0;
  std::uint64_t savedScope = 0;  // undo scope in which its state was last saved
};

struct Layer {
  ObjectId id = kNoObject;
  std::string name;
  ArtId bottom = kNoArt;
  ArtId top = kNoArt;
  std::size_t artCount = 0;  // art in its paint order
};

// A symbol definition: a copy of the paths of the art it was made from (an
// envelope gives the paths it holds).
struct SymbolPath {
  std::vector<Segment> segments;
  bool closed = false;
  Style style;
  float opacity = 1;
};

struct Symbol {
  ObjectId id = kNoObject;
  std::string name;
  ArtId source = kNoArt;  // the art it was defined from
  std::vector<SymbolPath> paths;
  std::size_t chargedBytes = 0;
};

// A palette colour as loaders read it: a name and sRGB components 0..1.
struct PaletteEntry {
  std::string name;
  float r = 0, g = 0, b = 0;
};

struct Swatch {
  ObjectId id = kNoObject;
  std::string name;
  Color color;
};

// A graphic style: what applying it sets on a path.
struct GraphicStyle {
  ObjectId id = kNoObject;
  std::string name;
  Style paint;  // fill, stroke, width and dash
  float opacity = 1;
};

// A window onto the document. View points are pixels of the window, (0, 0)
// at its top left corner, y downwards; the window's middle shows `centre`:
//   artwork x = centre.x + (h - width / 2) / zoom
//   artwork y = centre.y - (v - height / 2) / zoom
// and back, rounded to the nearest pixel.
struct View {
  ObjectId id = kNoObject;
  Point centre;
  float zoom = 1;
  int32_t width = 1024;
  int32_t height = 768;

  Point toArtwork(int32_t h, int32_t v) const;
  void toView(Point p, int32_t* h, int32_t* v) const;
};

}  // namespace host
