// What the extension reads of the document an editor hands it, and how the
// spirals go in: the page (width, height and viewBox, any unit), the bounds
// of a selected element, and the new layer spliced in as text before the
// root's end tag, so that every byte outside it stays as it was.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "hostapp/model/geometry.h"
#include "hostapp/model/objects.h"

namespace inkscape {

// A document the extension cannot work on; the message is one line.
class DocumentError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The page: its size in points, and the user units' box (the viewBox, or
// the page in CSS pixels when there is none).
struct PageGeometry {
  host::Point sizePoints;
  double viewX = 0, viewY = 0, viewWidth = 0, viewHeight = 0;
};

// A length with its unit ("210mm", "612pt", "800", "11in") in points; a
// number alone is CSS pixels (0.75 pt). Percentages and unknown units throw.
double lengthInPoints(std::string_view text);

// The root <svg>'s page. A missing width or height takes the viewBox's
// (in pixels); with neither, the document is refused.
PageGeometry readPage(std::string_view svg);

// The bounds, in user units, of the element with this id: rect, circle,
// ellipse, line, and path (its points and control points); transforms on
// it or around it are not followed. Nothing for another element, one
// without an id match, or one with a transform.
struct Bounds {
  double left, top, right, bottom;
};
std::optional<Bounds> elementBounds(std::string_view svg, std::string_view id);

// A user-unit point of the document as a host page point (points, y up).
host::Point toHostPoint(const PageGeometry& page, double x, double y);
// The transform from the host's page, as its SVG writer draws it (points,
// origin top left), to the document's user units: "matrix(a 0 0 d e f)".
std::string hostToUserTransform(const PageGeometry& page);

// `svg` with `element` inserted right before the root element's end tag.
// Throws DocumentError when the root does not end the document.
std::string spliceBeforeRootEnd(std::string_view svg, std::string_view element);

// The document's swatches, as Inkscape keeps them: a gradient marked
// `inkscape:swatch="solid"` (or the older `osb:paint="solid"`) whose first
// stop's colour is `#rrggbb` or `#rgb`, in its `stop-color` attribute or
// style. Named by the gradient's label, else its id; empty when there are
// none or the document cannot be read.
std::vector<host::PaletteEntry> readSwatches(std::string_view svg);

// An id prefix no id of `svg` starts with ("spiral1-", "spiral2-", ...).
std::string freeIdPrefix(std::string_view svg);

}  // namespace inkscape
