#include "imaging/Graphic.h"

#include "base/Exceptions.h"

namespace vellum {

QString UnsupportedClipboardMessage() { return QStringLiteral("未対応のクリップボード データです"); }

QByteArray ReadCountedBytes(TStream& stream) {
    if (stream.Remaining() < 4) throw EInvalidGraphic(InvalidBitmapMessage());
    const int32_t length = ReadI32(stream);
    if (length < 0 || length > stream.Remaining()) throw EInvalidGraphic(InvalidBitmapMessage());
    return stream.ReadBytes(length);
}

void WriteCountedBytes(TStream& stream, const QByteArray& bytes) {
    WriteI32(stream, int32_t(bytes.size()));
    stream.WriteBytes(bytes);
}

void TGraphic::LoadFromFile(const QString& fileName) {
    TMemoryStream stream;
    stream.LoadFromFile(fileName);
    LoadFromStream(stream);
}

void TGraphic::SaveToFile(const QString& fileName) const {
    TMemoryStream stream;
    SaveToStream(stream);
    stream.SaveToFile(fileName);
}

void TGraphic::ReadData(TStream& stream) {
    TMemoryStream data(ReadCountedBytes(stream));
    LoadFromStream(data);
}

void TGraphic::WriteData(TStream& stream) const {
    TMemoryStream data;
    SaveToStream(data);
    WriteCountedBytes(stream, data.Data());
}

void TGraphic::LoadFromClipboardFormat(TClipboardFormat, const QMimeData&) {
    throw EInvalidGraphic(UnsupportedClipboardMessage());
}

void TGraphic::SaveToClipboard(QMimeData&) const { throw EInvalidGraphic(UnsupportedClipboardMessage()); }

} // namespace vellum
