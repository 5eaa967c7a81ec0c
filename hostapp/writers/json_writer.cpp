#include "hostapp/writers/json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "hostapp/writers/art_numbers.h"
#include "hostapp/writers/shortest_float.h"
#include "hostapp/writers/text_sink.h"

namespace writers {
namespace {

using nlohmann::json;

// Pretty printing as nlohmann::json::dump(1): "{" or "[", then each member on
// its own line indented one blank per level, "," between members, the
// closing bracket on its own line; "{}" and "[]" when empty.
class JsonStream {
 public:
  explicit JsonStream(std::ostream& out) : out_(out) {}

  void beginObject() { open('{'); }
  void beginArray() { open('['); }
  void end() {
    const Level level = levels_.back();
    levels_.pop_back();
    if (level.members > 0) {
      out_.put('\n');
      indent();
    }
    out_.put(level.object ? '}' : ']');
  }
  // The next member of the open object; its value follows.
  void key(std::string_view name) {
    next();
    out_.put('"');
    out_.put(name);  // the dump's own keys are plain ASCII
    out_.put("\": ");
  }
  // The next element of the open array; its value follows.
  void element() { next(); }

  // A float32 in its shortest form that reads back to it, laid out as
  // nlohmann prints that decimal read as a double (see TextSink).
  void number(float value) { out_.shortestFloat(value); }
  template <typename Int>
  void integer(Int value) {
    out_.integer(value);
  }
  // An array of `rows` arrays of `width` numbers each (width 1 to 8), as
  // element(), beginArray(), number()... would lay them out, written a row
  // at a time straight into the sink. A number the same as one before it in
  // its row (a handle on its anchor's line) is copied, not formatted again.
  // `row(r, numbers)` gives row r's numbers.
  template <typename Row>
  void floatRows(std::size_t rows, std::size_t width, const Row& row) {
    float numbers[8];
    beginArray();
    const std::size_t depth = levels_.size();
    if (rows == 0 || depth + 2 > kBlanks.size()) {  // empty, or too deep for the fast layout
      for (std::size_t r = 0; r < rows; ++r) {
        element();
        beginArray();
        row(r, numbers);
        for (std::size_t i = 0; i < width; ++i) {
          element();
          number(numbers[i]);
        }
        end();
      }
      end();
      return;
    }
    // ",\n" and the indents of a row and of its numbers. Every piece is
    // copied at a fixed size, kBreak's or a longest number's, and the
    // pointer moves on by its real length: the room claimed covers the rest.
    const std::size_t rowBreak = 2 + depth;
    const std::size_t numberBreak = 3 + depth;
    constexpr std::size_t kPiece = kBreak.size() > kLongestShortestFloat ? kBreak.size() : kLongestShortestFloat;
    const std::size_t rowBytes = (kPiece + 1) + width * 2 * kPiece + kPiece + 1;
    for (std::size_t r = 0; r < rows; ++r) {
      row(r, numbers);
      char* p = out_.claim(rowBytes);
      const std::size_t skip = r == 0 ? 1 : 0;  // the first row has no comma
      std::memcpy(p, kBreak.data() + skip, kBreak.size() - 1);
      p += rowBreak - skip;
      *p++ = '[';
      const char* starts[8];
      std::size_t lengths[8];
      std::uint32_t bits[8];
      for (std::size_t i = 0; i < width; ++i) {
        const std::size_t from = i == 0 ? 1 : 0;
        std::memcpy(p, kBreak.data() + from, kBreak.size() - 1);
        p += numberBreak - from;
        std::memcpy(&bits[i], &numbers[i], sizeof bits[i]);
        starts[i] = p;
        std::size_t same = 0;
        while (same < i && bits[same] != bits[i]) ++same;
        if (same < i) {
          std::memmove(p, starts[same], kLongestShortestFloat);
          p += lengths[same];
        } else {
          p = writeShortestFloat(p, numbers[i]);
        }
        lengths[i] = static_cast<std::size_t>(p - starts[i]);
      }
      std::memcpy(p, kBreak.data() + 1, kBreak.size() - 1);
      p += 1 + depth;
      *p++ = ']';
      out_.commit(p);
    }
    levels_.back().members = rows;
    end();
  }
  void boolean(bool value) { out_.put(value ? "true" : "false"); }
  void null() { out_.put("null"); }
  void string(const std::string& text) { out_.put(json(text).dump()); }

  // Any JSON value, laid out as the rest of the dump.
  void value(const json& v) {
    if (v.is_object()) {
      beginObject();
      for (const auto& [name, member] : v.items()) {
        next();
        out_.put(json(name).dump());
        out_.put(": ");
        value(member);
      }
      end();
    } else if (v.is_array()) {
      beginArray();
      for (const json& item : v) {
        element();
        value(item);
      }
      end();
    } else {
      out_.put(v.dump());
    }
  }

 private:
  struct Level {
    bool object;
    std::size_t members;
  };
  void open(char bracket) {
    out_.put(bracket);
    levels_.push_back({bracket == '{', 0});
  }
  // ",\n" or "\n" and the indent, in one piece while the indent fits.
  void next() {
    Level& level = levels_.back();
    const std::size_t from = level.members++ ? 0 : 1;
    if (levels_.size() <= kBlanks.size()) {
      out_.put(kBreak.substr(from, 2 - from + levels_.size()));
      return;
    }
    out_.put(kBreak.substr(from, 2 - from));
    indent();
  }
  void indent() {
    std::size_t n = levels_.size();
    for (; n > kBlanks.size(); n -= kBlanks.size()) out_.put(kBlanks);
    out_.put(kBlanks.substr(0, n));
  }
  static constexpr std::string_view kBreak = ",\n                                ";
  static constexpr std::string_view kBlanks = kBreak.substr(2);

  TextSink out_;
  std::vector<Level> levels_;
};

void colorJson(JsonStream& j, const host::Color& c) {
  int components = 0;
  switch (c.kind) {
    case host::ColorKind::Gray: components = 1; break;
    case host::ColorKind::ThreeColor: components = 3; break;
    case host::ColorKind::FourColor: components = 4; break;
    default: break;
  }
  j.beginObject();
  j.key("c");
  j.beginArray();
  for (int i = 0; i < components; ++i) {
    j.element();
    j.number(c.c[i]);
  }
  j.end();
  j.key("kind");
  j.integer(static_cast<int32_t>(c.kind));
  j.end();
}

void segmentsJson(JsonStream& j, const std::vector<host::Segment>& segments) {
  // A segment is a row of six floats: anchor, in and out.
  j.floatRows(segments.size(), 6, [&](std::size_t r, float* row) {
    const host::Segment& s = segments[r];
    const float numbers[6] = {s.anchor.x, s.anchor.y, s.in.x, s.in.y, s.out.x, s.out.y};
    std::memcpy(row, numbers, sizeof numbers);
  });
}

void paintJson(JsonStream& j, bool on, const host::Color& color) {
  j.beginObject();
  j.key("color");
  colorJson(j, color);
  j.key("on");
  j.boolean(on);
  j.end();
}

// The members of a path's object, in name order; `extra(name)` writes the
// caller's members that sort just before `name` ("dash" and "envelope"
// before "fill", "id" and "layer" before "opacity", "type" last).
struct PathMembers {
  const std::vector<host::Segment>& segments;
  bool closed;
  const host::Style& style;
  float opacity;
};

void pathObject(JsonStream& j, const PathMembers& p, const std::function<void(std::string_view)>& extra) {
  j.beginObject();
  j.key("closed");
  j.boolean(p.closed);
  if (p.style.dashCount > 0) {
    j.key("dash");
    j.beginArray();
    for (int32_t i = 0; i < p.style.dashCount; ++i) {
      j.element();
      j.number(p.style.dashes[i]);
    }
    j.end();
  }
  extra("fill");
  j.key("fill");
  paintJson(j, p.style.fillPaint, p.style.fill);
  extra("opacity");
  j.key("opacity");
  j.number(p.opacity);
  j.key("segments");
  segmentsJson(j, p.segments);
  j.key("stroke");
  paintJson(j, p.style.strokePaint, p.style.stroke);
  j.key("strokeWidth");
  j.number(p.style.strokeWidth);
  extra("");
  j.end();
}

void artPath(JsonStream& j, const ArtNumbers& numbers, const host::Art& art, std::size_t layerIndex,
             host::ArtId envelope) {
  pathObject(j, {art.state.segments, art.state.closed, art.state.style, art.state.opacity},
             [&](std::string_view before) {
               if (before == "fill" && envelope != host::kNoArt) {
                 j.key("envelope");
                 j.integer(numbers.of(envelope));
               } else if (before == "opacity") {
                 j.key("id");
                 j.integer(numbers.of(art.id));
                 j.key("layer");
                 j.integer(layerIndex);
               } else if (before.empty()) {
                 j.key("type");
                 j.string("path");
               }
             });
}

void artList(JsonStream& j, const host::Document& doc, const ArtNumbers& numbers) {
  j.beginArray();
  const auto& layers = doc.layers();
  for (std::size_t li = 0; li < layers.size(); ++li) {
    doc.forEachInPaintOrder(layers[li].id, [&](const host::Art& a) {
      if (a.kind == host::ArtKind::Path) {
        j.element();
        artPath(j, numbers, a, li, host::kNoArt);
        return;
      }
      for (host::ArtId id : a.state.envelope.contents) {
        const host::Art* inner = doc.art(id);
        if (!inner || inner->kind != host::ArtKind::Path) continue;
        j.element();
        artPath(j, numbers, *inner, li, a.id);
      }
    });
  }
  j.end();
}

void envelopeObject(JsonStream& j, const host::Document& doc, const ArtNumbers& numbers, const host::Art& a,
                    std::size_t layerIndex) {
  const host::EnvelopeData& env = a.state.envelope;
  j.beginObject();
  j.key("art");
  j.beginArray();
  for (host::ArtId id : env.contents) {
    const host::Art* inner = doc.art(id);
    if (!inner || inner->kind != host::ArtKind::Path) continue;
    j.element();
    j.integer(numbers.of(id));
  }
  j.end();
  j.key("deformOptions");
  j.integer(env.deformOptions);
  j.key("fidelity");
  j.integer(env.fidelity);
  j.key("id");
  j.integer(numbers.of(a.id));
  j.key("layer");
  j.integer(layerIndex);
  j.key("shape");
  if (const host::Art* s = doc.art(env.shape)) {
    pathObject(j, {s->state.segments, s->state.closed, s->state.style, s->state.opacity},
               [&](std::string_view before) {
                 if (before == "opacity") {
                   j.key("id");
                   j.integer(numbers.of(s->id));
                 }
               });
  } else {
    j.null();
  }
  j.key("warp");
  j.beginObject();
  j.key("bend");
  j.number(env.warp.bend);
  j.key("horizontal");
  j.number(env.warp.horizontal);
  j.key("rotate");
  j.boolean(env.warp.rotate);
  j.key("style");
  j.integer(env.warp.style);
  j.key("vertical");
  j.number(env.warp.vertical);
  j.end();
  j.end();
}

void envelopeList(JsonStream& j, const host::Document& doc, const ArtNumbers& numbers) {
  j.beginArray();
  const auto& layers = doc.layers();
  for (std::size_t li = 0; li < layers.size(); ++li) {
    doc.forEachInPaintOrder(layers[li].id, [&](const host::Art& a) {
      if (a.kind == host::ArtKind::Path) return;
      j.element();
      envelopeObject(j, doc, numbers, a, li);
    });
  }
  j.end();
}

void layerList(JsonStream& j, const host::Document& doc) {
  j.beginArray();
  const auto& layers = doc.layers();
  for (std::size_t li = 0; li < layers.size(); ++li) {
    j.element();
    j.beginObject();
    j.key("current");
    j.boolean(layers[li].id == doc.currentLayer());
    j.key("id");  // by position, as art is numbered
    j.integer(li + 1);
    j.key("index");
    j.integer(li);
    j.key("name");
    j.string(layers[li].name);
    j.end();
  }
  j.end();
}

void symbolList(JsonStream& j, const host::Document& doc, const ArtNumbers& numbers) {
  j.beginArray();
  std::uint32_t symbolNumber = 0;
  for (const host::Symbol& sym : doc.symbols()) {
    j.element();
    j.beginObject();
    j.key("art");
    j.beginArray();
    for (const host::SymbolPath& p : sym.paths) {
      j.element();
      pathObject(j, {p.segments, p.closed, p.style, p.opacity}, [&](std::string_view before) {
        if (before.empty()) {
          j.key("type");
          j.string("path");
        }
      });
    }
    j.end();
    j.key("id");  // by position, as art is numbered
    j.integer(++symbolNumber);
    j.key("name");
    j.string(sym.name);
    j.key("source");
    j.integer(numbers.of(sym.source));
    j.end();
  }
  j.end();
}

}  // namespace

json exactNumber(float value) {
  if (!std::isfinite(value)) return nullptr;
  char buf[32];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  if (ec != std::errc()) return static_cast<double>(value);
  *end = '\0';
  // The shortest decimal that reads back to this float32; as a double it
  // prints back as the same short decimal.
  return std::strtod(buf, nullptr);
}

void writeDocumentJson(const host::Document& doc, const json& extra, std::ostream& out) {
  JsonStream j(out);
  const ArtNumbers numbers(doc);
  using Writer = std::function<void()>;
  // The document's keys in name order.
  const std::pair<std::string_view, Writer> own[] = {
      {"art", [&] { artList(j, doc, numbers); }},
      {"colorModel", [&] { j.string(host::colorModelName(doc.colorModel())); }},
      {"envelopes", [&] { envelopeList(j, doc, numbers); }},
      {"layers", [&] { layerList(j, doc); }},
      {"page",
       [&] {
         j.beginArray();
         j.element();
         j.number(doc.pageSize().x);
         j.element();
         j.number(doc.pageSize().y);
         j.end();
       }},
      {"symbols", [&] { symbolList(j, doc, numbers); }},
  };
  j.beginObject();
  static const json kNoMembers = json::object();
  const json& members = extra.is_object() ? extra : kNoMembers;
  auto next = members.items().begin();
  const auto last = members.items().end();
  for (const auto& [name, write] : own) {
    for (; next != last && std::string_view(next.key()) < name; ++next) {
      j.key(next.key());
      j.value(next.value());
    }
    if (next != last && std::string_view(next.key()) == name) continue;  // the caller's value wins
    j.key(name);
    write();
  }
  for (; next != last; ++next) {
    j.key(next.key());
    j.value(next.value());
  }
  j.end();
}

}  // namespace writers
