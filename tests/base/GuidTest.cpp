#include "base/Guid.h"

#include <gtest/gtest.h>

using namespace vellum;

namespace {

constexpr TGUID kSample = MakeGUID("{0123ABCD-4567-89EF-A0B1-C2D3E4F5A6B7}");
static_assert(kSample.D1 == 0x0123ABCD && kSample.D2 == 0x4567 && kSample.D3 == 0x89EF);
static_assert(kSample.D4[0] == 0xA0 && kSample.D4[1] == 0xB1 && kSample.D4[7] == 0xB7);
static_assert(MakeGUID("{abcdef01-0000-ffff-0000-00000000000a}").D4[7] == 0x0A);

} // namespace

TEST(Guid, TextRoundTrip) {
    EXPECT_EQ(kSample.ToString(), QStringLiteral("{0123ABCD-4567-89EF-A0B1-C2D3E4F5A6B7}"));
    EXPECT_EQ(TGUID::FromString(kSample.ToString()), kSample);

    const TGUID small = MakeGUID("{00000001-0002-0003-0405-060708090A0B}");
    EXPECT_EQ(small.ToString(), QStringLiteral("{00000001-0002-0003-0405-060708090A0B}")); // zero padded
    EXPECT_EQ(TGUID::FromString(QStringLiteral("{00000001-0002-0003-0405-060708090a0b}")), small);
    EXPECT_EQ(TGUID{}.ToString(), QStringLiteral("{00000000-0000-0000-0000-000000000000}"));
    const TGUID ones = MakeGUID("{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}");
    EXPECT_EQ(TGUID::FromString(ones.ToString()), ones);
    EXPECT_FALSE(small == kSample);
}

TEST(Guid, InvalidTextIsRejected) {
    for (const char* bad : {
             "",
             "0123ABCD-4567-89EF-A0B1-C2D3E4F5A6B7", // no braces
             "{0123ABCD-4567-89EF-A0B1-C2D3E4F5A6B7",
             "{0123ABCD-4567-89EF-A0B1-C2D3E4F5A6B7}x",
             "(0123ABCD-4567-89EF-A0B1-C2D3E4F5A6B7)",
             "{0123ABCD-4567-89EF-A0B1C-2D3E4F5A6B7}", // dash misplaced
             "{0123ABCD-4567-89EFA-0B1-C2D3E4F5A6B7}",
             "{0123ABCD-4567-89EF-A0B1-C2D3E4F5A6B7-}",
             "{0123ABCD:4567-89EF-A0B1-C2D3E4F5A6B7}",
             "{0123ABCG-4567-89EF-A0B1-C2D3E4F5A6B7}", // not hexadecimal
             "{0x23ABCD-4567-89EF-A0B1-C2D3E4F5A6B7}",
             "{+123ABCD-4567-89EF-A0B1-C2D3E4F5A6B7}",
             "{ 123ABCD-4567-89EF-A0B1-C2D3E4F5A6B7}",
             "{0123ABCD-+567-89EF-A0B1-C2D3E4F5A6B7}",
             "{0123ABCD-4567-89EF-A0B1-C2D3E4F5A6 7}",
             "{0123ABCD-4567-89EF-A0B1-C2D3E4F5A6B７}", // full-width digit
             "{0123ABCD-4567-89EF-A0B1-C2D3E4F5A6B٧}",  // Arabic-Indic digit
             "{0123ABCD-4567-89EF-A0B1-C2D3E4F5A6Bｆ}",
         })
        EXPECT_EQ(TGUID::FromString(QString::fromUtf8(bad)), std::nullopt) << bad;
}

TEST(Guid, BinaryFormIsTheUsualLayout) {
    const QByteArray bytes = kSample.ToBytes();
    EXPECT_EQ(bytes.toHex(), QByteArray("cdab23016745ef89a0b1c2d3e4f5a6b7"));
    EXPECT_EQ(TGUID::FromBytes(bytes), kSample);
    EXPECT_EQ(TGUID::FromBytes(bytes.left(15)), std::nullopt);
    EXPECT_EQ(TGUID::FromBytes(bytes + '\0'), std::nullopt);
}

TEST(Guid, CreatedIdentifiersAreRandomVersion4) {
    const TGUID a = CreateGUID();
    const TGUID b = CreateGUID();
    EXPECT_FALSE(a == b);
    for (const TGUID& g : {a, b}) {
        // The version and variant bits land in D3 and D4 as in any system GUID.
        EXPECT_EQ(g.D3 >> 12, 4);
        EXPECT_EQ(g.D4[0] & 0xC0, 0x80);
    }
}
