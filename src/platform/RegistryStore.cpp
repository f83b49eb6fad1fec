#include "platform/RegistryStore.h"

#include "platform/SystemInfo.h"

#include "base/Exceptions.h"
#include "base/Format.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <fcntl.h>
#include <map>
#include <sys/file.h>
#include <unistd.h>

namespace vellum {
namespace {

const QString kRootName = QStringLiteral("HKEY_CURRENT_USER");

QString NormalKey(const QString& key) {
    QStringList parts;
    for (const QString& p : key.split(u'\\', Qt::SkipEmptyParts)) parts << p;
    return parts.join(u'\\');
}

QString Fold(const QString& s) { return s.toUpper(); }

struct TKey {
    QString Name;                                                         // as first written
    std::map<QString, std::pair<QString, TRegistryStore::TValue>> Values; // folded name -> (name, value)
};

QString EscapeString(const QString& s) {
    QString out;
    for (QChar c : s) {
        if (c == u'\\' || c == u'"') out += u'\\';
        if (c == u'\n') {
            out += QStringLiteral("\\n");
            continue;
        }
        if (c == u'\r') {
            out += QStringLiteral("\\r");
            continue;
        }
        out += c;
    }
    return out;
}

// Parses a quoted string starting at line[pos] == '"'; pos ends after the closing quote.
std::optional<QString> ParseQuoted(const QString& line, int& pos) {
    if (pos >= line.size() || line[pos] != u'"') return std::nullopt;
    QString out;
    for (++pos; pos < line.size(); ++pos) {
        QChar c = line[pos];
        if (c == u'"') {
            ++pos;
            return out;
        }
        if (c == u'\\' && pos + 1 < line.size()) {
            QChar n = line[++pos];
            out += n == u'n' ? QChar(u'\n') : n == u'r' ? QChar(u'\r') : n;
            continue;
        }
        out += c;
    }
    return std::nullopt;
}

class TFileLock {
public:
    explicit TFileLock(const QString& fileName) {
        QByteArray path = QFile::encodeName(fileName + QStringLiteral(".lock"));
        FHandle = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (FHandle >= 0) ::flock(FHandle, LOCK_EX);
    }
    ~TFileLock() {
        if (FHandle >= 0) ::close(FHandle);
    }
    TFileLock(const TFileLock&) = delete;
    TFileLock& operator=(const TFileLock&) = delete;

private:
    int FHandle = -1;
};

} // namespace

struct TRegistryStore::TData {
    std::map<QString, TKey> Keys; // folded path -> key
    QDateTime Stamp;
    qint64 FileSize = -1;
    int UpdateDepth = 0;
    bool Dirty = false;
};

TRegistryStore::TRegistryStore(QString fileName)
    : FFileName(std::move(fileName)), FData(std::make_unique<TData>()) {
    Refresh();
}

TRegistryStore::~TRegistryStore() = default;

QString TRegistryStore::DefaultFileName() {
    return SystemInfo::UserConfigFolder() + QStringLiteral("/vellum4/HKEY_CURRENT_USER.reg");
}

void TRegistryStore::Refresh() {
    if (FData->UpdateDepth > 0) return;
    QFileInfo info(FFileName);
    if (!info.exists()) {
        FData->Keys.clear();
        FData->FileSize = -1;
        return;
    }
    if (info.lastModified() == FData->Stamp && info.size() == FData->FileSize) return;
    QFile f(FFileName);
    if (!f.open(QIODevice::ReadOnly)) return;
    const QString text = QString::fromUtf8(f.readAll());
    FData->Stamp = info.lastModified();
    FData->FileSize = info.size();
    FData->Keys.clear();
    TKey* current = nullptr;
    for (const QString& raw : text.split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u';')) continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            QString path = line.mid(1, line.size() - 2);
            if (path.compare(kRootName, Qt::CaseInsensitive) == 0)
                path.clear();
            else if (path.startsWith(kRootName + u'\\', Qt::CaseInsensitive))
                path = path.mid(kRootName.size() + 1);
            path = NormalKey(path);
            TKey& k = FData->Keys[Fold(path)];
            if (k.Name.isEmpty()) k.Name = path;
            current = &k;
            continue;
        }
        if (!current) continue;
        int pos = 0;
        QString name;
        if (line.startsWith(u'@')) {
            pos = 1;
        } else {
            auto n = ParseQuoted(line, pos);
            if (!n) continue;
            name = *n;
        }
        if (pos >= line.size() || line[pos] != u'=') continue;
        ++pos;
        const QString rest = line.mid(pos);
        TValue value;
        if (rest.startsWith(u'"')) {
            int p = 0;
            auto s = ParseQuoted(rest, p);
            if (!s) continue;
            value = *s;
        } else if (rest.startsWith(QStringLiteral("dword:"), Qt::CaseInsensitive)) {
            bool ok = false;
            uint v = rest.mid(6).toUInt(&ok, 16);
            if (!ok) continue;
            value = int32_t(v);
        } else if (rest.startsWith(QStringLiteral("hex:"), Qt::CaseInsensitive)) {
            QByteArray bytes;
            bool ok = true;
            for (const QString& h : rest.mid(4).split(u',', Qt::SkipEmptyParts)) {
                uint b = h.trimmed().toUInt(&ok, 16);
                if (!ok || b > 255) break;
                bytes.append(char(b));
            }
            if (!ok) continue;
            value = bytes;
        } else {
            continue;
        }
        current->Values[Fold(name)] = {name, value};
    }
}

void TRegistryStore::Commit() {
    if (FData->UpdateDepth > 0) {
        FData->Dirty = true;
        return;
    }
    FData->Dirty = false;
    QString text = QStringLiteral("Windows Registry Editor Version 5.00\n");
    for (const auto& [folded, key] : FData->Keys) {
        text += u'\n';
        text +=
            u'[' + (key.Name.isEmpty() ? kRootName : kRootName + u'\\' + key.Name) + QStringLiteral("]\n");
        for (const auto& [fn, entry] : key.Values) {
            const auto& [name, value] = entry;
            text += name.isEmpty() ? QStringLiteral("@=") : u'"' + EscapeString(name) + QStringLiteral("\"=");
            if (auto s = std::get_if<QString>(&value))
                text += u'"' + EscapeString(*s) + u'"';
            else if (auto i = std::get_if<int32_t>(&value))
                text += QStringLiteral("dword:%1").arg(uint32_t(*i), 8, 16, QChar(u'0'));
            else {
                const QByteArray& b = std::get<QByteArray>(value);
                QStringList hex;
                for (char c : b) hex << QStringLiteral("%1").arg(uchar(c), 2, 16, QChar(u'0'));
                text += QStringLiteral("hex:") + hex.join(u',');
            }
            text += u'\n';
        }
    }
    QDir().mkpath(QFileInfo(FFileName).absolutePath());
    QSaveFile f(FFileName);
    if (!f.open(QIODevice::WriteOnly) || f.write(text.toUtf8()) < 0 || !f.commit())
        throw EWriteError(Format(QStringLiteral("設定ファイル %s に書き込めません"), FFileName));
    QFileInfo info(FFileName);
    FData->Stamp = info.lastModified();
    FData->FileSize = info.size();
}

template <class F>
void TRegistryStore::Modify(F&& change) {
    if (FData->UpdateDepth > 0) {
        change();
        FData->Dirty = true;
        return;
    }
    QDir().mkpath(QFileInfo(FFileName).absolutePath());
    TFileLock lock(FFileName);
    Refresh();
    change();
    Commit();
}

void TRegistryStore::BeginUpdate() {
    if (FData->UpdateDepth == 0) {
        Refresh();
    }
    ++FData->UpdateDepth;
}

void TRegistryStore::EndUpdate() {
    if (FData->UpdateDepth == 0) return;
    if (--FData->UpdateDepth == 0 && FData->Dirty) {
        QDir().mkpath(QFileInfo(FFileName).absolutePath());
        TFileLock lock(FFileName);
        Commit();
    }
}

bool TRegistryStore::KeyExists(const QString& key) {
    Refresh();
    return FData->Keys.count(Fold(NormalKey(key))) > 0;
}

void TRegistryStore::CreateKey(const QString& key) {
    const QString path = NormalKey(key);
    if (KeyExists(path)) return;
    Modify([&] {
        // Parents exist implicitly, as in the registry.
        QString sofar;
        for (const QString& part : path.split(u'\\', Qt::SkipEmptyParts)) {
            sofar = sofar.isEmpty() ? part : sofar + u'\\' + part;
            TKey& k = FData->Keys[Fold(sofar)];
            if (k.Name.isEmpty()) k.Name = sofar;
        }
    });
}

void TRegistryStore::DeleteKey(const QString& key) {
    const QString folded = Fold(NormalKey(key));
    if (folded.isEmpty()) return;
    Modify([&] {
        for (auto it = FData->Keys.begin(); it != FData->Keys.end();) {
            if (it->first == folded || it->first.startsWith(folded + u'\\'))
                it = FData->Keys.erase(it);
            else
                ++it;
        }
    });
}

QStringList TRegistryStore::ValueNames(const QString& key) {
    Refresh();
    QStringList names;
    auto it = FData->Keys.find(Fold(NormalKey(key)));
    if (it != FData->Keys.end())
        for (const auto& [fn, entry] : it->second.Values) names << entry.first;
    return names;
}

QStringList TRegistryStore::KeyNames(const QString& key) {
    Refresh();
    const QString folded = Fold(NormalKey(key));
    const QString prefix = folded.isEmpty() ? QString() : folded + u'\\';
    QStringList names;
    for (const auto& [f, k] : FData->Keys) {
        if (!f.startsWith(prefix) || f.size() == prefix.size()) continue;
        const QString rest = k.Name.mid(prefix.size());
        if (!rest.contains(u'\\') && !rest.isEmpty()) names << rest;
    }
    return names;
}

bool TRegistryStore::ValueExists(const QString& key, const QString& name) {
    return ReadValue(key, name).has_value();
}

std::optional<TRegistryStore::TValue> TRegistryStore::ReadValue(const QString& key, const QString& name) {
    Refresh();
    auto it = FData->Keys.find(Fold(NormalKey(key)));
    if (it == FData->Keys.end()) return std::nullopt;
    auto v = it->second.Values.find(Fold(name));
    if (v == it->second.Values.end()) return std::nullopt;
    return v->second.second;
}

std::optional<QString> TRegistryStore::ReadString(const QString& key, const QString& name) {
    auto v = ReadValue(key, name);
    if (v)
        if (auto s = std::get_if<QString>(&*v)) return *s;
    return std::nullopt;
}

std::optional<int32_t> TRegistryStore::ReadInteger(const QString& key, const QString& name) {
    auto v = ReadValue(key, name);
    if (v)
        if (auto i = std::get_if<int32_t>(&*v)) return *i;
    return std::nullopt;
}

std::optional<QByteArray> TRegistryStore::ReadBinary(const QString& key, const QString& name) {
    auto v = ReadValue(key, name);
    if (v)
        if (auto b = std::get_if<QByteArray>(&*v)) return *b;
    return std::nullopt;
}

void TRegistryStore::WriteValue(const QString& key, const QString& name, const TValue& value) {
    const QString path = NormalKey(key);
    Modify([&] {
        QString sofar;
        TKey* k = nullptr;
        for (const QString& part : path.split(u'\\', Qt::SkipEmptyParts)) {
            sofar = sofar.isEmpty() ? part : sofar + u'\\' + part;
            k = &FData->Keys[Fold(sofar)];
            if (k->Name.isEmpty()) k->Name = sofar;
        }
        if (!k) k = &FData->Keys[QString()];
        auto& slot = k->Values[Fold(name)];
        if (slot.first.isEmpty()) slot.first = name;
        slot.second = value;
    });
}

void TRegistryStore::DeleteValue(const QString& key, const QString& name) {
    if (!ValueExists(key, name)) return;
    Modify([&] {
        auto it = FData->Keys.find(Fold(NormalKey(key)));
        if (it != FData->Keys.end()) it->second.Values.erase(Fold(name));
    });
}

} // namespace vellum
