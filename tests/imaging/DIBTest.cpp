#include "imaging/DIB.h"

#include "BmpBuilder.h"
#include "base/Exceptions.h"
#include "imaging/Envelope.h"
#include "platform/PainterCanvas.h"
#include "platform/RecordingCanvas.h"

#include <gtest/gtest.h>

using namespace vellum;
using namespace vellum::test;

namespace {

void ExpectInvalid(const QByteArray& bytes, const char* what) {
    try {
        TDIB::FromBMP(bytes);
        ADD_FAILURE() << "accepted: " << what;
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("ビットマップイメージが不正です")) << what;
    }
}

TDIB Gradient(int w, int h) {
    TDIB dib(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            dib.SetRawPixel(x, y, uint32_t(x * 20) | (uint32_t(y * 30) << 8) | 0x400000);
    return dib;
}

} // namespace

TEST(DIB, OnePixel24BitBmpIs58BytesWithFourByteRows) {
    TDIB dib(1, 1, 24);
    dib.SetRawPixel(0, 0, 0x336699); // bytes B=99 G=66 R=33
    EXPECT_EQ(dib.Stride(), 4);
    const QByteArray bmp = dib.ToBMP();
    EXPECT_EQ(bmp, Hex("424d3a000000"
                       "00000000"
                       "36000000" // file header
                       "28000000"
                       "01000000"
                       "01000000"
                       "0100"
                       "1800"
                       "00000000"
                       "04000000" // info header
                       "00000000"
                       "00000000"
                       "00000000"
                       "00000000"
                       "99663300"));
    const TDIB back = TDIB::FromBMP(bmp);
    EXPECT_EQ(back.Pixel(0, 0), 0x996633u); // 0x00BBGGRR
    EXPECT_EQ(back.ToBMP(), bmp);
}

TEST(DIB, CoreHeaderAt8BitsLoadsWith256FourByteEntries) {
    TBmpSpec s{.HeaderSize = 12, .Width = 2, .Height = 1, .BitCount = 8};
    for (uint32_t i = 0; i < 256; ++i) s.Colors.push_back(i << 16 | (255 - i));
    s.Bits = Hex("0580"
                 "0000");
    const TDIB dib = TDIB::FromBMP(BuildBmp(s));
    EXPECT_EQ(dib.Info().HeaderSize(), 40u);
    EXPECT_EQ(dib.Info().ColorCount(), 256);
    EXPECT_EQ(dib.Info().Block().size(), 40 + 256 * 4);
    EXPECT_EQ(dib.Pixel(0, 0), 0xFA0005u); // entry 5: R = 5, B = 250
    EXPECT_EQ(dib.RawPixel(1, 0), 0x80u);
}

TEST(DIB, EveryBitCountReadsBottomUpAndTopDown) {
    struct Case {
        uint16_t bits;
        uint32_t compression;
        std::vector<uint32_t> masks, colors;
        QByteArray row0, row1; // top row, bottom row, as stored
        TColor topLeft, bottomRight;
    } cases[] = {
        {1, 0, {}, {0x000000, 0xFFFFFF}, Hex("80000000"), Hex("40000000"), 0xFFFFFF, 0xFFFFFF},
        {4, 0, {}, {0x000000, 0x0000FF, 0x00FF00}, Hex("12000000"), Hex("21000000"), 0xFF0000, 0xFF0000},
        {8, 0, {}, {0x000000, 0x112233, 0x445566}, Hex("02010000"), Hex("00010000"), 0x665544, 0x332211},
        {16, 0, {}, {}, Hex("007c1f00"), Hex("e0030000"), 0x0000FF, 0x000000},
        {16, 3, {0xF800, 0x07E0, 0x001F}, {}, Hex("00f8e007"), Hex("1f000000"), 0x0000FF, 0x000000},
        {24, 0, {}, {}, Hex("0000ff00ff000000"), Hex("ff0000ffffff0000"), 0x0000FF, 0xFFFFFF},
        {32, 0, {}, {}, Hex("0000ff0000ff0000"), Hex("ff00000001020300"), 0x0000FF, 0x010203},
        {32,
         3,
         {0x00FF0000, 0x0000FF00, 0x000000FF},
         {},
         Hex("0000ff0000ff0000"),
         Hex("ff00000001020300"),
         0x0000FF,
         0x010203},
    };
    for (const Case& k : cases) {
        for (bool topDown : {false, true}) {
            TBmpSpec s{.Width = 2,
                       .Height = topDown ? -2 : 2,
                       .BitCount = k.bits,
                       .Compression = k.compression,
                       .ColorsUsed = uint32_t(k.colors.size()),
                       .Masks = k.masks,
                       .Colors = k.colors};
            s.Bits = topDown ? k.row0 + k.row1 : k.row1 + k.row0;
            const TDIB dib = TDIB::FromBMP(BuildBmp(s));
            EXPECT_EQ(dib.Pixel(0, 0), k.topLeft) << k.bits << " top-down " << topDown;
            EXPECT_EQ(dib.Pixel(1, 1), k.bottomRight) << k.bits << " top-down " << topDown;
            // Written back bottom-up; reading that again changes nothing.
            const QByteArray written = dib.ToBMP();
            EXPECT_EQ(TDIB::FromBMP(written).ToBMP(), written);
            EXPECT_EQ(dib.ToImage().pixel(0, 0),
                      QColor(int(k.topLeft & 0xFF), int(k.topLeft >> 8 & 0xFF), int(k.topLeft >> 16)).rgb())
                << k.bits;
        }
    }
}

TEST(DIB, RunLengthBitmapsDecode) {
    // RLE8, 4 x 2: the bottom row a run of three 7s, then end of line; the
    // top row four absolute pixels; end of bitmap.
    TBmpSpec s8{.Width = 4, .Height = 2, .BitCount = 8, .Compression = 1, .ColorsUsed = 8};
    for (uint32_t i = 0; i < 8; ++i) s8.Colors.push_back(i * 0x20);
    s8.Bits = Hex("0307"
                  "0000"
                  "0004"
                  "01020304"
                  "0001");
    const TDIB d8 = TDIB::FromBMP(BuildBmp(s8));
    EXPECT_EQ(d8.RawPixel(0, 1), 7u);
    EXPECT_EQ(d8.RawPixel(2, 1), 7u);
    EXPECT_EQ(d8.RawPixel(3, 1), 0u); // left out: index 0
    EXPECT_EQ(d8.RawPixel(3, 0), 4u);
    EXPECT_EQ(d8.Info().Compression(), BI_RGB);

    TBmpSpec s4{.Width = 5, .Height = 1, .BitCount = 4, .Compression = 2, .ColorsUsed = 16};
    s4.Colors.assign(16, 0);
    s4.Bits = Hex("0312"
                  "0002"
                  "0200"
                  "0001"); // run 1,2,1 then a move by (2, 0)
    const TDIB d4 = TDIB::FromBMP(BuildBmp(s4));
    EXPECT_EQ(d4.RawPixel(0, 0), 1u);
    EXPECT_EQ(d4.RawPixel(1, 0), 2u);
    EXPECT_EQ(d4.RawPixel(2, 0), 1u);
}

TEST(DIB, BadFieldsRaiseTheInvalidBitmapError) {
    const TBmpSpec good{.Width = 2, .Height = 2, .BitCount = 24, .Bits = QByteArray(16, '\0')};
    ASSERT_NO_THROW(TDIB::FromBMP(BuildBmp(good)));
    auto with = [&](auto change) {
        TBmpSpec s = good;
        change(s);
        return BuildBmp(s);
    };
    QByteArray badSignature = BuildBmp(good);
    badSignature[0] = 'X';
    ExpectInvalid(badSignature, "signature");
    ExpectInvalid(BuildBmp(good).left(30), "truncated header");
    ExpectInvalid(BuildBmp(good).left(60), "truncated bits");
    ExpectInvalid(with([](TBmpSpec& s) { s.HeaderSize = 39; }), "header size 39");
    QByteArray hugeHeader = BuildBmp(good);
    PutLE32(hugeHeader.data() + 14, 0x7FFFFFF0);
    ExpectInvalid(hugeHeader, "header larger than the file");
    ExpectInvalid(with([](TBmpSpec& s) { s.Planes = 2; }), "planes");
    ExpectInvalid(with([](TBmpSpec& s) { s.BitCount = 7; }), "bit count");
    ExpectInvalid(with([](TBmpSpec& s) { s.Width = 0; }), "zero width");
    ExpectInvalid(with([](TBmpSpec& s) { s.Width = -2; }), "negative width");
    ExpectInvalid(with([](TBmpSpec& s) { s.Height = 0; }), "zero height");
    ExpectInvalid(with([](TBmpSpec& s) {
                      s.Width = 0x7FFFFFFF;
                      s.BitCount = 32;
                  }),
                  "row size overflow");
    ExpectInvalid(with([](TBmpSpec& s) { s.Height = 100000; }), "more rows than data");
    ExpectInvalid(with([](TBmpSpec& s) { s.Compression = 4; }), "JPEG compression");
    ExpectInvalid(with([](TBmpSpec& s) { s.Compression = 3; }), "bit fields at 24 bits");
    ExpectInvalid(with([](TBmpSpec& s) { s.Compression = 1; }), "RLE8 at 24 bits");
    ExpectInvalid(with([](TBmpSpec& s) { s.ColorsUsed = 1000; }), "colour table beyond the file");
    ExpectInvalid(with([](TBmpSpec& s) { s.OffBits = 20; }), "bits inside the header");
    ExpectInvalid(with([](TBmpSpec& s) { s.OffBits = 5000; }), "bits beyond the file");
    ExpectInvalid(with([](TBmpSpec& s) {
                      s.BitCount = 8;
                      s.ColorsUsed = 257;
                      s.Colors.assign(257, 0);
                  }),
                  "more colours than 2^bits");
    ExpectInvalid(with([](TBmpSpec& s) {
                      s.BitCount = 16;
                      s.Compression = 3;
                      s.Masks = {0, 0, 0};
                  }),
                  "zero masks");
    auto rle = [&](int height, const char* bits) {
        return with([&](TBmpSpec& s) {
            s.BitCount = 8;
            s.Compression = 1;
            s.Height = height;
            s.Colors.assign(256, 0);
            s.Bits = Hex(bits);
        });
    };
    ASSERT_NO_THROW(TDIB::FromBMP(rle(2, "02010001")));
    ExpectInvalid(rle(2, "03010001"), "run beyond the row");
    ExpectInvalid(rle(2, "0000000002010001"), "rows beyond the height");
    ExpectInvalid(rle(2, "0004010203"), "absolute run beyond the data");
    ExpectInvalid(rle(2, "0002"), "delta without its bytes");
    ExpectInvalid(rle(-2, "02010001"), "top-down RLE");
    ExpectInvalid(with([](TBmpSpec& s) {
                      s.BitCount = 8;
                      s.Compression = 1;
                      s.Width = 30000;
                      s.Height = 30000;
                      s.Colors.assign(256, 0);
                      s.Bits = Hex("0001");
                  }),
                  "RLE claiming far more pixels than its data holds");
}

TEST(DIB, EnvelopeYieldsExactlyItsLengthAndLeavesTheRestToTheCaller) {
    const QByteArray data(100, 'x');
    TMemoryStream stream(MakeEnvelope(data) + "tail");
    EXPECT_TRUE(HasEnvelope(stream));
    EXPECT_EQ(stream.Position(), 0);
    EXPECT_EQ(ReadEnvelope(stream), data);
    EXPECT_EQ(stream.ReadAll(), QByteArray("tail"));

    // A length that does not match what inflates is damage.
    QByteArray wrong = MakeEnvelope(data);
    wrong[13] = 99;
    TMemoryStream bad(wrong);
    EXPECT_THROW(ReadEnvelope(bad), EInvalidGraphic);

    // A bitmap inside an envelope reads like the bitmap itself.
    const TDIB dib = Gradient(3, 2);
    TMemoryStream packed(QByteArray("ab") + MakeEnvelope(dib.ToBMP()));
    packed.SetPosition(2);
    EXPECT_EQ(TDIB::ReadBMP(packed).ToBMP(), dib.ToBMP());

    // A plain BMP in a longer stream reads exactly its own bytes.
    TMemoryStream plain(dib.ToBMP() + "next");
    EXPECT_EQ(TDIB::ReadBMP(plain).ToBMP(), dib.ToBMP());
    EXPECT_EQ(plain.ReadAll(), QByteArray("next"));
}

TEST(DIB, ViewsShareTheRows) {
    TDIB dib = Gradient(5, 3);
    const QImage view = dib.View();
    EXPECT_EQ(view.constBits(), dib.Bits().Data());
    EXPECT_EQ(view.pixel(2, 1), qRgb(0x40, 30, 40));
    for (int bits : {1, 8, 32}) {
        const TDIB other(3, 2, bits);
        EXPECT_EQ(other.View().constBits(), other.Bits().Data()) << bits;
    }
    EXPECT_EQ(TDIB::DefaultPalette().size(), 256u);
    EXPECT_EQ(TDIB::GreyRamp()[200], 0xC8C8C8u);
    TDIB grey(4, 4, 8);
    QImage paint = grey.PaintableView();
    ASSERT_EQ(paint.format(), QImage::Format_Grayscale8);
    paint.setPixelColor(1, 1, QColor(200, 200, 200));
    EXPECT_EQ(grey.RawPixel(1, 1), 200u);
}

TEST(DIBResample, FiveColumnsIntoTwoTakeTheSecondAndFourth) {
    TDIB dib(9, 1, 8);
    for (int x = 0; x < 9; ++x) dib.SetRawPixel(x, 0, uint32_t(x));
    const TDIB out = dib.Resample({2, 0, 7, 1}, QSize(2, 1), {0, 0, 2, 1});
    ASSERT_EQ(out.Width(), 2);
    EXPECT_EQ(out.RawPixel(0, 0), 3u); // x0 + 1
    EXPECT_EQ(out.RawPixel(1, 0), 5u); // x0 + 3
    EXPECT_EQ(TDIB::SampleIndex(2, 5, 0, 2), 3);
    EXPECT_EQ(TDIB::SampleIndex(2, 5, 1, 2), 5);
    // Enlarging repeats columns around their centres.
    EXPECT_EQ(TDIB::SampleIndex(0, 2, 0, 4), 0);
    EXPECT_EQ(TDIB::SampleIndex(0, 2, 1, 4), 0);
    EXPECT_EQ(TDIB::SampleIndex(0, 2, 2, 4), 1);
}

TEST(DIBDraw, ClippedDrawEqualsTheSameColumnsOfTheUnclippedDraw) {
    for (int bits : {1, 4, 8, 24, 32}) {
        TDIB dib(7, 5, bits);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                dib.SetRawPixel(x, y, uint32_t(x * 7 + y * 3) * (bits >= 24 ? 0x010305 : 1));
        QImage whole(40, 30, QImage::Format_RGB32), part(40, 30, QImage::Format_RGB32);
        whole.fill(Qt::white);
        part.fill(Qt::white);
        {
            TPainterCanvas c(whole);
            dib.Draw(c, {3, 2, 26, 19});
        }
        {
            TPainterCanvas c(part);
            c.IntersectClipRect({11, 6, 20, 25});
            dib.Draw(c, {3, 2, 26, 19});
        }
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 40; ++x) {
                const bool inClip = x >= 11 && x < 20 && y >= 6 && y < 25;
                ASSERT_EQ(part.pixel(x, y), inClip ? whole.pixel(x, y) : qRgb(255, 255, 255))
                    << bits << " bits at " << x << "," << y;
            }
        }
        // The unclipped draw follows the centre-sampling rule.
        for (int j = 0; j < 23; ++j) {
            const int sx = TDIB::SampleIndex(0, 7, j, 23);
            const TColor c = dib.Pixel(sx, TDIB::SampleIndex(0, 5, 4, 17));
            ASSERT_EQ(whole.pixel(3 + j, 2 + 4), qRgb(int(c & 0xFF), int(c >> 8 & 0xFF), int(c >> 16 & 0xFF)))
                << bits << " column " << j;
        }
    }
}

TEST(DIBDraw, ScreensGetOnlyTheVisiblePartPrintersTheWholeImage) {
    const TDIB dib = Gradient(100, 80);
    TRecordingCanvas screen({0, 0, 300, 300});
    screen.IntersectClipRect({50, 60, 70, 65});
    dib.Draw(screen, {0, 0, 200, 160});
    EXPECT_EQ(screen.Log().last(), "Image 20x5 (50,60,70,65) <- (0,0,20,5) mode 0");

    TRecordingCanvas printer({0, 0, 300, 300}, 600, true);
    dib.Draw(printer, {0, 0, 200, 160});
    EXPECT_EQ(printer.Log().last(), "Image 100x80 (0,0,200,160) <- (0,0,100,80) mode 0");
}

TEST(DIBDraw, RefusedImagesAreDrawnOneDestinationRowAtATime) {
    const TDIB dib = Gradient(10, 4);
    TRecordingCanvas printer({0, 0, 300, 300}, 600, true);
    printer.SetMaxImagePixels(100);
    dib.Draw(printer, {0, 0, 20, 6});
    const QStringList log = printer.Log();
    ASSERT_EQ(log.size(), 7);
    EXPECT_TRUE(log[0].endsWith("refused"));
    // Destination row e of 6 takes source rows e*4/6 .. (e+1)*4/6, at least one.
    const char* rows[] = {"(0,0,10,1)", "(0,0,10,1)", "(0,1,10,2)", "(0,2,10,3)", "(0,2,10,3)", "(0,3,10,4)"};
    for (int e = 0; e < 6; ++e) {
        EXPECT_EQ(log[e + 1],
                  QStringLiteral("Image 10x4 (0,%1,20,%2) <- %3 mode 0").arg(e).arg(e + 1).arg(rows[e]));
    }
    // A device that refuses even single rows gets nothing more.
    printer.ClearLog();
    printer.SetMaxImagePixels(1);
    dib.Draw(printer, {0, 0, 20, 6});
    EXPECT_EQ(printer.Log().size(), 2);
}
