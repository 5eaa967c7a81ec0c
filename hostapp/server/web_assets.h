// The page's files, built into the program (generated from hostapp/server/web).
#pragma once

#include <cstddef>

namespace server {

struct WebAsset {
  const char* path;  // "/index.html", ...
  const char* mime;
  const unsigned char* data;
  std::size_t size;
};

extern const WebAsset kWebAssets[];
extern const std::size_t kWebAssetCount;

}  // namespace server
