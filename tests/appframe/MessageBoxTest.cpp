#include "FrameFixture.h"

#include "appframe/Application.h"
#include "appframe/MessageForm.h"
#include "base/Exceptions.h"

#include <QPushButton>
#include <QTimer>

using namespace vellum;
using vellum::test::FrameTest;

TEST_F(FrameTest, MessageBoxExpandsTheTemplateButNeverTheUserData) {
    FFrame->MessageBox(QStringLiteral("$(AppName)です"), mbOK, mbOK, mbOK);
    // A sheet named "$(" must not break a question about it.
    const int r = FFrame->MessageBoxFmt(QStringLiteral("%sを削除しますか？$(CRLF)$(AppName)"), mbYes | mbNo, mbNo,
                                        mbNo, QStringLiteral("$("));
    EXPECT_EQ(r, mrNo);
    FFrame->MessageBox(QStringLiteral("broken $( macro"), mbOK, mbOK, mbOK);
    ASSERT_EQ(Shown.size(), 3u);
    EXPECT_EQ(Shown[0].Text, QStringLiteral("Vellum4です"));
    EXPECT_EQ(Shown[1].Text, QStringLiteral("$(を削除しますか？\r\nVellum4"));
    EXPECT_EQ(Shown[1].Buttons, TMsgDlgButtons(mbYes | mbNo));
    EXPECT_EQ(Shown[2].Text, QStringLiteral("broken $( macro"));
}

TEST_F(FrameTest, MessageBoxNeverThrows) {
    FFrame->OnMessageBox = [](const QString&, TMsgDlgButtons, TMsgDlgBtn, TMsgDlgBtn) -> int {
        throw Exception(QStringLiteral("hook failed"));
    };
    EXPECT_EQ(FFrame->MessageBox(QStringLiteral("q"), mbYes | mbNo | mbCancel, mbYes, mbCancel), mrCancel);
    EXPECT_EQ(FFrame->MessageBoxFmt(QStringLiteral("%d %d"), mbOK, mbOK, mbOK, 1), mrOk); // too few arguments
}

TEST(ModalResult, CodesOfTheButtons) {
    EXPECT_EQ(ModalResultOf(mbYes), 6);
    EXPECT_EQ(ModalResultOf(mbNo), 7);
    EXPECT_EQ(ModalResultOf(mbOK), 1);
    EXPECT_EQ(ModalResultOf(mbCancel), 2);
}

TEST_F(FrameTest, MessageFormShowsJapaneseButtonsAndAnswersWithTheirResults) {
    struct Case {
        const char* click;
        int expected;
    } cases[] = {{"はい(&Y)", mrYes}, {"いいえ(&N)", mrNo}, {"キャンセル", mrCancel}};
    for (const auto& c : cases) {
        TfrmMessage form(QStringLiteral("保存しますか？"), mbYes | mbNo | mbCancel, mbYes, mbCancel);
        QList<QPushButton*> buttons = form.findChildren<QPushButton*>();
        ASSERT_EQ(buttons.size(), 3);
        QPushButton* target = nullptr;
        for (QPushButton* b : buttons)
            if (b->text() == QString::fromUtf8(c.click)) target = b;
        ASSERT_NE(target, nullptr) << c.click;
        QTimer::singleShot(0, target, &QPushButton::click);
        EXPECT_EQ(form.exec(), c.expected) << c.click;
    }
    TfrmMessage form(QStringLiteral("x"), mbYes | mbNo, mbYes, mbNo);
    QTimer::singleShot(0, &form, &QDialog::reject); // Escape or the close box
    EXPECT_EQ(form.exec(), mrNo);
}

namespace {
class TThrowingObject : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw Exception(QStringLiteral("壊れた"));
        return QObject::event(e);
    }
};
} // namespace

TEST_F(FrameTest, UnhandledExceptionsReachTheFramesReport) {
    // The test program runs on the program's own application class.
    ASSERT_NE(dynamic_cast<TApplication*>(QCoreApplication::instance()), nullptr);
    TThrowingObject target;
    QEvent event(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&target, &event));
    ASSERT_EQ(Shown.size(), 1u);
    EXPECT_EQ(Shown[0].Text, QStringLiteral("予期しないエラーが発生しました\r\n壊れた"));

    FFrame->HandleException(ETwain(QStringLiteral("機器なし")));
    EXPECT_TRUE(Shown.back().Text.startsWith(QStringLiteral("TWAINでエラーが発生しました。")));
    EXPECT_TRUE(Shown.back().Text.endsWith(QStringLiteral("「機器なし」")));

    FFrame->OnException = [](const std::exception&) { return true; };
    FFrame->HandleException(Exception(QStringLiteral("handled")));
    EXPECT_EQ(Shown.size(), 2u);
}
