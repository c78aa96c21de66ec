#include <gtest/gtest.h>

#include <cstdint>

#include "util/SizeText.h"

namespace {

TEST(SizeToText, ScalesAndShowsThreeDigits) {
  struct Case {
    std::int64_t size;
    const char* text;
  } cases[] = {
      {0, "0 bytes"},
      {1023, "1023 bytes"},
      {1024, "1.00 Kbytes"},
      {1536, "1.50 Kbytes"},
      {10240, "10.0 Kbytes"},
      {15872, "15.5 Kbytes"},
      {102400, "100 Kbytes"},
      {1048575, "1023 Kbytes"},
      {1500000, "1.43 Mbytes"},
      {1073741824, "1.00 Gbytes"},
      {std::int64_t{5} << 40, "5120 Gbytes"},
      {INT64_MAX, "8589934591 Gbytes"},
      {-1, "-1 bytes"},
  };
  for (const Case& c : cases) EXPECT_EQ(vt::SizeToText(c.size), c.text) << c.size;
}

TEST(SizeToText, TruncatesNeverRounds) {
  EXPECT_EQ(vt::SizeToText(2047), "1.99 Kbytes");
  EXPECT_EQ(vt::SizeToText(10239), "9.99 Kbytes");
  EXPECT_EQ(vt::SizeToText(102399), "99.9 Kbytes");
  EXPECT_EQ(vt::SizeToText(1048576 * 2 - 1), "1.99 Mbytes");
}

TEST(SizeToText, UsesTheLocaleSeparator) {
  EXPECT_EQ(vt::SizeToText(1536, ','), "1,50 Kbytes");
  EXPECT_EQ(vt::SizeToText(2048, ','), "2,00 Kbytes");
  EXPECT_EQ(vt::SizeToText(10240, ','), "10,0 Kbytes");
  EXPECT_EQ(vt::SizeToText(1023, ','), "1023 bytes");
}

TEST(ScaledSizeText, DivisorOneAndOddValues) {
  EXPECT_EQ(vt::ScaledSizeText(1, 123456), "123456");
  EXPECT_EQ(vt::ScaledSizeText(1024, 0), "0.00");
  EXPECT_EQ(vt::ScaledSizeText(1024, -1), "0.00");  // a cut negative fraction is zero
  EXPECT_EQ(vt::ScaledSizeText(0, 5), "5");          // no division by zero
}

}  // namespace
