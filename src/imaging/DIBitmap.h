#pragma once
// The bitmap kind of older documents: a device-independent bitmap and the
// visible part of it. Read from stored pictures; not offered for files.

#include "imaging/Graphic.h"

namespace vellum {

class TDIBitmap : public TGraphic {
public:
    QString ClassName() const override { return QStringLiteral("TDIBitmap"); }
    std::unique_ptr<TGraphic> Clone() const override;
    bool Empty() const override { return FDIB.Empty(); }
    // Those of the visible rectangle.
    int Width() const override { return FVisible.Width(); }
    int Height() const override { return FVisible.Height(); }
    void Draw(TCanvas& canvas, const TRect& dest) const override;

    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;
    // A BMP file and the 16-byte visible rectangle; older data: a 32-bit
    // length, the BMP file and no rectangle.
    void ReadData(TStream& stream) override;
    void WriteData(TStream& stream) const override;
    bool Assign(const TGraphic& source) override;
    TDIB Raster() const override;

    const TDIB& DIB() const { return FDIB; }
    const TRect& Visible() const { return FVisible; }
    void SetDIB(TDIB dib, const TRect& visible);

    // Only the device-independent bitmap format.
    void LoadFromClipboardFormat(TClipboardFormat format, const QMimeData& data) override;

private:
    TDIB FDIB;
    TRect FVisible;
};

} // namespace vellum
