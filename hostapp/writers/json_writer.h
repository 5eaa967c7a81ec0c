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
//
// The dump is streamed: no JSON tree or string of the document is built, so
// writing it takes little memory beyond the document's own. Its bytes are
// those nlohmann::json::dump(1) gives for the same tree: keys in name order,
// one-blank indents.
#pragma once

#include <nlohmann/json.hpp>
#include <ostream>

#include "hostapp/model/document.h"

namespace writers {

// Writes the document's keys merged in name order with the keys of `extra`
// (a JSON object of small values; a key of both is written from `extra`).
// No newline follows the closing brace. The caller checks the stream.
void writeDocumentJson(const host::Document& document, const nlohmann::json& extra, std::ostream& out);

// A float32 as a JSON number that reads back to exactly that float32
// (null when it is not finite).
nlohmann::json exactNumber(float value);

}  // namespace writers
