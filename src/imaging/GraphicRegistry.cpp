#include "imaging/GraphicRegistry.h"

#include "base/Exceptions.h"
#include "base/Format.h"
#include "imaging/DIBitmap.h"
#include "imaging/JPEGImage.h"
#include "imaging/MaskPicture.h"
#include "imaging/PNGImage.h"
#include "imaging/SafetyBitmap.h"

#include <algorithm>

namespace vellum {

namespace {

// A kind whose reader is still to come: it is known by name, so documents
// holding one say so clearly instead of naming an unknown class.
class TPendingGraphic : public TGraphic {
public:
    explicit TPendingGraphic(QString className) : FClassName(std::move(className)) {}
    QString ClassName() const override { return FClassName; }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TPendingGraphic>(FClassName); }
    bool Empty() const override { return true; }
    int Width() const override { return 0; }
    int Height() const override { return 0; }
    void Draw(TCanvas&, const TRect&) const override {}
    void LoadFromStream(TStream&) override { Refuse(); }
    void SaveToStream(TStream&) const override { Refuse(); }
    void ReadData(TStream&) override { Refuse(); }
    void WriteData(TStream&) const override { Refuse(); }
    bool Assign(const TGraphic&) override { return false; }

private:
    [[noreturn]] void Refuse() const {
        throw EInvalidGraphicOperation(
            Format(QStringLiteral("画像の形式 %s にはまだ対応していません"), FClassName));
    }
    QString FClassName;
};

template <class T>
TGraphicFactory Factory() {
    return [] { return std::make_unique<T>(); };
}

TGraphicFactory Pending(const QString& className) {
    return [className] { return std::make_unique<TPendingGraphic>(className); };
}

} // namespace

TGraphicRegistry& TGraphicRegistry::Instance() {
    static TGraphicRegistry registry;
    return registry;
}

void TGraphicRegistry::RegisterClass(const QString& className, TGraphicFactory factory) {
    FClasses.push_back({className, std::move(factory)});
}

void TGraphicRegistry::RegisterFileFormat(const QString& extension, const QString& description,
                                          const QString& className) {
    FFiles.push_back({extension.toUpper(), description, className});
}

void TGraphicRegistry::RegisterClipboardFormat(TClipboardFormat format, const QString& className) {
    FClipboard.push_back({format, className});
}

void TGraphicRegistry::UnregisterClass(const QString& className) {
    std::erase_if(FClasses, [&](const TClassEntry& e) { return e.ClassName == className; });
    std::erase_if(FFiles, [&](const TFileFormat& e) { return e.ClassName == className; });
    std::erase_if(FClipboard, [&](const TClipboardEntry& e) { return e.ClassName == className; });
}

void TGraphicRegistry::Clear() {
    FClasses.clear();
    FFiles.clear();
    FClipboard.clear();
}

std::unique_ptr<TGraphic> TGraphicRegistry::CreateByClassName(const QString& className) const {
    for (auto it = FClasses.rbegin(); it != FClasses.rend(); ++it)
        if (it->ClassName == className) return it->Factory();
    return nullptr;
}

QString TGraphicRegistry::ClassForExtension(const QString& extension) const {
    QString ext = extension.toUpper();
    if (ext.startsWith(QLatin1Char('.'))) ext.remove(0, 1);
    for (auto it = FFiles.rbegin(); it != FFiles.rend(); ++it)
        if (it->Extension == ext) return it->ClassName;
    return {};
}

std::unique_ptr<TGraphic> TGraphicRegistry::CreateByExtension(const QString& extension) const {
    const QString className = ClassForExtension(extension);
    return className.isEmpty() ? nullptr : CreateByClassName(className);
}

QString TGraphicRegistry::ClassForClipboardFormat(TClipboardFormat format) const {
    for (auto it = FClipboard.rbegin(); it != FClipboard.rend(); ++it)
        if (it->Format == format) return it->ClassName;
    return {};
}

std::vector<TGraphicRegistry::TFileFormat> TGraphicRegistry::FileFormats() const {
    std::vector<TFileFormat> out;
    for (auto it = FFiles.rbegin(); it != FFiles.rend(); ++it) {
        if (std::none_of(out.begin(), out.end(),
                         [&](const TFileFormat& f) { return f.Extension == it->Extension; }))
            out.insert(out.begin(), *it);
    }
    return out;
}

void RegisterPictureFormats(TGraphicRegistry& r) {
    // The imaging unit's own registrations.
    r.RegisterClass(QStringLiteral("TSafetyBitmap"), Factory<TSafetyBitmap>());
    r.RegisterFileFormat(QStringLiteral("BMP"), QStringLiteral("Bitmaps"), QStringLiteral("TSafetyBitmap"));
    r.RegisterFileFormat(QStringLiteral("CBM"), QStringLiteral("Compressed Bitmaps"),
                         QStringLiteral("TSafetyBitmap"));
    r.RegisterClipboardFormat(TClipboardFormat::cfDIB, QStringLiteral("TSafetyBitmap"));
    r.RegisterClass(QStringLiteral("TJPEGImage"), Factory<TJPEGImage>());
    r.RegisterFileFormat(QStringLiteral("JPG"), QStringLiteral("JPEG Image"), QStringLiteral("TJPEGImage"));
    r.RegisterClass(QStringLiteral("TSafetyJPEGImage"), Factory<TSafetyJPEGImage>());
    r.RegisterFileFormat(QStringLiteral("JPG"), QStringLiteral("JPEG Image"),
                         QStringLiteral("TSafetyJPEGImage"));
    r.RegisterFileFormat(QStringLiteral("JPEG"), QStringLiteral("JPEG Image"),
                         QStringLiteral("TSafetyJPEGImage"));
    r.RegisterClass(QStringLiteral("TDIBitmap"), Factory<TDIBitmap>());
    r.RegisterClass(QStringLiteral("TMaskPicture"), Factory<TMaskPicture>());
    r.RegisterClass(QStringLiteral("TMetafile"), Pending(QStringLiteral("TMetafile")));
    r.RegisterFileFormat(QStringLiteral("EMF"), QStringLiteral("Enhanced Metafiles"),
                         QStringLiteral("TMetafile"));
    r.RegisterFileFormat(QStringLiteral("WMF"), QStringLiteral("Metafiles"), QStringLiteral("TMetafile"));
    r.RegisterClipboardFormat(TClipboardFormat::cfEnhMetafile, QStringLiteral("TMetafile"));
    r.RegisterClass(QStringLiteral("TIcon"), Pending(QStringLiteral("TIcon")));
    r.RegisterFileFormat(QStringLiteral("ICO"), QStringLiteral("Icons"), QStringLiteral("TIcon"));
    // Start-up: bitmaps become the program's own bitmap kind.
    r.RegisterClass(QStringLiteral("TBitmap"), Factory<TBitmap>());
    r.RegisterFileFormat(QStringLiteral("BMP"), QStringLiteral("Bitmaps"), QStringLiteral("TBitmap"));
    r.RegisterFileFormat(QStringLiteral("CBM"), QStringLiteral("Compressed Bitmaps"),
                         QStringLiteral("TBitmap"));
    r.RegisterClipboardFormat(TClipboardFormat::cfBitmap, QStringLiteral("TBitmap"));
    r.RegisterClipboardFormat(TClipboardFormat::cfDIB, QStringLiteral("TBitmap"));
    r.RegisterClass(QStringLiteral("TPCDImage"), Pending(QStringLiteral("TPCDImage")));
    r.RegisterFileFormat(QStringLiteral("PCD"), QStringLiteral("PCD Bitmaps"), QStringLiteral("TPCDImage"));
    r.RegisterClass(QStringLiteral("TPNGImage"), Factory<TPNGImage>());
    r.RegisterFileFormat(QStringLiteral("PNG"), QStringLiteral("Portable Network Graphics"),
                         QStringLiteral("TPNGImage"));
}

} // namespace vellum
