#pragma once
// The per-user settings store that stands in for the registry hive
// HKEY_CURRENT_USER: keys (backslash paths, compared without regard to case)
// holding named string, integer and binary values. It lives in one text file
// in the registry export syntax, rewritten atomically on every change and
// re-read when another process changed it.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <variant>

namespace vellum {

class TRegistryStore {
public:
    using TValue = std::variant<QString, int32_t, QByteArray>;

    explicit TRegistryStore(QString fileName);
    ~TRegistryStore();
    TRegistryStore(const TRegistryStore&) = delete;
    TRegistryStore& operator=(const TRegistryStore&) = delete;

    // The store file of the current user: $XDG_CONFIG_HOME/vellum4/HKEY_CURRENT_USER.reg.
    static QString DefaultFileName();
    const QString& FileName() const { return FFileName; }

    bool KeyExists(const QString& key);
    void CreateKey(const QString& key);
    // Deletes the key with its values and subkeys.
    void DeleteKey(const QString& key);
    QStringList ValueNames(const QString& key);
    QStringList KeyNames(const QString& key);
    bool ValueExists(const QString& key, const QString& name);

    std::optional<TValue> ReadValue(const QString& key, const QString& name);
    // Typed reads give nothing when the value is missing or of another type.
    std::optional<QString> ReadString(const QString& key, const QString& name);
    std::optional<int32_t> ReadInteger(const QString& key, const QString& name);
    std::optional<QByteArray> ReadBinary(const QString& key, const QString& name);

    void WriteValue(const QString& key, const QString& name, const TValue& value);
    void WriteString(const QString& key, const QString& name, const QString& value) {
        WriteValue(key, name, value);
    }
    void WriteInteger(const QString& key, const QString& name, int32_t value) {
        WriteValue(key, name, value);
    }
    void WriteBinary(const QString& key, const QString& name, const QByteArray& value) {
        WriteValue(key, name, value);
    }
    void DeleteValue(const QString& key, const QString& name);

    // Groups changes into one write of the file.
    void BeginUpdate();
    void EndUpdate();

private:
    struct TData;
    void Refresh();
    void Commit();
    template <class F>
    void Modify(F&& change);

    QString FFileName;
    std::unique_ptr<TData> FData;
};

} // namespace vellum
