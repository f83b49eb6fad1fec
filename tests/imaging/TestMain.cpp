// Pictures draw through QPainter and use the clipboard: both need the GUI
// application object, and the picture kinds are registered as at start-up.
// Test discovery runs without the test environment.
#include "imaging/GraphicRegistry.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    vellum::RegisterPictureFormats();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
