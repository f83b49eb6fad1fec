#include "FrameFixture.h"

#include "base/Exceptions.h"

using namespace vellum;
using vellum::test::FrameTest;

TEST_F(FrameTest, MessageBoxExpandsTheTemplateButNeverTheUserData) {
    FFrame->MessageBox(QStringLiteral("$(AppName)です"), mbOK, mbOK, mbOK);
    // A sheet named "$(" must not break a question about it.
    const int r = FFrame->MessageBoxFmt(QStringLiteral("%sを削除しますか？$(CRLF)$(AppName)"), mbYes | mbNo,
                                        mbNo, mbNo, QStringLiteral("$("));
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

TEST_F(FrameTest, WithoutAHookTheTextGoesToStandardErrorAndTheAnswerIsCancel) {
    FFrame->OnMessageBox = nullptr;
    struct Case {
        TMsgDlgButtons Buttons;
        TMsgDlgBtn Default, Cancel;
        int Expected;
    } cases[] = {
        {mbOK, mbOK, mbOK, mrOk},
        {mbYes | mbNo, mbYes, mbNo, mrNo},
        {mbRetry | mbCancel, mbRetry, mbCancel, mrCancel},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        const int answer =
            FFrame->MessageBox(QStringLiteral("$(AppName)$(CRLF)二行目"), c.Buttons, c.Default, c.Cancel);
        EXPECT_EQ(QString::fromStdString(testing::internal::GetCapturedStderr()),
                  QStringLiteral("Vellum4\n二行目\n"));
        EXPECT_EQ(answer, c.Expected);
    }
    // Asking for a medium nobody can insert gives up instead of asking forever.
    testing::internal::CaptureStderr();
    EXPECT_EQ(FFrame->LocateFile(QStringLiteral("Data\\missing.dat"), QStringLiteral("@")), QString());
    EXPECT_TRUE(QString::fromStdString(testing::internal::GetCapturedStderr())
                    .startsWith(QStringLiteral("必要なファイルが見つかりません")));
}

TEST_F(FrameTest, UnhandledExceptionsEndInTheMessageDispatch) {
    FFrame->HandleException(Exception(QStringLiteral("壊れた")));
    ASSERT_EQ(Shown.size(), 1u);
    EXPECT_EQ(Shown[0].Text, QStringLiteral("予期しないエラーが発生しました\r\n壊れた"));
    FFrame->HandleUnknownException();
    EXPECT_EQ(Shown.back().Text, QStringLiteral("予期しないエラーが発生しました\r\nunknown exception"));

    FFrame->HandleException(ETwain(QStringLiteral("機器なし")));
    EXPECT_TRUE(Shown.back().Text.startsWith(QStringLiteral("TWAINでエラーが発生しました。")));
    EXPECT_TRUE(Shown.back().Text.endsWith(QStringLiteral("「機器なし」")));

    FFrame->OnException = [](const std::exception&) { return true; };
    FFrame->HandleException(Exception(QStringLiteral("handled")));
    EXPECT_EQ(Shown.size(), 3u);
}
