#pragma once
// The older component form of a profile that documents still carry: one
// item per field with its name and its value as a line list, and the
// profile's identity as 16 bytes.

#include "base/Collection.h"
#include "base/Component.h"
#include "base/Guid.h"
#include "base/StringList.h"

#include <QString>

#include <memory>
#include <vector>

namespace vellum {

class TProfileInfo2;

class TProfileItem : public TPersistent {
    VELLUM_CLASS(TProfileItem)
public:
    TProfileItem();
    ~TProfileItem() override;
    void Assign(const TPersistent* source) override;

    // The value as lines; only the first one counts.
    TStringList* Info() const { return FInfo.get(); }
    const QString& FieldName() const { return FFieldName; }
    void SetFieldName(const QString& name) { FFieldName = name; }

private:
    std::unique_ptr<TStringList> FInfo;
    QString FFieldName;
};

class TProfileItems : public TOwnedCollection<TProfileItem> {
    VELLUM_CLASS(TProfileItems)
public:
    TProfileItems() = default;
};

class TProfileInfo : public TComponent {
    VELLUM_CLASS(TProfileInfo)
public:
    // A new identity and one item per field, named, with no value.
    explicit TProfileInfo(TComponent* owner = nullptr);
    ~TProfileInfo() override;

    TProfileItems* Items() const { return FItems.get(); }
    const TGUID& Guid() const { return FGuid; }
    void SetGuid(const TGUID& guid) { FGuid = guid; }

    // Items rebuilt from the field list, each holding its value when there is one.
    void FromProfile(const TProfileInfo2& profile);
    // Reset, then every field of the profile from its item's first line.
    void ToProfile(TProfileInfo2& profile) const;

private:
    void ReadGuid(TStream& stream);

    std::unique_ptr<TProfileItems> FItems;
    TGUID FGuid;
};

} // namespace vellum
