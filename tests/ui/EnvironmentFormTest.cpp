#include "ui/EnvironmentForm.h"

#include "../appframe/FrameFixture.h"
#include "appframe/HistoryManager.h"
#include "platform/RegistryStore.h"
#include "ui/HintSwitch.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

namespace vellum::test {
namespace {

// What a test sets up before the dialog opens; unset values stay absent.
struct TSettings {
    std::optional<QString> CDPath;
    std::optional<bool> ShowHint;
    std::optional<int> Banding;
    std::optional<bool> CacheEnabl;
    std::optional<int> CacheLimit;
};

class EnvironmentFormTest : public FrameTest {
protected:
    void TearDown() override {
        THintSwitch::Apply(true);
        FrameTest::TearDown();
    }

    void Store(const TSettings& s) {
        if (s.CDPath) FFrame->WriteString(QStringLiteral("CDPath"), *s.CDPath);
        if (s.ShowHint) FFrame->WriteBool(QStringLiteral("DefaultShowHint"), *s.ShowHint);
        if (s.Banding) FFrame->WriteInteger(QStringLiteral("Banding"), *s.Banding);
        if (s.CacheEnabl) FFrame->WriteBool(QStringLiteral("CacheEnabl"), *s.CacheEnabl);
        if (s.CacheLimit) FFrame->WriteInteger(QStringLiteral("CacheLimit"), *s.CacheLimit);
    }
    std::optional<int32_t> Integer(const QString& name) {
        return FFrame->Registry().ReadInteger(FFrame->RegistryKey(), name);
    }
    std::optional<QString> String(const QString& name) {
        return FFrame->Registry().ReadString(FFrame->RegistryKey(), name);
    }
    QByteArray StoreBytes() {
        QFile file(FFrame->Registry().FileName());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QStringList PathHistory() {
        THistoryManager history;
        history.SetRegistryKey(QStringLiteral("$(CDPathHistory)"));
        return history.Load();
    }

    template <class T>
    static T* Find(QWidget& form, const char* name) {
        T* w = form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static void Check(QWidget& form, const char* name) { Find<QRadioButton>(form, name)->setChecked(true); }
};

struct TShownCase {
    const char* Name;
    TSettings Settings;
    const char* PathChoice;
    QString PathText;
    const char* HintChoice;
    const char* BandingChoice;
    const char* CacheChoice;
    const char* SizeChoice;
    QString LimitText;
};

TEST_F(EnvironmentFormTest, OpensWithTheStoredSettings) {
    const TShownCase cases[] = {
        {"defaults",
         {},
         "rbAutoSearch",
         QString(),
         "rbShowHint",
         "rbBandingNormal",
         "rbCacheOn",
         "rbCacheUnlimited",
         QString()},
        {"everything set",
         {QStringLiteral("/media/cdrom"), false, 2, false, 500},
         "rbSpecifyPath",
         QStringLiteral("/media/cdrom"),
         "rbHideHint",
         "rbBandingFine",
         "rbCacheOff",
         "rbCacheLimited",
         QStringLiteral("500")},
        {"fast printing",
         {QString(), true, 0, true, 0},
         "rbAutoSearch",
         QString(),
         "rbShowHint",
         "rbBandingFast",
         "rbCacheOn",
         "rbCacheUnlimited",
         QString()},
        {"unknown print mode",
         {std::nullopt, std::nullopt, 7, std::nullopt, 20},
         "rbAutoSearch",
         QString(),
         "rbShowHint",
         "rbBandingNormal",
         "rbCacheOn",
         "rbCacheLimited",
         QStringLiteral("20")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        FFrame->Registry().DeleteKey(FFrame->RegistryKey());
        Store(c.Settings);
        TfrmEnvironment form(*FFrame);
        EXPECT_EQ(form.windowTitle(), QStringLiteral("環境設定"));
        for (const char* name : {c.PathChoice, c.HintChoice, c.BandingChoice, c.CacheChoice, c.SizeChoice})
            EXPECT_TRUE(Find<QRadioButton>(form, name)->isChecked()) << name;
        EXPECT_EQ(Find<QLineEdit>(form, "edtCDPath")->text(), c.PathText);
        EXPECT_EQ(Find<QLineEdit>(form, "edtCacheLimit")->text(), c.LimitText);
        EXPECT_FALSE(Find<QLabel>(form, "lblBandingNote")->text().isEmpty());
    }
}

TEST_F(EnvironmentFormTest, HasTheTwoPages) {
    TfrmEnvironment form(*FFrame);
    auto* tabs = Find<QTabWidget>(form, "pcEnvironment");
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("環境設定"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("キャッシュ設定"));
    EXPECT_TRUE(Find<QLabel>(form, "lblCacheAbout")
                    ->text()
                    .contains(QStringLiteral("次回から高速に表示する機能です。")));
}

TEST_F(EnvironmentFormTest, EnablesControlsByChoice) {
    Store({QString(), true, 1, true, 0});
    TfrmEnvironment form(*FFrame);
    auto* path = Find<QLineEdit>(form, "edtCDPath");
    auto* history = Find<QToolButton>(form, "btnPathHistory");
    auto* browse = Find<QPushButton>(form, "btnBrowsePath");
    auto* limit = Find<QLineEdit>(form, "edtCacheLimit");
    for (QWidget* w : std::initializer_list<QWidget*>{path, history, browse})
        EXPECT_FALSE(w->isEnabledTo(&form));
    EXPECT_TRUE(path->parentWidget()->isHidden());
    Check(form, "rbSpecifyPath");
    for (QWidget* w : std::initializer_list<QWidget*>{path, history, browse})
        EXPECT_TRUE(w->isEnabledTo(&form));
    EXPECT_FALSE(path->parentWidget()->isHidden());

    EXPECT_FALSE(limit->isEnabledTo(&form));
    Check(form, "rbCacheLimited");
    EXPECT_TRUE(limit->isEnabledTo(&form));
    Check(form, "rbCacheOff");
    EXPECT_FALSE(limit->isEnabledTo(&form));
    EXPECT_FALSE(Find<QRadioButton>(form, "rbCacheUnlimited")->isEnabledTo(&form));
    EXPECT_FALSE(Find<QRadioButton>(form, "rbCacheLimited")->isEnabledTo(&form));
    Check(form, "rbCacheOn");
    EXPECT_TRUE(limit->isEnabledTo(&form));

    auto* note = Find<QLabel>(form, "lblBandingNote");
    const QString normal = note->text();
    Check(form, "rbBandingFine");
    EXPECT_NE(note->text(), normal);
}

TEST_F(EnvironmentFormTest, CancelWritesNothing) {
    Store({QStringLiteral("/media/cdrom"), true, 1, true, 0});
    const QByteArray before = StoreBytes();
    ASSERT_FALSE(before.isEmpty());
    {
        TfrmEnvironment form(*FFrame);
        Find<QLineEdit>(form, "edtCDPath")->setText(QStringLiteral("/srv/other"));
        Check(form, "rbHideHint");
        Check(form, "rbBandingFast");
        Check(form, "rbCacheOff");
        Check(form, "rbCacheLimited");
        Find<QLineEdit>(form, "edtCacheLimit")->setText(QStringLiteral("100"));
        Find<QPushButton>(form, "btnCancel")->click();
        EXPECT_EQ(form.result(), QDialog::Rejected);
    }
    EXPECT_EQ(StoreBytes(), before);
    EXPECT_TRUE(PathHistory().isEmpty());
    EXPECT_TRUE(THintSwitch::ShowHints());
}

struct TWriteCase {
    const char* Name;
    TSettings Before;
    std::function<void(QWidget&)> Edit;
    TSettings After; // nullopt: the value was not written
};

TEST_F(EnvironmentFormTest, OkWritesTheChosenValues) {
    auto limit = [](const char* text) {
        return [text](QWidget& form) {
            Check(form, "rbCacheLimited");
            Find<QLineEdit>(form, "edtCacheLimit")->setText(QString::fromUtf8(text));
        };
    };
    auto specify = [](const char* text) {
        return [text](QWidget& form) {
            Check(form, "rbSpecifyPath");
            Find<QLineEdit>(form, "edtCDPath")->setText(QString::fromUtf8(text));
        };
    };
    const TWriteCase cases[] = {
        {"untouched defaults", {}, [](QWidget&) {}, {QString(), true, 1, true, 0}},
        {"folder given", {}, specify("/media/cdrom"), {QStringLiteral("/media/cdrom"), true, 1, true, 0}},
        {"folder with blanks around",
         {},
         specify("  /media/cd  "),
         {QStringLiteral("/media/cd"), true, 1, true, 0}},
        {"folder chosen but box empty", {}, specify(""), {QString(), true, 1, true, 0}},
        {"back to automatic search",
         {QStringLiteral("/media/cdrom"), std::nullopt, std::nullopt, std::nullopt, std::nullopt},
         [](QWidget& form) { Check(form, "rbAutoSearch"); },
         {QString(), true, 1, true, 0}},
        {"hints off", {}, [](QWidget& form) { Check(form, "rbHideHint"); }, {QString(), false, 1, true, 0}},
        {"fast printing",
         {},
         [](QWidget& form) { Check(form, "rbBandingFast"); },
         {QString(), true, 0, true, 0}},
        {"fine printing",
         {std::nullopt, std::nullopt, 0, std::nullopt, std::nullopt},
         [](QWidget& form) { Check(form, "rbBandingFine"); },
         {QString(), true, 2, true, 0}},
        {"cache off", {}, [](QWidget& form) { Check(form, "rbCacheOff"); }, {QString(), true, 1, false, 0}},
        {"limit 500", {}, limit("500"), {QString(), true, 1, true, 500}},
        {"lowest limit", {}, limit("10"), {QString(), true, 1, true, 10}},
        {"highest limit", {}, limit("9999"), {QString(), true, 1, true, 9999}},
        {"limit below the range", {}, limit("9"), {QString(), true, 1, true, std::nullopt}},
        {"limit above the range", {}, limit("10000"), {QString(), true, 1, true, std::nullopt}},
        {"limit empty", {}, limit(""), {QString(), true, 1, true, std::nullopt}},
        {"limit not a number", {}, limit("abc"), {QString(), true, 1, true, std::nullopt}},
        {"invalid limit keeps the old one",
         {std::nullopt, std::nullopt, std::nullopt, std::nullopt, 300},
         limit(""),
         {QString(), true, 1, true, 300}},
        {"unlimited again",
         {std::nullopt, std::nullopt, std::nullopt, std::nullopt, 300},
         [](QWidget& form) { Check(form, "rbCacheUnlimited"); },
         {QString(), true, 1, true, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        FFrame->Registry().DeleteKey(FFrame->RegistryKey());
        Store(c.Before);
        TfrmEnvironment form(*FFrame);
        c.Edit(form);
        Find<QPushButton>(form, "btnOK")->click();
        EXPECT_EQ(form.result(), QDialog::Accepted);
        EXPECT_EQ(String(QStringLiteral("CDPath")), c.After.CDPath);
        EXPECT_EQ(Integer(QStringLiteral("DefaultShowHint")),
                  c.After.ShowHint ? std::optional<int>(*c.After.ShowHint) : std::nullopt);
        EXPECT_EQ(Integer(QStringLiteral("Banding")), c.After.Banding);
        EXPECT_EQ(Integer(QStringLiteral("CacheEnabl")),
                  c.After.CacheEnabl ? std::optional<int>(*c.After.CacheEnabl) : std::nullopt);
        EXPECT_EQ(Integer(QStringLiteral("CacheLimit")), c.After.CacheLimit);
        EXPECT_EQ(THintSwitch::ShowHints(), c.After.ShowHint.value_or(true));
        THintSwitch::Apply(true);
    }
}

TEST_F(EnvironmentFormTest, OkAddsTheFolderToTheRecentFolders) {
    {
        TfrmEnvironment form(*FFrame);
        Check(form, "rbSpecifyPath");
        Find<QLineEdit>(form, "edtCDPath")->setText(QStringLiteral("/media/a"));
        form.accept();
    }
    {
        TfrmEnvironment form(*FFrame);
        Find<QLineEdit>(form, "edtCDPath")->setText(QStringLiteral("/media/b"));
        form.accept();
    }
    {
        TfrmEnvironment form(*FFrame);
        Check(form, "rbAutoSearch");
        form.accept();
    }
    EXPECT_EQ(PathHistory(), (QStringList{QStringLiteral("/media/b"), QStringLiteral("/media/a")}));
}

TEST_F(EnvironmentFormTest, RecentFolderButtonFillsTheBox) {
    THistoryManager history;
    history.SetRegistryKey(QStringLiteral("$(CDPathHistory)"));
    history.Add(QStringLiteral("/media/a"));
    history.Add(QStringLiteral("/media/b"));
    TfrmEnvironment form(*FFrame);
    Check(form, "rbSpecifyPath");
    Find<QToolButton>(form, "btnPathHistory")->click();
    auto* menu = Find<QMenu>(form, "pmPathHistory");
    QStringList captions;
    QAction* older = nullptr;
    for (QAction* a : menu->actions()) {
        if (!a->isVisible() || a->isSeparator()) continue;
        captions << a->text();
        if (a->text().endsWith(QStringLiteral("/media/a"))) older = a;
    }
    EXPECT_EQ(captions, (QStringList{QStringLiteral("&0 /media/b"), QStringLiteral("&1 /media/a"),
                                     QStringLiteral("履歴の消去")}));
    ASSERT_NE(older, nullptr);
    older->trigger();
    menu->close();
    EXPECT_EQ(Find<QLineEdit>(form, "edtCDPath")->text(), QStringLiteral("/media/a"));
}

TEST_F(EnvironmentFormTest, BrowseAsksForAFolder) {
    QString title, start;
    QString answer = QStringLiteral("/srv/data");
    TfrmEnvironment form(*FFrame);
    form.SetOnChooseFolder([&](const QString& t, const QString& s) {
        title = t;
        start = s;
        return answer;
    });
    Check(form, "rbSpecifyPath");
    auto* path = Find<QLineEdit>(form, "edtCDPath");
    path->setText(FHome.path());
    Find<QPushButton>(form, "btnBrowsePath")->click();
    EXPECT_EQ(title, QStringLiteral("パスの選択"));
    EXPECT_EQ(start, FHome.path());
    EXPECT_EQ(path->text(), QStringLiteral("/srv/data"));

    answer.clear(); // cancelled
    path->setText(QStringLiteral("/no/such/folder"));
    Find<QPushButton>(form, "btnBrowsePath")->click();
    EXPECT_TRUE(start.isEmpty());
    EXPECT_EQ(path->text(), QStringLiteral("/no/such/folder"));
}

TEST_F(EnvironmentFormTest, ClearEmptiesTheCacheAndSaysSo) {
    TfrmEnvironment form(*FFrame);
    auto* clear = Find<QPushButton>(form, "btnClearCache");
    EXPECT_FALSE(clear->isEnabled()); // nothing to clear through

    int cleared = 0;
    form.SetOnClearCache([&] { ++cleared; });
    ASSERT_TRUE(clear->isEnabled());
    clear->click();
    EXPECT_EQ(cleared, 1);
    ASSERT_EQ(Shown.size(), 1u);
    EXPECT_EQ(Shown[0].Text, QStringLiteral("キャッシュの内容をクリアしました"));
    EXPECT_EQ(Shown[0].Buttons, TMsgDlgButtons(mbOK));

    Shown.clear();
    form.SetOnClearCache([] { throw std::runtime_error("disk full"); });
    clear->click();
    ASSERT_EQ(Shown.size(), 1u);
    EXPECT_FALSE(Shown[0].Text.contains(QStringLiteral("クリアしました")));
    EXPECT_TRUE(Shown[0].Text.contains(QStringLiteral("disk full")));
}

class TToolTipCounter : public QWidget {
public:
    int ToolTips = 0;

protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::ToolTip) ++ToolTips;
        return QWidget::event(e);
    }
};

TEST_F(EnvironmentFormTest, HintSwitchStopsToolTipsOfTheProgram) {
    TToolTipCounter widget;
    auto ask = [&] {
        QHelpEvent help(QEvent::ToolTip, QPoint(1, 1), QPoint(1, 1));
        QApplication::sendEvent(&widget, &help);
    };
    THintSwitch::Apply(false);
    ask();
    EXPECT_EQ(widget.ToolTips, 0);
    THintSwitch::Apply(true);
    ask();
    EXPECT_EQ(widget.ToolTips, 1);
}

} // namespace
} // namespace vellum::test
