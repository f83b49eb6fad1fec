#include "imaging/ColorSpecHistory.h"

#include "base/Exceptions.h"
#include "base/Filer.h"
#include "base/Format.h"
#include "base/Stream.h"
#include "core/DocNameList.h"
#include "core/DocStorage.h"
#include "core/DocStream.h"
#include "imaging/PNGImage.h"
#include "imaging/PictureEx.h"
#include "platform/PainterCanvas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vellum {

namespace {

const QString kNameList = QStringLiteral("ColorSpec\\NameList");
const QString kPreview = QStringLiteral("Preview\\");
constexpr int kSwatchSize = 48;

QByteArray SpecResource(const TColorSpec& colorSpec) {
    TColorSpecWrapper wrapper;
    wrapper.ColorSpec().Assign(&colorSpec);
    TMemoryStream stream;
    WriteComponentRes(stream, wrapper.ClassName(), wrapper);
    return stream.Data();
}

std::unique_ptr<TFileStorage> OpenHistory(const QString& fileName, bool create) {
    if (fileName.isEmpty()) return nullptr;
    try {
        if (QFileInfo::exists(fileName)) return TFileStorage::OpenFile(fileName, create ? 0x12 : 0x20);
        if (!create) return nullptr;
        QDir().mkpath(QFileInfo(fileName).absolutePath());
        return TFileStorage::OpenFile(fileName, kModeCreate);
    } catch (const Exception&) {
        return nullptr;
    }
}

} // namespace

const TClassInfo& TColorSpecWrapper::StaticClass() {
    static const TClassInfo info =
        TClassInfo::Make<TColorSpecWrapper, TComponent>("TColorSpecWrapper", [](auto& b) {
            b.Owned("ColorSpec", TPropKind::Object,
                    [](const TColorSpecWrapper& o) { return &o.ColorSpec(); });
        });
    return info;
}

const TClassInfo& TColorSpecHistory::StaticClass() {
    static const TClassInfo info =
        TClassInfo::Make<TColorSpecHistory, TComponent>("TColorSpecHistory", [](auto& b) {
            b.String("Filename", &TColorSpecHistory::Filename, &TColorSpecHistory::SetFilename);
            b.Integer("Limit", &TColorSpecHistory::Limit, &TColorSpecHistory::SetLimit).Default(int64_t(10));
        });
    return info;
}

QByteArray TColorSpecHistory::PreviewStream(const TColorSpec& colorSpec) {
    TDIB swatch(kSwatchSize, kSwatchSize, 24);
    {
        QImage view = swatch.PaintableView();
        TPainterCanvas canvas(view);
        colorSpec.PaintPreview(canvas, {0, 0, kSwatchSize, kSwatchSize});
    }
    auto png = std::make_unique<TPNGImage>();
    png->SetBitmap(std::move(swatch));
    TPictureEx picture;
    picture.SetGraphic(std::move(png));
    TMemoryStream stream;
    WritePictureToStream(picture, stream);
    return stream.Data();
}

QString TColorSpecHistory::EntryName(const TColorSpec& colorSpec) {
    TColorSpec plain;
    plain.Assign(&colorSpec);
    plain.ImageData().Clear();
    QByteArray bytes = SpecResource(plain) + PreviewStream(colorSpec) + QByteArray(4, '\0');
    int64_t h = 0;
    for (qsizetype i = 0; i + 4 <= bytes.size(); i += 4)
        h = int64_t(uint64_t(h) << 1) ^ int64_t(int32_t(GetLE32(bytes.constData() + i)));
    return QString::number(h);
}

void TColorSpecHistory::Add(const TColorSpec& colorSpec) {
    const QString name = EntryName(colorSpec);
    auto root = OpenHistory(FFilename, true);
    if (!root) throw EFCreateError(Format(QStringLiteral("ファイル %s を作成できません"), FFilename));
    {
        TDocStreamList list(*root, kNameList);
        const int found = list.IndexOf(name);
        if (found >= 0) {
            list.Delete(found);
            list.Insert(0, name);
        } else {
            list.Insert(0, name);
            TDocStream entry(*root, kModeCreate, list.ItemPath(0));
            entry.WriteBytes(SpecResource(colorSpec));
            TDocStream preview(*root, kModeCreate, kPreview + name);
            preview.WriteBytes(PreviewStream(colorSpec));
        }
        while (list.Count() > std::max(FLimit, 0)) {
            const int last = list.Count() - 1;
            root->DeleteElement(kPreview + list.Strings(last));
            list.DeleteItem(last);
        }
    }
    root->Commit();
}

int TColorSpecHistory::Count() const {
    auto root = OpenHistory(FFilename, false);
    if (!root) return 0;
    try {
        TDocStreamList list(*root, kNameList);
        return list.Count();
    } catch (const Exception&) {
        return 0;
    }
}

bool TColorSpecHistory::Read(int index, TColorSpec& colorSpec) const {
    auto root = OpenHistory(FFilename, false);
    if (!root) return false;
    try {
        TDocStreamList list(*root, kNameList);
        if (index < 0 || index >= list.Count()) return false;
        TDocStream stream(*root, 0, list.ItemPath(index));
        TColorSpecWrapper wrapper;
        ReadComponentRes(stream, &wrapper);
        colorSpec.Assign(&wrapper.ColorSpec());
        return true;
    } catch (const Exception&) {
        return false;
    }
}

bool TColorSpecHistory::ReadPreview(int index, TPictureEx& picture) const {
    auto root = OpenHistory(FFilename, false);
    if (!root) return false;
    try {
        TDocStreamList list(*root, kNameList);
        if (index < 0 || index >= list.Count()) return false;
        TDocStream stream(*root, 0, kPreview + list.Strings(index));
        ReadPictureFromStream(picture, stream);
        return !picture.Empty();
    } catch (const Exception&) {
        return false;
    }
}

void TColorSpecHistory::Clear() {
    if (!FFilename.isEmpty()) QFile::remove(FFilename);
}

} // namespace vellum
