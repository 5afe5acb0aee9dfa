#include "model/Windows1251.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Case {
    const char* name;
    QString text;
    qsizetype firstUnfit; // -1: all fit
    QString character;    // the character reported
};

class Windows1251Fit : public ::testing::TestWithParam<Case> {};

TEST_P(Windows1251Fit, FindsTheFirstCharacterTheCodePageLacks)
{
    const Case& c = GetParam();
    EXPECT_EQ(firstUnfitWindows1251(c.text), c.firstUnfit);
    EXPECT_EQ(fitsWindows1251(c.text), c.firstUnfit < 0);
    EXPECT_EQ(encodeWindows1251(c.text).has_value(), c.firstUnfit < 0);
    if (c.firstUnfit >= 0) {
        EXPECT_EQ(characterAt(c.text, c.firstUnfit), c.character);
    }
}

const Case kCases[] = {
    {"Empty", QString(), -1, {}},
    {"LatinCyrillicAndTypography", u"ООО «Ёлка» — №5 €"_s, -1, {}},
    {"ControlCharacters", u"a\r\n\tb"_s, -1, {}},
    {"Chinese", u"Сеть 德勤"_s, 5, u"德"_s},
    {"SurrogatePairCountsAsOne", u"ok 😀 x"_s, 3, u"😀"_s},
    {"LoneSurrogate", u"ab"_s + QChar(0xD800), 2, QString(QChar(0xD800))},
};

INSTANTIATE_TEST_SUITE_P(Cases, Windows1251Fit, ::testing::ValuesIn(kCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(Windows1251Encode, BytesAreTheCodePage)
{
    const auto bytes = encodeWindows1251(u"Ая№"_s);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, QByteArray("\xC0\xFF\xB9"));
}

} // namespace
