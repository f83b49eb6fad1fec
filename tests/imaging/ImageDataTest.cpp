#include "imaging/ImageData.h"
#include "base/Filer.h"
#include "base/Stream.h"
#include "imaging/ColorSpecHistory.h"
#include "imaging/SafetyBitmap.h"

#include <gtest/gtest.h>

using namespace vellum;

namespace {

std::unique_ptr<TSafetyBitmap> Bitmap(TDIB dib) {
    auto bitmap = std::make_unique<TSafetyBitmap>();
    bitmap->SetDIB(std::move(dib));
    return bitmap;
}

TDIB GreyRow(std::initializer_list<int> values) {
    TDIB dib(int(values.size()), 1, 24);
    int x = 0;
    for (int v : values) dib.SetRawPixel(x++, 0, uint32_t(v) * 0x010101);
    return dib;
}

std::vector<int> Blues(const TPictureEx& picture) {
    const TDIB dib = picture.Graphic()->Raster();
    std::vector<int> out;
    for (int x = 0; x < dib.Width(); ++x) out.push_back(int(dib.RawPixel(x, 0) & 0xFF));
    return out;
}

QByteArray Properties(const TPersistent& object) {
    TMemoryStream s;
    TWriter w(s);
    w.WriteProperties(object);
    return s.Data();
}

} // namespace

TEST(ImageDataTest, FiltersRunBlurThenMonotoneThenLight) {
    TImageData data;
    data.Picture().SetGraphic(Bitmap(GreyRow({0, 255})));
    EXPECT_EQ(Blues(data.ProcessedPicture()), (std::vector<int>{0, 255}));
    data.BlurFilter().SetBlurCount(1);
    EXPECT_EQ(Blues(data.ProcessedPicture()), (std::vector<int>{85, 170}));
    data.LightFilter().SetContrast(100); // after the blur: 85 -> 0, 170 -> 255
    EXPECT_EQ(Blues(data.ProcessedPicture()), (std::vector<int>{0, 255}));
    data.BlurFilter().SetBlurCount(-1);
    data.LightFilter().SetContrast(0);
    data.Picture().SetGraphic(Bitmap(GreyRow({100, 200, 100})));
    EXPECT_EQ(data.ClipFilter().ClipRect(), Rect(0, 0, 2, 1)); // the height did not change: crop kept
    data.ResetCrop();
    EXPECT_EQ(Blues(data.ProcessedPicture()), (std::vector<int>{67, 255, 67}));
    EXPECT_TRUE(data.BlurFilter().IsActive(data.Picture()));
    EXPECT_FALSE(data.MonotoneFilter().IsActive(data.Picture()));
}

TEST(ImageDataTest, ChangesClearTheCacheAndAreAnnouncedOnce) {
    TImageData data;
    data.Picture().SetGraphic(Bitmap(GreyRow({10, 20})));
    const TGraphic* first = data.ProcessedPicture().Graphic();
    EXPECT_EQ(data.ProcessedPicture().Graphic(), first); // cached
    int changes = 0;
    TListener listener([&](TPersistent*, const TGUID& id) {
        if (id == NID_ObjectChanged) ++changes;
    });
    listener.Attach(&data.Notify());
    data.MonotoneFilter().SetRefColor(0x0000FF);
    data.MonotoneFilter().SetRefColor(0x0000FF);
    EXPECT_EQ(changes, 1);
    EXPECT_NE(Blues(data.ProcessedPicture()), (std::vector<int>{10, 20}));
    data.SetTransparentColor(clWhite);
    EXPECT_EQ(changes, 2);
}

TEST(ImageDataTest, OnlyANewWidthAndHeightResetTheCrop) {
    TImageData data;
    std::vector<TGUID> notes;
    TListener listener([&](TPersistent*, const TGUID& id) { notes.push_back(id); });
    listener.Attach(&data.Notify());
    data.Picture().SetGraphic(Bitmap(TDIB(10, 10, 24)));
    EXPECT_EQ(data.ClipFilter().ClipRect(), Rect(0, 0, 10, 10));
    EXPECT_EQ(notes, (std::vector<TGUID>{NID_PictureSizeChanged, NID_PictureChanged, NID_ObjectChanged}));
    data.ClipFilter().SetClipRect({1, 1, 5, 5});
    data.Picture().SetGraphic(Bitmap(TDIB(20, 10, 24)));
    EXPECT_EQ(data.ClipFilter().ClipRect(), Rect(1, 1, 5, 5));
    data.Picture().SetGraphic(Bitmap(TDIB(30, 30, 24)));
    EXPECT_EQ(data.ClipFilter().ClipRect(), Rect(0, 0, 30, 30));
    // An emptied crop goes back to the whole picture.
    data.ClipFilter().SetClipRect({});
    EXPECT_EQ(data.ClipFilter().ClipRect(), Rect(0, 0, 30, 30));
}

TEST(ImageDataTest, ResetCropFitsTheAspectCentred) {
    TImageData data;
    data.Picture().SetGraphic(Bitmap(TDIB(100, 100, 24)));
    data.ResetCrop(3, 2);
    EXPECT_EQ(data.ClipFilter().ClipRect(), Rect(0, 16, 100, 83));
    data.ResetCrop(1, 2);
    EXPECT_EQ(data.ClipFilter().ClipRect(), Rect(25, 0, 75, 100));
    data.ResetCrop();
    EXPECT_EQ(data.ClipFilter().ClipRect(), Rect(0, 0, 100, 100));
}

TEST(ImageDataTest, CropMarginsAreFilledWhiteOrTransparent) {
    TImageData data;
    data.Picture().SetGraphic(Bitmap(GreyRow({0, 50})));
    data.ClipFilter().SetClipRect({-1, 0, 3, 1});
    EXPECT_EQ(Blues(data.ProcessedPicture()), (std::vector<int>{255, 0, 50, 255}));

    // An 8-bit picture whose grey palette lacks the transparent red: the
    // crop is made at 24 bits so the margins carry the colour exactly.
    TDIB grey(2, 1, 8);
    grey.SetRawPixel(0, 0, 0);
    grey.SetRawPixel(1, 0, 50);
    data.Picture().SetGraphic(Bitmap(grey));
    data.ClipFilter().SetClipRect({-1, 0, 3, 1});
    data.SetTransparentColor(0x0000FF);
    const TPictureEx& out = data.ProcessedPicture();
    const auto* bitmap = dynamic_cast<const TSafetyBitmap*>(out.Graphic());
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->DIB().BitCount(), 24);
    EXPECT_TRUE(bitmap->Transparent());
    const TDIB mask = bitmap->GetMask();
    ASSERT_EQ(mask.Width(), 4);
    EXPECT_EQ((std::vector<uint32_t>{mask.RawPixel(0, 0), mask.RawPixel(1, 0), mask.RawPixel(2, 0),
                                     mask.RawPixel(3, 0)}),
              (std::vector<uint32_t>{1, 0, 0, 1}));
}

TEST(ImageDataTest, TheMaskSurvivesColourEffects) {
    // Pure red turns grey under a grey monotone tone: the mask must still mark the red pixel.
    TDIB row(2, 1, 24);
    row.SetRawPixel(0, 0, 0xFF0000); // bytes b, g, r: pure red
    row.SetRawPixel(1, 0, 0x808080);
    TImageData data;
    data.Picture().SetGraphic(Bitmap(row));
    data.SetTransparentColor(0x0000FF);
    data.MonotoneFilter().SetRefColor(0x808080);
    const auto* bitmap = dynamic_cast<const TSafetyBitmap*>(data.ProcessedPicture().Graphic());
    ASSERT_TRUE(bitmap);
    EXPECT_NE(bitmap->DIB().Pixel(0, 0), 0x0000FFu);
    const TDIB mask = bitmap->GetMask();
    EXPECT_EQ(mask.RawPixel(0, 0), 1u);
    EXPECT_EQ(mask.RawPixel(1, 0), 0u);
}

TEST(ImageDataTest, StoredFormWritesTheCropOnlyWhenSetAndRoundTrips) {
    TImageData data;
    EXPECT_EQ(Properties(data), QByteArray());
    data.Picture().SetGraphic(Bitmap(GreyRow({1, 2, 3})));
    data.ClipFilter().SetClipRect({0, 0, 2, 1});
    data.LightFilter().SetBrightness(-5);
    const QByteArray bytes = Properties(data);
    // "ClipFilter.ClipRect", a list of four integers.
    EXPECT_TRUE(bytes.contains(QByteArray("\x13"
                                          "ClipFilter.ClipRect\x01\x02\x00\x02\x00\x02\x02\x02\x01\x00",
                                          30)));
    EXPECT_TRUE(bytes.contains("Picture.Data"));
    EXPECT_FALSE(bytes.contains("TransparentColor"));

    // Read back through a component stream.
    TColorSpecWrapper wrapper;
    wrapper.ColorSpec().ImageData().Assign(&data);
    TMemoryStream stream;
    WriteComponent(stream, wrapper);
    stream.Seek(0, TSeekOrigin::soBeginning);
    TColorSpecWrapper back;
    ReadComponent(stream, &back);
    const TImageData& r = back.ColorSpec().ImageData();
    EXPECT_EQ(r.ClipFilter().ClipRect(), Rect(0, 0, 2, 1));
    EXPECT_EQ(r.LightFilter().Brightness(), -5);
    ASSERT_EQ(r.Picture().Width(), 3);
    EXPECT_EQ(r.Picture().Graphic()->Raster().RawPixel(2, 0), 0x030303u);
}
