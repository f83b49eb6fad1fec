// Documents are read back through the class registry; the settings live in
// temporary user folders.
#include "base/ClassRegistry.h"
#include "core/CoreClasses.h"
#include "document/DocumentClasses.h"
#include "objects/ObjectClasses.h"
#include "paper/PaperClasses.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", (home.path() + QStringLiteral("/run")).toUtf8());
    QApplication app(argc, argv);
    vellum::RegisterPaperClasses();
    vellum::RegisterDocumentClasses();
    vellum::RegisterObjectClasses();
    vellum::RegisterCoreClasses();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
