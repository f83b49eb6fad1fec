#include "app/BatchTool.h"

#include "appframe/AppFrame.h"
#include "base/Exceptions.h"

#include <stdexcept>

namespace vellum {

void TBatchTool::AddCommand(const QString& name, const QString& synopsis, const QString& description,
                            THandler handler) {
    FCommands.push_back({name, synopsis, description, std::move(handler)});
}

QString TBatchTool::HelpText() const {
    QString text = QStringLiteral("使い方: vellum4-batch <コマンド> [引数...]\n\n"
                                  "  --help        この説明を表示します\n"
                                  "  --version     バージョンを表示します\n\n"
                                  "コマンド:\n");
    for (const auto& c : FCommands) text += QStringLiteral("  %1\n      %2\n").arg(c.Synopsis, c.Description);
    return text;
}

int TBatchTool::Run(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    if (arguments.isEmpty() || arguments[0] == QStringLiteral("--help") ||
        arguments[0] == QStringLiteral("-h")) {
        out << HelpText();
        out.flush();
        return arguments.isEmpty() ? 1 : 0;
    }
    if (arguments[0] == QStringLiteral("--version")) {
        out << Expand(QStringLiteral("$(AppName) $(LongVer)")) << '\n';
        out.flush();
        return 0;
    }
    for (const auto& c : FCommands) {
        if (c.Name != arguments[0]) continue;
        try {
            int code = c.Handler(arguments.mid(1), out);
            out.flush();
            return code;
        } catch (const Exception& e) {
            out.flush();
            err << QString(e.Message()).replace(QStringLiteral("\r\n"), QStringLiteral(" ")) << '\n';
        } catch (const std::exception& e) {
            out.flush();
            err << QString::fromUtf8(e.what()) << '\n';
        }
        err.flush();
        return 1;
    }
    err << QStringLiteral("不明なコマンドです: %1 (--help で一覧を表示します)").arg(arguments[0]) << '\n';
    err.flush();
    return 1;
}

void AddFrameCommands(TBatchTool& tool) {
    tool.AddCommand(QStringLiteral("expand"), QStringLiteral("expand TEXT"),
                    QStringLiteral("TEXT のマクロを展開して表示します"),
                    [](const QStringList& args, QTextStream& out) {
                        if (args.size() != 1)
                            throw std::invalid_argument("使い方: vellum4-batch expand TEXT");
                        out << AppFrame()->Expand(args[0]) << '\n';
                        return 0;
                    });
}

} // namespace vellum
