// The card objects and papers are read back through the class registry.
#include "DocumentFixture.h"
#include "base/ClassRegistry.h"
#include "core/DOGroup.h"
#include "document/DocumentClasses.h"
#include "imaging/GraphicRegistry.h"
#include "paper/PaperClasses.h"
#include "profile/ProfileClasses.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    vellum::RegisterPaperClasses();
    vellum::RegisterPictureFormats();
    vellum::RegisterProfileClasses();
    vellum::RegisterDocumentClasses();
    vellum::RegisterClass(vellum::test::TTestShape::StaticClass());
    vellum::RegisterClass(vellum::test::TOldShape::StaticClass());
    vellum::RegisterClass(vellum::TDOGroup::StaticClass());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
