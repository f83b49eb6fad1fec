// Profiles hold pictures, read back by their kind's name, and the component
// form is created by class name: both are registered as at start-up.
#include "imaging/GraphicRegistry.h"
#include "profile/ProfileClasses.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    vellum::RegisterPictureFormats();
    vellum::RegisterProfileClasses();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
