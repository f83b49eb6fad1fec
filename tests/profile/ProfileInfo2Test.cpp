#include "profile/ProfileInfo2.h"

#include "base/Exceptions.h"
#include "base/Filer.h"
#include "base/Stream.h"
#include "base/StringList.h"
#include "imaging/DIB.h"
#include "imaging/JPEGCodec.h"
#include "imaging/JPEGImage.h"
#include "imaging/PictureEx.h"
#include "imaging/SafetyBitmap.h"
#include "profile/ProfileFields.h"

#include <gtest/gtest.h>

#include "../support/WrittenBytes.h"
#include <zlib.h>

using namespace vellum;

namespace {

constexpr TGUID kGuid = MakeGUID("{0123ABCD-4567-89EF-A0B1-C2D3E4F5A6B7}");
constexpr TGUID kOtherGuid = MakeGUID("{11111111-2222-3333-4444-555555555555}");

TDIB Pattern(int w, int h) {
    TDIB dib(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            dib.SetRawPixel(x, y, uint32_t(x * 40) | (uint32_t(y * 50) << 8) | 0x300000);
    return dib;
}

void SetBitmap(TPictureEx& picture, int w, int h) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetDIB(Pattern(w, h));
    picture.SetGraphic(std::move(bitmap));
}

void SetJPEG(TPictureEx& picture) {
    auto jpeg = std::make_unique<TSafetyJPEGImage>();
    jpeg->SetData(EncodeJPEG(Pattern(8, 6), 80));
    picture.SetGraphic(std::move(jpeg));
}

QByteArray Stored(const TPictureEx& picture) {
    return test::BytesWritten([&picture](TStream& s) { WritePictureToStream(picture, s); });
}

QByteArray Record(const TProfileInfo2& profile) {
    return test::BytesWritten([&profile](TStream& s) { profile.Save(s); });
}

bool LoadBytes(TProfileInfo2& profile, const QByteArray& bytes, bool withPictures = true) {
    TMemoryStream s(bytes);
    return profile.Load(s, withPictures);
}

// A profile with a value in every field, a bitmap face and a JPEG mark.
void Fill(TProfileInfo2& p) {
    p.SetGuid(kGuid);
    p.Clear();
    for (int i = 0; i < kProfileFieldCount; ++i) p.SetValue(i, QStringLiteral("値%1 ｶﾅ").arg(i));
    p.SetValue(0, MergeMark());
    SetBitmap(p.Face(), 5, 3);
    SetJPEG(p.Mark());
}

// The header of a record followed by a values text of the given byte length.
QByteArray Header(uint8_t values, uint8_t face, uint8_t mark) {
    QByteArray b = kGuid.ToBytes();
    b.append(char(values)).append(char(face)).append(char(mark));
    return b;
}

QByteArray Int32(int32_t v) {
    QByteArray b(4, '\0');
    PutLE32(b.data(), uint32_t(v));
    return b;
}

QByteArray CrLfs(int n) { return QByteArray("\r\n").repeated(n); }

} // namespace

TEST(ProfileInfo2, NewProfileHasAnIdentityAndNothingElse) {
    TProfileInfo2 a, b;
    EXPECT_FALSE(a.SameProfile(b));
    EXPECT_EQ(a.ValueCount(), 0);
    EXPECT_TRUE(a.Face().Empty());
    EXPECT_TRUE(a.Mark().Empty());
    EXPECT_FALSE(a.Modified());
    EXPECT_FALSE(a.CompressPictures());

    a.Reset();
    EXPECT_EQ(a.Values(), ProfileFieldNames());
    a.Clear();
    EXPECT_EQ(a.Values(), QStringList(kProfileFieldCount, QString()));
}

TEST(ProfileInfo2, RecordRoundTripsValuesAndBothPictures) {
    for (bool compress : {false, true}) {
        SCOPED_TRACE(compress ? "compressed" : "plain");
        TProfileInfo2 p;
        Fill(p);
        p.SetCompressPictures(compress);
        const QByteArray bytes = Record(p);

        // The face follows the values text, in the chosen form.
        const int32_t n = int32_t(GetLE32(bytes.constData() + 19));
        EXPECT_EQ(bytes.mid(23 + n, 12) == QByteArray("ZLIBCompress"), compress);

        TProfileInfo2 back;
        back.SetValue(60, QStringLiteral("old"));
        EXPECT_TRUE(LoadBytes(back, bytes));
        EXPECT_TRUE(back.SameProfile(p));
        EXPECT_EQ(back.Values(), p.Values());
        EXPECT_EQ(Stored(back.Face()), Stored(p.Face()));
        EXPECT_EQ(Stored(back.Mark()), Stored(p.Mark()));
        EXPECT_EQ(back.Face().Graphic()->ClassName(), QStringLiteral("TBitmap"));
        EXPECT_EQ(back.Mark().Graphic()->ClassName(), QStringLiteral("TSafetyJPEGImage"));
        EXPECT_FALSE(back.Modified());
    }
}

TEST(ProfileInfo2, ReadsPicturesCompressedByAnotherWriter) {
    TProfileInfo2 source;
    Fill(source);
    const QByteArray plain = Stored(source.Face());
    QByteArray packed(int(compressBound(uLong(plain.size()))), '\0');
    uLongf packedSize = uLongf(packed.size());
    ASSERT_EQ(compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                        reinterpret_cast<const Bytef*>(plain.constData()), uLong(plain.size()), 9),
              Z_OK);
    packed.resize(int(packedSize));
    const QByteArray text = CrLfs(56);
    const QByteArray bytes = Header(1, 1, 1) + Int32(int32_t(text.size())) + text + "ZLIBCompress\x1A" +
                             Int32(int32_t(plain.size())) + packed + Stored(source.Mark());

    TProfileInfo2 p;
    EXPECT_TRUE(LoadBytes(p, bytes));
    EXPECT_EQ(Stored(p.Face()), plain);
    EXPECT_EQ(Stored(p.Mark()), Stored(source.Mark())); // a plain picture may follow a compressed one
}

TEST(ProfileInfo2, GoldenRecord) {
    TProfileInfo2 p;
    p.SetGuid(kGuid);
    p.Clear();
    p.SetValue(1, QStringLiteral("山田"));
    QByteArray expected = QByteArray::fromHex("cdab23016745ef89a0b1c2d3e4f5a6b7"
                                              "010000"
                                              "74000000"
                                              "0d0a8e5293630d0a");
    expected += CrLfs(54);
    EXPECT_EQ(Record(p).toHex(), expected.toHex());

    // Flags follow the pictures; a picture follows the values in its plain form.
    SetBitmap(p.Mark(), 2, 2);
    const QByteArray withMark = Record(p);
    EXPECT_EQ(withMark.mid(16, 3).toHex(), QByteArray("010001"));
    EXPECT_EQ(withMark.mid(expected.size()), Stored(p.Mark()));
    EXPECT_EQ(withMark.mid(expected.size(), 8), QByteArray("\x07TBitmap"));
}

TEST(ProfileInfo2, OlderLayoutGainsTheTwoNewFields) {
    QByteArray text;
    for (int i = 0; i < 54; ++i) text += "v" + QByteArray::number(i) + "\r\n";
    const QByteArray bytes = Header(1, 0, 0) + Int32(int32_t(text.size())) + text;

    TProfileInfo2 p;
    EXPECT_FALSE(LoadBytes(p, bytes));
    ASSERT_EQ(p.ValueCount(), kProfileFieldCount);
    EXPECT_EQ(p.GetValue(0), QString());
    EXPECT_EQ(p.GetValue(1), QStringLiteral("v0"));
    EXPECT_EQ(p.GetValue(2), QString());
    EXPECT_EQ(p.GetValue(3), QStringLiteral("v1"));
    EXPECT_EQ(p.GetValue(55), QStringLiteral("v53"));

    // Written back it is a current record.
    TProfileInfo2 again;
    EXPECT_TRUE(LoadBytes(again, Record(p)));
    EXPECT_EQ(again.Values(), p.Values());

    // Fewer values still count as the older layout, down to none at all.
    for (const QByteArray& few : {QByteArray("a\r\n"), QByteArray()}) {
        TProfileInfo2 q;
        q.Reset();
        EXPECT_FALSE(LoadBytes(q, Header(1, 0, 0) + Int32(int32_t(few.size())) + few));
        EXPECT_EQ(q.ValueCount(), few.isEmpty() ? 2 : 3);
        EXPECT_EQ(q.GetValue(1), few.isEmpty() ? QString() : QStringLiteral("a"));
        EXPECT_EQ(q.GetValue(0), QString());
        EXPECT_EQ(q.GetValue(2), QString());
    }
}

TEST(ProfileInfo2, FewValuesStayInTheirFields) {
    // A profile that never had all its fields must not read back as the older layout.
    TProfileInfo2 p;
    p.SetValue(1, QStringLiteral("氏名の値"));
    TProfileInfo2 back;
    EXPECT_TRUE(LoadBytes(back, Record(p)));
    EXPECT_EQ(back.ValueCount(), kProfileFieldCount);
    EXPECT_EQ(back.GetValue(1), QStringLiteral("氏名の値"));
    EXPECT_EQ(back.GetValue(0), QString());
}

TEST(ProfileInfo2, ShortRecordsReadAsBlank) {
    TProfileInfo2 source;
    Fill(source);
    const QByteArray full = Record(source);
    for (int size : {0, 2, 15, 16, 18}) {
        SCOPED_TRACE(size);
        TProfileInfo2 p;
        p.SetGuid(kOtherGuid);
        Fill(p);
        p.SetGuid(kOtherGuid);
        EXPECT_TRUE(LoadBytes(p, full.left(size)));
        // Too short for an identity: a new one, never the one the profile had.
        if (size >= 16)
            EXPECT_EQ(p.Guid(), kGuid);
        else
            EXPECT_TRUE(p.Guid() != kOtherGuid && p.Guid() != kGuid);
        EXPECT_EQ(p.Values(), QStringList(kProfileFieldCount, QString()));
        EXPECT_TRUE(p.Face().Empty());
        EXPECT_TRUE(p.Mark().Empty());
    }
}

TEST(ProfileInfo2, LineBreaksEndValues) {
    // A value set with a line break keeps one line, so no later value moves.
    for (const char* brk : {"\r\n", "\r", "\n"}) {
        SCOPED_TRACE(QByteArray(brk).toHex().toStdString());
        TProfileInfo2 p;
        p.Clear();
        p.SetValue(5, QStringLiteral("一行目") + QString::fromLatin1(brk) + QStringLiteral("二行目"));
        p.SetValue(6, QStringLiteral("次"));
        TProfileInfo2 back;
        EXPECT_TRUE(LoadBytes(back, Record(p)));
        EXPECT_EQ(back.ValueCount(), kProfileFieldCount);
        EXPECT_EQ(back.GetValue(5), QStringLiteral("一行目 二行目"));
        EXPECT_EQ(back.GetValue(6), QStringLiteral("次"));
    }
    // The final line break adds no value; a text without one still ends its last value.
    TProfileInfo2 p;
    const QByteArray text = CrLfs(55) + "last";
    EXPECT_TRUE(LoadBytes(p, Header(1, 0, 0) + Int32(int32_t(text.size())) + text));
    EXPECT_EQ(p.ValueCount(), kProfileFieldCount);
    EXPECT_EQ(p.GetValue(55), QStringLiteral("last"));
}

TEST(ProfileInfo2, DamagedRecordsAreRefusedWithoutChangingTheProfile) {
    TProfileInfo2 source;
    Fill(source);
    const QByteArray good = Record(source);
    const int32_t n = int32_t(GetLE32(good.constData() + 19));
    source.SetCompressPictures(true);
    QByteArray corruptZlib = Record(source);
    corruptZlib[23 + n + 20] = char(corruptZlib[23 + n + 20] ^ 0x55);

    const struct {
        const char* Name;
        QByteArray Bytes;
        bool FormatError;
    } cases[] = {
        {"no length", Header(1, 0, 0), true},
        {"half a length", Header(1, 0, 0) + QByteArray("\x02\x00", 2), true},
        {"negative length", Header(1, 0, 0) + Int32(-1) + CrLfs(56), true},
        {"length past the end", Header(1, 0, 0) + Int32(113) + CrLfs(56), true},
        {"huge length", Header(1, 0, 0) + Int32(0x7FFFFFFF), true},
        {"face flag without a face", good.left(23 + n), false},
        {"truncated mark", good.left(good.size() - 10), false},
        {"corrupt compressed face", corruptZlib, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TProfileInfo2 p;
        p.SetGuid(kOtherGuid);
        p.Reset();
        SetBitmap(p.Face(), 1, 1);
        p.SetModified(true);
        const QByteArray face = Stored(p.Face());
        try {
            LoadBytes(p, c.Bytes);
            ADD_FAILURE() << "loaded";
        } catch (const EReadError& e) {
            EXPECT_TRUE(c.FormatError);
            EXPECT_EQ(e.Message(), InvalidStreamMessage());
        } catch (const Exception&) {
            EXPECT_FALSE(c.FormatError);
        }
        EXPECT_EQ(p.Guid(), kOtherGuid);
        EXPECT_EQ(p.Values(), ProfileFieldNames());
        EXPECT_EQ(Stored(p.Face()), face);
        EXPECT_TRUE(p.Mark().Empty());
        EXPECT_TRUE(p.Modified());
    }
}

TEST(ProfileInfo2, HeaderOnlyLeavesPicturesAndStopsAfterTheValues) {
    TProfileInfo2 source;
    Fill(source);
    const QByteArray bytes = Record(source);
    const int32_t n = int32_t(GetLE32(bytes.constData() + 19));

    TProfileInfo2 p;
    SetBitmap(p.Face(), 1, 1);
    const QByteArray face = Stored(p.Face());
    TMemoryStream s(bytes);
    EXPECT_TRUE(p.Load(s, false));
    EXPECT_EQ(s.Position(), 23 + n);
    EXPECT_EQ(p.Values(), source.Values());
    EXPECT_EQ(Stored(p.Face()), face);
    EXPECT_TRUE(p.Mark().Empty());
}

TEST(ProfileInfo2, ValuesOutOfRange) {
    TProfileInfo2 p;
    EXPECT_EQ(p.GetValue(0), QString());
    p.Clear();
    for (int bad : {-1, kProfileFieldCount, 1000}) EXPECT_EQ(p.GetValue(bad), QString()) << bad;
    p.SetValue(kProfileFieldCount + 2, QStringLiteral("x"));
    EXPECT_EQ(p.ValueCount(), kProfileFieldCount + 3);
    EXPECT_EQ(p.GetValue(kProfileFieldCount), QString());
    EXPECT_THROW(p.SetValue(-1, QStringLiteral("x")), EListError);
}

TEST(ProfileInfo2, ChangesSetModified) {
    const struct {
        const char* Name;
        void (*Change)(TProfileInfo2&);
    } cases[] = {
        {"value", [](TProfileInfo2& p) { p.SetValue(3, QStringLiteral("a")); }},
        {"face set",
         [](TProfileInfo2& p) {
             TPictureEx picture;
             SetBitmap(picture, 2, 2);
             p.SetFace(picture);
         }},
        {"mark set",
         [](TProfileInfo2& p) {
             TPictureEx picture;
             SetJPEG(picture);
             p.SetMark(picture);
         }},
        {"face edited", [](TProfileInfo2& p) { SetBitmap(p.Face(), 3, 3); }},
        {"mark cleared", [](TProfileInfo2& p) { p.Mark().SetGraphic(nullptr); }},
    };
    for (const auto& c : cases) {
        TProfileInfo2 p;
        EXPECT_FALSE(p.Modified());
        c.Change(p);
        EXPECT_TRUE(p.Modified()) << c.Name;
    }
}

TEST(ProfileInfo2, AssignAndCopyContent) {
    TProfileInfo2 source;
    Fill(source);
    source.SetModified(true);

    TProfileInfo2 assigned;
    assigned.SetCompressPictures(true);
    assigned.Assign(&source);
    EXPECT_TRUE(assigned.SameProfile(source));
    EXPECT_EQ(assigned.Values(), source.Values());
    EXPECT_EQ(Stored(assigned.Face()), Stored(source.Face()));
    EXPECT_EQ(Stored(assigned.Mark()), Stored(source.Mark()));
    EXPECT_TRUE(assigned.Modified());
    EXPECT_TRUE(assigned.CompressPictures()); // a writing preference, not content

    // The copy is independent of its source.
    SetBitmap(source.Face(), 9, 9);
    source.SetValue(1, QStringLiteral("changed"));
    EXPECT_NE(Stored(assigned.Face()), Stored(source.Face()));
    EXPECT_NE(assigned.GetValue(1), source.GetValue(1));

    source.SetModified(false);
    TProfileInfo2 copied;
    const TGUID own = copied.Guid();
    SetBitmap(copied.Mark(), 4, 4);
    copied.CopyContent(source);
    EXPECT_EQ(copied.Guid(), own);
    EXPECT_EQ(copied.Values(), source.Values());
    EXPECT_EQ(Stored(copied.Face()), Stored(source.Face()));
    EXPECT_EQ(Stored(copied.Mark()), Stored(source.Mark()));
    EXPECT_FALSE(copied.Modified()); // taken from the source, after the pictures changed

    TStringList other;
    EXPECT_THROW(copied.Assign(&other), EConvertError);
}
