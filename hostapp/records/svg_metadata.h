// What a drawing's SVG records so that it can be re-made: the record (every
// field by name, as record files write it), the seed of the host's random
// service, the page size, the colour model, and the plug-in's name and
// version. The SVG writer stores the text in its <metadata> element;
// `spiral-host draw --params drawing.svg` reads it back.
//
// The text is one JSON object:
//   {"format": "spiral-drawing", "version": 1, "record": {...}, "seed": N,
//    "page": [W, H], "colorModel": "rgb", "plugin": {"name": ..., "version": ...}}
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "hostapp/model/color.h"
#include "hostapp/model/geometry.h"
#include "hostapp/model/page.h"
#include "params/record/spiral_parameters.h"

namespace records {

struct DrawingMetadata {
  SpiralParameters record{};
  std::uint64_t seed = 0;
  host::Point page = host::kDefaultPageSize;
  host::ColorModel colorModel = host::ColorModel::Rgb;
  std::string pluginName;
  std::string pluginVersion;
};

// The metadata as one line of JSON.
std::string metadataText(const DrawingMetadata& metadata);

// True when the file's text looks like XML naming an <svg> element (a byte
// order mark and blanks may come first), which record files never do;
// readSvgMetadata checks the rest.
bool looksLikeSvg(std::string_view text);

// Reads the metadata back from an SVG's text (the whole file or its head).
// The text is read as XML: the document's root is <svg>, and exactly one
// <metadata> element (in any namespace prefix, attributes in any order and
// quoting) has the id "spiral-drawing"; its text may use entity and
// character references and CDATA. The JSON in it is bounded in size and
// depth and names no member twice. Throws RecordError, whose message names
// `path`, when the SVG has none of ours or it is damaged: every field of the
// record, the seed, page and colour model must be there and valid.
DrawingMetadata readSvgMetadata(std::string_view svg, const std::string& path);

}  // namespace records
