#pragma once
// A paper's maker, purpose label and corner size, by which the paper
// chooser groups papers.

#include "paper/ExtraPaperInfo.h"

#include <cstdint>

namespace vellum {

class TExPaperInfo : public TExtraPaperInfo {
    VELLUM_CLASS(TExPaperInfo)
public:
    explicit TExPaperInfo(TComponent* owner = nullptr) : TExtraPaperInfo(owner) {}

    const QString& Purpose() const { return FPurpose; }
    void SetPurpose(const QString& v) { FPurpose = v; }
    const QString& Company() const { return FCompany; }
    void SetCompany(const QString& v) { FCompany = v; }
    int32_t RoundSize() const { return FRoundSize; }
    void SetRoundSize(int32_t v) { FRoundSize = v; }

    bool IsEmpty() const override;
    void Clear() override;
    void Assign(const TPersistent* source) override;

private:
    QString FPurpose;
    QString FCompany;
    int32_t FRoundSize = 0;
};

} // namespace vellum
