#include "imaging/JPEGImage.h"

#include "imaging/JPEGCodec.h"

namespace vellum {

namespace {

int Scaled(int size, TJPEGScale scale) {
    const int d = int(scale);
    return (size + d - 1) / d;
}

} // namespace

std::unique_ptr<TGraphic> TSafetyJPEGImage::Clone() const {
    auto copy = std::make_unique<TSafetyJPEGImage>();
    copy->Assign(*this);
    return copy;
}

std::unique_ptr<TGraphic> TJPEGImage::Clone() const {
    auto copy = std::make_unique<TJPEGImage>();
    copy->Assign(*this);
    return copy;
}

int TSafetyJPEGImage::Width() const { return Scaled(FHeader.Width, FScale); }
int TSafetyJPEGImage::Height() const { return Scaled(FHeader.Height, FScale); }

void TSafetyJPEGImage::SetData(QByteArray jfif) {
    TJPEGHeader header;
    if (!jfif.isEmpty()) header = ReadJPEGHeader(jfif);
    FData = std::move(jfif);
    FHeader.Width = header.Width;
    FHeader.Height = header.Height;
    FBitmap = TDIB();
    FDecoded = false;
    Changed();
}

void TSafetyJPEGImage::SetScale(TJPEGScale scale) {
    if (scale == FScale) return;
    FScale = scale;
    FBitmap = TDIB();
    FDecoded = false;
    Changed();
}

const TDIB& TSafetyJPEGImage::Bitmap() const {
    if (!FDecoded && !FData.isEmpty()) {
        FBitmap = DecodeJPEG(FData, int(FScale));
        FDecoded = true;
    }
    return FBitmap;
}

void TSafetyJPEGImage::Draw(TCanvas& canvas, const TRect& dest) const { Bitmap().Draw(canvas, dest); }

void TSafetyJPEGImage::LoadFromStream(TStream& stream) { SetData(stream.ReadAll()); }

void TSafetyJPEGImage::SaveToStream(TStream& stream) const { stream.WriteBytes(FData); }

bool TSafetyJPEGImage::Assign(const TGraphic& source) {
    if (const auto* jpeg = dynamic_cast<const TSafetyJPEGImage*>(&source)) {
        if (jpeg == this) return true;
        FQuality = jpeg->FQuality;
        FScale = jpeg->FScale;
        SetData(jpeg->FData);
        return true;
    }
    const TDIB raster = source.Raster();
    if (raster.Empty()) {
        if (!source.Empty()) return false;
        SetData({});
        return true;
    }
    SetData(EncodeJPEG(raster, FQuality));
    return true;
}

TJPEGScale TSafetyJPEGImage::ScaleForLimit(int width, int height, int target) {
    const int larger = std::max(width, height);
    for (TJPEGScale s : {TJPEGScale::jsEighth, TJPEGScale::jsQuarter, TJPEGScale::jsHalf})
        if (Scaled(larger, s) > target) return s;
    return TJPEGScale::jsFullSize;
}

} // namespace vellum
