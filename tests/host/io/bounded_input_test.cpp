// Readers of untrusted text: JSON bounded before parsing, the XML tokenizer,
// and how messages quote what they were given.
#include <gtest/gtest.h>

#include <string>

#include "hostapp/io/bounded_json.h"
#include "hostapp/io/file_input.h"
#include "hostapp/io/xml_scan.h"

namespace {

std::string nested(std::size_t depth, char open, char close) {
  return std::string(depth, open) + std::string(depth, close);
}

TEST(BoundedJson, DepthSizeAndDuplicateNamesAreRefusedWithOneLine) {
  const hostio::JsonLimits limits{1000, 4};
  EXPECT_EQ(hostio::jsonLimitProblem(nested(1000000, '[', ']'), {std::size_t{4} << 20, 64}),
            "it is nested deeper than 64 levels");
  EXPECT_FALSE(hostio::jsonLimitProblem("[[[[1]]]]", limits));
  EXPECT_EQ(hostio::jsonLimitProblem("[[[[[1]]]]]", limits), "it is nested deeper than 4 levels");
  // Brackets inside strings, escaped quotes included, do not count.
  EXPECT_FALSE(hostio::jsonLimitProblem("[\"[[[[[\\\"[[[[[\"]", limits));
  EXPECT_EQ(hostio::jsonLimitProblem(std::string(1001, ' '), limits), "it is larger than 1000 bytes");
  EXPECT_EQ(hostio::jsonLimitProblem("{\"a\":1,\"b\":{\"a\":2},\"\\u0061\":3}", limits), "it names member 'a' twice");
  EXPECT_FALSE(hostio::jsonLimitProblem("{\"a\":[\"a\",\"a\"],\"b\":{\"a\":1}}", limits));
  EXPECT_THROW(hostio::parseBoundedJson("{\"x\":" + nested(1000000, '{', '}') + "}"), hostio::JsonLimitError);
  EXPECT_EQ(hostio::parseBoundedJson("\xEF\xBB\xBF{\"a\":[1]}")["a"][0], 1);
}

// All tokens of `text` as "S:name", "E:name", "T:text", with the attributes
// of start tags.
std::string tokens(const std::string& text) {
  hostio::XmlScanner xml(text);
  std::string out;
  for (hostio::XmlToken t = xml.next(); t.kind != hostio::XmlToken::Kind::End; t = xml.next()) {
    using Kind = hostio::XmlToken::Kind;
    if (t.kind == Kind::StartTag) {
      out += "S:" + t.name;
      for (const auto& a : t.attributes) out += " " + a.name + "=" + a.value;
      out += t.empty ? "/|" : "|";
    } else if (t.kind == Kind::EndTag) {
      out += "E:" + t.name + "|";
    } else {
      out += "T:" + t.text + "|";
    }
  }
  if (xml.truncated()) out += "CUT";
  return out;
}

TEST(XmlScanner, ReadsTagsAttributesReferencesAndCdata) {
  EXPECT_EQ(tokens("\xEF\xBB\xBF<?xml version='1.0'?>\n<!DOCTYPE svg [<!ENTITY x '>'>]>\n<!-- <a> -->"
                   "<svg:svg\n  b = 'x&quot;y'\n  c=\"&#34;&#x22;&lt;\"><m/>a&amp;b<![CDATA[<&>]]></svg:svg>\n"),
            "S:svg:svg b=x\"y c=\"\"<|S:m/|T:a&b|T:<&>|E:svg:svg|");
  EXPECT_EQ(tokens("<a>\xC3\xA9&#xE9;&#233;</a>"), "S:a|T:\xC3\xA9\xC3\xA9\xC3\xA9|E:a|");
  EXPECT_EQ(tokens("<a><b>text"), "S:a|S:b|CUT");
  EXPECT_EQ(tokens("<a><b x='1"), "S:a|CUT");
  EXPECT_EQ(hostio::localName("inkscape:metadata"), "metadata");
}

TEST(XmlScanner, RefusesDocumentsThatAreNotWellFormed) {
  for (const char* bad : {"<a></b>", "<a/><b/>", "text<a/>", "<a x='1' x='2'/>", "<a x=1/>", "<a x='<'/>",
                          "<a>&bogus;</a>", "<a>&#0;</a>", "<a>&#xD800;</a>", "<a>& b</a>", "<a><!-- -- --></a>",
                          "<a x='1'y='2'/>", "</a>", "<a/>x"}) {
    EXPECT_THROW(tokens(bad), hostio::XmlError) << bad;
  }
  // Nesting is a bounded stack, refused past its limit rather than followed.
  std::string deep;
  for (int i = 0; i < 1000000; ++i) deep += "<a>";
  EXPECT_THROW(tokens(deep), hostio::XmlError);
}

TEST(Messages, QuotedInputIsBoundedAndEveryControlOrBadByteShown) {
  EXPECT_EQ(hostio::printable(std::string("a\0b", 3)), "a\\x00b");
  EXPECT_EQ(hostio::printable("x\xC2\x9B[2Jy"), "x\\xC2\\x9B[2Jy") << "a C1 control";
  EXPECT_EQ(hostio::printable("\xE2\x80\xAE"), "\\xE2\\x80\\xAE") << "a bidi override";
  EXPECT_EQ(hostio::printable("\xFF\xC3\xA9\xC3"), "\\xFF\xC3\xA9\\xC3") << "stray and cut-short bytes";
  EXPECT_EQ(hostio::printable("\xC0\xAF\xED\xA0\x80"), "\\xC0\\xAF\\xED\\xA0\\x80") << "overlong and surrogate";
  const std::string line(500000, 'x');
  EXPECT_EQ(hostio::excerpt(line), std::string(200, 'x') + "...");
  EXPECT_EQ(hostio::excerpt("short"), "short");
  // Cut at a whole character, never inside one.
  std::string accents;
  for (int i = 0; i < 150; ++i) accents += "\xC3\xA9";
  EXPECT_EQ(hostio::excerpt(accents).size(), 200u + 3);
  EXPECT_EQ(hostio::quotedPath(line).size(), 200u + 5);
}

}  // namespace
