#include "library/debug/text_columns.h"

#include <gtest/gtest.h>

namespace {

using namespace MorvaneSystem;

TEST(DisplayWidth, CountsFullWidthCharactersAsTwoColumns) {
  EXPECT_EQ(DisplayWidth(""), 0);
  EXPECT_EQ(DisplayWidth("TMorvaneMidi"), 12);
  EXPECT_EQ(DisplayWidth("メーカー"), 8) << "katakana and the long vowel mark";
  EXPECT_EQ(DisplayWidth("周波数"), 6) << "kanji";
  EXPECT_EQ(DisplayWidth("もるべ"), 6) << "hiragana";
  EXPECT_EQ(DisplayWidth("ＣＰＵ：＆"), 10) << "full-width forms";
  EXPECT_EQ(DisplayWidth("CPU周波数"), 9);
  EXPECT_EQ(DisplayWidth("ｶﾀｶﾅ"), 4) << "half-width katakana is one byte in Shift-JIS";
  EXPECT_EQ(DisplayWidth("é"), 1);
}

TEST(DisplayWidth, CountsEachMalformedByteAsOneColumn) {
  EXPECT_EQ(DisplayWidth("\xE3\x81"), 2) << "truncated sequence";
  EXPECT_EQ(DisplayWidth("\xFF"
                         "a"),
            2);
  EXPECT_EQ(DisplayWidth("\xC0\xAF"), 2) << "overlong form";
  EXPECT_EQ(DisplayWidth("\xED\xA0\x80"), 3) << "surrogate";
  EXPECT_EQ(DisplayWidth("\x80\x80"), 2) << "stray continuation bytes";
}

TEST(PadColumns, PadsByDisplayColumnsAndNeverTruncates) {
  EXPECT_EQ(PadColumns("CPUメーカー", 31), "CPUメーカー" + std::string(20, ' '));
  EXPECT_EQ(PadColumns("abc", 2), "abc");
  EXPECT_EQ(AlignRightColumns("製作", 6), "  製作");
  EXPECT_EQ(AlignRightColumns("toolong", 3), "toolong");
}

TEST(Banner, LinesAreSeventySevenColumns) {
  EXPECT_EQ(BannerRule(), "// " + std::string(74, '='));
  EXPECT_EQ(BannerTitle("プログラムトレース出力"), "// プログラムトレース出力" + std::string(52, ' '));
  EXPECT_EQ(BannerCredit("製作：もるべ "), "//" + std::string(62, ' ') + "製作：もるべ ");
  for (const auto& line :
       {BannerRule(), BannerTitle("ＣＰＵ情報出力"), BannerCredit("Created by TMorvaneCPUID")})
    EXPECT_EQ(DisplayWidth(line), 77) << line;
}

}  // namespace
