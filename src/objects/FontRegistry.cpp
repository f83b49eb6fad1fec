#include "objects/FontRegistry.h"

#include "platform/FontEngine.h"

namespace vellum {

void UsableFontNames(QStringList& list) {
    list.clear();
    for (const QString& name : FontEngine().FaceNames())
        if (!name.startsWith(u'@')) list << name;
}

int FontCharset(const QString& name) { return FontEngine().Charset(FontEngine().Resolve(name)); }

} // namespace vellum
