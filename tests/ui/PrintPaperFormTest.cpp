#include "ui/PrintPaperForm.h"

#include "../appframe/FrameFixture.h"
#include "../support/TestCatalogue.h"
#include "ui/PaperPicker.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace vellum::test {
namespace {

class PrintPaperFormTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        TPrintMemory::Current() = TPrintMemory();
    }
    void TearDown() override {
        TPrintMemory::Current() = TPrintMemory();
        FrameTest::TearDown();
    }

    static QAbstractButton* Button(QWidget& form, const QString& text) {
        for (QAbstractButton* b : form.findChildren<QAbstractButton*>())
            if (b->text() == text) return b;
        return nullptr;
    }

    std::unique_ptr<TMatrixPaperInfo> Paper = CardSheet(QStringLiteral("名刺10面"), 2, 5);
};

TEST_F(PrintPaperFormTest, TheSheetCountFollowsTheMergeChoicesAndIsZeroWithoutCountedCards) {
    TPrintMemory& memory = TPrintMemory::Current();
    memory.FixedProfile = false;
    memory.PerSheet = false;
    memory.LabelsPerProfile = 4;
    memory.FirstProfile = 1;
    memory.LastProfile = 3;
    {
        TfrmPrintPaper form(*Paper, false, 3, 0, {}, QString());
        EXPECT_EQ(form.SheetCountText(), QStringLiteral("必要な用紙数：2枚"));
        EXPECT_EQ(form.windowTitle(), QStringLiteral("ラベルシートの印刷"));
    }
    // Count only the chosen cards, and none is chosen: no sheet, no division by zero.
    memory.AllFaces = false;
    memory.CountSelectedOnly = true;
    TfrmPrintPaper form(*Paper, false, 3, 0, {}, QString());
    EXPECT_EQ(form.SheetCountText(), QStringLiteral("必要な用紙数：0枚"));
    form.accept();
    ASSERT_EQ(Shown.size(), 1u);
    EXPECT_EQ(Shown[0].Text, QStringLiteral("印刷するラベルを指定してください"));
    EXPECT_EQ(form.result(), QDialog::Rejected);
}

TEST_F(PrintPaperFormTest, ChoosingCardsSelectsTheFirstAndTheBackKeepsMirroredNumbers) {
    TfrmPrintPaper form(*Paper, true, 0, 0, {}, QString());
    EXPECT_EQ(form.Printer(), kPdfPrinterName);
    TPaperPicker* picker = &form.Picker();
    EXPECT_FALSE(picker->isEnabled());
    Button(form, QStringLiteral("指定ラベル"))->click();
    EXPECT_TRUE(picker->isEnabled());
    EXPECT_TRUE(picker->IsSelected(0));
    // Position 0 on the back prints card 1.
    const TPrintMemory choices = form.Choices();
    EXPECT_EQ(choices.Selection, (std::vector<uint8_t>{0, 1, 0, 0, 0, 0, 0, 0, 0, 0}));

    QAbstractButton* cross = Button(form, QStringLiteral("トンボ(十字)"));
    EXPECT_FALSE(cross->isEnabled());
    Button(form, QStringLiteral("切り取り線を印刷"))->click();
    EXPECT_TRUE(cross->isEnabled());
    cross->click();
    form.accept();
    EXPECT_TRUE(Shown.empty()); // the PDF printer needs no paper confirmation
    EXPECT_EQ(form.result(), QDialog::Accepted);
    const TPrintSpec job = TPrintMemory::Current().Job(10, 0);
    EXPECT_EQ(job.CutLineKind, TCutLineKind::clkCrossMarks);
    EXPECT_EQ(job.PageCount, 1);
    EXPECT_TRUE(job.IsSelected(1));
}

} // namespace
} // namespace vellum::test
