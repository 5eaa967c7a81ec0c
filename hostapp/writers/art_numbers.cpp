#include "hostapp/writers/art_numbers.h"

namespace writers {

ArtNumbers::ArtNumbers(const host::Document& document) {
  for (const host::Layer& layer : document.layers()) {
    document.forEachInPaintOrder(layer.id, [&](const host::Art& a) {
      if (a.kind == host::ArtKind::Envelope) {
        // Envelopes do not nest: what they hold and their shape are paths.
        for (host::ArtId id : a.state.envelope.contents) number(id);
        number(a.state.envelope.shape);
      }
      number(a.id);
    });
  }
}

void ArtNumbers::number(host::ArtId id) {
  if (id == host::kNoArt) return;
  if (id >= numbers_.size()) numbers_.resize(id + 1, 0);
  if (numbers_[id] == 0) numbers_[id] = next_++;
}

}  // namespace writers
