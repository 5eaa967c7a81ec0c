// Shared pieces of the C suite adapters: handle encoding, model status to
// host code, and conversions between the C records and the model's types.
//
// A handle given to a plug-in is never a pointer: it encodes the kind of
// object, the host's handle key and the object's id. Decoding checks kind
// and key, and the model then checks that the id names a live object, so a
// stale, foreign or mistyped handle is refused with a status, never followed.
#pragma once

#include <string>
#include <string_view>

#include <cstdint>

#include "hostapp/host/call_gate.h"
#include "hostapp/host/host_context.h"
#include "hostapp/model/document.h"
#include "shell/host/host_interface.h"

namespace host {

enum class HandleKind : std::uint8_t {
  Art = 1,
  Layer,
  View,
  SwatchList,
  Swatch,
  ArtStyle,
  Symbol,
  Filter,
  MenuItem,
};

namespace detail {
inline std::uintptr_t encodeHandle(HandleKind kind, std::uint16_t key, std::uint32_t id) {
  if constexpr (sizeof(std::uintptr_t) >= 8) {
    return (std::uintptr_t(kind) << 56) | (std::uintptr_t(key) << 32) | id;
  } else {
    return (std::uintptr_t(kind) << 28) | (id & 0x0FFFFFFFu);
  }
}
}  // namespace detail

// A handle for object `id` (null for id 0).
template <typename H>
H makeHandle(const HostContext& host, HandleKind kind, std::uint32_t id) {
  if (id == 0) return nullptr;
  return reinterpret_cast<H>(detail::encodeHandle(kind, host.handleKey(), id));
}

// The id a handle names, or 0 when it is null or not a handle of this kind
// from this host.
inline std::uint32_t handleId(const HostContext& host, const void* handle, HandleKind kind) {
  const auto value = reinterpret_cast<std::uintptr_t>(handle);
  if (value == 0) return 0;
  std::uint32_t id;
  if constexpr (sizeof(std::uintptr_t) >= 8) {
    id = static_cast<std::uint32_t>(value);
  } else {
    id = static_cast<std::uint32_t>(value & 0x0FFFFFFFu);
  }
  return detail::encodeHandle(kind, host.handleKey(), id) == value ? id : 0;
}

inline ArtHandle artHandle(const HostContext& host, ArtId id) {
  return makeHandle<ArtHandle>(host, HandleKind::Art, id);
}
inline ArtId artId(const HostContext& host, ArtHandle handle) {
  return handleId(host, handle, HandleKind::Art);
}

inline HostErr toHostErr(Status s) {
  switch (s) {
    case Status::Ok: return kHostNoErr;
    case Status::OutOfMemory: return kHostOutOfMemoryErr;
    case Status::TooManySegments: return kHostTooManySegmentsErr;
    default: return kHostBadParameterErr;
  }
}

// toHostErr, and for a status that refuses what the plug-in gave (anything
// but Ok and OutOfMemory) a note in the gate naming the art, the segment
// (-1: none) and why; `detail` adds to the reason.
HostErr refusal(HostContext& host, Status s, ArtId art, int32_t segment = -1, const std::string& detail = {});

inline Point toPoint(const HostPoint& p) { return {p.h, p.v}; }
inline HostPoint toHostPoint(const Point& p) { return {p.x, p.y}; }

inline Segment toSegment(const PathSegment& s) {
  return {toPoint(s.p), toPoint(s.in), toPoint(s.out), s.corner != 0};
}
inline PathSegment toPathSegment(const Segment& s) {
  return {toHostPoint(s.anchor), toHostPoint(s.in), toHostPoint(s.out), s.corner ? 1 : 0};
}

inline Color toColor(const HostColor& c) {
  return {static_cast<ColorKind>(c.kind), {c.c[0], c.c[1], c.c[2], c.c[3]},
          static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(c.ref))};
}
inline HostColor toHostColor(const Color& c) {
  return {static_cast<int32_t>(c.kind), {c.c[0], c.c[1], c.c[2], c.c[3]},
          reinterpret_cast<void*>(static_cast<std::uintptr_t>(c.ref))};
}

Style toStyle(const PathStyle& p);
PathStyle toPathStyle(const Style& s);

// True for the paint orders the model knows (above, below, above all,
// below all).
bool toPlacement(int16_t paintOrder, Placement* placement);

// Copies as much of `text` as fits into buf (size > 0 bytes), zero-terminated.
void copyBounded(std::string_view text, char* buf, int32_t size);

}  // namespace host
