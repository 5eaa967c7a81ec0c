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
