#include "profile/ProfileInfo.h"

#include "base/Exceptions.h"
#include "base/Filer.h"
#include "base/Format.h"
#include "base/Stream.h"
#include "profile/ProfileFields.h"
#include "profile/ProfileInfo2.h"

namespace vellum {

const TClassInfo& TProfileItem::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TProfileItem, TPersistent>("TProfileItem", [](auto& b) {
        b.Owned(QStringLiteral("Info"), TPropKind::StringList, &TProfileItem::Info);
        b.String(QStringLiteral("FieldName"), &TProfileItem::FieldName, &TProfileItem::SetFieldName);
    });
    return info;
}

TProfileItem::TProfileItem() : FInfo(std::make_unique<TStringList>()) {}

TProfileItem::~TProfileItem() = default;

void TProfileItem::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TProfileItem*>(source);
    if (!other) return TPersistent::Assign(source);
    FInfo->Assign(other->FInfo.get());
    FFieldName = other->FFieldName;
}

const TClassInfo& TProfileItems::StaticClass() {
    static const TClassInfo info =
        TClassInfo::Make<TProfileItems, TCollection>("TProfileItems", [](auto&) {});
    return info;
}

const TClassInfo& TProfileInfo::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TProfileInfo, TComponent>("TProfileInfo", [](auto& b) {
        b.Owned(QStringLiteral("Items"), TPropKind::Collection, &TProfileInfo::Items);
        TDefinedProperty guid;
        guid.Name = QStringLiteral("GUID");
        guid.HasData = [](const TPersistent&) { return true; };
        guid.ReadBinary = [](TPersistent& o, TStream& s) { static_cast<TProfileInfo&>(o).ReadGuid(s); };
        guid.WriteBinary = [](const TPersistent& o, TStream& s) {
            s.WriteBytes(static_cast<const TProfileInfo&>(o).FGuid.ToBytes());
        };
        b.Defined(std::move(guid));
    });
    return info;
}

TProfileInfo::TProfileInfo(TComponent* owner)
    : TComponent(owner), FItems(std::make_unique<TProfileItems>()), FGuid(CreateGUID()) {
    for (const QString& name : ProfileFieldNames()) FItems->AddItem()->SetFieldName(name);
}

TProfileInfo::~TProfileInfo() = default;

void TProfileInfo::ReadGuid(TStream& stream) {
    const std::optional<TGUID> guid = TGUID::FromBytes(stream.ReadAll());
    if (!guid) throw EReadError(InvalidStreamMessage());
    FGuid = *guid;
}

void TProfileInfo::FromProfile(const TProfileInfo2& profile) {
    FItems->Clear();
    const QStringList& names = ProfileFieldNames();
    for (int j = 0; j < names.size(); ++j) {
        TProfileItem* item = FItems->AddItem();
        item->SetFieldName(names[j]);
        if (const QString value = profile.GetValue(j); !value.isEmpty()) item->Info()->Add(value);
    }
    FGuid = profile.Guid();
}

void TProfileInfo::ToProfile(TProfileInfo2& profile) const {
    profile.Reset();
    for (int j = 0; j < profile.ValueCount(); ++j) {
        const TStringList* lines = j < FItems->Count() ? FItems->Item(j)->Info() : nullptr;
        profile.SetValue(j, lines && lines->Count() > 0 ? lines->Strings(0) : QString());
    }
    profile.SetGuid(FGuid);
}

} // namespace vellum
