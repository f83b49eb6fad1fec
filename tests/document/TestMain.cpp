// The card objects and papers are read back through the class registry.
#include "base/ClassRegistry.h"
#include "document/DocumentClasses.h"
#include "paper/PaperClasses.h"
#include "../core/CoreTestKinds.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    vellum::RegisterPaperClasses();
    vellum::RegisterDocumentClasses();
    vellum::RegisterClass(vellum::test::TTestShape::StaticClass());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
