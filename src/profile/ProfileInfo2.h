#pragma once
// One profile: its identity, the 56 field values, a face photo and a mark,
// and the binary record that the profile database and documents store.

#include "base/Guid.h"
#include "base/Persistent.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace vellum {

class TPictureEx;
class TStream;

// The value with each line break (CR LF, CR or LF) replaced by a space.
QString SingleLine(const QString& value);

class TProfileInfo2 : public TPersistent {
    VELLUM_CLASS(TProfileInfo2)
public:
    // A new identity, no values, empty pictures.
    TProfileInfo2();
    ~TProfileInfo2() override;

    // Takes another profile's identity, values, pictures and modified flag.
    void Assign(const TPersistent* source) override;
    // The same without the identity.
    void CopyContent(const TProfileInfo2& other);

    // Every value becomes its field's name.
    void Reset();
    // Every one of the 56 values becomes empty.
    void Clear();

    // Reads a record. False when it had the older 54-field layout and was
    // converted. Damaged lengths raise EReadError and leave the profile as
    // it was. Without pictures the stream is left after the values and the
    // pictures stay as they are. A loaded profile is not modified.
    bool Load(TStream& stream, bool withPictures);
    void Save(TStream& stream) const;

    // Empty for an index the profile has no value for.
    QString GetValue(int index) const;
    // Grows the list as needed; raises EListError for a negative index. A
    // line break in the value becomes a space.
    void SetValue(int index, const QString& value);
    int ValueCount() const { return int(FValues.size()); }
    const QStringList& Values() const { return FValues; }

    bool SameProfile(const TProfileInfo2& other) const { return FGuid == other.FGuid; }
    const TGUID& Guid() const { return FGuid; }
    void SetGuid(const TGUID& guid) { FGuid = guid; }

    TPictureEx& Face() { return *FFace; }
    const TPictureEx& Face() const { return *FFace; }
    TPictureEx& Mark() { return *FMark; }
    const TPictureEx& Mark() const { return *FMark; }
    void SetFace(const TPictureEx& picture);
    void SetMark(const TPictureEx& picture);

    bool Modified() const { return FModified; }
    void SetModified(bool modified) { FModified = modified; }
    bool CompressPictures() const { return FCompressPictures; }
    void SetCompressPictures(bool compress) { FCompressPictures = compress; }

private:
    void CopyPictures(const TProfileInfo2& other);

    TGUID FGuid;
    QStringList FValues;
    std::unique_ptr<TPictureEx> FFace;
    std::unique_ptr<TPictureEx> FMark;
    bool FModified = false;
    bool FCompressPictures = false;
};

} // namespace vellum
