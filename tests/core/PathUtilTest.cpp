#include "core/PathUtil.h"

#include "base/Exceptions.h"

#include <gtest/gtest.h>

using namespace vellum;

TEST(PathUtil, CombinesPaths) {
    struct {
        const char* Base;
        const char* Name;
        const char* Expected;
    } cases[] = {
        {"A\\B", "..\\C", "A\\C"},  {"A", "\\C", "C"},      {"\\A", "B", "\\A\\B"},
        {"", "Sheets", "Sheets"},   {"A\\", "B\\", "A\\B"}, {"A", ".\\B\\.\\C", "A\\B\\C"},
        {"\\A\\B", "\\C", "\\C"},   {"A\\B", "..", "A"},    {"A", "..", ""},
        {"A\\\\B", "C", "A\\B\\C"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CombinePath(QString::fromUtf8(c.Base), QString::fromUtf8(c.Name)),
                  QString::fromUtf8(c.Expected))
            << c.Base << " + " << c.Name;
}

TEST(PathUtil, GoingAboveTheRootRaises) {
    for (const char* name : {"..\\..\\C", "..\\..", "\\.."}) {
        try {
            CombinePath(QStringLiteral("A"), QString::fromUtf8(name));
            ADD_FAILURE() << name;
        } catch (const EPathUtil& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("too many \"..\""));
        }
    }
}
