#pragma once
// The binary component stream: an object record is its class name, its
// name, its published and defined properties by name, then its children.
// The writer follows the property tables' order, defaults and stored rules;
// the reader creates classes through the registry. Every count and length
// read is checked against the bytes that remain.

#include "base/ClassInfo.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace vellum {

class TComponent;
class TPersistent;
class TStream;

enum class TValueType : uint8_t {
    vaNull = 0,
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,
    vaString = 6,
    vaIdent = 7,
    vaFalse = 8,
    vaTrue = 9,
    vaBinary = 10,
    vaSet = 11,
    vaLString = 12,
    vaNil = 13,
    vaCollection = 14,
    vaSingle = 15,
    vaCurrency = 16,
    vaDate = 17,
    vaWString = 18,
    vaInt64 = 19,
};

// "不正なストリーム フォーマット", "不正なプロパティのパスです", "プロパティが存在しません",
// "不正なプロパティの値です".
QString InvalidStreamMessage();
QString InvalidPropertyPathMessage();
QString PropertyDoesNotExistMessage();
QString InvalidPropertyValueMessage();

class TWriter {
public:
    // root: the component whose owned components are named without their owner.
    explicit TWriter(TStream& stream, const TComponent* root = nullptr) : FStream(stream), FRoot(root) {}

    void WriteSignature();
    // The object record with its properties and children.
    void WriteComponent(const TComponent& component);
    // Published properties (prefix "Nested." for nested objects) and defined ones.
    void WriteProperties(const TPersistent& instance, const QString& prefix = QString());

    void WriteValueType(TValueType type);
    void WriteInteger(int64_t value); // the smallest code that holds it
    void WriteBoolean(bool value);
    void WriteFloat(double value);          // extended
    void WriteString(const QString& value); // short or long string by encoded length
    void WriteIdent(const QString& ident);
    void WriteBinary(const QByteArray& data);
    void WriteListBegin() { WriteValueType(TValueType::vaList); }
    void WriteListEnd() { WriteValueType(TValueType::vaNull); }
    // A length byte and the cp932 bytes; raises EWriteError above 255 bytes.
    void WriteStr(const QString& text);
    void WritePropName(const QString& name) { WriteStr(name); }

private:
    void WriteProperty(const TPersistent& instance, const TPropInfo& prop, const QString& prefix);

    TStream& FStream;
    const TComponent* FRoot;
};

class TReader {
public:
    explicit TReader(TStream& stream) : FStream(stream) {}

    // Checks the signature and reads one root object with its children, into
    // the given object or a new one of the stream's class. A new object is
    // freed when reading fails.
    TComponent* ReadRootComponent(TComponent* into);

    TValueType ReadValueType();
    TValueType NextValue(); // without consuming it
    int64_t ReadInteger();
    bool ReadBoolean();
    double ReadFloat();
    QString ReadString();
    QString ReadIdent();
    QByteArray ReadBinary();
    void ReadListBegin();
    bool EndOfList();
    void ReadListEnd();
    QString ReadStr();
    // Skips one value of any type.
    void SkipValue();

    TStream& Stream() { return FStream; }

private:
    struct TFixup {
        TPersistent* Instance;
        const TPropInfo* Prop;
        QString Name;
    };
    TComponent* ReadComponentRecord(TComponent* into, TComponent* parent, int depth);
    void ReadComponentBody(TComponent& object, const QString& name, int depth);
    void ReadProperty(TPersistent& instance);
    void ReadPropValue(TPersistent& instance, const TPropInfo& prop);
    void ResolveFixups(TComponent* root);
    void CheckDepth(int depth);
    [[noreturn]] void Invalid();

    TStream& FStream;
    std::vector<TFixup> FFixups;
    std::vector<TComponent*> FLoaded;
    int FListDepth = 0;
};

} // namespace vellum

namespace vellum {

// A whole stream for one root object: "TPF0" then its record.
void WriteComponent(TStream& stream, const TComponent& component);
TComponent* ReadComponent(TStream& stream, TComponent* into = nullptr);

// The same wrapped in the resource header kept in documents: 0xFF, int16 10,
// the upper-case name (at most 63 characters) and a 0, int16 0x1030, the
// int32 length of the component stream, then the stream.
void WriteComponentRes(TStream& stream, const QString& resourceName, const TComponent& component);
TComponent* ReadComponentRes(TStream& stream, TComponent* into = nullptr);
// Checks and skips the resource header; raises "不正なストリーム フォーマット".
void ReadResourceHeader(TStream& stream);

} // namespace vellum
