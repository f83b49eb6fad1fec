#include "platform/FontEngine.h"

#include "platform/FreeTypeFontEngine.h"

#include <QHash>

#include <mutex>

namespace vellum {
namespace {

std::mutex& EngineLock() {
    static std::mutex lock;
    return lock;
}

std::unique_ptr<IFontEngine>& Engine() {
    static std::unique_ptr<IFontEngine> engine;
    return engine;
}

// Windows faces named by documents and templates, and the installed faces
// of the same style, best first.
const QHash<QString, QStringList>& AliasTable() {
    static const QHash<QString, QStringList> table = [] {
        const QStringList pGothic{QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"),
                                  QStringLiteral("IPAexGothic")};
        const QStringList gothic{QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                                 QStringLiteral("IPAexGothic")};
        const QStringList pMincho{QStringLiteral("IPAPMincho"), QStringLiteral("Noto Serif CJK JP"),
                                  QStringLiteral("IPAexMincho")};
        const QStringList mincho{QStringLiteral("IPAMincho"), QStringLiteral("Noto Serif CJK JP"),
                                 QStringLiteral("IPAexMincho")};
        QHash<QString, QStringList> t;
        for (const char* name : {"ＭＳ Ｐゴシック", "MS PGothic", "MS UI Gothic", "標準ゴシック", "System",
                                 "メイリオ", "Meiryo", "Yu Gothic", "游ゴシック"})
            t.insert(QString::fromUtf8(name).toCaseFolded(), pGothic);
        for (const char* name : {"ＭＳ ゴシック", "MS Gothic"})
            t.insert(QString::fromUtf8(name).toCaseFolded(), gothic);
        for (const char* name : {"ＭＳ Ｐ明朝", "MS PMincho", "標準明朝", "Yu Mincho", "游明朝"})
            t.insert(QString::fromUtf8(name).toCaseFolded(), pMincho);
        for (const char* name : {"ＭＳ 明朝", "MS Mincho"})
            t.insert(QString::fromUtf8(name).toCaseFolded(), mincho);
        return t;
    }();
    return table;
}

} // namespace

IFontEngine& FontEngine() {
    std::lock_guard guard(EngineLock());
    auto& engine = Engine();
    if (!engine) engine = std::make_unique<TFreeTypeFontEngine>();
    return *engine;
}

std::unique_ptr<IFontEngine> SetFontEngine(std::unique_ptr<IFontEngine> engine) {
    std::lock_guard guard(EngineLock());
    std::unique_ptr<IFontEngine> previous = std::move(Engine());
    Engine() = std::move(engine);
    return previous;
}

QStringList FaceAliases(const QString& windowsFace) {
    const QString name = windowsFace.startsWith(u'@') ? windowsFace.mid(1) : windowsFace;
    return AliasTable().value(name.toCaseFolded());
}

} // namespace vellum
