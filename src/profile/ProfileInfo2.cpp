#include "profile/ProfileInfo2.h"

#include "base/Cp932.h"
#include "base/Exceptions.h"
#include "base/Filer.h"
#include "base/Format.h"
#include "base/Stream.h"
#include "base/StringList.h"
#include "core/CompressedStream.h"
#include "imaging/PictureEx.h"
#include "profile/ProfileFields.h"

#include <algorithm>

namespace vellum {
namespace {

constexpr int kGuidSize = 16;
constexpr int kFlagCount = 3;

[[noreturn]] void InvalidRecord() { throw EReadError(InvalidStreamMessage()); }

// The plain form, or the compressed container holding it.
void WritePicture(const TPictureEx& picture, bool compress, TStream& stream) {
    if (!compress || picture.Empty()) {
        WritePictureToStream(picture, stream);
        return;
    }
    TMemoryStream plain;
    WritePictureToStream(picture, plain);
    plain.SetPosition(0);
    CompressTo(plain, stream);
}

void ReadPicture(TPictureEx& picture, TStream& stream) {
    int32_t length = 0;
    if (!IsCompressed(stream, length)) {
        ReadPictureFromStream(picture, stream);
        return;
    }
    TMemoryStream plain;
    DecompressTo(stream, plain, length);
    plain.SetPosition(0);
    ReadPictureFromStream(picture, plain);
}

// Takes over the graphic that was read into a scratch picture.
void TakeGraphic(TPictureEx& dest, const TPictureEx& read) {
    dest.SetGraphic(read.Graphic() ? read.Graphic()->Clone() : nullptr);
}

} // namespace

QString SingleLine(const QString& value) {
    if (!value.contains(u'\r') && !value.contains(u'\n')) return value;
    QString line = value;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    line.replace(u'\r', u' ');
    line.replace(u'\n', u' ');
    return line;
}

const TClassInfo& TProfileInfo2::StaticClass() {
    static const TClassInfo info =
        TClassInfo::Make<TProfileInfo2, TPersistent>("TProfileInfo2", [](auto&) {});
    return info;
}

TProfileInfo2::TProfileInfo2()
    : FGuid(CreateGUID()), FFace(std::make_unique<TPictureEx>()), FMark(std::make_unique<TPictureEx>()) {
    FFace->AddListener([this](TPictureEx&) { FModified = true; });
    FMark->AddListener([this](TPictureEx&) { FModified = true; });
}

TProfileInfo2::~TProfileInfo2() = default;

void TProfileInfo2::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TProfileInfo2*>(source);
    if (!other) return TPersistent::Assign(source);
    if (other == this) return;
    FGuid = other->FGuid;
    CopyContent(*other);
}

void TProfileInfo2::CopyContent(const TProfileInfo2& other) {
    if (&other == this) return;
    FValues = other.FValues;
    CopyPictures(other);
    FModified = other.FModified;
}

void TProfileInfo2::CopyPictures(const TProfileInfo2& other) {
    FFace->Assign(*other.FFace);
    FMark->Assign(*other.FMark);
}

void TProfileInfo2::Reset() { FValues = ProfileFieldNames(); }

void TProfileInfo2::Clear() { FValues = QStringList(kProfileFieldCount, QString()); }

QString TProfileInfo2::GetValue(int index) const {
    return index >= 0 && index < FValues.size() ? FValues[index] : QString();
}

void TProfileInfo2::SetValue(int index, const QString& value) {
    if (index < 0)
        throw EListError(Format(QStringLiteral("リストのインデックスが範囲を超えています (%d)"), index));
    if (index >= FValues.size()) FValues.resize(index + 1);
    // Values are stored as lines: a line break would move every later value.
    FValues[index] = SingleLine(value);
    FModified = true;
}

void TProfileInfo2::SetFace(const TPictureEx& picture) { FFace->Assign(picture); }

void TProfileInfo2::SetMark(const TPictureEx& picture) { FMark->Assign(picture); }

bool TProfileInfo2::Load(TStream& stream, bool withPictures) {
    // Everything is read into these first, so a damaged record changes nothing.
    // A record too short for an identity gets a new one: keeping the old
    // would make two profiles the same.
    TGUID guid = CreateGUID();
    QStringList values(kProfileFieldCount, QString());
    uint8_t flags[kFlagCount] = {0, 0, 0};
    bool current = true;

    // The flags follow the identity: a record too short for either has neither.
    if (stream.Remaining() >= kGuidSize) {
        guid = *TGUID::FromBytes(stream.ReadBytes(kGuidSize));
        if (stream.Remaining() >= kFlagCount) stream.ReadBuffer(flags, kFlagCount);
    }
    if (flags[0]) {
        if (stream.Remaining() < 4) InvalidRecord();
        const int32_t length = ReadI32(stream);
        if (length < 0 || length > stream.Remaining()) InvalidRecord();
        TStringList lines;
        lines.SetText(cp932::Decode(stream.ReadBytes(length)));
        values = lines.Items();
        if (values.size() < kProfileFieldCount) {
            // The older layout had neither the merge mark nor the reading. An
            // empty text has no first value to put the reading after.
            values.insert(std::min<qsizetype>(1, values.size()), QString());
            values.insert(0, QString());
            current = false;
        }
    }
    TPictureEx face;
    TPictureEx mark;
    if (withPictures) {
        if (flags[1]) ReadPicture(face, stream);
        if (flags[2]) ReadPicture(mark, stream);
    }

    FGuid = guid;
    FValues = std::move(values);
    if (withPictures) {
        TakeGraphic(*FFace, face);
        TakeGraphic(*FMark, mark);
    }
    FModified = false;
    return current;
}

void TProfileInfo2::Save(TStream& stream) const {
    // Never fewer than the full field count: a shorter list would read back as
    // the older layout, its values shifted by two fields.
    QString text;
    for (int i = 0; i < std::max(ValueCount(), kProfileFieldCount); ++i) {
        text += GetValue(i);
        text += QStringLiteral("\r\n");
    }
    const QByteArray bytes = cp932::Encode(text);
    stream.WriteBytes(FGuid.ToBytes());
    WriteU8(stream, 1);
    WriteU8(stream, FFace->Empty() ? 0 : 1);
    WriteU8(stream, FMark->Empty() ? 0 : 1);
    WriteI32(stream, int32_t(bytes.size()));
    stream.WriteBytes(bytes);
    if (!FFace->Empty()) WritePicture(*FFace, FCompressPictures, stream);
    if (!FMark->Empty()) WritePicture(*FMark, FCompressPictures, stream);
}

} // namespace vellum
