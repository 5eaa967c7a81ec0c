// The drawing as the page paints it when it is large: a compact binary form
// read straight from the document model, sent in pieces the page paints as
// they arrive. Little-endian, every field four bytes wide (so the page reads
// the coordinates as a Float32Array without shifting them):
//
//   header  "SPD1", u32 serial, f32 page width, f32 page height,
//           u32 paths, u32 segments, u32 total bytes, u32 0
//   a path  u32 flags (bit 0 closed, bit 1 filled, bit 2 stroked,
//           bits 8..15 the dash count), u32 fill RGBA, u32 stroke RGBA
//           (bytes R, G, B, 255), f32 stroke width, f32 opacity,
//           f32 dash offset, f32 dashes[dash count], u32 segment count,
//           f32 segments[count][6] (in x, in y, anchor x, anchor y,
//           out x, out y), in artwork coordinates (y up)
//
// Paths are in paint order, layer by layer, as the SVG writer writes them;
// an envelope gives its held art flattened through its warp (straight
// pieces). Symbol definitions are not placed and are left out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "hostapp/model/document.h"

namespace server {

inline constexpr char kDrawingMagic[4] = {'S', 'P', 'D', '1'};
inline constexpr std::size_t kDrawingHeaderBytes = 32;

struct DrawingSummary {
  std::uint64_t paths = 0;
  std::uint64_t segments = 0;
  std::uint64_t bytes = 0;  // the whole form, header included
  std::vector<std::uint64_t> layerPaths;  // the paths of each layer, bottom first
};

DrawingSummary summarizeDrawing(const host::Document& doc);

// Where the next piece starts: a layer (by position) and the art in its paint
// order to go on from (kNoArt: the layer's bottom). {0, kNoArt} is the start,
// whose piece begins with the header.
struct DrawingCursor {
  std::uint32_t layer = 0;
  host::ArtId art = host::kNoArt;
  bool atStart() const { return layer == 0 && art == host::kNoArt; }
};

// The next piece from `cursor`: whole paths until it holds `budget` bytes or
// the drawing ends. `cursor` moves past them; `done` tells the end.
std::string drawingPiece(const host::Document& doc, std::uint32_t serial, const DrawingSummary& summary,
                         DrawingCursor& cursor, std::size_t budget, bool& done);

}  // namespace server
