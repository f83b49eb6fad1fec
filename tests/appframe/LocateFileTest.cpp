#include "FrameFixture.h"

using namespace vellum;
using vellum::test::FrameTest;

TEST_F(FrameTest, LocateFileLooksInTheProgramHomeThenTheDataMedium) {
    // Program home first, matched without regard to case.
    WriteFile(Path(QStringLiteral("data/vellum4/Data/Template/layout.dat")));
    EXPECT_EQ(FFrame->LocateFile(QStringLiteral("Data\\Template\\LAYOUT.DAT")),
              Path(QStringLiteral("data/vellum4/Data/Template/layout.dat")));

    // A folder named in CDPath counts only when it holds the marker file.
    const QString medium = Path(QStringLiteral("medium"));
    WriteFile(medium + QStringLiteral("/Data/DecoLine/b.bmp"));
    WriteFile(medium + QStringLiteral("/Data/DecoLine/a.bmp"));
    FFrame->WriteString(QStringLiteral("CDPath"), medium);
    EXPECT_EQ(FFrame->LocateFile(QStringLiteral("Data\\DecoLine\\*.*")), QString());
    WriteFile(medium + QStringLiteral("/VELLUM4"));
    EXPECT_EQ(FFrame->LocateFile(QStringLiteral("Data\\DecoLine\\*.*")),
              medium + QStringLiteral("/Data/DecoLine/a.bmp"));
    EXPECT_EQ(FFrame->LocateFile(QStringLiteral("Data/decoline/?.BMP")),
              medium + QStringLiteral("/Data/DecoLine/a.bmp"));
    EXPECT_TRUE(Shown.empty()); // without a caption nobody is asked
}

TEST_F(FrameTest, LocateFileAsksForTheMediumUntilFoundOrCancelled) {
    const QString medium = Path(QStringLiteral("cd"));
    WriteFile(medium + QStringLiteral("/vellum4"));
    FFrame->WriteString(QStringLiteral("CDPath"), medium);
    Answers = {mrRetry, mrCancel};
    EXPECT_EQ(FFrame->LocateFile(QStringLiteral("Data\\Back\\Index.dat"), QStringLiteral("背景データ")),
              QString());
    ASSERT_EQ(Shown.size(), 2u);
    EXPECT_EQ(Shown[0].Text,
              QStringLiteral("背景データが見つかりません\r\nVellum4のＣＤを正しくセットしてください。"));
    EXPECT_EQ(Shown[0].Buttons, TMsgDlgButtons(mbRetry | mbCancel));

    int asked = 0;
    FFrame->OnCDNotFound = [&](const QString& fileName, const QString& caption) {
        EXPECT_EQ(caption, QStringLiteral("必要なファイル"));
        EXPECT_EQ(fileName, QStringLiteral("Data\\Back\\Index.dat"));
        ++asked;
        WriteFile(medium + QStringLiteral("/Data/Back/Index.dat")); // the user inserts the disc
        return true;
    };
    EXPECT_EQ(FFrame->LocateFile(QStringLiteral("Data\\Back\\Index.dat"), QStringLiteral("@")),
              medium + QStringLiteral("/Data/Back/Index.dat"));
    EXPECT_EQ(asked, 1);
}
