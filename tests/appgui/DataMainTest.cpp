#include "../appframe/FrameFixture.h"

#include "appgui/DataMain.h"
#include "appgui/MessageForm.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

using namespace vellum;
using vellum::test::FrameTest;

class DataMainTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        FFrame.reset(); // the start-up module makes its own frame
    }
    std::vector<QString> Run(TStartupSteps steps, bool* started = nullptr) {
        std::vector<QString> shown;
        TdataMain data(nullptr, std::move(steps), ProgramFile());
        data.Frame().OnMessageBox = [&](const QString& text, TMsgDlgButtons, TMsgDlgBtn def, TMsgDlgBtn) {
            shown.push_back(text);
            return ModalResultOf(def);
        };
        const bool ok = data.Start({});
        if (started) *started = ok;
        return shown;
    }
};

TEST_F(DataMainTest, StartsTheStepsInOrderAndSeedsTheProgramHome) {
    WriteFile(Path(QStringLiteral("install/share/vellum4/vellum4.ppr")), "catalogue");
    QFile::setPermissions(Path(QStringLiteral("install/share/vellum4/vellum4.ppr")), QFileDevice::ReadOwner);
    QStringList order;
    TStartupSteps steps;
    steps.InstallPurposeValidator = [&] { order << QStringLiteral("validator"); };
    steps.RegisterPictureFormats = [&] { order << QStringLiteral("pictures"); };
    steps.OpenImageCache = [&](const QString& file, int limit) {
        order << QStringLiteral("cache %1 %2").arg(QFileInfo(file).fileName()).arg(limit);
    };
    steps.OpenPaperCatalogue = [&](const QString& file) {
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        order << QStringLiteral("papers ") + QString::fromUtf8(f.readAll());
    };
    steps.CreateMainWindow = [&]() -> QWidget* {
        order << QStringLiteral("window");
        return nullptr;
    };
    steps.Shutdown = [&] { order << QStringLiteral("shutdown"); };
    bool started = false;
    EXPECT_TRUE(Run(steps, &started).empty());
    EXPECT_TRUE(started);
    EXPECT_EQ(order, (QStringList{QStringLiteral("validator"), QStringLiteral("pictures"),
                                  QStringLiteral("cache ImageCache.ic 0"), QStringLiteral("papers catalogue"),
                                  QStringLiteral("window"), QStringLiteral("shutdown")}));
    // The seeded copy is the user's own and writable.
    EXPECT_TRUE(QFileInfo(Path(QStringLiteral("data/vellum4/vellum4.ppr"))).isWritable());
}

TEST_F(DataMainTest, AMissingOrReadOnlyCatalogueStopsTheStart) {
    bool windowMade = false;
    TStartupSteps steps;
    steps.OpenPaperCatalogue = [](const QString&) {};
    steps.CreateMainWindow = [&]() -> QWidget* {
        windowMade = true;
        return nullptr;
    };
    bool started = true;
    const QString file = Path(QStringLiteral("data/vellum4/vellum4.ppr"));
    auto shown = Run(steps, &started);
    EXPECT_FALSE(started);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], QStringLiteral("アプリケーションに必要なファイル「%1」が開けませんでした").arg(file));

    WriteFile(file);
    QFile::setPermissions(file, QFileDevice::ReadOwner);
    shown = Run(steps, &started);
    EXPECT_FALSE(started);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], QStringLiteral("実行に必要なファイル「%1」が読み取り専用になっています").arg(file));

    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    steps.OpenPaperCatalogue = [](const QString&) { throw std::runtime_error("damaged"); };
    shown = Run(steps, &started);
    EXPECT_FALSE(started);
    EXPECT_EQ(shown.at(0),
              QStringLiteral("アプリケーションに必要なファイル「%1」が開けませんでした").arg(file));
    EXPECT_FALSE(windowMade);
}

TEST_F(DataMainTest, TheWindowedProgramAsksThroughTheMessageForm) {
    TdataMain data(nullptr, {}, ProgramFile());
    QString text;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* form = dynamic_cast<TfrmMessage*>(modal)) {
            text = form->findChild<QLabel*>(QStringLiteral("lblMessage"))->text();
            QPushButton* no = nullptr;
            for (QPushButton* b : form->findChildren<QPushButton*>())
                if (b->text() == QStringLiteral("いいえ(&N)")) no = b;
            if (no)
                no->click();
            else
                form->close(); // answers with the cancel button
        } else if (modal) {
            modal->close();
        }
    });
    const QString question = QStringLiteral("$(AppName)を終了しますか？");
    EXPECT_EQ(data.Frame().MessageBox(question, mbYes | mbNo | mbCancel, mbYes, mbCancel), mrNo);
    EXPECT_EQ(text, QStringLiteral("Vellum4を終了しますか？"));
}
