#pragma once
// One element of a compound file held in memory: a storage with its children
// or a stream with its bytes. Children are kept in the order the file format
// sorts siblings (length, then upper-case code units), which makes names
// unique without regard to case and gives lookups in logarithmic time.

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <map>
#include <memory>

namespace vellum {

// Structured-storage error codes the layer reports.
namespace stg {
constexpr uint32_t kInvalidFunction = 0x80030001u;   // STG_E_INVALIDFUNCTION
constexpr uint32_t kFileNotFound = 0x80030002u;      // STG_E_FILENOTFOUND
constexpr uint32_t kAccessDenied = 0x80030005u;      // STG_E_ACCESSDENIED
constexpr uint32_t kWriteFault = 0x8003001Du;        // STG_E_WRITEFAULT
constexpr uint32_t kReadFault = 0x8003001Eu;         // STG_E_READFAULT
constexpr uint32_t kFileAlreadyExists = 0x80030050u; // STG_E_FILEALREADYEXISTS
constexpr uint32_t kInvalidName = 0x800300FCu;       // STG_E_INVALIDNAME
constexpr uint32_t kMediumFull = 0x80030070u;        // STG_E_MEDIUMFULL
} // namespace stg

// Orders upper-cased names as the format orders siblings.
struct TCompoundNameLess {
    bool operator()(const QString& a, const QString& b) const {
        if (a.size() != b.size()) return a.size() < b.size();
        return a < b;
    }
};

class TCompoundNode {
public:
    enum class TKind : uint8_t { Storage = 1, Stream = 2 };
    // Keyed by NameKey(name).
    using TChildren = std::map<QString, std::shared_ptr<TCompoundNode>, TCompoundNameLess>;

    static constexpr int kMaxNameLength = 31;

    explicit TCompoundNode(TKind kind, QString name = {}) : FKind(kind), FName(std::move(name)) {}
    // Frees deep trees without deep recursion.
    ~TCompoundNode();
    TCompoundNode(const TCompoundNode&) = delete;
    TCompoundNode& operator=(const TCompoundNode&) = delete;

    static std::shared_ptr<TCompoundNode> NewRoot() {
        return std::make_shared<TCompoundNode>(TKind::Storage);
    }

    TKind Kind() const { return FKind; }
    bool IsStorage() const { return FKind == TKind::Storage; }
    bool IsStream() const { return FKind == TKind::Stream; }
    const QString& Name() const { return FName; }

    QByteArray& Data() { return FData; }
    const QByteArray& Data() const { return FData; }

    std::array<uint8_t, 16> Clsid{};
    uint32_t StateBits = 0;

    const TChildren& Children() const { return FChildren; }
    int ChildCount() const { return int(FChildren.size()); }
    std::shared_ptr<TCompoundNode> Child(const QString& name) const;
    // A new empty child; raises EOleSysError for a name that is not valid or already taken.
    std::shared_ptr<TCompoundNode> AddChild(TKind kind, const QString& name);
    // Adopts a detached node under the given name (same errors as AddChild).
    void InsertChild(std::shared_ptr<TCompoundNode> node, const QString& name);
    // Detaches and returns the named child; null when there is none.
    std::shared_ptr<TCompoundNode> RemoveChild(const QString& name);
    void ClearChildren();

    // A deep copy under the same name.
    std::shared_ptr<TCompoundNode> Clone() const;
    // Element-by-element equality of two trees (names, kinds, data, class ids, state bits).
    static bool SameTree(const TCompoundNode& a, const TCompoundNode& b);

    // The sibling-order key: every UTF-16 unit upper-cased on its own.
    static QString NameKey(const QString& name);
    // Empty when the name is valid, otherwise why it is not.
    static QString NameProblem(const QString& name);
    // Raises EOleSysError (STG_E_INVALIDNAME) when the name is not valid.
    static void CheckName(const QString& name);

private:
    TKind FKind;
    QString FName;
    QByteArray FData;
    TChildren FChildren;
};

} // namespace vellum
