#include "document/DataInfo.h"

#include "profile/ProfileInfo.h"

namespace vellum {

const TClassInfo& TDataInfo::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TDataInfo, TComponent>("TDataInfo", [](auto& b) {
        b.Integer(
             "SheetCount", [](const TDataInfo& o) { return o.SheetCount; },
             [](TDataInfo& o, const TPropValue& v) { o.SheetCount = int32_t(std::get<int64_t>(v)); })
            .Stored(false);
        b.String(
            "DataName", [](const TDataInfo& o) { return o.DataName; },
            [](TDataInfo& o, const TPropValue& v) { o.DataName = std::get<QString>(v); });
        b.Integer(
             "CurrentSheetNo", [](const TDataInfo& o) { return o.CurrentSheetNo; },
             [](TDataInfo& o, const TPropValue& v) { o.CurrentSheetNo = int32_t(std::get<int64_t>(v)); })
            .Default(int64_t(0));
        b.Property(
            "LastPrint", TPropKind::DateTime, [](const TDataInfo& o) { return o.LastPrint; },
            [](TDataInfo& o, const TPropValue& v) { o.LastPrint = std::get<double>(v); });
        b.Property(
            "LastSave", TPropKind::DateTime, [](const TDataInfo& o) { return o.LastSave; },
            [](TDataInfo& o, const TPropValue& v) { o.LastSave = std::get<double>(v); });
        b.Boolean(
             "SheetMode", [](const TDataInfo& o) { return o.SheetMode; },
             [](TDataInfo& o, const TPropValue& v) { o.SheetMode = std::get<bool>(v); })
            .Default(false);
        b.Integer(
             "DataVersion", [](const TDataInfo& o) { return o.DataVersion; },
             [](TDataInfo& o, const TPropValue& v) { o.DataVersion = int32_t(std::get<int64_t>(v)); })
            .Default(int64_t(0));
    });
    return info;
}

void TDataInfo::GetChildren(const std::function<void(TComponent*)>& proc) const {
    if (ProfileInfo) proc(ProfileInfo);
}

void TDataInfo::ChildRead(TComponent* child) {
    if (auto* profile = dynamic_cast<TProfileInfo*>(child);
        profile && child->Name() == QStringLiteral("ProfileInfo"))
        ProfileInfo = profile;
}

} // namespace vellum
