#include "hostapp/io/xml_scan.h"

#include <cstdint>

#include "hostapp/io/file_input.h"

namespace hostio {
namespace {

// Thrown inside the scanner when the input ends in the middle of a construct.
struct CutShort {};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool isNameStart(char c) {
  const auto b = static_cast<unsigned char>(c);
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || b >= 0x80;
}

bool isNameChar(char c) { return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

void appendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

const std::string* XmlToken::attribute(std::string_view attributeName) const {
  for (const XmlAttribute& a : attributes)
    if (a.name == attributeName) return &a.value;
  return nullptr;
}

std::string_view localName(std::string_view name) {
  const std::size_t colon = name.rfind(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

XmlScanner::XmlScanner(std::string_view text) : text_(text) {
  if (text_.substr(0, 3) == "\xEF\xBB\xBF") at_ = 3;
}

void XmlScanner::fail(const std::string& what) const {
  // Lines are counted only when a message needs one.
  std::size_t line = 1;
  for (std::size_t i = 0; i < at_ && i < text_.size(); ++i) line += text_[i] == '\n';
  throw XmlError("line " + std::to_string(line) + ": " + what);
}

void XmlScanner::skipBlanks() {
  while (at_ < text_.size() && isBlank(text_[at_])) ++at_;
}

std::string XmlScanner::readName() {
  if (at_ >= text_.size()) throw CutShort{};
  if (!isNameStart(text_[at_])) fail("expected a name");
  const std::size_t start = at_;
  while (at_ < text_.size() && isNameChar(text_[at_])) ++at_;
  if (at_ >= text_.size()) throw CutShort{};
  return std::string(text_.substr(start, at_ - start));
}

void XmlScanner::skipPast(std::string_view terminator) {
  const std::size_t end = text_.find(terminator, at_);
  if (end == std::string_view::npos) throw CutShort{};
  at_ = end + terminator.size();
}

// <!DOCTYPE name ... [internal subset] >: quoted texts and the subset may
// hold '>', so both are stepped over.
void XmlScanner::skipDoctype() {
  bool subset = false;
  while (at_ < text_.size()) {
    const char c = text_[at_];
    if (c == '"' || c == '\'') {
      const std::size_t end = text_.find(c, at_ + 1);
      if (end == std::string_view::npos) throw CutShort{};
      at_ = end + 1;
    } else if (subset && text_.substr(at_, 4) == "<!--") {
      skipPast("-->");
    } else {
      ++at_;
      if (c == '[') subset = true;
      else if (c == ']') subset = false;
      else if (c == '>' && !subset) return;
    }
  }
  throw CutShort{};
}

std::string XmlScanner::decode(std::string_view raw) const {
  std::string out;
  out.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] != '&') {
      out += raw[i];
      continue;
    }
    const std::size_t semi = raw.find(';', i);
    if (semi == std::string_view::npos || semi - i > 12) fail("a '&' that starts no reference");
    const std::string_view ref = raw.substr(i + 1, semi - i - 1);
    i = semi;
    if (ref == "amp") out += '&';
    else if (ref == "lt") out += '<';
    else if (ref == "gt") out += '>';
    else if (ref == "quot") out += '"';
    else if (ref == "apos") out += '\'';
    else if (ref.size() >= 2 && ref[0] == '#') {
      const bool hex = ref[1] == 'x';
      const std::string_view digits = ref.substr(hex ? 2 : 1);
      std::uint32_t cp = 0;
      if (digits.empty()) fail("an empty character reference");
      for (char d : digits) {
        int v;
        if (d >= '0' && d <= '9') v = d - '0';
        else if (hex && d >= 'a' && d <= 'f') v = d - 'a' + 10;
        else if (hex && d >= 'A' && d <= 'F') v = d - 'A' + 10;
        else fail("a character reference with a bad digit");
        cp = cp * (hex ? 16 : 10) + static_cast<std::uint32_t>(v);
        if (cp > 0x10FFFF) fail("a character reference beyond U+10FFFF");
      }
      if (cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF)) fail("a character reference to no character");
      appendUtf8(out, cp);
    } else {
      fail("an unknown entity '&" + excerpt(ref) + ";'");
    }
  }
  return out;
}

XmlToken XmlScanner::startTag() {
  XmlToken token;
  token.kind = XmlToken::Kind::StartTag;
  token.name = readName();
  if (open_.empty()) {
    if (rootSeen_) fail("a second root element <" + excerpt(token.name) + ">");
    rootSeen_ = true;
  }
  for (;;) {
    const std::size_t before = at_;
    skipBlanks();
    if (at_ >= text_.size()) throw CutShort{};
    if (text_[at_] == '>') {
      ++at_;
      break;
    }
    if (text_[at_] == '/') {
      if (at_ + 1 >= text_.size()) throw CutShort{};
      if (text_[at_ + 1] != '>') fail("a '/' inside a tag");
      at_ += 2;
      token.empty = true;
      break;
    }
    if (at_ == before) fail("attributes of <" + excerpt(token.name) + "> not separated by blanks");
    XmlAttribute attribute;
    attribute.name = readName();
    skipBlanks();
    if (at_ >= text_.size()) throw CutShort{};
    if (text_[at_] != '=') fail("attribute '" + excerpt(attribute.name) + "' has no value");
    ++at_;
    skipBlanks();
    if (at_ >= text_.size()) throw CutShort{};
    const char quote = text_[at_];
    if (quote != '"' && quote != '\'') fail("attribute '" + excerpt(attribute.name) + "' is not quoted");
    const std::size_t end = text_.find(quote, at_ + 1);
    if (end == std::string_view::npos) throw CutShort{};
    const std::string_view raw = text_.substr(at_ + 1, end - at_ - 1);
    if (raw.find('<') != std::string_view::npos) fail("a '<' in attribute '" + excerpt(attribute.name) + "'");
    attribute.value = decode(raw);
    at_ = end + 1;
    if (token.attribute(attribute.name)) fail("attribute '" + excerpt(attribute.name) + "' given twice");
    token.attributes.push_back(std::move(attribute));
  }
  if (open_.size() >= kMaxDepth) fail("elements nested deeper than " + std::to_string(kMaxDepth) + " levels");
  open_.push_back(token.name);
  pendingEnd_ = token.empty;
  return token;
}

XmlToken XmlScanner::endTag() {
  XmlToken token;
  token.kind = XmlToken::Kind::EndTag;
  token.name = readName();
  skipBlanks();
  if (at_ >= text_.size()) throw CutShort{};
  if (text_[at_] != '>') fail("a malformed end tag </" + excerpt(token.name) + ">");
  ++at_;
  if (open_.empty() || open_.back() != token.name)
    fail("end tag </" + excerpt(token.name) + "> matches no open element");
  return token;
}

XmlToken XmlScanner::next() {
  if (pendingEnd_) {
    open_.pop_back();
    pendingEnd_ = false;
  }
  try {
    for (;;) {
      if (at_ >= text_.size()) {
        if (!rootSeen_ || !open_.empty()) truncated_ = true;
        return {};
      }
      if (text_[at_] != '<') {
        const std::size_t end = text_.find('<', at_);
        const std::string_view raw =
            text_.substr(at_, end == std::string_view::npos ? std::string_view::npos : end - at_);
        if (end == std::string_view::npos && !open_.empty()) throw CutShort{};
        if (open_.empty()) {
          for (char c : raw)
            if (!isBlank(c)) fail("text outside the root element");
          at_ += raw.size();
          continue;
        }
        XmlToken token;
        token.kind = XmlToken::Kind::Text;
        token.text = decode(raw);
        at_ = end;
        return token;
      }
      const std::string_view rest = text_.substr(at_);
      if (rest.substr(0, 4) == "<!--") {
        at_ += 4;
        const std::size_t end = text_.find("--", at_);
        if (end == std::string_view::npos) throw CutShort{};
        if (end + 2 >= text_.size()) throw CutShort{};
        if (text_[end + 2] != '>') fail("'--' inside a comment");
        at_ = end + 3;
      } else if (rest.substr(0, 9) == "<![CDATA[") {
        if (open_.empty()) fail("CDATA outside the root element");
        at_ += 9;
        const std::size_t end = text_.find("]]>", at_);
        if (end == std::string_view::npos) throw CutShort{};
        XmlToken token;
        token.kind = XmlToken::Kind::Text;
        token.text = std::string(text_.substr(at_, end - at_));
        at_ = end + 3;
        return token;
      } else if (rest.substr(0, 9) == "<!DOCTYPE") {
        if (rootSeen_) fail("a DOCTYPE after the root element");
        at_ += 9;
        skipDoctype();
      } else if (rest.substr(0, 2) == "<?") {
        at_ += 2;
        skipPast("?>");
      } else if (rest.substr(0, 2) == "</") {
        at_ += 2;
        XmlToken token = endTag();
        open_.pop_back();
        return token;
      } else if (rest.size() > 1) {
        ++at_;
        return startTag();
      } else {
        throw CutShort{};
      }
    }
  } catch (const CutShort&) {
    at_ = text_.size();
    truncated_ = true;
    return {};
  }
}

}  // namespace hostio
