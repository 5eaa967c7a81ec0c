// The swatches and graphic styles a new document starts with, and the
// parsers of what replaces them: a GIMP palette (.gpl) for the swatches and
// a JSON list for the graphic styles.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hostapp/model/objects.h"

namespace host {

// The built-in palette that follows white and black in a new document's
// swatch list: 24 named sRGB colours.
const std::vector<PaletteEntry>& defaultPalette();

// Index 0 "[Default]" (the style of new art), then ten clearly different
// looks, in the given colour model. Ids are left 0 (the document assigns
// them).
std::vector<GraphicStyle> builtInGraphicStyles(ColorModel model);

// Reads a GIMP palette: the "GIMP Palette" line, optional "Name:" and
// "Columns:" lines and '#' comments, then one "R G B name" line (0..255) per
// colour. Returns an error text naming the line on failure.
std::optional<std::string> parseGimpPalette(std::string_view text, std::vector<PaletteEntry>* out);

// Reads graphic styles from JSON: an array, or an object with a "styles"
// array, of
//   { "name": "...", "fill": {"on": bool, "color": {"kind": k, "c": [...]}},
//     "stroke": {...}, "strokeWidth": w, "opacity": o, "dash": [lengths],
//     "dashOffset": d }
// Colour kinds are the host codes (0 gray, 1 four-colour, 5 three-colour,
// 6 none). Missing members take the default style's values.
std::optional<std::string> parseGraphicStyles(std::string_view json, ColorModel model,
                                              std::vector<GraphicStyle>* out);

// "arc", "arc lower", ... for warp styles 1..15; "none" otherwise.
const char* warpStyleName(int32_t style);

}  // namespace host
