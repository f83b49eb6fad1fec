#include "FrameFixture.h"

#include "app/BatchTool.h"

using namespace vellum;
using vellum::test::FrameTest;

namespace {
struct TRun {
    int Code;
    QString Out, Err;
};
TRun RunTool(const QStringList& args) {
    TBatchTool tool;
    AddFrameCommands(tool);
    QString out, err;
    QTextStream o(&out), e(&err);
    int code = tool.Run(args, o, e);
    return {code, out, err};
}
} // namespace

TEST_F(FrameTest, BatchToolCommands) {
    TRun r = RunTool({QStringLiteral("expand"), QStringLiteral("$(AppName) $(ShortVer)")});
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Out, QStringLiteral("Vellum4 4.0\n"));

    r = RunTool({QStringLiteral("expand"), QStringLiteral("abc$(")});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Err, QStringLiteral("abc$(の5文字目から始まるマクロが閉じていません\n"));

    struct Case {
        QStringList args;
        int code;
    } failures[] = {
        {{QStringLiteral("expand")}, 1},
        {{QStringLiteral("expand"), QStringLiteral("a"), QStringLiteral("b")}, 1},
        {{QStringLiteral("nonsense")}, 1},
        {{}, 1},
    };
    for (const auto& c : failures) {
        r = RunTool(c.args);
        EXPECT_EQ(r.Code, c.code) << c.args.join(u' ').toStdString();
        if (!c.args.isEmpty()) {
            EXPECT_EQ(r.Err.count(u'\n'), 1) << "one-line error";
        }
    }
    r = RunTool({QStringLiteral("--help")});
    EXPECT_EQ(r.Code, 0);
    EXPECT_TRUE(r.Out.contains(QStringLiteral("expand TEXT")));
    r = RunTool({QStringLiteral("--version")});
    EXPECT_EQ(r.Out, QStringLiteral("Vellum4 4.0.0.0\n"));
}
