// The numbers outputs give art: 1, 2, ... in document order, so that the
// same drawing is written with the same ids whatever art was made and undone
// before it (the document's own ids count every art ever made).
//
// Document order: layers bottom first, each layer's art in paint order; an
// envelope stands for the art it holds, then its shape, then itself.
#pragma once

#include <cstdint>
#include <vector>

#include "hostapp/model/document.h"

namespace writers {

class ArtNumbers {
 public:
  explicit ArtNumbers(const host::Document& document);
  // The art's number; 0 for kNoArt and art not in the document.
  std::uint32_t of(host::ArtId id) const { return id < numbers_.size() ? numbers_[id] : 0; }

 private:
  void number(host::ArtId id);

  std::vector<std::uint32_t> numbers_;  // indexed by art id
  std::uint32_t next_ = 1;
};

}  // namespace writers
