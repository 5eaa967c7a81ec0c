// The operations a browser session takes: the HTTP API's
// POST /api/sessions/ID/OP passes these to the session's child as they are,
// and every state answer lists them for the page.
#pragma once

#include <array>
#include <string_view>

namespace server {

inline constexpr std::array<const char*, 8> kSessionOperations{"filter", "action", "repeat",   "undo",
                                                               "about",  "document", "record", "state"};

inline bool isSessionOperation(std::string_view op) {
  for (const char* known : kSessionOperations) {
    if (op == known) return true;
  }
  return false;
}

}  // namespace server
