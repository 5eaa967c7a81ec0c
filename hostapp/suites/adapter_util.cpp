#include "hostapp/suites/adapter_util.h"

#include <algorithm>
#include <cstring>

namespace host {

Style toStyle(const PathStyle& p) {
  Style s;
  s.fillPaint = p.fillPaint != 0;
  s.fill = toColor(p.fillColor);
  s.strokePaint = p.strokePaint != 0;
  s.stroke = toColor(p.strokeColor);
  s.strokeWidth = p.strokeWidth;
  s.dashOffset = p.dashOffset;
  s.dashCount = p.dashCount;
  for (int i = 0; i < 6; ++i) s.dashes[i] = p.dashes[i];
  s.lineCap = p.lineCap;
  s.lineJoin = p.lineJoin;
  s.miterLimit = p.miterLimit;
  for (int i = 0; i < 4; ++i) s.reserved[i] = p.reserved[i];
  return s;
}

PathStyle toPathStyle(const Style& s) {
  PathStyle p{};
  p.fillPaint = s.fillPaint ? 1 : 0;
  p.fillColor = toHostColor(s.fill);
  p.strokePaint = s.strokePaint ? 1 : 0;
  p.strokeColor = toHostColor(s.stroke);
  p.strokeWidth = s.strokeWidth;
  p.dashOffset = s.dashOffset;
  p.dashCount = s.dashCount;
  for (int i = 0; i < 6; ++i) p.dashes[i] = s.dashes[i];
  p.lineCap = s.lineCap;
  p.lineJoin = s.lineJoin;
  p.miterLimit = s.miterLimit;
  for (int i = 0; i < 4; ++i) p.reserved[i] = s.reserved[i];
  return p;
}

bool toPlacement(int16_t paintOrder, Placement* placement) {
  switch (paintOrder) {
    case kPlaceAbove: *placement = Placement::Above; return true;
    case kPlaceBelow: *placement = Placement::Below; return true;
    case kPlaceAboveAll: *placement = Placement::AboveAll; return true;
    case kPlaceBelowAll: *placement = Placement::BelowAll; return true;
    default: return false;
  }
}

void copyBounded(std::string_view text, char* buf, int32_t size) {
  const std::size_t length = std::min(text.size(), static_cast<std::size_t>(size - 1));
  std::memcpy(buf, text.data(), length);
  buf[length] = '\0';
}

HostErr refusal(HostContext& host, Status s, ArtId art, int32_t segment, const std::string& detail) {
  if (s == Status::Ok || s == Status::OutOfMemory) return toHostErr(s);
  std::string reason;
  switch (s) {
    case Status::NoSuchObject: reason = "the handle names no live art"; break;
    case Status::WrongKind: reason = "the art is not of the kind this call needs"; break;
    case Status::BadIndex: reason = "the segment index or count is out of range"; break;
    case Status::TooManySegments: reason = "the path would pass 32767 segments"; break;
    case Status::BadValue: reason = "a value is not finite or out of range"; break;
    case Status::NotPlaced: reason = "the art is held by an envelope"; break;
    default: reason = statusName(s); break;
  }
  if (!detail.empty()) reason += " (" + detail + ")";
  host.gate().refuse(art, segment, std::move(reason));
  return toHostErr(s);
}

}  // namespace host
