#include "imaging/PictureEx.h"

#include "base/Exceptions.h"
#include "base/Format.h"
#include "imaging/GraphicRegistry.h"
#include "imaging/JPEGImage.h"
#include "imaging/SafetyBitmap.h"

#include <QFileInfo>
#include <QMimeData>
#include <QScopeGuard>

namespace vellum {

namespace {

bool Offers(const QMimeData& data, TClipboardFormat format) {
    switch (format) {
    case TClipboardFormat::cfBitmap:
        return data.hasImage();
    case TClipboardFormat::cfDIB:
        return data.hasFormat(QStringLiteral("image/bmp"));
    case TClipboardFormat::cfEnhMetafile:
        return data.hasFormat(QStringLiteral("image/x-emf"));
    }
    return false;
}

constexpr TClipboardFormat kClipboardOrder[] = {TClipboardFormat::cfBitmap, TClipboardFormat::cfDIB,
                                                TClipboardFormat::cfEnhMetafile};

} // namespace

TPictureEx::TPictureEx() = default;
TPictureEx::~TPictureEx() = default;

void TPictureEx::Hook() {
    if (FGraphic) FGraphic->SetOnChange([this] { Changed(); });
}

void TPictureEx::SetGraphic(std::unique_ptr<TGraphic> graphic) {
    if (FGraphic) FGraphic->SetOnChange({});
    FGraphic = std::move(graphic);
    Hook();
    Changed();
}

void TPictureEx::Draw(TCanvas& canvas, const TRect& dest) const {
    if (FGraphic) FGraphic->Draw(canvas, dest);
}

int TPictureEx::AddListener(TListener listener) {
    FListeners.emplace_back(FNextListener, std::move(listener));
    return FNextListener++;
}

void TPictureEx::RemoveListener(int id) {
    std::erase_if(FListeners, [id](const auto& entry) { return entry.first == id; });
}

void TPictureEx::Changed() {
    if (FSignalling || FSuppressed > 0) return;
    FSignalling = true;
    // A copy: listeners may remove themselves.
    const auto listeners = FListeners;
    const auto done = qScopeGuard([this] { FSignalling = false; });
    for (const auto& entry : listeners) entry.second(*this);
}

void TPictureEx::Assign(const TPictureEx& source) {
    if (&source == this) return;
    FImageID = source.FImageID;
    FStorageID = source.FStorageID;
    FSourceID = source.FSourceID;
    if (!source.FGraphic) {
        SetGraphic(nullptr);
        return;
    }
    const bool sameClass = FGraphic && FGraphic->ClassName() == source.FGraphic->ClassName();
    if (sameClass && !dynamic_cast<const TSafetyJPEGImage*>(FGraphic.get()) &&
        FGraphic->Assign(*source.FGraphic))
        return; // the graphic announced the change
    SetGraphic(source.FGraphic->Clone());
}

TSafetyBitmap& TPictureEx::AsBitmap() {
    if (auto* bitmap = dynamic_cast<TSafetyBitmap*>(FGraphic.get())) return *bitmap;
    ++FSuppressed;
    auto created = std::make_unique<TBitmap>();
    TSafetyBitmap& result = *created;
    SetGraphic(std::move(created));
    --FSuppressed;
    return result;
}

TSafetyJPEGImage& TPictureEx::AsJPEG() {
    if (auto* jpeg = dynamic_cast<TSafetyJPEGImage*>(FGraphic.get())) return *jpeg;
    ++FSuppressed;
    auto created = std::make_unique<TSafetyJPEGImage>();
    TSafetyJPEGImage& result = *created;
    SetGraphic(std::move(created));
    --FSuppressed;
    return result;
}

void TPictureEx::LoadFromFile(const QString& fileName) {
    const QString ext = QFileInfo(fileName).suffix();
    std::unique_ptr<TGraphic> graphic = TGraphicRegistry::Instance().CreateByExtension(ext);
    if (!graphic) throw EInvalidGraphic(Format(QStringLiteral("不明な画像ファイルの拡張子です (.%s)"), ext));
    graphic->LoadFromFile(fileName);
    SetGraphic(std::move(graphic));
}

void TPictureEx::SaveToFile(const QString& fileName) const {
    if (FGraphic) FGraphic->SaveToFile(fileName);
}

void TPictureEx::ReadData(TStream& stream) {
    if (stream.Remaining() < 1) throw EInvalidGraphic(InvalidBitmapMessage());
    const uint8_t length = ReadU8(stream);
    if (length > stream.Remaining()) throw EInvalidGraphic(InvalidBitmapMessage());
    const QString className = QString::fromLatin1(stream.ReadBytes(length));
    if (className.isEmpty()) {
        SetGraphic(nullptr);
        return;
    }
    std::unique_ptr<TGraphic> graphic = TGraphicRegistry::Instance().CreateByClassName(className);
    if (!graphic)
        throw EInvalidGraphic(Format(QStringLiteral("画像の形式 %s は登録されていません"), className));
    graphic->ReadData(stream);
    SetGraphic(std::move(graphic));
}

void TPictureEx::WriteData(TStream& stream) const {
    if (Empty()) {
        WriteU8(stream, 0);
        return;
    }
    const QByteArray name = FGraphic->ClassName().toLatin1();
    WriteU8(stream, uint8_t(name.size()));
    stream.WriteBytes(name);
    FGraphic->WriteData(stream);
}

bool TPictureEx::ClipboardHasPicture(const QMimeData& data) {
    const TGraphicRegistry& registry = TGraphicRegistry::Instance();
    for (TClipboardFormat format : kClipboardOrder)
        if (Offers(data, format) && !registry.ClassForClipboardFormat(format).isEmpty()) return true;
    return false;
}

bool TPictureEx::LoadFromClipboard(const QMimeData& data) {
    const TGraphicRegistry& registry = TGraphicRegistry::Instance();
    for (TClipboardFormat format : kClipboardOrder) {
        if (!Offers(data, format)) continue;
        std::unique_ptr<TGraphic> graphic =
            registry.CreateByClassName(registry.ClassForClipboardFormat(format));
        if (!graphic) continue;
        graphic->LoadFromClipboardFormat(format, data);
        SetGraphic(std::move(graphic));
        return true;
    }
    return false;
}

void TPictureEx::SaveToClipboard(QMimeData& data) const {
    if (Empty()) return;
    FGraphic->SaveToClipboard(data);
}

void WritePictureToStream(const TPictureEx& picture, TStream& stream) { picture.WriteData(stream); }

void ReadPictureFromStream(TPictureEx& picture, TStream& stream) { picture.ReadData(stream); }

} // namespace vellum
