#include "commands/ProfileDBFile.h"

#include "appframe/AppFrame.h"

namespace vellum {

QString ProfileDBFileName() {
    TAppFrame* frame = AppFrame();
    if (!frame) return QString();
    const QString standard = frame->Expand(QStringLiteral("$(ProfileDB)"));
    const QString name = frame->ReadString(QStringLiteral("ProfileDB"), standard);
    return name.isEmpty() ? standard : name;
}

} // namespace vellum
