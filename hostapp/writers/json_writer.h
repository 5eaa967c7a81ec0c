// The JSON dump of a document, a contract that scripts and tools read:
//   "page": [W, H], "colorModel": "gray" | "rgb" | "cmyk",
//   "art": every path on the page in paint order, bottom layer first (the
//          paths an envelope holds stand where the envelope stands and carry
//          "envelope": its id),
//   "layers", "symbols" (each with its paths), "envelopes" (each with its
//   shape, warp numbers and the ids of the art it holds).
// The caller adds the run's own keys ("record", "result", ...). Coordinates
// are the float32 values the host holds, printed in their shortest form that
// reads back to the same float32.
#pragma once

#include <nlohmann/json.hpp>

#include "hostapp/model/document.h"

namespace writers {

nlohmann::json documentToJson(const host::Document& document);

// A float32 as a JSON number that reads back to exactly that float32
// (null when it is not finite).
nlohmann::json exactNumber(float value);

}  // namespace writers
