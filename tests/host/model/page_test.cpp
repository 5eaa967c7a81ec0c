// The page's one owner: the default, the accepted sides and the "W,H"
// parser, and the colour models' names.
#include <gtest/gtest.h>

#include "hostapp/model/color.h"
#include "hostapp/model/page.h"

namespace {

TEST(PageSize, ReadsWidthCommaHeight) {
  EXPECT_EQ(host::parsePageSize("612,792"), (host::Point{612, 792}));
  EXPECT_EQ(host::parsePageSize(" 100.5,2e2 "), (host::Point{100.5f, 200}));
  EXPECT_EQ(host::parsePageSize("10000000,1"), (host::Point{1e7f, 1}));
}

TEST(PageSize, RefusesSidesOutsideTheLimitsAndJunk) {
  for (const char* text : {"0,792", "612,0", "-1,5", "10000001,5", "1e30,1", "nan,5", "inf,5", "612", "612,",
                           ",792", "612;792", "612,792x", "a,b", "612,,792", "", "1e-50,5", "5,1e-40"}) {
    EXPECT_FALSE(host::parsePageSize(text)) << text;
  }
  EXPECT_TRUE(host::isPageSide(host::kMinPageSide));
  EXPECT_FALSE(host::isPageSide(0.999));
  EXPECT_TRUE(host::isPageSide(host::kMaxPageSide));
}

TEST(PageSize, ReadsUnitsPerSide) {
  // Each side converts on its own; the result is the float of the points.
  EXPECT_EQ(host::parsePageSize("210mm,297mm"), (host::Point{static_cast<float>(210 * 72 / 25.4),
                                                             static_cast<float>(297 * 72 / 25.4)}));
  EXPECT_EQ(host::parsePageSize("8.5in,11in"), (host::Point{612, 792}));
  EXPECT_EQ(host::parsePageSize("21cm,100"), (host::Point{static_cast<float>(21 * 72 / 2.54), 100}));
  EXPECT_EQ(host::parsePageSize("816px,1056PX"), (host::Point{612, 792})) << "96 pixels to the inch";
  EXPECT_EQ(host::parsePageSize(" 612 pt , 792pt "), (host::Point{612, 792}));
  EXPECT_EQ(host::parsePageSize("1e2mm,1IN"), (host::Point{static_cast<float>(100 * 72 / 25.4), 72}));
}

TEST(PageSize, ReadsNamedPagesUprightOrOnTheirSide) {
  const host::Point a4{static_cast<float>(210 * 72 / 25.4), static_cast<float>(297 * 72 / 25.4)};
  EXPECT_EQ(host::parsePageSize("A4"), a4);
  EXPECT_EQ(host::parsePageSize("a4"), a4);
  EXPECT_EQ(host::parsePageSize("A4,portrait"), a4);
  EXPECT_EQ(host::parsePageSize("A4,landscape"), (host::Point{a4.y, a4.x}));
  EXPECT_EQ(host::parsePageSize("a4-Landscape"), (host::Point{a4.y, a4.x}));
  EXPECT_EQ(host::parsePageSize("letter"), host::kDefaultPageSize);
  EXPECT_EQ(host::parsePageSize("LEGAL"), (host::Point{612, 1008}));
  EXPECT_EQ(host::parsePageSize("Tabloid,landscape"), (host::Point{1224, 792}));
  // A5 and A3 halve and double A4's area.
  const auto a5 = host::parsePageSize("A5"), a3 = host::parsePageSize("A3");
  ASSERT_TRUE(a5 && a3);
  EXPECT_NEAR(a5->x * a5->y * 2, a4.x * a4.y, a4.x * a4.y * 0.01);
  EXPECT_NEAR(a3->x * a3->y, a4.x * a4.y * 2, a4.x * a4.y * 0.01);
}

TEST(PageSize, RefusesUnknownUnitsNamesAndConvertedSidesOutOfRange) {
  for (const char* text : {"210em,297mm", "210 m m,1", "mm,297mm", "A4,sideways", "A6", "A4landscape",
                           "A4,,landscape", "landscape", "A4,landscape,1", "210mm,297mm,landscape", "1px,1px",
                           "4000000in,1", "0.1mm,5", "nanmm,5", "infin,5", "5e,5", "12,34,56"}) {
    EXPECT_FALSE(host::parsePageSize(text)) << text;
  }
  // The range is checked in points after conversion: 1 px is 0.75 pt.
  EXPECT_TRUE(host::parsePageSize("2px,1pt"));
  EXPECT_TRUE(host::parsePageSize("138888in,1")) << "just under 10 000 000 points";
}

TEST(PageSize, RefusalNamesTheAcceptedForms) {
  const std::string forms = host::pageSizeForms();
  for (const char* part : {"mm", "cm", "in", "px", "pt", "A5", "A4", "A3", "Letter", "Legal", "Tabloid", "landscape",
                           "1 to 10000000"})
    EXPECT_NE(forms.find(part), std::string::npos) << part;
}

TEST(PageSize, TextReadsBackAsTheSameSize) {
  EXPECT_EQ(host::pageSizeText(host::kDefaultPageSize), "612,792");
  const host::Point odd{1.1f, 12345.678f};
  EXPECT_EQ(host::parsePageSize(host::pageSizeText(odd)), odd);
}

TEST(ColorModelNames, NameAndModelGoBothWays) {
  for (const char* name : host::kColorModelNames) {
    const auto model = host::colorModelFromName(name);
    ASSERT_TRUE(model) << name;
    EXPECT_STREQ(host::colorModelName(*model), name);
  }
  EXPECT_EQ(host::colorModelFromName("cmyk"), host::ColorModel::Cmyk);
  EXPECT_FALSE(host::colorModelFromName("RGB"));
  EXPECT_FALSE(host::colorModelFromName(""));
}

}  // namespace
