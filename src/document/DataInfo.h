#pragma once
// The document-wide values kept in the "DataInfo" stream of a document.
#include "base/Component.h"

#include <QString>
#include <cstdint>

namespace vellum {

class TProfileInfo;

class TDataInfo : public TComponent {
    VELLUM_CLASS(TDataInfo)

public:
    explicit TDataInfo(TComponent* owner = nullptr) : TComponent(owner) {}

    // Published for the reader of the stream, never stored.
    int32_t SheetCount = 0;
    QString DataName;
    int32_t CurrentSheetNo = 0;
    double LastPrint = 0;
    double LastSave = 0;
    bool SheetMode = false;
    int32_t DataVersion = 0;

    // The child named "ProfileInfo": the profile in its older form, owned
    // by this object; none when the stream carried none.
    TProfileInfo* ProfileInfo = nullptr;

    void GetChildren(const std::function<void(TComponent*)>& proc) const override;
    void ChildRead(TComponent* child) override;
};

} // namespace vellum
