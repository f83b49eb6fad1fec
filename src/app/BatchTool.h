#pragma once
// The command-line tool's subcommands: each has a name, a synopsis for the
// help text and a handler; bad input is a one-line message and exit code 1.

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <vector>

namespace vellum {

class TBatchTool {
public:
    // Returns the exit code; raise an exception for a one-line error.
    using THandler = std::function<int(const QStringList& args, QTextStream& out)>;

    void AddCommand(const QString& name, const QString& synopsis, const QString& description,
                    THandler handler);
    // Runs the command line (without the program name).
    int Run(const QStringList& arguments, QTextStream& out, QTextStream& err);
    QString HelpText() const;

private:
    struct TCommand {
        QString Name, Synopsis, Description;
        THandler Handler;
    };
    std::vector<TCommand> FCommands;
};

// The commands every build of the tool has: expand.
void AddFrameCommands(TBatchTool& tool);

} // namespace vellum
