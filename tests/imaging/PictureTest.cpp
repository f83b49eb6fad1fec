#include "imaging/PictureEx.h"

#include "base/Exceptions.h"
#include "imaging/DIBitmap.h"
#include "imaging/Envelope.h"
#include "imaging/GraphicRegistry.h"
#include "imaging/JPEGCodec.h"
#include "imaging/JPEGImage.h"
#include "imaging/PNGImage.h"
#include "imaging/SafetyBitmap.h"
#include "platform/PainterCanvas.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vellum;

namespace {

TDIB Pattern(int w, int h, int bits = 24) {
    TDIB dib(w, h, bits);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            dib.SetRawPixel(x, y, uint32_t(x * 40) | (uint32_t(y * 50) << 8) | 0x300000);
    return dib;
}

QByteArray Stored(const TPictureEx& picture) {
    TMemoryStream s;
    WritePictureToStream(picture, s);
    return s.Data();
}

void Load(TPictureEx& picture, const QByteArray& bytes) {
    TMemoryStream s(bytes);
    ReadPictureFromStream(picture, s);
}

template <class T>
std::unique_ptr<T> Make() {
    return std::make_unique<T>();
}

std::unique_ptr<TGraphic> BitmapOf(std::unique_ptr<TSafetyBitmap> bitmap, const TDIB& dib) {
    bitmap->SetDIB(dib);
    return bitmap;
}

} // namespace

TEST(GraphicRegistry, FilesAndStoredNamesResolveToTheProgramsKinds) {
    const TGraphicRegistry& r = TGraphicRegistry::Instance();
    struct Case {
        const char* ext;
        const char* kind;
    } cases[] = {{"bmp", "TBitmap"},          {"BMP", "TBitmap"},           {"cbm", "TBitmap"},
                 {"jpg", "TSafetyJPEGImage"}, {"jpeg", "TSafetyJPEGImage"}, {"png", "TPNGImage"},
                 {"pcd", "TPCDImage"},        {"emf", "TMetafile"},         {"ico", "TIcon"}};
    for (const Case& k : cases) EXPECT_EQ(r.ClassForExtension(k.ext), k.kind) << k.ext;
    EXPECT_TRUE(r.ClassForExtension("gif").isEmpty());
    for (const char* name : {"TBitmap", "TSafetyBitmap", "TJPEGImage", "TSafetyJPEGImage", "TPNGImage",
                             "TDIBitmap", "TMaskPicture", "TMetafile", "TIcon", "TPCDImage"}) {
        auto g = r.CreateByClassName(name);
        ASSERT_TRUE(g) << name;
        EXPECT_EQ(g->ClassName(), name);
    }
    EXPECT_EQ(r.ClassForClipboardFormat(TClipboardFormat::cfDIB), "TBitmap");
    EXPECT_EQ(r.ClassForClipboardFormat(TClipboardFormat::cfBitmap), "TBitmap");

    TGraphicRegistry local;
    RegisterPictureFormats(local);
    local.RegisterFileFormat("bmp", "Other", "TDIBitmap");
    EXPECT_EQ(local.ClassForExtension("BMP"), "TDIBitmap"); // the most recent wins
    local.UnregisterClass("TDIBitmap");
    EXPECT_EQ(local.ClassForExtension("BMP"), "TBitmap");
    EXPECT_FALSE(local.CreateByClassName("TDIBitmap"));
}

TEST(GraphicRegistry, KindsWithoutAReaderYetSaySoClearly) {
    TMemoryStream s;
    WriteU8(s, 5);
    s.WriteBytes("TIcon");
    WriteI32(s, 0);
    s.SetPosition(0);
    TPictureEx picture;
    try {
        ReadPictureFromStream(picture, s);
        FAIL();
    } catch (const EInvalidGraphicOperation& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("画像の形式 TIcon にはまだ対応していません"));
    }
}

TEST(PictureEx, StoredPicturesRoundTripByteForByteForEachKind) {
    const TDIB dib = Pattern(7, 5);
    TDIB alpha = Pattern(6, 4, 32);
    alpha.SetHasAlpha(true);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) alpha.ScanLine(y)[4 * x + 3] = uint8_t(x * 50);

    std::vector<std::unique_ptr<TGraphic>> graphics;
    graphics.push_back(BitmapOf(Make<TBitmap>(), dib));
    graphics.push_back(BitmapOf(Make<TSafetyBitmap>(), Pattern(3, 9, 8)));
    for (bool old : {true, false}) {
        std::unique_ptr<TSafetyJPEGImage> jpeg =
            old ? std::unique_ptr<TSafetyJPEGImage>(Make<TJPEGImage>()) : Make<TSafetyJPEGImage>();
        jpeg->SetData(EncodeJPEG(dib, 80));
        graphics.push_back(std::move(jpeg));
    }
    auto png = Make<TPNGImage>();
    png->SetBitmap(dib);
    graphics.push_back(std::move(png));
    auto pngAlpha = Make<TPNGImage>();
    pngAlpha->SetBitmap(alpha);
    graphics.push_back(std::move(pngAlpha));
    auto old = Make<TDIBitmap>();
    old->SetDIB(dib, {1, 1, 6, 4});
    graphics.push_back(std::move(old));

    for (auto& g : graphics) {
        const QString kind = g->ClassName();
        TPictureEx picture;
        picture.SetGraphic(std::move(g));
        const QByteArray bytes = Stored(picture);
        EXPECT_EQ(uint8_t(bytes[0]), kind.size());
        EXPECT_EQ(bytes.mid(1, kind.size()), kind.toLatin1());

        TPictureEx back;
        Load(back, bytes);
        ASSERT_TRUE(back.Graphic()) << kind.toStdString();
        EXPECT_EQ(back.Graphic()->ClassName(), kind);
        EXPECT_EQ(back.Width(), picture.Width()) << kind.toStdString();
        EXPECT_EQ(Stored(back), bytes) << kind.toStdString();
    }

    TPictureEx empty;
    EXPECT_FALSE(empty.HasData());
    EXPECT_EQ(Stored(empty), QByteArray(1, '\0'));
}

TEST(PictureEx, StoredBitmapFormIsALengthAndABmpFileOrItsEnvelope) {
    const TDIB dib = Pattern(2, 2);
    TPictureEx picture;
    picture.SetGraphic(BitmapOf(Make<TBitmap>(), dib));
    const QByteArray bytes = Stored(picture);
    const QByteArray bmp = dib.ToBMP();
    EXPECT_EQ(bytes, QByteArray("\x07TBitmap", 8) + QByteArray::fromHex("46000000") + bmp);

    const QByteArray packed = MakeEnvelope(bmp);
    TMemoryStream s;
    WriteU8(s, 7);
    s.WriteBytes("TBitmap");
    WriteI32(s, int32_t(packed.size()));
    s.WriteBytes(packed);
    TPictureEx back;
    Load(back, s.Data());
    EXPECT_EQ(dynamic_cast<TSafetyBitmap&>(*back.Graphic()).DIB().ToBMP(), bmp);
}

TEST(PictureEx, BadDataLeavesThePictureAsItWas) {
    TPictureEx picture;
    picture.SetGraphic(BitmapOf(Make<TBitmap>(), Pattern(4, 4)));
    const QByteArray before = Stored(picture);
    const TGraphic* graphic = picture.Graphic();

    QByteArray brokenBmp = before;
    brokenBmp[1 + 7 + 4 + 14 + 14] = 7; // bit count 7
    QByteArray shortLength = before;
    shortLength[8] = char(0xFF); // a length beyond the data
    QByteArray brokenJpeg =
        QByteArray("\x10TSafetyJPEGImage", 17) + QByteArray::fromHex("04000000") + "\xFF\xD8xx";
    QByteArray brokenPng =
        QByteArray("\x09TPNGImage", 10) + QByteArray::fromHex("0c000000") + "\x89PNG\r\n\x1a\nrest";
    QByteArray truncatedJpeg = QByteArray("\x0ATJPEGImage", 11);
    const QByteArray jfif = EncodeJPEG(Pattern(64, 64), 90);
    const QByteArray head = jfif.left(jfif.size() - 200); // the headers, part of the scan
    truncatedJpeg += QByteArray(4, '\0');
    PutLE32(truncatedJpeg.data() + 11, uint32_t(head.size()));
    truncatedJpeg += head;

    struct Case {
        QByteArray bytes;
        const char* what;
    } cases[] = {{brokenBmp, "bit count"},
                 {shortLength, "length"},
                 {brokenJpeg, "JPEG"},
                 {brokenPng, "PNG"},
                 {QByteArray("\x05TNone", 6), "unknown kind"},
                 {QByteArray("\x09TBit", 5), "short name"},
                 {truncatedJpeg, "truncated JPEG"}}; // last: its headers load, its scan fails
    for (const Case& k : cases) {
        EXPECT_THROW(
            {
                Load(picture, k.bytes);
                picture.Graphic()->Raster(); // JPEG bodies decode on first use
            },
            EInvalidGraphic)
            << k.what;
        if (std::string(k.what) != "truncated JPEG") {
            EXPECT_EQ(picture.Graphic(), graphic) << k.what;
            EXPECT_EQ(Stored(picture), before) << k.what;
        }
    }
}

TEST(PictureEx, FilesLoadAsTheRegisteredKinds) {
    QTemporaryDir dir;
    const TDIB dib = Pattern(5, 3);
    const QString bmp = dir.filePath("a.bmp"), jpg = dir.filePath("b.JPG"), cbm = dir.filePath("c.cbm");
    TMemoryStream(dib.ToBMP()).SaveToFile(bmp);
    // A comment segment behind the start marker: re-encoding would lose it.
    QByteArray jfif = EncodeJPEG(dib, 75);
    jfif.insert(2, QByteArray::fromHex("fffe0006") + "xyzw");
    TMemoryStream(jfif).SaveToFile(jpg);

    TPictureEx picture;
    picture.LoadFromFile(bmp);
    EXPECT_EQ(picture.Graphic()->ClassName(), "TBitmap");
    picture.SaveToFile(cbm);
    TMemoryStream packed;
    packed.LoadFromFile(cbm);
    EXPECT_TRUE(HasEnvelope(packed));
    TPictureEx compressed;
    compressed.LoadFromFile(cbm);
    EXPECT_EQ(dynamic_cast<TSafetyBitmap&>(*compressed.Graphic()).DIB().ToBMP(), dib.ToBMP());

    picture.LoadFromFile(jpg);
    EXPECT_EQ(picture.Graphic()->ClassName(), "TSafetyJPEGImage");
    EXPECT_EQ(picture.Width(), 5);
    TMemoryStream saved;
    picture.Graphic()->SaveToStream(saved);
    EXPECT_EQ(saved.Data(), jfif);
    EXPECT_THROW(picture.LoadFromFile(dir.filePath("x.gif")), EInvalidGraphic);
}

TEST(JPEG, LargePhotoForA1500PixelLimitDecodesAtHalfSize) {
    EXPECT_EQ(TSafetyJPEGImage::ScaleForLimit(4000, 3000, 1500), TJPEGScale::jsHalf);
    EXPECT_EQ(TSafetyJPEGImage::ScaleForLimit(3000, 4000, 600), TJPEGScale::jsQuarter);
    EXPECT_EQ(TSafetyJPEGImage::ScaleForLimit(4000, 3000, 100), TJPEGScale::jsEighth);
    EXPECT_EQ(TSafetyJPEGImage::ScaleForLimit(1000, 800, 1500), TJPEGScale::jsFullSize);

    TDIB big(4000, 3000, 24);
    for (int y = 0; y < 3000; ++y) {
        uint8_t* row = big.ScanLine(y);
        for (int x = 0; x < 4000; ++x) row[3 * x] = uint8_t(x ^ y), row[3 * x + 2] = uint8_t(y);
    }
    TSafetyJPEGImage jpeg;
    jpeg.SetData(EncodeJPEG(big, 70));
    EXPECT_EQ(jpeg.OriginalWidth(), 4000);
    jpeg.SetScale(TSafetyJPEGImage::ScaleForLimit(jpeg.OriginalWidth(), jpeg.OriginalHeight(), 1500));
    EXPECT_EQ(jpeg.Scale(), TJPEGScale::jsHalf);
    EXPECT_EQ(jpeg.Bitmap().Width(), 2000);
    EXPECT_EQ(jpeg.Bitmap().Height(), 1500);
    jpeg.SetScale(TJPEGScale::jsEighth);
    EXPECT_EQ(jpeg.Bitmap().Width(), 500);
}

TEST(PNG, ReadsOtherEncodersFilesAndWritesDeterministically) {
    // Qt's own PNG writer as an independent source: palette, grey, alpha.
    QImage colour(9, 6, QImage::Format_RGB32);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 9; ++x) colour.setPixel(x, y, qRgb(x * 25, y * 40, 200));
    QImage withAlpha = colour.convertToFormat(QImage::Format_ARGB32);
    withAlpha.setPixel(2, 3, qRgba(10, 20, 30, 0));
    const QImage grey = colour.convertToFormat(QImage::Format_Grayscale8);
    const QImage indexed = colour.convertToFormat(QImage::Format_Indexed8);
    for (const QImage& source : {colour, withAlpha, grey, indexed}) {
        QByteArray file;
        QBuffer buffer(&file);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(source.save(&buffer, "PNG"));
        const TDIB dib = DecodePNG(file);
        EXPECT_EQ(dib.HasAlpha(), source.hasAlphaChannel());
        const QImage expected = source.convertToFormat(QImage::Format_ARGB32);
        const QImage got = dib.ToImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(got, expected) << int(source.format());
        const QByteArray encoded = EncodePNG(dib);
        EXPECT_EQ(EncodePNG(DecodePNG(encoded)), encoded);
        EXPECT_EQ(QImage::fromData(encoded, "PNG").convertToFormat(QImage::Format_ARGB32), expected);
    }
}

TEST(MaskFromColor, ComparesChannelsAndNeedsAnExactPaletteEntry) {
    const TColor c = 0x123456; // red 0x56, blue 0x12: not grey
    for (int bits : {24, 32}) {
        TDIB dib(3, 1, bits);
        dib.SetRawPixel(1, 0, 0x563412); // bytes 12 34 56: blue 0x12, red 0x56
        dib.SetRawPixel(2, 0, 0x123456); // the byte-swapped colour must not match
        const TDIB mask = MaskFromColor(dib, c);
        EXPECT_EQ(mask.RawPixel(0, 0), 0u) << bits;
        EXPECT_EQ(mask.RawPixel(1, 0), 1u) << bits;
        EXPECT_EQ(mask.RawPixel(2, 0), 0u) << bits;
    }
    TDIB indexed(2, 1, 8); // grey ramp: 0xF0F0F0 is entry 240 exactly
    indexed.SetRawPixel(0, 0, 240);
    EXPECT_EQ(MaskFromColor(indexed, 0xF0F0F0).RawPixel(0, 0), 1u);
    indexed.Info().SetColors({0x000000, 0xEEEEEE, 0xFFFFFF});
    indexed.SetRawPixel(0, 0, 1);
    const TDIB none = MaskFromColor(indexed, 0xF0F0F0);
    EXPECT_EQ(none.RawPixel(0, 0) + none.RawPixel(1, 0), 0u);
}

TEST(SafetyBitmap, TransparentDrawingKeepsTheBackgroundOnRasterAndPrinterPaths) {
    TSafetyBitmap bitmap;
    TDIB dib(4, 4, 24);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            dib.SetRawPixel(x, y, x < 2 ? 0xFF0000 : 0x00FF00); // red | green (B, G, R bytes)
    bitmap.SetDIB(dib);
    bitmap.SetTransparent(true);
    bitmap.SetTransparentColor(0x00FF00); // green is see-through
    for (TCanvasTarget target : {TCanvasTarget::ctBitmap, TCanvasTarget::ctPrinter}) {
        QImage image(16, 8, QImage::Format_RGB32);
        image.fill(QColor(0, 0, 255));
        QPainter painter(&image);
        {
            TPainterCanvas canvas(painter, target);
            bitmap.Draw(canvas, {0, 0, 8, 8});
        }
        painter.end();
        EXPECT_EQ(image.pixel(1, 1), qRgb(255, 0, 0)) << int(target);
        EXPECT_EQ(image.pixel(6, 6), qRgb(0, 0, 255)) << int(target);
        EXPECT_EQ(image.pixel(12, 6), qRgb(0, 0, 255)) << int(target);
    }

    // A mask of its own wins over the colour until the bitmap changes.
    TDIB all(4, 4, 1);
    bitmap.SetMask(all); // nothing transparent
    EXPECT_EQ(bitmap.GetMask().RawPixel(3, 3), 0u);
    bitmap.Modified();
    EXPECT_EQ(bitmap.GetMask().RawPixel(3, 3), 1u);
    EXPECT_TRUE(bitmap.Companion().ImageDirty());
}

TEST(PictureEx, ChangesAreAnnouncedOnceAndConversionsQuietly) {
    TPictureEx picture;
    int calls = 0;
    const int id = picture.AddListener([&](TPictureEx& p) {
        ++calls;
        if (calls == 1) p.SetImageID("x"), dynamic_cast<TSafetyBitmap*>(p.Graphic())->Modified(); // not again
    });
    picture.SetGraphic(BitmapOf(Make<TBitmap>(), Pattern(2, 2)));
    EXPECT_EQ(calls, 1);
    dynamic_cast<TSafetyBitmap&>(*picture.Graphic()).SetDIB(Pattern(3, 3));
    EXPECT_EQ(calls, 2);
    TSafetyJPEGImage& jpeg = picture.AsJPEG();
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(jpeg.Empty());
    jpeg.Assign(TSafetyBitmap());
    picture.RemoveListener(id);
    picture.SetGraphic(nullptr);
    EXPECT_EQ(calls, 3);
}

TEST(PictureEx, AssignCopiesIdentifiersAndReusesAGraphicOfTheSameClass) {
    TPictureEx a, b;
    a.SetGraphic(BitmapOf(Make<TBitmap>(), Pattern(2, 3)));
    a.SetImageID("file.bmp");
    a.SetStorageID("S1");
    a.SetSourceID("third");
    b.SetGraphic(BitmapOf(Make<TBitmap>(), Pattern(1, 1)));
    const TGraphic* kept = b.Graphic();
    b.Assign(a);
    EXPECT_EQ(b.Graphic(), kept);
    EXPECT_EQ(b.Height(), 3);
    EXPECT_EQ(b.ImageID(), "file.bmp");
    EXPECT_EQ(b.StorageID(), "S1");
    EXPECT_EQ(b.SourceID(), "third");
    // JPEG graphics are replaced, not assigned in place.
    a.AsJPEG().SetData(EncodeJPEG(Pattern(4, 4), 90));
    b.AsJPEG().SetData(EncodeJPEG(Pattern(2, 2), 90));
    kept = b.Graphic();
    b.Assign(a);
    EXPECT_NE(b.Graphic(), kept);
    EXPECT_EQ(b.Width(), 4);
    // External pictures are not stored.
    b.SetExternal(true);
    EXPECT_FALSE(b.HasData());
}

TEST(PictureEx, ClipboardCarriesBitmapsBothWays) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    TPictureEx picture;
    picture.SetGraphic(BitmapOf(Make<TBitmap>(), Pattern(5, 4)));
    auto data = std::make_unique<QMimeData>();
    picture.SaveToClipboard(*data);
    clipboard->setMimeData(data.release());
    ASSERT_TRUE(TPictureEx::ClipboardHasPicture(*clipboard->mimeData()));
    TPictureEx back;
    ASSERT_TRUE(back.LoadFromClipboard(*clipboard->mimeData()));
    EXPECT_EQ(back.Graphic()->ClassName(), "TBitmap");
    EXPECT_EQ(back.Graphic()->Raster().ToBMP(), Pattern(5, 4).ToBMP());

    // The packed device-independent form, without the file header.
    QMimeData packed;
    packed.setData("image/bmp", Pattern(3, 2).ToBMP().mid(14));
    ASSERT_TRUE(back.LoadFromClipboard(packed));
    EXPECT_EQ(back.Graphic()->Raster().ToBMP(), Pattern(3, 2).ToBMP());

    TDIBitmap old;
    try {
        old.LoadFromClipboardFormat(TClipboardFormat::cfBitmap, packed);
        FAIL();
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("未対応のクリップボード データです"));
    }
    QMimeData text;
    text.setText("no picture");
    EXPECT_FALSE(TPictureEx::ClipboardHasPicture(text));
    EXPECT_FALSE(back.LoadFromClipboard(text));
}

TEST(DIBitmap, OlderFormWithALengthHasNoRectangle) {
    const TDIB dib = Pattern(6, 5);
    TMemoryStream s;
    WriteI32(s, int32_t(dib.ToBMP().size()));
    dib.WriteBMP(s);
    s.SetPosition(0);
    TDIBitmap old;
    old.ReadData(s);
    EXPECT_EQ(old.Visible(), (TRect{0, 0, 6, 5}));

    TMemoryStream withRect;
    dib.WriteBMP(withRect);
    for (int32_t v : {1, 2, 4, 5}) WriteI32(withRect, v);
    withRect.SetPosition(0);
    old.ReadData(withRect);
    EXPECT_EQ(old.Width(), 3);
    EXPECT_EQ(old.Height(), 3);
    EXPECT_EQ(old.Raster().Pixel(0, 0), dib.Pixel(1, 2));
}
