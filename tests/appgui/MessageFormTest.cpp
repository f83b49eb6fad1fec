#include "../appframe/FrameFixture.h"

#include "appgui/Application.h"
#include "appgui/MessageForm.h"
#include "base/Exceptions.h"

#include <QPushButton>
#include <QTimer>

using namespace vellum;
using vellum::test::FrameTest;

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

TEST_F(FrameTest, ExceptionsEscapingAnEventReachTheFramesReport) {
    // The test program runs on the program's own application class.
    ASSERT_NE(dynamic_cast<TApplication*>(QCoreApplication::instance()), nullptr);
    TThrowingObject target;
    QEvent event(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&target, &event));
    ASSERT_EQ(Shown.size(), 1u);
    EXPECT_EQ(Shown[0].Text, QStringLiteral("予期しないエラーが発生しました\r\n壊れた"));
}
