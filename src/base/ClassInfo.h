#pragma once
// The description of a persistent class: its name, its base, a factory and
// its published properties in stream order (ancestors first; a property a
// descendant declares again keeps its ancestor's position and takes the
// descendant's accessors, default and spelling), and its defined properties.
//
// A class declares itself with VELLUM_CLASS(TFoo) in its body and defines
// StaticClass() with TClassInfo::Make<TFoo, TBase>("TFoo", describe).

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <variant>
#include <vector>

namespace vellum {

class TPersistent;
class TComponent;
class TReader;
class TWriter;
class TStream;

enum class TPropKind {
    Integer, // int32
    Int64,
    Enumeration, // ordinal with a name table
    Set,         // bit set over a name table
    Boolean,
    Float,    // double; written as extended
    DateTime, // double, days since 1899-12-30
    String,
    StringList, // a TStringList owned by the object
    Binary,
    Object, // a nested persistent object owned by the object
    Collection,
    ComponentRef, // a reference to another component, written by name
    Event,
};

// Integer, Int64, Enumeration and Set values travel as int64; Boolean as
// bool; Float and DateTime as double; String as QString; Binary as
// QByteArray; StringList, Object, Collection and ComponentRef as a pointer.
using TPropValue = std::variant<std::monostate, int64_t, bool, double, QString, QByteArray, TPersistent*>;

// Names of the values of an enumeration or the elements of a set, and for
// integers with names (cursors, colours) both directions of the mapping.
struct TIdentTable {
    QStringList Names; // enumeration value i / set bit i
    std::function<std::optional<QString>(int64_t)> ToIdent;
    std::function<std::optional<int64_t>(const QString&)> FromIdent;
};

enum class TStoredRule { Always, Never, Predicate };

struct TPropInfo {
    QString Name;
    TPropKind Kind = TPropKind::Integer;
    int Index = 0; // position in the stream order
    std::function<TPropValue(const TPersistent&)> Get;
    std::function<void(TPersistent&, const TPropValue&)> Set;
    std::optional<TPropValue> Default;
    TStoredRule Stored = TStoredRule::Always;
    std::function<bool(const TPersistent&)> StoredTest;
    std::shared_ptr<const TIdentTable> Idents;

    bool IsStored(const TPersistent& object) const;
    // Written only when it can be both read and written back.
    bool IsReadWrite() const { return bool(Get) && bool(Set); }
};

// Extra named data items that are not plain properties: legacy names,
// blobs, lists. Data items go through the reader and writer; binary items
// through a raw stream.
struct TDefinedProperty {
    QString Name;
    std::function<void(TPersistent&, TReader&)> ReadData;
    std::function<void(const TPersistent&, TWriter&)> WriteData;
    std::function<void(TPersistent&, TStream&)> ReadBinary;
    std::function<void(const TPersistent&, TStream&)> WriteBinary;
    std::function<bool(const TPersistent&)> HasData;
    bool IsBinary() const { return bool(ReadBinary) || bool(WriteBinary); }
};

template <class T>
class TClassBuilder;

class TClassInfo {
public:
    using TFactory = std::function<TPersistent*(TComponent* owner)>;

    template <class T, class Base, class Describe>
    static TClassInfo Make(const char* name, Describe&& describe);
    // The root of every persistent class.
    static TClassInfo MakeRoot(const char* name, TFactory factory);

    const QString& Name() const { return FName; }
    const TClassInfo* Parent() const { return FParent; }
    bool InheritsFrom(const TClassInfo& other) const;
    // Null for abstract classes.
    const TFactory& Factory() const { return FFactory; }
    bool IsAbstract() const { return !FFactory; }
    TPersistent* Create(TComponent* owner = nullptr) const;

    const std::vector<TPropInfo>& Properties() const { return FProperties; }
    const TPropInfo* FindProperty(const QString& name) const;
    const std::vector<TDefinedProperty>& DefinedProperties() const { return FDefined; }

private:
    template <class T>
    friend class TClassBuilder;
    TClassInfo() = default;
    // Adds a property or replaces the one of the same name in place.
    TPropInfo& Declare(TPropInfo info);

    QString FName;
    const TClassInfo* FParent = nullptr;
    TFactory FFactory;
    std::vector<TPropInfo> FProperties;
    std::vector<TDefinedProperty> FDefined;
};

// A property reached through nested objects: Text.Strings names Strings of
// the object that Text holds.
bool IsNestedObjectProperty(const TPropInfo& p);
// The object the last name of a dotted path belongs to, with that name in
// last; null when a step is not a nested object or holds none.
TPersistent* ResolvePropertyPath(TPersistent& instance, const QString& path, QString& last);

// Every declared default that differs from the value of a freshly made
// object, as "Class.Property" lines; empty when all agree.
QStringList CheckDeclaredDefaults(const TClassInfo& info);

namespace detail {
template <class F>
struct TSetterArg;
template <class C, class A>
struct TSetterArg<void (C::*)(A)> {
    using Type = std::decay_t<A>;
};
template <class C, class A>
struct TSetterArg<void (C::*)(A) noexcept> {
    using Type = std::decay_t<A>;
};

template <class V>
TPropValue ToValue(TPropKind kind, V&& v) {
    using D = std::decay_t<V>;
    if constexpr (std::is_same_v<D, bool> || std::is_same_v<D, QString> || std::is_same_v<D, QByteArray>)
        return v;
    else if constexpr (std::is_enum_v<D>)
        return int64_t(v);
    else if constexpr (std::is_integral_v<D>)
        return kind == TPropKind::Boolean ? TPropValue(bool(v)) : TPropValue(int64_t(v));
    else if constexpr (std::is_floating_point_v<D>)
        return double(v);
    else if constexpr (std::is_pointer_v<D>)
        return static_cast<TPersistent*>(const_cast<std::remove_const_t<std::remove_pointer_t<D>>*>(v));
    else
        static_assert(sizeof(D) == 0, "unsupported property type");
}

template <class A>
A FromValue(const TPropValue& v) {
    if constexpr (std::is_same_v<A, bool>)
        return std::get<bool>(v);
    else if constexpr (std::is_enum_v<A> || std::is_integral_v<A>)
        return static_cast<A>(std::get<int64_t>(v));
    else if constexpr (std::is_floating_point_v<A>)
        return static_cast<A>(std::get<double>(v));
    else if constexpr (std::is_same_v<A, QString> || std::is_same_v<A, QByteArray>)
        return std::get<A>(v);
    else if constexpr (std::is_pointer_v<A>)
        return dynamic_cast<A>(std::get<TPersistent*>(v));
    else
        static_assert(sizeof(A) == 0, "unsupported property type");
}
} // namespace detail

// Declares the properties of T; each call adds one, the modifiers after it
// refine the last one added.
template <class T>
class TClassBuilder {
public:
    explicit TClassBuilder(TClassInfo& info) : FInfo(info) {}

    // getter: a const member function or a callable taking const T&;
    // setter: a member function taking one argument, a callable taking
    // (T&, const TPropValue&), or nullptr for a read-only property.
    template <class G, class S>
    TClassBuilder& Property(const QString& name, TPropKind kind, G getter, S setter) {
        TPropInfo p;
        p.Name = name;
        p.Kind = kind;
        p.Get = [getter, kind](const TPersistent& o) -> TPropValue {
            return detail::ToValue(kind, std::invoke(getter, static_cast<const T&>(o)));
        };
        if constexpr (!std::is_same_v<S, std::nullptr_t>) {
            if constexpr (std::is_invocable_v<S, T&, const TPropValue&>) {
                p.Set = [setter](TPersistent& o, const TPropValue& v) {
                    std::invoke(setter, static_cast<T&>(o), v);
                };
            } else {
                using A = typename detail::TSetterArg<S>::Type;
                p.Set = [setter](TPersistent& o, const TPropValue& v) {
                    std::invoke(setter, static_cast<T&>(o), detail::FromValue<A>(v));
                };
            }
        }
        FLast = &FInfo.Declare(std::move(p));
        return *this;
    }
    template <class G, class S>
    TClassBuilder& Integer(const QString& name, G g, S s) {
        return Property(name, TPropKind::Integer, g, s);
    }
    template <class G, class S>
    TClassBuilder& Boolean(const QString& name, G g, S s) {
        return Property(name, TPropKind::Boolean, g, s);
    }
    template <class G, class S>
    TClassBuilder& Float(const QString& name, G g, S s) {
        return Property(name, TPropKind::Float, g, s);
    }
    template <class G, class S>
    TClassBuilder& String(const QString& name, G g, S s) {
        return Property(name, TPropKind::String, g, s);
    }
    template <class G, class S>
    TClassBuilder& Enumeration(const QString& name, QStringList names, G g, S s) {
        Property(name, TPropKind::Enumeration, g, s);
        return Idents(std::make_shared<TIdentTable>(TIdentTable{std::move(names), {}, {}}));
    }
    template <class G, class S>
    TClassBuilder& SetOf(const QString& name, QStringList names, G g, S s) {
        Property(name, TPropKind::Set, g, s);
        return Idents(std::make_shared<TIdentTable>(TIdentTable{std::move(names), {}, {}}));
    }
    // A nested object, string list or collection the object owns: streams read into it.
    template <class G>
    TClassBuilder& Owned(const QString& name, TPropKind kind, G getter) {
        return Property(name, kind, getter, [](T&, const TPropValue&) {});
    }

    TClassBuilder& Default(TPropValue value) {
        FLast->Default = std::move(value);
        return *this;
    }
    TClassBuilder& NoDefault() {
        FLast->Default.reset();
        return *this;
    }
    TClassBuilder& Stored(bool always) {
        FLast->Stored = always ? TStoredRule::Always : TStoredRule::Never;
        FLast->StoredTest = nullptr;
        return *this;
    }
    template <class P>
    TClassBuilder& StoredIf(P predicate) {
        FLast->Stored = TStoredRule::Predicate;
        FLast->StoredTest = [predicate](const TPersistent& o) {
            return bool(std::invoke(predicate, static_cast<const T&>(o)));
        };
        return *this;
    }
    TClassBuilder& Idents(std::shared_ptr<const TIdentTable> table) {
        FLast->Idents = std::move(table);
        return *this;
    }

    TClassBuilder& Defined(TDefinedProperty property) {
        FInfo.FDefined.push_back(std::move(property));
        return *this;
    }

private:
    TClassInfo& FInfo;
    TPropInfo* FLast = nullptr;
};

template <class T, class Base, class Describe>
TClassInfo TClassInfo::Make(const char* name, Describe&& describe) {
    static_assert(std::is_base_of_v<Base, T>);
    TClassInfo info;
    info.FName = QString::fromLatin1(name);
    info.FParent = &Base::StaticClass();
    info.FProperties = info.FParent->FProperties;
    info.FDefined = info.FParent->FDefined;
    if constexpr (!std::is_abstract_v<T>) {
        if constexpr (std::is_constructible_v<T, TComponent*>)
            info.FFactory = [](TComponent* owner) -> TPersistent* { return new T(owner); };
        else if constexpr (std::is_default_constructible_v<T>)
            info.FFactory = [](TComponent*) -> TPersistent* { return new T(); };
    }
    TClassBuilder<T> builder(info);
    describe(builder);
    return info;
}

} // namespace vellum

// In the body of every persistent class.
#define VELLUM_CLASS(T)                                                                                      \
public:                                                                                                      \
    static const ::vellum::TClassInfo& StaticClass();                                                        \
    const ::vellum::TClassInfo& ClassType() const override { return StaticClass(); }                         \
                                                                                                             \
private:
