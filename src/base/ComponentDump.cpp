#include "base/ComponentDump.h"

#include "base/Exceptions.h"
#include "base/Filer.h"
#include "base/Format.h"
#include "base/Stream.h"

namespace vellum {
namespace {

class TDumper {
public:
    explicit TDumper(TStream& stream) : FStream(stream), FReader(stream) {}

    QString Run() {
        const int64_t start = FStream.Position();
        try {
            if (FStream.Remaining() >= 1 && ReadU8(FStream) == 0xFF) {
                FStream.SetPosition(start);
                ReadResourceHeader(FStream);
            } else {
                FStream.SetPosition(start);
            }
            char sig[4];
            if (FStream.Read(sig, 4) != 4 || QByteArray(sig, 4) != "TPF0")
                throw EReadError(InvalidStreamMessage());
            Object(0);
        } catch (const Exception& e) {
            Line(0, Format(QStringLiteral("!! %s (位置 %d)"), e.Message(), FStream.Position()));
        }
        return FOut;
    }

private:
    void Line(int depth, const QString& text) { FOut += QString(depth * 2, u' ') + text + u'\n'; }

    void Object(int depth) {
        if (depth > 64) throw EReadError(InvalidStreamMessage());
        if (FStream.Remaining() < 1) throw EReadError(InvalidStreamMessage());
        const uint8_t first = ReadU8(FStream);
        if ((first & 0xF0) == 0xF0) {
            if (first & 0x02) FReader.ReadInteger();
        } else {
            FStream.Seek(-1, TSeekOrigin::soCurrent);
        }
        const QString className = FReader.ReadStr();
        const QString name = FReader.ReadStr();
        Line(depth,
             QStringLiteral("object %1: %2").arg(name.isEmpty() ? QStringLiteral("<>") : name, className));
        // A name's length byte is not a value type: only its zero ends the list.
        while (!FReader.EndOfList()) {
            const QString prop = FReader.ReadStr();
            Value(depth + 1, prop + QStringLiteral(" = "));
        }
        FReader.ReadValueType();
        while (!FReader.EndOfList()) Object(depth + 1);
        FReader.ReadValueType();
        Line(depth, QStringLiteral("end"));
    }

    static QString Quoted(const QString& s) {
        return u'\'' + QString(s).replace(u'\'', QStringLiteral("''")) + u'\'';
    }

    // One value after its label; lists and collections take lines of their own.
    void Value(int depth, const QString& label) {
        const TValueType t = FReader.NextValue();
        switch (t) {
        case TValueType::vaList: {
            FReader.ReadListBegin();
            Line(depth, label + u'(');
            while (!FReader.EndOfList()) Value(depth + 1, QString());
            FReader.ReadListEnd();
            Line(depth, QStringLiteral(")"));
            return;
        }
        case TValueType::vaInt8:
        case TValueType::vaInt16:
        case TValueType::vaInt32:
        case TValueType::vaInt64:
            return Line(depth, label + QString::number(FReader.ReadInteger()));
        case TValueType::vaExtended:
        case TValueType::vaSingle:
        case TValueType::vaCurrency:
        case TValueType::vaDate:
            return Line(depth, label + FloatToStr(FReader.ReadFloat()));
        case TValueType::vaString:
        case TValueType::vaLString:
        case TValueType::vaWString:
            return Line(depth, label + Quoted(FReader.ReadString()));
        case TValueType::vaIdent:
        case TValueType::vaFalse:
        case TValueType::vaTrue:
        case TValueType::vaNil:
        case TValueType::vaNull:
            return Line(depth, label + FReader.ReadIdent());
        case TValueType::vaBinary: {
            const QByteArray data = FReader.ReadBinary();
            QString hex = QString::fromLatin1(data.left(64).toHex().toUpper());
            if (data.size() > 64) hex += QStringLiteral("...");
            return Line(depth, label + QStringLiteral("{%1 バイト} %2").arg(data.size()).arg(hex));
        }
        case TValueType::vaSet: {
            FReader.ReadValueType();
            QStringList names;
            for (QString n = FReader.ReadStr(); !n.isEmpty(); n = FReader.ReadStr()) names << n;
            return Line(depth, label + u'[' + names.join(QStringLiteral(", ")) + u']');
        }
        case TValueType::vaCollection: {
            FReader.ReadValueType();
            Line(depth, label + u'<');
            while (!FReader.EndOfList()) {
                QString index;
                if (FReader.NextValue() != TValueType::vaList)
                    index = QStringLiteral(" [%1]").arg(FReader.ReadInteger());
                FReader.ReadListBegin();
                Line(depth + 1, QStringLiteral("item") + index);
                while (!FReader.EndOfList()) Value(depth + 2, FReader.ReadStr() + QStringLiteral(" = "));
                FReader.ReadListEnd();
                Line(depth + 1, QStringLiteral("end"));
            }
            FReader.ReadListEnd();
            return Line(depth, QStringLiteral(">"));
        }
        }
    }

    TStream& FStream;
    TReader FReader;
    QString FOut;
};

} // namespace

QString DumpComponentStream(TStream& stream) { return TDumper(stream).Run(); }

QString DumpComponentBytes(const QByteArray& bytes) {
    TMemoryStream s(bytes);
    return DumpComponentStream(s);
}

} // namespace vellum
