#pragma once
// Card-paper details: the papers to use for the front and the back sheet,
// a memo, and whether the paper is printed edge to edge or is roll paper.

#include "paper/ExtraPaperInfo.h"

namespace vellum {

class TExMeishiInfo : public TExtraPaperInfo {
    VELLUM_CLASS(TExMeishiInfo)
public:
    explicit TExMeishiInfo(TComponent* owner = nullptr) : TExtraPaperInfo(owner) {}

    const QString& FrontPaper() const { return FFrontPaper; }
    void SetFrontPaper(const QString& v);
    const QString& BackPaper() const { return FBackPaper; }
    void SetBackPaper(const QString& v);
    const QString& PaperMemo() const { return FPaperMemo; }
    void SetPaperMemo(const QString& v);
    bool FullPaint() const { return FFullPaint; }
    void SetFullPaint(bool v);
    bool RollPaper() const { return FRollPaper; }
    void SetRollPaper(bool v);

    bool IsEmpty() const override;
    void Clear() override;
    void Assign(const TPersistent* source) override;

private:
    QString FFrontPaper;
    QString FBackPaper;
    QString FPaperMemo;
    bool FFullPaint = false;
    bool FRollPaper = false;
};

} // namespace vellum
