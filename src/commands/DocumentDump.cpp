#include "commands/DocumentDump.h"

#include "base/ComponentDump.h"
#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/Stream.h"
#include "core/CompressedStream.h"
#include "platform/CompoundFile.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace vellum {

namespace {

// Deeper storages are shown at this indentation with their depth.
constexpr int kMaxIndent = 32;

// Control characters of element names (such as 0x05 of property sets) shown as \xNN.
QString Printable(const QString& name) {
    QString out;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            out += QStringLiteral("\\x") + QString::number(c.unicode(), 16).toUpper().rightJustified(2, u'0');
        else
            out += c;
    }
    return out;
}

bool IsComponentStream(const QByteArray& bytes) {
    return bytes.startsWith("TPF0") || bytes.startsWith(QByteArray("\xFF\x0A\x00", 3));
}

// An object list: an int32 count, then one component stream per object.
bool IsObjectList(const QByteArray& bytes) { return bytes.size() >= 8 && bytes.mid(4, 4) == "TPF0"; }

QString DumpObjectList(const QByteArray& bytes) {
    TMemoryStream stream(bytes);
    const int32_t count = ReadI32(stream);
    QString text = Format(QStringLiteral("オブジェクト数 %d"), count) + u'\n';
    // The count is only claimed: the bytes present decide how many follow.
    for (int32_t i = 0; i < count && stream.Remaining() > 0; ++i) {
        const int64_t start = stream.Position();
        const QString object = DumpComponentStream(stream);
        text += object;
        if (object.contains(QStringLiteral("\n!! ")) || object.startsWith(QStringLiteral("!! ")) ||
            stream.Position() == start)
            break;
    }
    return text;
}

// The stream's bytes, unpacked when they are in the compressed container.
QByteArray Unpacked(const QByteArray& bytes, bool& compressed) {
    TMemoryStream source(bytes);
    int32_t length = 0;
    compressed = IsCompressed(source, length);
    if (!compressed) return bytes;
    TMemoryStream data;
    DecompressTo(source, data, length);
    return data.Data();
}

} // namespace

void DumpDocumentFile(const QString& fileName, QTextStream& out) {
    std::shared_ptr<TCompoundNode> root;
    if (IsCompressedFile(fileName)) {
        bool compressed = false;
        TMemoryStream file;
        file.LoadFromFile(fileName);
        root = ReadCompoundFile(Unpacked(file.Data(), compressed));
    } else {
        root = LoadCompoundFile(fileName);
    }

    // The tree first, then the component streams it holds. Walked with a
    // stack: trees read from files may be deep.
    struct TEntry {
        const TCompoundNode* Node;
        QString Path;
        int Depth;
    };
    std::vector<std::pair<QString, const TCompoundNode*>> streams;
    std::vector<TEntry> stack{{root.get(), QString(), 0}};
    out << QStringLiteral("ストレージ構成:") << '\n';
    while (!stack.empty()) {
        const TEntry e = stack.back();
        stack.pop_back();
        const int indent = std::min(e.Depth, kMaxIndent);
        QString line(indent * 2, u' ');
        if (e.Depth > kMaxIndent) line += Format(QStringLiteral("[深さ %d] "), e.Depth);
        if (e.Node == root.get()) {
            line += Format(QStringLiteral("\\ (ルート, %d 要素)"), e.Node->ChildCount());
        } else if (e.Node->IsStorage()) {
            line += Format(QStringLiteral("%s\\ (ストレージ, %d 要素)"), Printable(e.Node->Name()),
                           e.Node->ChildCount());
        } else {
            line += Format(QStringLiteral("%s (ストリーム, %d バイト)"), Printable(e.Node->Name()),
                           int64_t(e.Node->Data().size()));
            streams.emplace_back(e.Path, e.Node);
        }
        out << line << '\n';
        const auto& children = e.Node->Children();
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            const QString name = Printable(it->second->Name());
            stack.push_back({it->second.get(), e.Path.isEmpty() ? name : e.Path + u'\\' + name, e.Depth + 1});
        }
    }

    for (const auto& [path, node] : streams) {
        bool compressed = false;
        QByteArray bytes;
        try {
            bytes = Unpacked(node->Data(), compressed);
        } catch (const Exception& e) {
            out << '\n' << Format(QStringLiteral("== %s (圧縮) =="), path) << '\n';
            out << Format(QStringLiteral("!! %s"), e.Message()) << '\n';
            continue;
        }
        const bool list = !IsComponentStream(bytes) && IsObjectList(bytes);
        if (!IsComponentStream(bytes) && !list) continue;
        out << '\n'
            << (compressed
                    ? Format(QStringLiteral("== %s (圧縮, 展開後 %d バイト) =="), path, int64_t(bytes.size()))
                    : Format(QStringLiteral("== %s =="), path))
            << '\n';
        out << (list ? DumpObjectList(bytes) : DumpComponentBytes(bytes));
    }
}

} // namespace vellum
