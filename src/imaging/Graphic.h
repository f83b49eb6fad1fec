#pragma once
// The graphic kinds a picture can hold: one raster or vector image with a
// file form, a stored form and its way of drawing itself.

#include "base/Stream.h"
#include "imaging/DIB.h"
#include "platform/Canvas.h"

#include <QString>

#include <functional>
#include <memory>

class QMimeData;

namespace vellum {

// The clipboard formats pictures are exchanged in: a bitmap, a
// device-independent bitmap, a metafile. The numbers are those stored in
// documents and clipboard payloads.
enum class TClipboardFormat { cfBitmap = 2, cfDIB = 8, cfEnhMetafile = 14 };

class TGraphic {
public:
    TGraphic() = default;
    virtual ~TGraphic() = default;
    TGraphic(const TGraphic&) = delete;
    TGraphic& operator=(const TGraphic&) = delete;

    virtual QString ClassName() const = 0;
    virtual std::unique_ptr<TGraphic> Clone() const = 0;
    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void Draw(TCanvas& canvas, const TRect& dest) const = 0;

    // The file form. Loading either succeeds or leaves the graphic as it was.
    virtual void LoadFromStream(TStream& stream) = 0;
    virtual void SaveToStream(TStream& stream) const = 0;
    virtual void LoadFromFile(const QString& fileName);
    virtual void SaveToFile(const QString& fileName) const;

    // The graphic data of the stored form; by default a 32-bit length and
    // then the file form.
    virtual void ReadData(TStream& stream);
    virtual void WriteData(TStream& stream) const;

    // Copies another graphic; false when this kind cannot take it.
    virtual bool Assign(const TGraphic& source) = 0;
    // The pixels of a raster graphic; empty for others.
    virtual TDIB Raster() const { return {}; }

    virtual bool Transparent() const { return false; }
    virtual void SetTransparent(bool) {}

    // Raises EInvalidGraphic when the kind cannot read that format.
    virtual void LoadFromClipboardFormat(TClipboardFormat format, const QMimeData& data);
    virtual void SaveToClipboard(QMimeData& data) const;

    void SetOnChange(std::function<void()> handler) { FOnChange = std::move(handler); }

protected:
    void Changed() const {
        if (FOnChange) FOnChange();
    }

private:
    std::function<void()> FOnChange;
};

// "未対応のクリップボード データです"
QString UnsupportedClipboardMessage();

// The stored form's 32-bit length and the bytes it counts, checked against
// what the stream holds.
QByteArray ReadCountedBytes(TStream& stream);
void WriteCountedBytes(TStream& stream, const QByteArray& bytes);

} // namespace vellum
