#include "base/Filer.h"

#include "base/ClassRegistry.h"
#include "base/Collection.h"
#include "base/Component.h"
#include "base/Cp932.h"
#include "base/Exceptions.h"
#include "base/Extended.h"
#include "base/Format.h"
#include "base/Stream.h"

#include <QScopeGuard>

#include <algorithm>
#include <climits>
#include <cstring>

namespace vellum {
namespace {

constexpr int kMaxDepth = 64;

bool IsIntegerCode(TValueType t) {
    return t == TValueType::vaInt8 || t == TValueType::vaInt16 || t == TValueType::vaInt32 ||
           t == TValueType::vaInt64;
}

TComponent* FindByName(TComponent* root, const QString& name) {
    if (!root) return nullptr;
    if (root->Name().compare(name, Qt::CaseInsensitive) == 0) return root;
    std::vector<TComponent*> queue{root};
    for (size_t i = 0; i < queue.size(); ++i) {
        TComponent* c = queue[i];
        if (TComponent* found = c->FindComponent(name)) return found;
        for (int k = 0; k < c->ComponentCount(); ++k) queue.push_back(c->Components(k));
    }
    return nullptr;
}

[[noreturn]] void BadValue();

} // namespace

QString InvalidStreamMessage() { return QStringLiteral("不正なストリーム フォーマット"); }
QString InvalidPropertyPathMessage() { return QStringLiteral("不正なプロパティのパスです"); }
QString PropertyDoesNotExistMessage() { return QStringLiteral("プロパティが存在しません"); }
QString InvalidPropertyValueMessage() { return QStringLiteral("不正なプロパティの値です"); }

namespace {
void BadValue() { throw EReadError(InvalidPropertyValueMessage()); }
} // namespace

// ---------------------------------------------------------------- writing

void TWriter::WriteSignature() { FStream.WriteBuffer("TPF0", 4); }

void TWriter::WriteValueType(TValueType type) { WriteU8(FStream, uint8_t(type)); }

void TWriter::WriteStr(const QString& text) {
    const QByteArray bytes = cp932::Encode(text);
    if (bytes.size() > 255)
        throw EWriteError(
            Format(QStringLiteral("名前が長すぎます (%d バイト): %s"), int(bytes.size()), text.left(32)));
    WriteU8(FStream, uint8_t(bytes.size()));
    FStream.WriteBytes(bytes);
}

void TWriter::WriteInteger(int64_t v) {
    if (v >= -128 && v <= 127) {
        WriteValueType(TValueType::vaInt8);
        WriteI8(FStream, int8_t(v));
    } else if (v >= -32768 && v <= 32767) {
        WriteValueType(TValueType::vaInt16);
        WriteI16(FStream, int16_t(v));
    } else if (v >= INT32_MIN && v <= INT32_MAX) {
        WriteValueType(TValueType::vaInt32);
        WriteI32(FStream, int32_t(v));
    } else {
        WriteValueType(TValueType::vaInt64);
        WriteI64(FStream, v);
    }
}

void TWriter::WriteBoolean(bool value) { WriteValueType(value ? TValueType::vaTrue : TValueType::vaFalse); }

void TWriter::WriteFloat(double value) {
    WriteValueType(TValueType::vaExtended);
    const auto bytes = DoubleToExtended(value);
    FStream.WriteBuffer(bytes.data(), 10);
}

void TWriter::WriteString(const QString& value) {
    const QByteArray bytes = cp932::Encode(value);
    if (bytes.size() <= 255) {
        WriteValueType(TValueType::vaString);
        WriteU8(FStream, uint8_t(bytes.size()));
    } else {
        WriteValueType(TValueType::vaLString);
        WriteI32(FStream, int32_t(bytes.size()));
    }
    FStream.WriteBytes(bytes);
}

void TWriter::WriteIdent(const QString& ident) {
    WriteValueType(TValueType::vaIdent);
    WriteStr(ident);
}

void TWriter::WriteBinary(const QByteArray& data) {
    WriteValueType(TValueType::vaBinary);
    WriteI32(FStream, int32_t(data.size()));
    FStream.WriteBytes(data);
}

void TWriter::WriteComponent(const TComponent& component) {
    if (!FRoot) FRoot = &component;
    WriteStr(component.ClassName());
    WriteStr(component.Name());
    WriteProperties(component);
    WriteListEnd();
    component.GetChildren([this](TComponent* child) {
        if (child) WriteComponent(*child);
    });
    WriteListEnd();
}

void TWriter::WriteProperties(const TPersistent& instance, const QString& prefix) {
    const TClassInfo& info = instance.ClassType();
    for (const TPropInfo& p : info.Properties()) WriteProperty(instance, p, prefix);
    for (const TDefinedProperty& d : info.DefinedProperties()) {
        if (d.HasData && !d.HasData(instance)) continue;
        if (d.IsBinary()) {
            if (!d.WriteBinary) continue;
            TMemoryStream data;
            d.WriteBinary(instance, data);
            WritePropName(prefix + d.Name);
            WriteBinary(data.Data());
        } else if (d.WriteData) {
            WritePropName(prefix + d.Name);
            d.WriteData(instance, *this);
        }
    }
}

void TWriter::WriteProperty(const TPersistent& instance, const TPropInfo& p, const QString& prefix) {
    if (!p.IsReadWrite() || p.Kind == TPropKind::Event || !p.IsStored(instance)) return;
    const TPropValue value = p.Get(instance);
    const bool isDefault = p.Default && value == *p.Default;
    const QString name = prefix + p.Name;
    switch (p.Kind) {
    case TPropKind::Integer:
    case TPropKind::Int64: {
        if (isDefault) return;
        const int64_t v = std::get<int64_t>(value);
        WritePropName(name);
        if (p.Idents && p.Idents->ToIdent)
            if (auto ident = p.Idents->ToIdent(v)) return WriteIdent(*ident);
        return WriteInteger(v);
    }
    case TPropKind::Enumeration: {
        if (isDefault) return;
        const int64_t v = std::get<int64_t>(value);
        WritePropName(name);
        if (p.Idents && v >= 0 && v < p.Idents->Names.size())
            return WriteIdent(p.Idents->Names[qsizetype(v)]);
        return WriteInteger(v);
    }
    case TPropKind::Boolean:
        if (isDefault) return;
        WritePropName(name);
        return WriteBoolean(std::get<bool>(value));
    case TPropKind::Set: {
        if (isDefault) return;
        const uint64_t bits = uint64_t(std::get<int64_t>(value));
        WritePropName(name);
        WriteValueType(TValueType::vaSet);
        for (int i = 0; i < 64; ++i)
            if ((bits >> i) & 1)
                WriteStr(p.Idents && i < p.Idents->Names.size() ? p.Idents->Names[i] : QString::number(i));
        return WriteStr(QString());
    }
    case TPropKind::Float:
    case TPropKind::DateTime: {
        const double v = std::get<double>(value);
        if (p.Default ? isDefault : v == 0) return;
        WritePropName(name);
        return WriteFloat(v);
    }
    case TPropKind::String: {
        const QString& v = std::get<QString>(value);
        if (v.isEmpty() || isDefault) return;
        WritePropName(name);
        return WriteString(v);
    }
    case TPropKind::Binary: {
        const QByteArray& v = std::get<QByteArray>(value);
        if (v.isEmpty()) return;
        WritePropName(name);
        return WriteBinary(v);
    }
    case TPropKind::StringList:
    case TPropKind::Object:
        if (TPersistent* nested = std::get<TPersistent*>(value)) WriteProperties(*nested, name + u'.');
        return;
    case TPropKind::Collection: {
        auto* items = dynamic_cast<TCollection*>(std::get<TPersistent*>(value));
        if (!items) return;
        WritePropName(name);
        WriteValueType(TValueType::vaCollection);
        for (int i = 0; i < items->Count(); ++i) {
            WriteListBegin();
            if (TPersistent* item = items->Item(i)) WriteProperties(*item);
            WriteListEnd();
        }
        return WriteListEnd();
    }
    case TPropKind::ComponentRef: {
        auto* target = dynamic_cast<TComponent*>(std::get<TPersistent*>(value));
        if (!target || target->Name().isEmpty()) return;
        QString ref = target->Name();
        if (target->Owner() && target->Owner() != FRoot && target != FRoot &&
            !target->Owner()->Name().isEmpty())
            ref = target->Owner()->Name() + u'.' + ref;
        WritePropName(name);
        return WriteIdent(ref);
    }
    case TPropKind::Event:
        return;
    }
}

// ---------------------------------------------------------------- reading

void TReader::Invalid() { throw EReadError(InvalidStreamMessage()); }

void TReader::CheckDepth(int depth) {
    if (depth > kMaxDepth) Invalid();
}

TValueType TReader::ReadValueType() {
    if (FStream.Remaining() < 1) Invalid();
    const uint8_t b = ReadU8(FStream);
    if (b > uint8_t(TValueType::vaInt64)) Invalid();
    return TValueType(b);
}

TValueType TReader::NextValue() {
    const TValueType t = ReadValueType();
    FStream.Seek(-1, TSeekOrigin::soCurrent);
    return t;
}

QString TReader::ReadStr() {
    if (FStream.Remaining() < 1) Invalid();
    const int len = ReadU8(FStream);
    if (FStream.Remaining() < len) Invalid();
    return cp932::Decode(FStream.ReadBytes(len));
}

int64_t TReader::ReadInteger() {
    switch (ReadValueType()) {
    case TValueType::vaInt8:
        if (FStream.Remaining() < 1) Invalid();
        return ReadI8(FStream);
    case TValueType::vaInt16:
        if (FStream.Remaining() < 2) Invalid();
        return ReadI16(FStream);
    case TValueType::vaInt32:
        if (FStream.Remaining() < 4) Invalid();
        return ReadI32(FStream);
    case TValueType::vaInt64:
        if (FStream.Remaining() < 8) Invalid();
        return ReadI64(FStream);
    default:
        throw EReadError(InvalidPropertyValueMessage());
    }
}

bool TReader::ReadBoolean() {
    const TValueType t = ReadValueType();
    if (t == TValueType::vaTrue) return true;
    if (t == TValueType::vaFalse) return false;
    throw EReadError(InvalidPropertyValueMessage());
}

double TReader::ReadFloat() {
    const TValueType t = NextValue();
    if (IsIntegerCode(t)) return double(ReadInteger());
    ReadValueType();
    switch (t) {
    case TValueType::vaExtended: {
        if (FStream.Remaining() < 10) Invalid();
        uint8_t b[10];
        FStream.ReadBuffer(b, 10);
        return ExtendedToDouble(b);
    }
    case TValueType::vaSingle: {
        if (FStream.Remaining() < 4) Invalid();
        const uint32_t bits = ReadU32(FStream);
        float f;
        std::memcpy(&f, &bits, 4);
        return f;
    }
    case TValueType::vaCurrency:
        if (FStream.Remaining() < 8) Invalid();
        return double(ReadI64(FStream)) / 10000.0;
    case TValueType::vaDate: {
        if (FStream.Remaining() < 8) Invalid();
        const uint64_t bits = ReadU64(FStream);
        double d;
        std::memcpy(&d, &bits, 8);
        return d;
    }
    default:
        throw EReadError(InvalidPropertyValueMessage());
    }
}

QString TReader::ReadString() {
    const TValueType t = ReadValueType();
    int64_t len = 0;
    switch (t) {
    case TValueType::vaString:
        return ReadStr();
    case TValueType::vaLString:
        if (FStream.Remaining() < 4) Invalid();
        len = ReadI32(FStream);
        if (len < 0 || len > FStream.Remaining()) Invalid();
        return cp932::Decode(FStream.ReadBytes(len));
    case TValueType::vaWString: {
        if (FStream.Remaining() < 4) Invalid();
        len = ReadI32(FStream);
        if (len < 0 || len * 2 > FStream.Remaining()) Invalid();
        const QByteArray bytes = FStream.ReadBytes(len * 2);
        QString s(qsizetype(len), Qt::Uninitialized);
        for (qsizetype i = 0; i < len; ++i) s[i] = QChar(GetLE16(bytes.constData() + 2 * i));
        return s;
    }
    default:
        throw EReadError(InvalidPropertyValueMessage());
    }
}

QString TReader::ReadIdent() {
    const TValueType t = ReadValueType();
    switch (t) {
    case TValueType::vaIdent:
        return ReadStr();
    case TValueType::vaFalse:
        return QStringLiteral("False");
    case TValueType::vaTrue:
        return QStringLiteral("True");
    case TValueType::vaNil:
        return QStringLiteral("nil");
    case TValueType::vaNull:
        return QStringLiteral("Null");
    default:
        throw EReadError(InvalidPropertyValueMessage());
    }
}

QByteArray TReader::ReadBinary() {
    if (ReadValueType() != TValueType::vaBinary) throw EReadError(InvalidPropertyValueMessage());
    if (FStream.Remaining() < 4) Invalid();
    const int64_t len = ReadI32(FStream);
    if (len < 0 || len > FStream.Remaining()) Invalid();
    return FStream.ReadBytes(len);
}

void TReader::ReadListBegin() {
    if (ReadValueType() != TValueType::vaList) throw EReadError(InvalidPropertyValueMessage());
    if (++FListDepth > kMaxDepth) Invalid();
}

// Peeks the raw byte: the end marker may stand where a property name's length
// byte would (a name longer than 19 bytes is no value type).
bool TReader::EndOfList() {
    if (FStream.Remaining() < 1) Invalid();
    const uint8_t b = ReadU8(FStream);
    FStream.Seek(-1, TSeekOrigin::soCurrent);
    return b == 0;
}

void TReader::ReadListEnd() {
    if (ReadValueType() != TValueType::vaNull) Invalid();
    if (FListDepth > 0) --FListDepth;
}

void TReader::SkipValue() {
    auto skip = [this](int64_t n) {
        if (n < 0 || n > FStream.Remaining()) Invalid();
        FStream.Seek(n, TSeekOrigin::soCurrent);
    };
    const TValueType t = ReadValueType();
    switch (t) {
    case TValueType::vaNull:
    case TValueType::vaFalse:
    case TValueType::vaTrue:
    case TValueType::vaNil:
        return;
    case TValueType::vaList:
        if (++FListDepth > kMaxDepth) Invalid();
        while (!EndOfList()) SkipValue();
        ReadListEnd();
        return;
    case TValueType::vaInt8:
        return skip(1);
    case TValueType::vaInt16:
        return skip(2);
    case TValueType::vaInt32:
        return skip(4);
    case TValueType::vaInt64:
        return skip(8);
    case TValueType::vaExtended:
        return skip(10);
    case TValueType::vaSingle:
        return skip(4);
    case TValueType::vaCurrency:
    case TValueType::vaDate:
        return skip(8);
    case TValueType::vaString:
    case TValueType::vaIdent:
        if (FStream.Remaining() < 1) Invalid();
        return skip(ReadU8(FStream));
    case TValueType::vaBinary:
    case TValueType::vaLString:
        if (FStream.Remaining() < 4) Invalid();
        return skip(ReadI32(FStream));
    case TValueType::vaWString:
        if (FStream.Remaining() < 4) Invalid();
        return skip(int64_t(ReadI32(FStream)) * 2);
    case TValueType::vaSet:
        while (!ReadStr().isEmpty()) {
        }
        return;
    case TValueType::vaCollection:
        if (++FListDepth > kMaxDepth) Invalid();
        while (!EndOfList()) {
            if (IsIntegerCode(NextValue())) ReadInteger();
            ReadListBegin();
            while (!EndOfList()) {
                ReadStr();
                SkipValue();
            }
            ReadListEnd();
        }
        ReadListEnd();
        return;
    }
}

TComponent* TReader::ReadRootComponent(TComponent* into) {
    FFixups.clear();
    FLoaded.clear();
    FListDepth = 0;
    char signature[4];
    if (FStream.Remaining() < 4 || FStream.Read(signature, 4) != 4 || std::memcmp(signature, "TPF0", 4) != 0)
        Invalid();
    TComponent* root = ReadComponentRecord(into, nullptr, 0);
    ResolveFixups(root);
    for (TComponent* c : FLoaded) c->Loaded();
    FLoaded.clear();
    return root;
}

TComponent* TReader::ReadComponentRecord(TComponent* into, TComponent* parent, int depth) {
    CheckDepth(depth);
    if (FStream.Remaining() < 1) Invalid();
    const uint8_t first = ReadU8(FStream);
    if ((first & 0xF0) == 0xF0) {
        if (first & 0x02) ReadInteger(); // child position: the system writes none
    } else {
        FStream.Seek(-1, TSeekOrigin::soCurrent);
    }
    const QString className = ReadStr();
    const QString name = ReadStr();
    if (into) {
        ReadComponentBody(*into, name, depth);
        return into;
    }
    const TClassInfo& info = FindClass(className);
    TPersistent* made = info.Create(parent ? parent->ChildOwner() : nullptr);
    auto* object = dynamic_cast<TComponent*>(made);
    // The reader frees what it made until the record is read whole.
    auto discard = qScopeGuard([this, made, object] {
        if (object) std::erase(FLoaded, object);
        delete made;
    });
    if (!object) Invalid();
    ReadComponentBody(*object, name, depth);
    discard.dismiss();
    return object;
}

void TReader::ReadComponentBody(TComponent& object, const QString& name, int depth) {
    object.SetName(name);
    FLoaded.push_back(&object);
    while (!EndOfList()) ReadProperty(object);
    ReadValueType();
    while (!EndOfList()) {
        TComponent* child = ReadComponentRecord(nullptr, &object, depth + 1);
        object.ChildRead(child);
    }
    ReadValueType();
}

void TReader::ReadProperty(TPersistent& instance) {
    const QString path = ReadStr();
    QString last;
    TPersistent* target = ResolvePropertyPath(instance, path, last);
    if (!target) throw EReadError(InvalidPropertyPathMessage());
    if (const TPropInfo* p = target->ClassType().FindProperty(last); p && !IsNestedObjectProperty(*p)) {
        if (p->Set)
            ReadPropValue(*target, *p);
        else
            SkipValue(); // read-only now: the stored value has nowhere to go
        return;
    }
    for (const TDefinedProperty& d : target->ClassType().DefinedProperties()) {
        if (d.Name.compare(last, Qt::CaseInsensitive) != 0) continue;
        if (d.IsBinary()) {
            TMemoryStream data(ReadBinary());
            if (d.ReadBinary) d.ReadBinary(*target, data);
        } else if (d.ReadData) {
            d.ReadData(*target, *this);
        } else {
            SkipValue();
        }
        return;
    }
    if (const TPropInfo* p = target->ClassType().FindProperty(last); p && p->Kind == TPropKind::Collection) {
        ReadPropValue(*target, *p);
        return;
    }
    throw EReadError(PropertyDoesNotExistMessage());
}

void TReader::ReadPropValue(TPersistent& instance, const TPropInfo& p) {
    const TValueType t = NextValue();
    switch (p.Kind) {
    case TPropKind::Integer:
    case TPropKind::Int64: {
        if (t == TValueType::vaIdent) {
            const QString ident = ReadIdent();
            std::optional<int64_t> v;
            if (p.Idents && p.Idents->FromIdent) v = p.Idents->FromIdent(ident);
            if (!v) BadValue();
            return p.Set(instance, *v);
        }
        if (!IsIntegerCode(t)) BadValue();
        return p.Set(instance, ReadInteger());
    }
    case TPropKind::Enumeration: {
        if (IsIntegerCode(t)) return p.Set(instance, ReadInteger());
        if (t != TValueType::vaIdent) BadValue();
        const QString ident = ReadIdent();
        if (p.Idents)
            for (qsizetype i = 0; i < p.Idents->Names.size(); ++i)
                if (p.Idents->Names[i].compare(ident, Qt::CaseInsensitive) == 0)
                    return p.Set(instance, int64_t(i));
        BadValue();
    }
    case TPropKind::Boolean:
        if (t == TValueType::vaIdent) {
            const QString ident = ReadIdent();
            if (ident.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0) return p.Set(instance, true);
            if (ident.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
                return p.Set(instance, false);
            BadValue();
        }
        return p.Set(instance, ReadBoolean());
    case TPropKind::Set: {
        if (t != TValueType::vaSet) BadValue();
        ReadValueType();
        int64_t bits = 0;
        for (QString element = ReadStr(); !element.isEmpty(); element = ReadStr()) {
            qsizetype index = -1;
            if (p.Idents)
                for (qsizetype i = 0; i < p.Idents->Names.size() && index < 0; ++i)
                    if (p.Idents->Names[i].compare(element, Qt::CaseInsensitive) == 0) index = i;
            if (index < 0 || index >= 64) BadValue();
            bits |= int64_t(1) << index;
        }
        return p.Set(instance, bits);
    }
    case TPropKind::Float:
    case TPropKind::DateTime:
        return p.Set(instance, ReadFloat());
    case TPropKind::String:
        return p.Set(instance, ReadString());
    case TPropKind::Binary:
        return p.Set(instance, ReadBinary());
    case TPropKind::Collection: {
        auto* items = dynamic_cast<TCollection*>(std::get<TPersistent*>(p.Get(instance)));
        if (t != TValueType::vaCollection || !items) BadValue();
        ReadValueType();
        if (++FListDepth > kMaxDepth) Invalid();
        items->Clear();
        while (!EndOfList()) {
            if (IsIntegerCode(NextValue())) ReadInteger();
            ReadListBegin();
            TPersistent* item = items->AddItem();
            while (!EndOfList()) ReadProperty(*item);
            ReadListEnd();
        }
        ReadListEnd();
        return;
    }
    case TPropKind::ComponentRef:
        if (t == TValueType::vaNil) {
            ReadValueType();
            return p.Set(instance, static_cast<TPersistent*>(nullptr));
        }
        if (t != TValueType::vaIdent) BadValue();
        FFixups.push_back({&instance, &p, ReadIdent()});
        return;
    case TPropKind::Event:
        return SkipValue();
    case TPropKind::StringList:
    case TPropKind::Object:
        BadValue();
    }
}

void TReader::ResolveFixups(TComponent* root) {
    for (const TFixup& f : FFixups) {
        TComponent* target = nullptr;
        if (int dot = f.Name.indexOf(u'.'); dot > 0) {
            if (TComponent* owner = FindByName(root, f.Name.left(dot)))
                target = owner->FindComponent(f.Name.mid(dot + 1));
        } else {
            target = FindByName(root, f.Name);
        }
        if (target) f.Prop->Set(*f.Instance, static_cast<TPersistent*>(target));
    }
    FFixups.clear();
}

} // namespace vellum

namespace vellum {

void WriteComponent(TStream& stream, const TComponent& component) {
    TWriter writer(stream, &component);
    writer.WriteSignature();
    writer.WriteComponent(component);
}

TComponent* ReadComponent(TStream& stream, TComponent* into) {
    return TReader(stream).ReadRootComponent(into);
}

void WriteComponentRes(TStream& stream, const QString& resourceName, const TComponent& component) {
    const QByteArray name = cp932::Encode(resourceName.toUpper()).left(63);
    WriteU8(stream, 0xFF);
    WriteU16(stream, 10);
    stream.WriteBytes(name);
    WriteU8(stream, 0);
    WriteU16(stream, 0x1030);
    const int64_t sizeAt = stream.Position();
    WriteI32(stream, 0);
    const int64_t start = stream.Position();
    WriteComponent(stream, component);
    const int64_t end = stream.Position();
    stream.SetPosition(sizeAt);
    WriteI32(stream, int32_t(end - start));
    stream.SetPosition(end);
}

void ReadResourceHeader(TStream& stream) {
    const auto invalid = [] { throw EReadError(InvalidStreamMessage()); };
    if (stream.Remaining() < 3 || ReadU8(stream) != 0xFF || ReadU16(stream) != 10) invalid();
    // The name: at most 63 characters and its terminating 0.
    for (int i = 0;; ++i) {
        if (i > 255 || stream.Remaining() < 1) invalid();
        if (ReadU8(stream) == 0) break;
    }
    if (stream.Remaining() < 6) invalid();
    ReadU16(stream); // flags
    ReadI32(stream); // size: the component stream checks its own lengths
}

TComponent* ReadComponentRes(TStream& stream, TComponent* into) {
    ReadResourceHeader(stream);
    return ReadComponent(stream, into);
}

} // namespace vellum
