// A small XML tokenizer for reading back files the host wrote and others
// re-saved: start and end tags with their attributes, and text (entity and
// character references decoded, CDATA taken as is). Comments, processing
// instructions, the XML declaration and a DOCTYPE are skipped. It checks
// what makes a document well formed as far as a reader of its elements
// needs: names, quoted attribute values, no attribute twice, end tags that
// match, one root element, only blanks outside it. It never recurses; the
// open elements are a bounded stack.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace hostio {

class XmlError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct XmlAttribute {
  std::string name;
  std::string value;  // decoded
};

struct XmlToken {
  enum class Kind { StartTag, EndTag, Text, End };
  Kind kind = Kind::End;
  std::string name;  // tags: the qualified name, e.g. "svg" or "svg:metadata"
  std::vector<XmlAttribute> attributes;
  bool empty = false;  // a start tag written <name .../>; no EndTag follows
  std::string text;    // Text: decoded
  // The value of the attribute, or nullptr.
  const std::string* attribute(std::string_view name) const;
};

// The part of a qualified name after its prefix: "svg" for "svg:svg".
std::string_view localName(std::string_view name);

class XmlScanner {
 public:
  static constexpr std::size_t kMaxDepth = 256;

  // `text` may be the head of a longer file: input that ends inside a
  // construct or with elements open ends the tokens (see truncated()).
  explicit XmlScanner(std::string_view text);

  // The next token; End at the end of input. Throws XmlError on a document
  // that is not well formed.
  XmlToken next();
  // Elements open around the last token (a start tag counts itself).
  std::size_t depth() const { return open_.size(); }
  // True once End was returned before the root element closed.
  bool truncated() const { return truncated_; }

 private:
  XmlToken startTag();
  XmlToken endTag();
  void skipPast(std::string_view terminator);
  void skipDoctype();
  std::string decode(std::string_view raw) const;
  std::string readName();
  void skipBlanks();
  [[noreturn]] void fail(const std::string& what) const;

  std::string_view text_;
  std::size_t at_ = 0;
  std::vector<std::string> open_;
  bool rootSeen_ = false;
  bool truncated_ = false;
  bool pendingEnd_ = false;  // the last start tag was empty: pop it before the next token
};

}  // namespace hostio
