#pragma once
// The base of the per-paper extra information: a record keyed by the name
// of the paper it completes. An empty record is never stored.

#include "base/Component.h"

#include <QString>

#include <memory>

namespace vellum {

class TExtraPaperInfo : public TComponent {
    VELLUM_CLASS(TExtraPaperInfo)
public:
    explicit TExtraPaperInfo(TComponent* owner = nullptr) : TComponent(owner) {}

    const QString& PaperName() const { return FPaperName; }
    void SetPaperName(const QString& name) { FPaperName = name; }

    virtual bool IsEmpty() const = 0;
    // True when both written as component streams give the same bytes; false for null.
    virtual bool SameAs(const TExtraPaperInfo* other) const;
    // Sets exactly the empty state; PaperName stays.
    virtual void Clear() = 0;

    // Takes PaperName from a record of this class (or a descendant of it);
    // anything else raises EConvertError.
    void Assign(const TPersistent* source) override;
    // A new record of the same class holding the same values.
    std::unique_ptr<TExtraPaperInfo> Clone() const;

private:
    QString FPaperName;
};

} // namespace vellum
