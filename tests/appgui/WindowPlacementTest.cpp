#include "../appframe/FrameFixture.h"

#include "appgui/WindowPlacement.h"

#include <QWidget>

using namespace vellum;
using vellum::test::FrameTest;

TEST_F(FrameTest, WindowPlacementRoundTrip) {
    QWidget form;
    form.setObjectName(QStringLiteral("frmTest"));
    RestoreWindowPlacement(*FFrame, &form, 300, 200);
    EXPECT_EQ(form.size(), QSize(300, 200)); // defaults, centred
    form.setGeometry(40, 50, 320, 240);
    SaveWindowPlacement(*FFrame, &form);
    EXPECT_EQ(FFrame->ReadInteger(QStringLiteral("frmTestWidth"), 0), 320);
    QWidget again;
    again.setObjectName(QStringLiteral("frmTest"));
    RestoreWindowPlacement(*FFrame, &again, 100, 100);
    EXPECT_EQ(again.geometry(), QRect(40, 50, 320, 240));
}
