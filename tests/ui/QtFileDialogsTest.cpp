#include "ui/QtFileDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace vellum {
namespace {

const QString kExportFilter =
    QStringLiteral("ビットマップ (*.bmp)|*.bmp|JPEG イメージファイル (*.jpg)|*.jpg");
const QString kDocumentFilter = QStringLiteral("Vellum4ﾃﾞｰﾀ(*.xv4)|*.xv4|すべてのﾌｧｲﾙ(*.*)|*.*");

// Plays the user once the dialog runs; a dialog nobody answers is rejected
// so that a failing test cannot hang.
class TScriptedDialog {
public:
    explicit TScriptedDialog(std::function<void(QFileDialog&)> play) {
        QTimer::singleShot(0, &FContext, [play, this] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            Seen = true;
            play(*dialog);
        });
        QTimer::singleShot(5000, &FContext, [] {
            if (auto* w = QApplication::activeModalWidget()) w->close();
        });
    }
    bool Seen = false;

private:
    QObject FContext; // ends the timers with the test
};

void TypeName(QFileDialog& dialog, const QString& name) {
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->setText(name);
}

TEST(QtFileDialogsTest, SaveTakesTheExtensionOfTheChosenFilter) {
    QTemporaryDir dir;
    TFileDialogRequest request;
    request.Title = QStringLiteral("名刺イメージの出力");
    request.Filter = kExportFilter;
    request.DefaultExt = QStringLiteral("bmp");
    request.DefaultExtFromFilter = true;
    request.InitialDir = dir.path();
    QStringList shownFilters;
    QString shownTitle;
    TScriptedDialog script([&](QFileDialog& dialog) {
        shownFilters = dialog.nameFilters();
        shownTitle = dialog.windowTitle();
        EXPECT_EQ(dialog.selectedNameFilter(), shownFilters.value(0));
        auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(types, nullptr);
        QTest::keyClick(types, Qt::Key_Down); // the user picks JPEG
        TypeName(dialog, QStringLiteral("card"));
        if (const QString shots = qEnvironmentVariable("VELLUM_UI_SHOTS"); !shots.isEmpty())
            dialog.grab().save(shots + QStringLiteral("/save-dialog.png"));
        static_cast<QDialog&>(dialog).accept();
    });
    const TFileDialogAnswer answer = TQtFileDialogs().SaveFile(request);
    ASSERT_TRUE(script.Seen);
    EXPECT_EQ(shownTitle, request.Title);
    EXPECT_EQ(shownFilters, (QStringList{QStringLiteral("ビットマップ (*.bmp)"),
                                         QStringLiteral("JPEG イメージファイル (*.jpg)")}));
    EXPECT_TRUE(answer.Accepted);
    EXPECT_EQ(answer.FilterIndex, 2);
    EXPECT_EQ(answer.FileName, dir.filePath(QStringLiteral("card.jpg")));
}

TEST(QtFileDialogsTest, SaveKeepsTheDefaultExtensionUnlessAsked) {
    QTemporaryDir dir;
    TFileDialogRequest request;
    request.Filter = kDocumentFilter;
    request.DefaultExt = QStringLiteral("xv4");
    request.FilterIndex = 2;
    request.InitialDir = dir.path();
    QString selected;
    TScriptedDialog script([&](QFileDialog& dialog) {
        selected = dialog.selectedNameFilter();
        TypeName(dialog, QStringLiteral("名刺"));
        static_cast<QDialog&>(dialog).accept();
    });
    const TFileDialogAnswer answer = TQtFileDialogs().SaveFile(request);
    ASSERT_TRUE(script.Seen);
    EXPECT_EQ(selected, QStringLiteral("すべてのﾌｧｲﾙ(*.*)"));
    EXPECT_TRUE(answer.Accepted);
    EXPECT_EQ(answer.FilterIndex, 2);
    EXPECT_EQ(answer.FileName, dir.filePath(QStringLiteral("名刺.xv4")));
}

TEST(QtFileDialogsTest, OpenFindsTheFileWithTheDefaultExtension) {
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("a.xv4")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    TFileDialogRequest request;
    request.Filter = kDocumentFilter;
    request.DefaultExt = QStringLiteral("xv4");
    request.FilterIndex = 7; // beyond the list: the first filter
    request.InitialDir = dir.path();
    QString selected;
    TScriptedDialog script([&](QFileDialog& dialog) {
        selected = dialog.selectedNameFilter();
        TypeName(dialog, QStringLiteral("a"));
        static_cast<QDialog&>(dialog).accept();
    });
    const TFileDialogAnswer answer = TQtFileDialogs().OpenFile(request);
    ASSERT_TRUE(script.Seen);
    EXPECT_EQ(selected, QStringLiteral("Vellum4ﾃﾞｰﾀ(*.xv4)"));
    EXPECT_TRUE(answer.Accepted);
    EXPECT_EQ(answer.FilterIndex, 1);
    EXPECT_EQ(answer.FileName, file.fileName());
}

TEST(QtFileDialogsTest, CancelGivesNoFile) {
    TFileDialogRequest request;
    request.Filter = kDocumentFilter;
    request.FileName = QStringLiteral("/tmp/x.xv4");
    TScriptedDialog script([](QFileDialog& dialog) { dialog.reject(); });
    const TFileDialogAnswer answer = TQtFileDialogs().SaveFile(request);
    ASSERT_TRUE(script.Seen);
    EXPECT_FALSE(answer.Accepted);
    EXPECT_TRUE(answer.FileName.isEmpty());
}

TEST(QtFileDialogsTest, OpenShowsThePreviewOfTheCurrentFile) {
    QTemporaryDir dir;
    const QString card = dir.filePath(QStringLiteral("card.xv4"));
    const QString other = dir.filePath(QStringLiteral("other.xv4"));
    for (const QString& name : {card, other}) {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
    TFileDialogRequest request;
    request.Filter = kDocumentFilter;
    request.InitialDir = dir.path();
    request.Preview = [&](const QString& file) {
        QImage image(300, 150, QImage::Format_RGB32);
        image.fill(Qt::red);
        return file == card ? image : QImage();
    };
    QSize shown;
    QString without;
    TScriptedDialog script([&](QFileDialog& dialog) {
        auto* label = dialog.findChild<QLabel*>(QStringLiteral("lblPreview"));
        if (label) {
            Q_EMIT dialog.currentChanged(card);
            shown = label->pixmap().size();
            // VELLUM_UI_SHOTS=folder keeps a picture of the dialog.
            if (const QString folder = qEnvironmentVariable("VELLUM_UI_SHOTS"); !folder.isEmpty())
                dialog.grab().save(folder + QStringLiteral("/openpreview.png"));
            Q_EMIT dialog.currentChanged(other);
            without = label->text();
        }
        dialog.reject();
    });
    TQtFileDialogs dialogs;
    EXPECT_FALSE(dialogs.OpenFile(request).Accepted);
    EXPECT_TRUE(script.Seen);
    EXPECT_EQ(shown, QSize(200, 100));
    EXPECT_EQ(without, QStringLiteral("プレビューなし"));
}

} // namespace
} // namespace vellum
