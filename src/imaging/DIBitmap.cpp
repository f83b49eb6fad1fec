#include "imaging/DIBitmap.h"

#include "base/Exceptions.h"
#include "imaging/SafetyBitmap.h"

#include <QMimeData>

namespace vellum {

std::unique_ptr<TGraphic> TDIBitmap::Clone() const {
    auto copy = std::make_unique<TDIBitmap>();
    copy->SetDIB(FDIB, FVisible);
    return copy;
}

void TDIBitmap::SetDIB(TDIB dib, const TRect& visible) {
    FVisible = IntersectRect(NormalizeRect(visible), {0, 0, dib.Width(), dib.Height()});
    FDIB = std::move(dib);
    Changed();
}

void TDIBitmap::Draw(TCanvas& canvas, const TRect& dest) const { FDIB.Draw(canvas, dest, FVisible); }

void TDIBitmap::LoadFromStream(TStream& stream) {
    TDIB dib = TDIB::ReadBMP(stream);
    const TRect all{0, 0, dib.Width(), dib.Height()};
    SetDIB(std::move(dib), all);
}

void TDIBitmap::SaveToStream(TStream& stream) const { FDIB.WriteBMP(stream); }

void TDIBitmap::ReadData(TStream& stream) {
    const int64_t start = stream.Position();
    char head[2] = {0, 0};
    stream.Read(head, 2);
    stream.SetPosition(start);
    if (head[0] == 'B' && head[1] == 'M') {
        TDIB dib = TDIB::ReadBMP(stream);
        if (stream.Remaining() < 16) throw EInvalidGraphic(InvalidBitmapMessage());
        TRect r;
        r.Left = ReadI32(stream);
        r.Top = ReadI32(stream);
        r.Right = ReadI32(stream);
        r.Bottom = ReadI32(stream);
        SetDIB(std::move(dib), r);
        return;
    }
    TMemoryStream data(ReadCountedBytes(stream));
    LoadFromStream(data);
}

void TDIBitmap::WriteData(TStream& stream) const {
    FDIB.WriteBMP(stream);
    WriteI32(stream, FVisible.Left);
    WriteI32(stream, FVisible.Top);
    WriteI32(stream, FVisible.Right);
    WriteI32(stream, FVisible.Bottom);
}

bool TDIBitmap::Assign(const TGraphic& source) {
    if (const auto* other = dynamic_cast<const TDIBitmap*>(&source)) {
        if (other != this) SetDIB(other->FDIB, other->FVisible);
        return true;
    }
    TDIB raster = source.Raster();
    if (raster.Empty() && !source.Empty()) return false;
    const TRect all{0, 0, raster.Width(), raster.Height()};
    SetDIB(std::move(raster), all);
    return true;
}

TDIB TDIBitmap::Raster() const {
    if (FVisible == TRect{0, 0, FDIB.Width(), FDIB.Height()}) return FDIB;
    return FDIB.Resample(FVisible, QSize(FVisible.Width(), FVisible.Height()),
                         {0, 0, FVisible.Width(), FVisible.Height()});
}

void TDIBitmap::LoadFromClipboardFormat(TClipboardFormat format, const QMimeData& data) {
    if (format != TClipboardFormat::cfDIB) throw EInvalidGraphic(UnsupportedClipboardMessage());
    const QByteArray bytes = data.data(QStringLiteral("image/bmp"));
    TDIB dib = bytes.startsWith("BM") ? TDIB::FromBMP(bytes) : FromPackedDIB(bytes);
    const TRect all{0, 0, dib.Width(), dib.Height()};
    SetDIB(std::move(dib), all);
}

} // namespace vellum
