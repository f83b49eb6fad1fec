#include "ui/ProfileCommands.h"

#include "../appframe/FrameFixture.h"
#include "../support/CardClasses.h"
#include "../support/ScriptedDialogs.h"
#include "../support/TestCatalogue.h"
#include "base/Cp932.h"
#include "commands/DocumentSession.h"
#include "document/LabelData.h"
#include "profile/CSVData.h"
#include "profile/GenericCSVAccess.h"
#include "profile/ProfileDB2.h"
#include "profile/ProfileFields.h"
#include "profile/ProfileInfo2.h"
#include "ui/CSVImportForm.h"
#include "ui/MainWindow.h"
#include "ui/ProgressForm.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <sys/stat.h>

namespace vellum::test {
namespace {

class ProfileCommandsTest : public FrameTest {
protected:
    void SetUp() override {
        RegisterCardClassesOnce();
        FrameTest::SetUp();
        OpenTestCatalogue(Catalogue, Path(QStringLiteral("papers.ppr")));
        Window = std::make_unique<TfrmMain>(&Catalogue, &Dialogs);
    }
    void TearDown() override {
        Window.reset();
        Catalogue.Close();
        FrameTest::TearDown();
    }
    TProfileDB2& DB() { return Window->ProfileDB(); }
    TProfileCommands& Commands() { return Window->ProfileCommands(); }
    void AddNamed(const QString& name) {
        TProfileInfo2 p;
        p.Clear();
        p.SetValue(1, name);
        p.SetValue(2, name + QStringLiteral("のよみ"));
        DB().Add(p);
    }
    QStringList Names() {
        QStringList names;
        TProfileInfo2 p;
        for (int i = 0; i < DB().Count(); ++i) {
            DB().ReadHeader(i, p);
            names << p.GetValue(1);
        }
        return names;
    }

    TPapers Catalogue;
    TScriptedDialogs Dialogs;
    std::unique_ptr<TfrmMain> Window;
};

TEST_F(ProfileCommandsTest, ExportedTitlesMapEveryFieldAndTheImportReplacesTheDatabase) {
    EXPECT_TRUE(DB().Active());
    for (const char* name : {"actImportCSV", "actExportCSV", "actSaveProfileFile"})
        EXPECT_TRUE(Window->Action(QString::fromLatin1(name))->isEnabled()) << name;
    AddNamed(QStringLiteral("髙橋"));
    AddNamed(QStringLiteral("山﨑"));
    const QString csv = Path(QStringLiteral("out.csv"));
    Commands().AskExportOptions = [](bool& titles) {
        titles = true;
        return true;
    };
    Dialogs.Answers.push_back({true, csv, 2});
    ASSERT_TRUE(Commands().ExportCSV());
    EXPECT_EQ(Dialogs.Asked.back().Filter, TProfileCommands::CSVFilter());
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith("\xEF\xBB\xBF" + QStringLiteral("氏名,ふりがな,").toUtf8()));

    Dialogs.Answers.push_back({true, csv, 1});
    Commands().RunImportDialog = [this](TfrmCSVImport& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("CSV形式の読込み"));
        EXPECT_EQ(dialog.Fields().count(), 55);
        EXPECT_EQ(dialog.Fields().item(0)->text(), QStringLiteral("氏名：氏名"));
        EXPECT_EQ(dialog.Sources().count(), 0);
        EXPECT_EQ(dialog.RecordLabel().text(), QStringLiteral("1/3"));
        dialog.ShowRecord(2);
        EXPECT_EQ(dialog.Fields().item(1)->text(), QStringLiteral("ふりがな：山﨑のよみ"));
        dialog.SkipFirstBox().setChecked(true);
        dialog.ClearBox().setChecked(true);
        Answers = {mrNo, mrYes};
        dialog.accept();
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        dialog.accept();
        return dialog.result() == QDialog::Accepted;
    };
    AddNamed(QStringLiteral("消える"));
    ASSERT_TRUE(Commands().ImportCSV());
    EXPECT_EQ(Names(), (QStringList{"髙橋", "山﨑"}));
    EXPECT_EQ(Window->Session().Document().Profile().GetValue(1), QStringLiteral("髙橋"));
    // The options are remembered.
    EXPECT_TRUE(FFrame->ReadBool(QStringLiteral("CSVImportSkipFirst"), false));
    EXPECT_TRUE(FFrame->ReadBool(QStringLiteral("CSVOutputTitle"), false));
}

TEST_F(ProfileCommandsTest, TheMappingDialogListsFreeColumnsAndMapsThem) {
    TCSVData data;
    data.AssignLines({"a,,c", "d"});
    TfrmCSVImport dialog(data);
    EXPECT_EQ(dialog.Fields().item(0)->text(), QStringLiteral("氏名：***"));
    ASSERT_EQ(dialog.Sources().count(), 3);
    EXPECT_EQ(dialog.Sources().item(1)->text(), QStringLiteral("***項目2***"));
    EXPECT_FALSE(dialog.AddButton().isEnabled());
    dialog.Fields().setCurrentRow(4);
    dialog.Sources().setCurrentRow(2);
    EXPECT_TRUE(dialog.AddButton().isEnabled());
    EXPECT_FALSE(dialog.RemoveButton().isEnabled());
    dialog.MapSelected();
    EXPECT_EQ(dialog.Mapping()[4], 2);
    EXPECT_EQ(dialog.Fields().item(4)->text(), QStringLiteral("郵便番号：c"));
    EXPECT_EQ(dialog.Sources().count(), 2);
    EXPECT_TRUE(dialog.RemoveButton().isEnabled());
    // Another record shows its own values; a column it lacks shows its number.
    dialog.ShowRecord(1);
    EXPECT_EQ(dialog.RecordLabel().text(), QStringLiteral("2/2"));
    EXPECT_EQ(dialog.Fields().item(4)->text(), QStringLiteral("郵便番号："));
    EXPECT_EQ(dialog.Sources().item(0)->text(), QStringLiteral("d"));
    EXPECT_EQ(dialog.Sources().item(1)->text(), QStringLiteral("***項目2***"));
    dialog.UnmapSelected();
    EXPECT_EQ(dialog.Mapping()[4], TGenericCSVAccess::kUnmapped);
    EXPECT_EQ(dialog.Sources().count(), 3);
}

TEST_F(ProfileCommandsTest, ACancelledImportKeepsWhatWasStoredAndTheBackupIsPrivate) {
    const QString csv = Path(QStringLiteral("in.csv"));
    WriteFile(csv, cp932::Encode(QStringLiteral("一\r\n二\r\n三\r\n")));
    Dialogs.Answers.push_back({true, csv, 1});
    Commands().RunImportDialog = [](TfrmCSVImport& dialog) {
        dialog.Fields().setCurrentRow(0);
        dialog.Sources().setCurrentRow(0);
        dialog.MapSelected();
        return true;
    };
    Commands().OnProgress = [](TfrmProgress& progress) {
        EXPECT_EQ(progress.windowTitle(), QStringLiteral("CSVデータの読み込み"));
        QString asked;
        progress.OnConfirm = [&asked](const QString& question) {
            asked = question;
            return true;
        };
        progress.reject();
        EXPECT_EQ(asked, QStringLiteral("CSVデータの読み込みを中止します。\r\nよろしいですか？"));
        EXPECT_TRUE(progress.Cancelled());
    };
    Commands().ImportCSV();
    EXPECT_EQ(Names(), QStringList{"一"});

    const QString backup = Path(QStringLiteral("backup.mdp"));
    Dialogs.Answers.push_back({true, backup, 1});
    ASSERT_TRUE(Commands().SaveProfileFile());
    EXPECT_EQ(Dialogs.Asked.back().Filter, QStringLiteral("Vellum4ﾌﾟﾛﾌｨｰﾙﾃﾞｰﾀ(*.mdp)|*.mdp"));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(backup).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // A new document starts with the database's first profile.
    Window->Session().NewDocument();
    EXPECT_EQ(Window->Session().Document().Profile().GetValue(1), QStringLiteral("一"));
}

} // namespace
} // namespace vellum::test
