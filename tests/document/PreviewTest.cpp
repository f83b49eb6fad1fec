#include "DocumentFixture.h"

#include "base/Stream.h"
#include "core/DocStorage.h"
#include "core/DocStream.h"
#include "imaging/PNGImage.h"
#include "imaging/PictureEx.h"
#include "imaging/SafetyBitmap.h"
#include "paper/MatrixPaperInfo.h"
#include "paper/PaperInfo.h"

#include <QFile>

using namespace vellum;
using namespace vellum::test;

namespace {

// A bitmap of w x h whose pixel (x, y) tells its position.
TDIB Pattern(int w, int h) {
    TDIB dib(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) dib.SetRawPixel(x, y, uint32_t(x * 8) | uint32_t(y * 8) << 8 | 0x400000);
    return dib;
}

void WritePngPreview(TLabelData& doc, int i, int w, int h) {
    auto png = std::make_unique<TPNGImage>();
    png->SetBitmap(Pattern(w, h));
    TPictureEx picture;
    picture.SetGraphic(std::move(png));
    WritePictureToStream(picture, *doc.PreviewStream(i, false));
}

// The picture a failed read must leave alone.
void PutSentinel(TPictureEx& picture) {
    auto bitmap = std::make_unique<TSafetyBitmap>();
    bitmap->SetDIB(Pattern(3, 3));
    picture.SetGraphic(std::move(bitmap));
}

void ExpectSentinel(const TPictureEx& picture) {
    ASSERT_FALSE(picture.Empty());
    EXPECT_EQ(picture.Graphic()->ClassName(), QStringLiteral("TSafetyBitmap"));
    EXPECT_EQ(picture.Width(), 3);
}

void ReplaceStream(const QString& fileName, const QString& path, const QByteArray& bytes) {
    TTemporaryStorage root;
    root.LoadFromFile(fileName);
    TDocStream(root, kModeCreate, path).WriteBytes(bytes);
    root.SaveToFile(fileName);
}

void PutBE32(char* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = char(v >> (24 - 8 * i));
}

QByteArray Le32(uint32_t v) {
    QByteArray out(4, '\0');
    PutLE32(out.data(), v);
    return out;
}

} // namespace

TEST_F(DocumentTest, EveryWayOfChangingACardDeletesItsPreview) {
    TLabelData doc;
    SetMatrixPaper(doc, 2, 5);
    TOwnedDOList shapes;
    AddShapes(shapes, {100});
    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"SaveCard", [&] { doc.SaveCard(2, shapes); }},
        {"ClearCard", [&] { doc.ClearCard(2); }},
        {"CardStream", [&] { doc.CardStream(2, true, false)->WriteBytes("x"); }},
    };
    for (const auto& [name, change] : changes) {
        WritePngPreview(doc, 2, 10, 10);
        WritePngPreview(doc, 3, 10, 10);
        ASSERT_TRUE(doc.HasPreview(2)) << name;
        change();
        EXPECT_FALSE(doc.HasPreview(2)) << name;
        EXPECT_EQ(doc.PreviewStream(2, true), nullptr) << name;
        EXPECT_TRUE(doc.HasPreview(3)) << name;
    }

    // Compressing keeps the card as it is, and so its preview.
    doc.SaveCard(2, shapes);
    WritePngPreview(doc, 2, 10, 10);
    doc.CompressCard(2);
    EXPECT_TRUE(doc.IsCardCompressed(2));
    EXPECT_TRUE(doc.HasPreview(2));
}

TEST_F(DocumentTest, PreviewsOfASharedDesignAreItemZero) {
    TLabelData doc;
    SetMatrixPaper(doc, 2, 5);
    doc.SetSeparatelyDesign(false);
    WritePngPreview(doc, 4, 10, 10);
    EXPECT_TRUE(doc.HasPreview(7));
    doc.SetSeparatelyDesign(true);
    EXPECT_TRUE(doc.HasPreview(0));
    EXPECT_FALSE(doc.HasPreview(4));
    // An empty preview stream is no preview.
    doc.PreviewStream(1, false);
    EXPECT_FALSE(doc.HasPreview(1));
    EXPECT_NE(doc.PreviewStream(1, true), nullptr);
}

TEST_F(DocumentTest, ANewPaperClearsPreviewsOnlyWhenAskedAndSurplusOnesGo) {
    TLabelData doc;
    SetMatrixPaper(doc, 2, 5);
    for (int i : {0, 3, 9}) WritePngPreview(doc, i, 10, 10);
    // A plain paper change keeps them (loading a sheet sets its paper).
    SetMatrixPaper(doc, 2, 5);
    EXPECT_TRUE(doc.HasPreview(0));
    EXPECT_TRUE(doc.HasPreview(9));

    // Fewer faces: the previews beyond them go with their cards.
    SetMatrixPaper(doc, 1, 2);
    SetMatrixPaper(doc, 2, 5);
    EXPECT_TRUE(doc.HasPreview(0));
    EXPECT_FALSE(doc.HasPreview(9));

    std::unique_ptr<TPaperInfo> paper = doc.Paper()->Clone();
    doc.SetModified(false);
    doc.SetPaperAndClearPreviews(paper.get());
    EXPECT_TRUE(doc.Modified());
    EXPECT_FALSE(doc.HasPreview(0));
    EXPECT_FALSE(doc.HasPreview(3));

    // Also the previews a shared design does not use for the moment.
    WritePngPreview(doc, 3, 10, 10);
    doc.SetSeparatelyDesign(false);
    doc.SetPaperAndClearPreviews(paper.get());
    doc.SetSeparatelyDesign(true);
    EXPECT_FALSE(doc.HasPreview(3));
}

TEST_F(DocumentTest, APreviewIsReadBackFromTheFileAlone) {
    const QString file = PathOf(QStringLiteral("previews.vlm"));
    {
        TLabelData doc;
        SetMatrixPaper(doc, 2, 5);
        TOwnedDOList shapes;
        AddShapes(shapes, {100});
        doc.SaveCard(2, shapes);
        WritePngPreview(doc, 2, 30, 20);
        // The back shares one design; its preview is a plain bitmap file.
        doc.SwitchSheet(1);
        doc.SetSeparatelyDesign(false);
        doc.SaveCard(0, shapes);
        Pattern(7, 5).WriteBMP(*doc.PreviewStream(0, false));
        doc.SwitchSheet(0);
        doc.Save(file);
    }
    TPictureEx picture;
    ASSERT_TRUE(TLabelData::ReadPreviewFromFile(file, 0, 2, picture));
    EXPECT_EQ(picture.Graphic()->ClassName(), QStringLiteral("TPNGImage"));
    ASSERT_EQ(picture.Width(), 30);
    ASSERT_EQ(picture.Height(), 20);
    const TDIB expected = Pattern(30, 20);
    const TDIB read = picture.Graphic()->Raster();
    for (auto [x, y] : {std::pair{0, 0}, {29, 0}, {13, 19}})
        EXPECT_EQ(read.Pixel(x, y), expected.Pixel(x, y));

    ASSERT_TRUE(TLabelData::ReadPreviewFromFile(file, 1, 6, picture));
    EXPECT_EQ(picture.Graphic()->ClassName(), QStringLiteral("TBitmap"));
    EXPECT_EQ(picture.Width(), 7);
    EXPECT_EQ(picture.Graphic()->Raster().Pixel(6, 4), Pattern(7, 5).Pixel(6, 4));

    // No such sheet, card or file: false, and the picture stays.
    PutSentinel(picture);
    const QString notADocument = PathOf(QStringLiteral("text.vlm"));
    {
        QFile text(notADocument);
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write("not a compound file");
    }
    const struct {
        QString File;
        int Sheet, Card;
    } absent[] = {{file, 0, 3},        {file, 0, 40}, {file, 2, 0},
                  {file, -1, 0},       {file, 0, -1}, {PathOf(QStringLiteral("none.vlm")), 0, 0},
                  {notADocument, 0, 0}};
    for (const auto& c : absent) {
        EXPECT_FALSE(TLabelData::ReadPreviewFromFile(c.File, c.Sheet, c.Card, picture))
            << c.Sheet << "," << c.Card;
        ExpectSentinel(picture);
    }
}

TEST_F(DocumentTest, DamagedPreviewsReadAsNone) {
    const QString file = PathOf(QStringLiteral("damaged.vlm"));
    {
        TLabelData doc;
        WritePngPreview(doc, 0, 4, 4);
        doc.Save(file);
    }
    const QString path = QStringLiteral("Sheets\\NameList0\\Preview0");
    const QByteArray png = EncodePNG(Pattern(4, 4));
    // A header that claims a picture far larger than its data.
    QByteArray huge = png.left(33);
    PutBE32(huge.data() + 16, 60000);
    PutBE32(huge.data() + 20, 60000);
    const QByteArray name = QByteArray("\x09TPNGImage");
    const struct {
        const char* What;
        QByteArray Bytes;
    } cases[] = {
        {"empty", {}},
        {"no picture", QByteArray(1, '\0')},
        {"bitmap header only", QByteArray("BM\x10\x00", 4)},
        {"name longer than the stream", "\xC8TPNG"},
        {"unknown kind", "\x07TNoSuch" + Le32(4) + "abcd"},
        {"length beyond the data", name + Le32(0x7FFFFFFF) + png},
        {"negative length", name + Le32(0xFFFFFFF0) + png},
        {"truncated PNG", name + Le32(uint32_t(png.size() - 10)) + png.left(png.size() - 10)},
        {"oversized PNG", name + Le32(uint32_t(huge.size())) + huge},
    };
    for (const auto& c : cases) {
        ReplaceStream(file, path, c.Bytes);
        TPictureEx picture;
        PutSentinel(picture);
        EXPECT_FALSE(TLabelData::ReadPreviewFromFile(file, 0, 0, picture)) << c.What;
        ExpectSentinel(picture);
    }
    // A damaged preview list is no list.
    ReplaceStream(file, path, name + Le32(uint32_t(png.size())) + png);
    TPictureEx picture;
    EXPECT_TRUE(TLabelData::ReadPreviewFromFile(file, 0, 0, picture));
    ReplaceStream(file, QStringLiteral("Sheets\\NameList0\\Preview"), "\x01");
    PutSentinel(picture);
    EXPECT_FALSE(TLabelData::ReadPreviewFromFile(file, 0, 0, picture));
    ExpectSentinel(picture);
}

namespace {

// The preview of card i as stored in the working copy.
std::unique_ptr<TPictureEx> StoredPreview(TLabelData& doc, int i) {
    std::unique_ptr<TStream> stream = doc.PreviewStream(i, true);
    if (!stream) return nullptr;
    auto picture = std::make_unique<TPictureEx>();
    ReadPictureFromStream(*picture, *stream);
    return picture;
}

void SetPaper(TLabelData& doc, int32_t faceWidth, int32_t faceHeight) {
    TMatrixPaperInfo paper;
    paper.SetPortraitSize(2100, 2970);
    paper.FaceWidth = faceWidth;
    paper.FaceHeight = faceHeight;
    paper.FaceCountX = 2;
    paper.FaceCountY = 2;
    doc.SetPaper(&paper);
}

} // namespace

TEST_F(DocumentTest, ACardIsDrawnIntoAPngPreviewFittingTheSquare) {
    const struct { int32_t Width, Height; } faces[] = {{910, 550}, {300, 900}, {200, 200}};
    for (const auto& face : faces) {
        TLabelData doc;
        SetPaper(doc, face.Width, face.Height);
        TOwnedDOList shapes;
        // A black square over the top-left fifth of the card.
        shapes.Give(std::make_unique<TTestShape>()).SetRect(TRect{0, 0, face.Width / 5, face.Height / 5});
        doc.SaveCard(1, shapes);
        doc.MakePreview(1);
        std::unique_ptr<TPictureEx> preview = StoredPreview(doc, 1);
        ASSERT_NE(preview, nullptr) << face.Width;
        EXPECT_EQ(preview->Graphic()->ClassName(), QStringLiteral("TPNGImage"));
        const int w = preview->Width(), h = preview->Height();
        EXPECT_EQ(std::max(w, h), 200) << face.Width;
        // The card's aspect, to a pixel.
        EXPECT_LE(std::abs(int64_t(w) * face.Height - int64_t(h) * face.Width),
                  std::max(face.Width, face.Height))
            << w << "x" << h;
        const TDIB pixels = preview->Graphic()->Raster();
        EXPECT_EQ(pixels.BitCount(), 24);
        EXPECT_EQ(pixels.Pixel(w / 10, h / 10), clBlack) << face.Width;
        EXPECT_EQ(pixels.Pixel(w / 2, h / 2), TColor(0xFFFFFF)) << face.Width;
        EXPECT_EQ(pixels.Pixel(w - 1, h - 1), TColor(0xFFFFFF)) << face.Width;

        // A preview is made once; an empty card gets none.
        const QByteArray first = doc.PreviewStream(1, true)->ReadAll();
        doc.MakePreview(1);
        EXPECT_EQ(doc.PreviewStream(1, true)->ReadAll(), first);
        TOwnedDOList none;
        doc.SaveCard(0, none);
        doc.MakePreview(0);
        doc.MakePreview(2);
        EXPECT_FALSE(doc.HasPreview(0));
        EXPECT_FALSE(doc.HasPreview(2));
    }
}

TEST_F(DocumentTest, SavingMakesTheMissingPreviewsOfEverySheet) {
    const QString file = PathOf(QStringLiteral("made.vlm"));
    TLabelData doc;
    SetMatrixPaper(doc, 2, 5);
    TOwnedDOList shapes;
    AddShapes(shapes, {100});
    doc.SaveCard(0, shapes);
    doc.SaveCard(3, shapes);
    doc.SwitchSheet(1);
    SetMatrixPaper(doc, 2, 5);
    doc.SetSeparatelyDesign(false);
    doc.SaveCard(4, shapes);
    doc.SwitchSheet(0);
    doc.Save(file);
    EXPECT_EQ(doc.CurrentSheet(), 0);
    EXPECT_TRUE(doc.HasPreview(0));
    EXPECT_TRUE(doc.HasPreview(3));
    EXPECT_FALSE(doc.HasPreview(1));
    // Made before the cards were compressed, read without a working copy.
    EXPECT_TRUE(doc.IsCardCompressed(3));
    TPictureEx fromFile;
    EXPECT_TRUE(TLabelData::ReadPreviewFromFile(file, 0, 3, fromFile));
    EXPECT_TRUE(TLabelData::ReadPreviewFromFile(file, 1, 9, fromFile));
    EXPECT_FALSE(TLabelData::ReadPreviewFromFile(file, 0, 1, fromFile));
    const QByteArray before = doc.PreviewStream(3, true)->ReadAll();

    // A changed card gets a new preview on the next save, from its compressed stream too.
    TOwnedDOList moved;
    AddShapes(moved, {600});
    doc.SaveCard(3, moved);
    EXPECT_FALSE(doc.HasPreview(3));
    doc.DeletePreview(0);
    ASSERT_TRUE(doc.IsCardCompressed(0));
    doc.Save(file);
    ASSERT_TRUE(doc.HasPreview(3));
    EXPECT_NE(doc.PreviewStream(3, true)->ReadAll(), before);
    EXPECT_TRUE(doc.HasPreview(0));
}

TEST_F(DocumentTest, ACardThatCannotBeReadIsSavedWithoutAPreview) {
    TLabelData doc;
    SetMatrixPaper(doc, 2, 5);
    TOwnedDOList shapes;
    AddShapes(shapes, {100});
    doc.SaveCard(0, shapes);
    // A card of a kind this program does not know.
    QByteArray card = doc.CardStream(0, false, false)->ReadAll();
    const int at = card.indexOf("TTestShape");
    ASSERT_GE(at, 0);
    card.replace(at, 10, "TNoneShape");
    doc.CardStream(1, true, false)->WriteBytes(card);
    WritePngPreview(doc, 1, 5, 5);
    doc.DeletePreview(1);

    const QString file = PathOf(QStringLiteral("unknown.vlm"));
    doc.Save(file);
    EXPECT_TRUE(doc.HasPreview(0));
    EXPECT_FALSE(doc.HasPreview(1));
    TLabelData reopened;
    reopened.Load(file);
    EXPECT_TRUE(reopened.HasCard(1));
}
