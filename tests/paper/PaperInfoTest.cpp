#include "paper/FreePaperInfo.h"
#include "paper/MatrixPaperInfo.h"
#include "paper/PaperClasses.h"

#include "base/ClassRegistry.h"
#include "base/Exceptions.h"
#include "base/Filer.h"
#include "base/Stream.h"

#include "../support/WrittenBytes.h"
#include <gtest/gtest.h>

using namespace vellum;

namespace {

class PaperTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearClassRegistry();
        RegisterPaperClasses();
    }
    void TearDown() override { ClearClassRegistry(); }
};

// The A4 sheet of 2 x 5 cards of 91 x 55 mm without gaps.
std::unique_ptr<TMatrixPaperInfo> TenUp() {
    auto p = std::make_unique<TMatrixPaperInfo>();
    p->SetPortraitSize(2100, 2970);
    p->SetPaperName(QStringLiteral("A4 10"));
    p->LeftOffset = 140;
    p->TopOffset = 110;
    p->FaceWidth = 910;
    p->FaceHeight = 550;
    p->FaceCountX = 2;
    p->FaceCountY = 5;
    return p;
}

TFaceItem* AddFace(TFreePaperInfo& paper, TRect r, TFaceShape shape = TFaceShape::fsRect) {
    TFaceItem* item = paper.Faces().Add();
    item->Rect = r;
    item->Face.Shape = shape;
    return item;
}

QByteArray Write(const TComponent& c) { return test::ComponentBytes(c); }

std::unique_ptr<TPaperInfo> Read(const QByteArray& bytes) {
    TMemoryStream s(bytes);
    std::unique_ptr<TComponent> c(ReadComponent(s));
    return TakeAs<TPaperInfo>(c);
}

QByteArray Prop(const char* name, const QByteArray& value) {
    return QByteArray(1, char(std::strlen(name))) + name + value;
}
QByteArray Hex(const char* hex) { return QByteArray::fromHex(hex); }

// The stream with one more property before the end of the root's property list.
QByteArray WithProperty(QByteArray stream, const QByteArray& prop) {
    EXPECT_TRUE(stream.endsWith(Hex("0000")));
    stream.insert(stream.size() - 2, prop);
    return stream;
}

} // namespace

TEST_F(PaperTest, MatrixFacesPortraitLandscapeAndMargin) {
    auto p = TenUp();
    EXPECT_EQ(p->FaceCount(), 10);
    EXPECT_EQ(p->FacePlacedRect(3), (TRect{1050, 660, 1960, 1210}));
    EXPECT_EQ(p->FacePlacedRect(9), (TRect{1050, 2310, 1960, 2860}));
    EXPECT_EQ(p->Width(), 2100);
    p->SetLandscape(true);
    EXPECT_EQ(p->FacePlacedRect(0), (TRect{110, 1050, 660, 1960}));
    EXPECT_EQ(p->Width(), 2970);
    EXPECT_EQ(p->Height(), 2100);
    // The oriented size writes through to the right side.
    p->SetWidth(2800);
    EXPECT_EQ(p->PortraitHeight(), 2800);
    p->SetWidth(2970);
    p->Face.Margin = 20;
    EXPECT_EQ(p->FacePlacedRect(0), (TRect{90, 1030, 680, 1980}));
    p->SetLandscape(false);
    EXPECT_EQ(p->FacePlacedRect(3), (TRect{1030, 640, 1980, 1230}));
    EXPECT_EQ(p->FaceRect(3), (TRect{1050, 660, 1960, 1210}));
    // Gaps between columns and rows.
    p->RightMargin = 100;
    p->BottomMargin = 30;
    EXPECT_EQ(p->FaceRect(3), (TRect{1150, 690, 2060, 1240}));
}

TEST_F(PaperTest, FaceCountsOfZeroOrBelowGiveNoFaces) {
    struct {
        int x, y, count;
    } const cases[] = {{2, 5, 10}, {0, 5, 0}, {-2, 5, 0}, {2, -1, 0}, {-2, -5, 0}, {0, 0, 0}};
    auto p = TenUp();
    for (const auto& c : cases) {
        p->FaceCountX = c.x;
        p->FaceCountY = c.y;
        EXPECT_EQ(p->FaceCount(), c.count) << c.x << "x" << c.y;
        EXPECT_EQ(p->FaceRect(0), c.count ? (TRect{140, 110, 1050, 660}) : TRect{}) << c.x << "x" << c.y;
        EXPECT_EQ(p->FirstFaceOutside(), -1);
        EXPECT_EQ(p->FirstOverlappingFace(), -1);
    }
    p->FaceCountX = 2;
    p->FaceCountY = 5;
    EXPECT_EQ(p->FaceRect(10), TRect{});
    EXPECT_EQ(p->FaceRect(-1), TRect{});
    // Counts whose product passes int32 stay bounded.
    p->FaceCountX = 100000;
    p->FaceCountY = 100000;
    EXPECT_EQ(p->FaceCount(), INT32_MAX);
}

TEST_F(PaperTest, FaceInfoOfALandscapeFace) {
    auto p = TenUp();
    p->Face.Shape = TFaceShape::fsRectCD;
    p->Face.Purpose = QStringLiteral("CDCover");
    p->Face.CutWidth = 300;
    p->Face.CutHeight = 200;
    p->Face.RoundSize = 40;
    p->Face.Margin = 5;
    p->SetLandscape(true);
    TFaceInfo info;
    p->GetFaceInfo(0, info);
    EXPECT_EQ(info.FaceRect, (TRect{110, 1050, 660, 1960}));
    EXPECT_EQ(info.Margin, 5);
    EXPECT_EQ(info.CutWidth, 200);
    EXPECT_EQ(info.CutHeight, 300);
    EXPECT_EQ(info.Shape, TFaceShape::fsRectCD);
    EXPECT_EQ(info.Purpose, QStringLiteral("CDCover"));
    EXPECT_EQ(info.RoundSize, 40);
    EXPECT_EQ(info.OuterRect(), p->FacePlacedRect(0));

    TFreePaperInfo free;
    TFaceItem* item = free.Faces().Add();
    TFreePaperInfo::SetFaceFromInfo(*item, info);
    TFaceInfo back;
    free.GetFaceInfo(0, back);
    EXPECT_EQ(back.FaceRect, info.FaceRect);
    EXPECT_EQ(back.CutWidth, 200);
    EXPECT_EQ(back.Margin, 5);
    EXPECT_EQ(back.Purpose, info.Purpose);
    EXPECT_EQ(back.RoundSize, 40);
}

TEST_F(PaperTest, StreamOrderAndDefaults) {
    auto p = TenUp();
    p->SetReadOnly(true);
    const QByteArray expected = QByteArray("TPF0") + "\x10TMatrixPaperInfo" + Hex("00") +
                                Prop("Landscape", Hex("08")) + Prop("Width", Hex("033408")) +
                                Prop("Height", Hex("039A0B")) + Prop("PaperName", Hex("0605") + "A4 10") +
                                Prop("ReadOnly", Hex("09")) + Prop("TopOffset", Hex("026E")) +
                                Prop("LeftOffset", Hex("038C00")) + Prop("BottomMargin", Hex("0200")) +
                                Prop("RightMargin", Hex("0200")) + Prop("FaceWidth", Hex("038E03")) +
                                Prop("FaceHeight", Hex("032602")) + Prop("FaceCountX", Hex("0202")) +
                                Prop("FaceCountY", Hex("0205")) + Prop("FaceShape", Hex("0706") + "fsRect") +
                                Prop("FaceMargin", Hex("0200")) + Hex("0000");
    EXPECT_EQ(Write(*p).toHex(' '), expected.toHex(' '));

    // Purposes travel only while the flag is set.
    p->PurposeList().SetDefault();
    EXPECT_FALSE(Write(*p).contains("PurposeList"));
    p->SetStorePurposes(true);
    auto back = Read(Write(*p));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->PurposeList().Count(), 5);
    EXPECT_EQ(back->ClassName(), QStringLiteral("TMatrixPaperInfo"));
    EXPECT_EQ(back->FacePlacedRect(3), (TRect{1050, 660, 1960, 1210}));
    EXPECT_TRUE(back->ReadOnly());

    for (const TClassInfo* info :
         {&TMatrixPaperInfo::StaticClass(), &TFreePaperInfo::StaticClass(), &TFaceItem::StaticClass(),
          &TPurposeInfo::StaticClass(), &TPLStreamer::StaticClass()})
        EXPECT_TRUE(CheckDeclaredDefaults(*info).isEmpty())
            << CheckDeclaredDefaults(*info).join(u' ').toStdString();
}

TEST_F(PaperTest, CutOutIsStoredCompactly) {
    auto p = TenUp();
    const QByteArray cut300 = Hex("09") + "CutCenter" + Hex("032C01");
    p->Face.CutWidth = p->Face.CutHeight = 300;
    QByteArray bytes = Write(*p);
    EXPECT_TRUE(bytes.contains(cut300));
    EXPECT_FALSE(bytes.contains("CutCenterWidth"));
    EXPECT_FALSE(bytes.contains("CutCenterHeight"));
    EXPECT_TRUE(bytes.endsWith(cut300 + Hex("0000")));
    auto back = Read(bytes);
    int32_t w = 0, h = 0;
    back->CutCenter(0, w, h);
    EXPECT_EQ(w, 300);
    EXPECT_EQ(h, 300);

    // "CutCenter" 0 means the standard 410.
    bytes.replace(cut300, Hex("09") + "CutCenter" + Hex("0200"));
    Read(bytes)->CutCenter(0, w, h);
    EXPECT_EQ(w, 410);
    EXPECT_EQ(h, 410);

    // Different sizes: both written, except one at the default 410.
    p->Face.CutWidth = 300;
    p->Face.CutHeight = 200;
    bytes = Write(*p);
    EXPECT_TRUE(
        bytes.contains(Prop("CutCenterWidth", Hex("032C01")) + Prop("CutCenterHeight", Hex("03C800"))));
    EXPECT_FALSE(bytes.contains(Hex("09") + "CutCenter"));
    Read(bytes)->CutCenter(0, w, h);
    EXPECT_EQ(w, 300);
    EXPECT_EQ(h, 200);
    p->Face.CutWidth = 410;
    Read(Write(*p))->CutCenter(0, w, h);
    EXPECT_EQ(w, 410);
    EXPECT_EQ(h, 200);
    p->Face.CutHeight = 410;
    EXPECT_FALSE(Write(*p).contains("CutCenter"));

    // The same rule for the faces of a free paper.
    TFreePaperInfo free;
    AddFace(free, {0, 0, 100, 100})->Face.CutWidth = 300;
    free.Faces().Item(0)->Face.CutHeight = 300;
    bytes = Write(free);
    EXPECT_TRUE(bytes.contains(cut300 + Hex("00")));
    EXPECT_FALSE(bytes.contains("CutCenterWidth"));
    Read(bytes)->CutCenter(0, w, h);
    EXPECT_EQ(w, 300);
}

TEST_F(PaperTest, LegacyFaceTypeIsRead) {
    auto p = TenUp();
    auto back = Read(WithProperty(Write(*p), Prop("FaceType", Hex("0201"))));
    EXPECT_EQ(back->FaceShape(0), TFaceShape::fsDoughnut);
    EXPECT_EQ(back->FacePurposeName(0), QStringLiteral("CD"));
    back = Read(WithProperty(Write(*p), Prop("FaceType", Hex("0207"))));
    EXPECT_EQ(back->FaceShape(0), TFaceShape::fsRoundRect);
    EXPECT_FALSE(Write(*back).contains("FaceType"));

    TFreePaperInfo free;
    AddFace(free, {0, 0, 100, 100});
    AddFace(free, {100, 0, 200, 100});
    back = Read(WithProperty(Write(free), Prop("FaceType", Hex("0203"))));
    ASSERT_EQ(back->FaceCount(), 2);
    EXPECT_EQ(back->FacePurposeName(1), QStringLiteral("CDCaseTray"));
    // On a face item too.
    QByteArray bytes = Write(free);
    const QByteArray shape = Prop("FaceShape", Hex("0706") + "fsRect");
    bytes.replace(bytes.indexOf(shape), shape.size(), shape + Prop("FaceType", Hex("0206")));
    back = Read(bytes);
    EXPECT_EQ(back->FaceShape(0), TFaceShape::fsEllipse);
    EXPECT_EQ(back->FaceShape(1), TFaceShape::fsRect);
}

TEST_F(PaperTest, FreeFacesStreamAndMove) {
    TFreePaperInfo free;
    free.SetPortraitSize(1000, 800);
    TFaceItem* a = AddFace(free, {10, 20, 110, 70}, TFaceShape::fsEllipse);
    a->Face.Purpose = QStringLiteral("CD");
    a->Face.RoundSize = 50;
    a->Face.CenterShape = TCenterShape::csBarrel;
    a->SetLeft(30);
    EXPECT_EQ(a->Rect, (TRect{30, 20, 130, 70}));
    a->SetHeight(60);
    EXPECT_EQ(a->Rect, (TRect{30, 20, 130, 80}));
    AddFace(free, {200, 200, 300, 300})->Face.Margin = 7;
    auto back = Read(Write(free));
    ASSERT_EQ(back->FaceCount(), 2);
    EXPECT_EQ(back->FaceRect(0), (TRect{30, 20, 130, 80}));
    EXPECT_EQ(back->FaceShape(0), TFaceShape::fsEllipse);
    EXPECT_EQ(back->RoundSize(0), 50);
    EXPECT_EQ(back->CenterShape(0), TCenterShape::csBarrel);
    EXPECT_EQ(back->FaceMargin(1), 7);
    EXPECT_EQ(back->FacePlacedRect(1), (TRect{193, 193, 307, 307}));
    EXPECT_EQ(Write(*back), Write(free));
}

TEST_F(PaperTest, AssignCopiesTheCommonPartAcrossKinds) {
    auto matrix = TenUp();
    matrix->SetGroupName(QStringLiteral("名刺"));
    matrix->SetReadOnly(true);
    matrix->SetLandscape(true);
    matrix->PurposeList().SetDefault();
    matrix->SetStorePurposes(true);
    auto clone = matrix->Clone();
    EXPECT_EQ(clone->ClassName(), QStringLiteral("TMatrixPaperInfo"));
    EXPECT_FALSE(clone->StorePurposes());
    clone->SetStorePurposes(true);
    EXPECT_EQ(Write(*clone), Write(*matrix));

    TFreePaperInfo free;
    AddFace(free, {0, 0, 5, 5});
    free.Assign(matrix.get());
    EXPECT_EQ(free.PaperName(), QStringLiteral("A4 10"));
    EXPECT_EQ(free.GroupName(), QStringLiteral("名刺"));
    EXPECT_TRUE(free.Landscape());
    EXPECT_EQ(free.Width(), 2970);
    EXPECT_EQ(free.PurposeList().Count(), 5);
    EXPECT_EQ(free.FaceCount(), 1); // its own faces stay

    TMatrixPaperInfo other;
    other.Assign(&free);
    EXPECT_EQ(other.FaceCount(), 0);
    EXPECT_EQ(other.PortraitHeight(), 2970);
    TComponent notAPaper;
    EXPECT_THROW(other.Assign(&notAPaper), EConvertError);
}

TEST_F(PaperTest, OutsideAndOverlappingFaces) {
    TFreePaperInfo free;
    free.SetPortraitSize(2000, 1000);
    AddFace(free, {0, 0, 910, 550});
    AddFace(free, {910, 0, 1820, 550}); // touching
    EXPECT_EQ(free.FirstOverlappingFace(), -1);
    EXPECT_EQ(free.FirstFaceOutside(), -1);
    free.Faces().Item(1)->SetLeft(909); // one unit over
    EXPECT_EQ(free.FirstOverlappingFace(), 1);
    free.Faces().Item(1)->SetLeft(910);
    // Margins count: 1 on the second face reaches into the first.
    free.Faces().Item(1)->Face.Margin = 1;
    EXPECT_EQ(free.FirstOverlappingFace(), 1);
    free.Faces().Item(1)->Face.Margin = 0;
    // Circles whose rectangles overlap in a corner do not overlap.
    AddFace(free, {1000, 560, 1400, 960}, TFaceShape::fsEllipse);
    AddFace(free, {1350, 910, 1750, 1310}, TFaceShape::fsEllipse);
    EXPECT_EQ(free.FirstOverlappingFace(), -1);
    EXPECT_EQ(free.FirstFaceOutside(), 3);
    // A face under the union of the ones before it, the hole not cut out.
    AddFace(free, {1150, 710, 1250, 810}, TFaceShape::fsDoughnut);
    EXPECT_EQ(free.FirstOverlappingFace(), 4);

    auto p = TenUp();
    EXPECT_EQ(p->FirstFaceOutside(), -1);
    p->Face.Margin = 111;
    EXPECT_EQ(p->FirstFaceOutside(), 0);
    EXPECT_EQ(p->FirstOverlappingFace(), 1);
    p->Face.Margin = 0;
    p->SetPortraitSize(2100, 2850);
    EXPECT_EQ(p->FirstFaceOutside(), 8);
    p->SetLandscape(true);
    EXPECT_EQ(p->FirstFaceOutside(), 8);
}

TEST_F(PaperTest, ExtremeGeometryFromAFileSaturates) {
    auto p = TenUp();
    p->LeftOffset = INT32_MAX - 5;
    p->FaceWidth = 100;
    p->Face.Margin = INT32_MAX;
    EXPECT_EQ(p->FaceRect(1), (TRect{INT32_MAX, 110, INT32_MAX, 660}));
    EXPECT_EQ(p->FacePlacedRect(0), (TRect{-5, 110 - INT32_MAX, INT32_MAX, INT32_MAX}));
    EXPECT_EQ(p->FirstFaceOutside(), 0);
    p->SetLandscape(true);
    EXPECT_EQ(p->FacePlacedRect(0), (TRect{110 - INT32_MAX, 2100 - INT32_MAX, INT32_MAX, 2105}));
    TFaceInfo info;
    info.FaceRect = {0, 0, 100, 100};
    info.CutWidth = INT32_MAX;
    EXPECT_EQ(info.CutOutRect().Left, -1073741773);
    EXPECT_EQ(info.CutOutRect().Right, 1073741874);

    TFaceItem item;
    item.Rect = {INT32_MIN, 0, INT32_MAX, 10};
    EXPECT_EQ(item.Width(), int64_t(UINT32_MAX));
    item.SetLeft(0);
    EXPECT_EQ(item.Rect, (TRect{0, 0, INT32_MAX, 10}));
}
