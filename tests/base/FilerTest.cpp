#include "base/Filer.h"
#include "base/ClassRegistry.h"
#include "base/Component.h"
#include "base/Exceptions.h"
#include "base/Extended.h"
#include "base/IdentTables.h"
#include "base/Stream.h"
#include "base/StringList.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <memory>
#include <random>

using namespace vellum;

namespace {

int GLive = 0; // sample objects alive, to see that failed reads free what they made

class TSample : public TComponent {
    VELLUM_CLASS(TSample)
public:
    explicit TSample(TComponent* owner = nullptr) : TComponent(owner) { ++GLive; }
    ~TSample() override { --GLive; }
    int32_t Left = 0, Top = 0, Width = 0, Cursor = 0, Kind = 1;
    bool Border = false, Movable = true;
    double Ratio = 0;
    int64_t Styles = 0;
    QString Hint;
    TStringList Appendix;
    TComponent* Buddy = nullptr;
    QByteArray Blob;
};

// A container whose children are written after its properties.
class TSampleBox : public TSample {
    VELLUM_CLASS(TSampleBox)
public:
    using TSample::TSample;
    void GetChildren(const std::function<void(TComponent*)>& proc) const override {
        for (int i = 0; i < ComponentCount(); ++i) proc(Components(i));
    }
};

template <class T>
void Describe(TClassBuilder<T>& b) {
    b.Integer(
        "Left", [](const T& o) { return o.Left; },
        [](T& o, const TPropValue& v) { o.Left = int32_t(std::get<int64_t>(v)); });
    b.Integer(
        "Top", [](const T& o) { return o.Top; },
        [](T& o, const TPropValue& v) { o.Top = int32_t(std::get<int64_t>(v)); });
    b.Integer(
        "Width", [](const T& o) { return o.Width; },
        [](T& o, const TPropValue& v) { o.Width = int32_t(std::get<int64_t>(v)); });
    b.Integer(
         "Cursor", [](const T& o) { return o.Cursor; },
         [](T& o, const TPropValue& v) { o.Cursor = int32_t(std::get<int64_t>(v)); })
        .Default(int64_t(0))
        .Idents(CursorIdents());
    b.String(
        "Hint", [](const T& o) { return o.Hint; },
        [](T& o, const TPropValue& v) { o.Hint = std::get<QString>(v); });
    b.Boolean(
        "Border", [](const T& o) { return o.Border; },
        [](T& o, const TPropValue& v) { o.Border = std::get<bool>(v); });
    b.Boolean(
         "Movable", [](const T& o) { return o.Movable; },
         [](T& o, const TPropValue& v) { o.Movable = std::get<bool>(v); })
        .Default(true);
    b.Float(
        "Ratio", [](const T& o) { return o.Ratio; },
        [](T& o, const TPropValue& v) { o.Ratio = std::get<double>(v); });
    b.Enumeration(
         "Kind", {"kdNone", "kdRect", "kdRound"}, [](const T& o) { return o.Kind; },
         [](T& o, const TPropValue& v) { o.Kind = int32_t(std::get<int64_t>(v)); })
        .Default(int64_t(1));
    b.SetOf(
         "Styles", {"stBold", "stItalic", "stUnder"}, [](const T& o) { return o.Styles; },
         [](T& o, const TPropValue& v) { o.Styles = std::get<int64_t>(v); })
        .Default(int64_t(0));
    b.Owned("Appendix", TPropKind::StringList, [](const T& o) { return &o.Appendix; });
    b.Property(
        "Buddy", TPropKind::ComponentRef, [](const T& o) { return o.Buddy; },
        [](T& o, const TPropValue& v) { o.Buddy = dynamic_cast<TComponent*>(std::get<TPersistent*>(v)); });
    TDefinedProperty blob;
    blob.Name = "Blob";
    blob.ReadBinary = [](TPersistent& o, TStream& s) { static_cast<T&>(o).Blob = s.ReadAll(); };
    blob.WriteBinary = [](const TPersistent& o, TStream& s) { s.WriteBytes(static_cast<const T&>(o).Blob); };
    blob.HasData = [](const TPersistent& o) { return !static_cast<const T&>(o).Blob.isEmpty(); };
    b.Defined(std::move(blob));
}

QByteArray Hex(const char* text) { return QByteArray::fromHex(text); }

QByteArray Write(const TComponent& c) {
    TMemoryStream s;
    TWriter w(s);
    w.WriteSignature();
    w.WriteComponent(c);
    return s.Data();
}

std::unique_ptr<TComponent> Read(const QByteArray& bytes) {
    TMemoryStream s(bytes);
    return std::unique_ptr<TComponent>(TReader(s).ReadRootComponent(nullptr));
}

QString ReadError(const QByteArray& bytes) {
    try {
        Read(bytes);
    } catch (const Exception& e) {
        return e.Message();
    }
    return QStringLiteral("(read)");
}

// The record of one property: name then value.
QByteArray Prop(const char* name, const char* hexValue) {
    return QByteArray(1, char(std::strlen(name))) + name + Hex(hexValue);
}

class FilerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearClassRegistry();
        RegisterClass(TSampleBox::StaticClass());
        GLive = 0;
    }
    void TearDown() override { ClearClassRegistry(); }
};

} // namespace

const TClassInfo& TSample::StaticClass() {
    static const TClassInfo info =
        TClassInfo::Make<TSample, TComponent>("TSample", [](auto& b) { Describe(b); });
    return info;
}
const TClassInfo& TSampleBox::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TSampleBox, TSample>("TSampleBox", [](auto&) {});
    return info;
}

TEST_F(FilerTest, DefaultsAreLeftOutAndIntegersTakeTheSmallestCode) {
    TSample s;
    s.Left = 127;
    s.Top = 128;
    s.Width = -1;
    QByteArray expected = QByteArray("TPF0") + Hex("07") + "TSample" + Hex("00") + Prop("Tag", "");
    expected.chop(4); // Tag is at its default: not written
    expected += Prop("Left", "027F") + Prop("Top", "038000") + Prop("Width", "02FF") + Prop("Border", "08") +
                Hex("0000");
    EXPECT_EQ(Write(s), expected);

    s.Left = 32768;
    s.Top = 200;
    s.Cursor = -21;
    s.Movable = false;
    s.Ratio = 1.5;
    s.Kind = 2;
    s.Styles = 5;
    s.SetTag(-22);
    s.Appendix.SetItems({"a", "b"});
    const QByteArray bytes = Write(s);
    expected = QByteArray("TPF0") + Hex("07") + "TSample" + Hex("00") + Prop("Tag", "02EA") +
               Prop("Left", "0400800000") + Prop("Top", "03C800") + Prop("Width", "02FF") +
               Prop("Cursor", "070B") + "crHandPoint" + Prop("Border", "08") + Prop("Movable", "08") +
               Prop("Ratio", "0500000000000000C0FF3F") + Prop("Kind", "0707") + "kdRound" +
               Prop("Styles", "0B06") + "stBold" + Hex("07") + "stUnder" + Hex("00") +
               Prop("Appendix.Strings", "010601") + "a" + Hex("0601") + "b" + Hex("00") + Hex("0000");
    EXPECT_EQ(bytes, expected);
}

TEST_F(FilerTest, CursorNamesTakeTheFirstMatch) {
    const auto& t = CursorIdents();
    EXPECT_EQ(t->ToIdent(-22), QStringLiteral("crSizeAll"));
    EXPECT_EQ(t->FromIdent(QStringLiteral("crsize")), -22);
    EXPECT_EQ(ColorIdents()->ToIdent(int32_t(0x80000018u)), QStringLiteral("clInfoBk"));
    EXPECT_EQ(ColorIdents()->ToIdent(0x1FFFFFFF), QStringLiteral("clNone"));
    EXPECT_FALSE(ColorIdents()->ToIdent(0x123456).has_value());
}

TEST_F(FilerTest, WriteReadWriteIsByteIdenticalWithChildrenAndReferences) {
    TSampleBox box;
    box.SetName("Box");
    box.Hint = QStringLiteral("名刺の%s $(AppName) ") + QString(300, u'長'); // a long string
    box.Ratio = -2.75e-300;
    box.Blob = QByteArray("\x00\x01\xFF", 3);
    auto* a = new TSample(&box);
    a->SetName("First");
    a->Cursor = 5;
    auto* b = new TSample(&box);
    b->SetName("Second");
    b->Buddy = a;
    box.Buddy = b;
    b->Appendix.SetItems({"行1", ""});
    const QByteArray first = Write(box);
    auto copy = Read(first);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(Write(*copy), first);
    auto* readBox = dynamic_cast<TSampleBox*>(copy.get());
    ASSERT_NE(readBox, nullptr);
    ASSERT_EQ(readBox->ComponentCount(), 2);
    EXPECT_EQ(readBox->Hint, box.Hint);
    EXPECT_EQ(readBox->Blob, box.Blob);
    EXPECT_EQ(readBox->Buddy, readBox->Components(1)); // resolved after the whole stream
    EXPECT_EQ(static_cast<TSample*>(readBox->Components(1))->Buddy, readBox->Components(0));
    EXPECT_EQ(static_cast<TSample*>(readBox->Components(1))->Appendix.Items(), (QStringList{"行1", ""}));
}

TEST_F(FilerTest, ReadingAcceptsOtherEncodings) {
    // Int32 for a small value, an identifier for an integer, single and wide string codes.
    QByteArray bytes = QByteArray("TPF0") + Hex("07") + "TSample" + Hex("00") + Prop("Left", "0405000000") +
                       Prop("Cursor", "070B") + "crHandPoint" + Prop("Ratio", "0F0000C03F") +
                       Prop("Hint", "1202000000") + Hex("0D543A52") + Prop("Buddy", "0705") + "Nobod" +
                       Prop("Movable", "0704") + "True" + Hex("0000");
    auto c = Read(bytes);
    auto* s = static_cast<TSample*>(c.get());
    EXPECT_EQ(s->Left, 5);
    EXPECT_EQ(s->Cursor, -21);
    EXPECT_EQ(s->Ratio, 1.5);
    EXPECT_EQ(s->Hint, QStringLiteral("名刺"));
    EXPECT_EQ(s->Buddy, nullptr); // unresolved references stay empty
    EXPECT_TRUE(s->Movable);
}

TEST_F(FilerTest, BadStreamsRaiseTheExactMessages) {
    const QByteArray head = QByteArray("TPF0") + Hex("07") + "TSample" + Hex("00");
    struct Case {
        QByteArray bytes;
        const char* message;
    } cases[] = {
        {QByteArray("TPF1") + head.mid(4) + Hex("0000"), "不正なストリーム フォーマット"},
        {QByteArray("TPF0") + Hex("04") + "TNoX" + Hex("000000"), "クラス TNoX が見つかりません"},
        {head + Prop("Nope.Left", "0201") + Hex("0000"), "不正なプロパティのパスです"},
        {head + Prop("Left.X", "0201") + Hex("0000"), "不正なプロパティのパスです"},
        {head + Prop("Nothing", "0201") + Hex("0000"), "プロパティが存在しません"},
        {head + Prop("Left", "0601") + "x" + Hex("0000"), "不正なプロパティの値です"},
        {head + Prop("Kind", "0703") + "kdX" + Hex("0000"), "不正なプロパティの値です"},
        {head + Prop("Cursor", "0703") + "crX" + Hex("0000"), "不正なプロパティの値です"},
        {head + Prop("Left", "FF") + Hex("0000"), "不正なストリーム フォーマット"},
        {head + Prop("Hint", "0CFFFFFF7F") + Hex("0000"), "不正なストリーム フォーマット"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadError(c.bytes), QString::fromUtf8(c.message)) << c.bytes.toHex().toStdString();
    EXPECT_EQ(GLive, 0);
}

TEST_F(FilerTest, EveryTruncationIsRefusedAndFreesWhatWasRead) {
    TSampleBox box;
    box.Appendix.SetItems({"x"});
    (new TSample(&box))->Cursor = -21;
    (new TSampleBox(&box))->Blob = "blob";
    const QByteArray full = Write(box);
    const int before = GLive;
    for (qsizetype n = 0; n < full.size(); ++n) {
        EXPECT_EQ(ReadError(full.left(n)), QStringLiteral("不正なストリーム フォーマット")) << n;
        EXPECT_EQ(GLive, before) << n;
    }
    // Nesting deeper than any document is refused, not followed down the stack.
    QByteArray deep("TPF0");
    for (int i = 0; i < 10000; ++i) deep += Hex("0A") + "TSampleBox" + Hex("0000");
    EXPECT_EQ(ReadError(deep), QStringLiteral("不正なストリーム フォーマット"));
    EXPECT_EQ(GLive, before);
}

TEST(Extended, DoublesRoundTripExactly) {
    struct Case {
        double value;
        const char* hex;
    } cases[] = {{1.5, "00000000000000c0ff3f"},
                 {0.0, "00000000000000000000"},
                 {-2.0, "000000000000008000c0"}};
    for (const auto& c : cases)
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(DoubleToExtended(c.value).data()), 10).toHex(),
                  QByteArray(c.hex))
            << c.value;
    std::mt19937_64 rng(42);
    std::vector<double> values{1.0,
                               -0.0,
                               1e-310,
                               4.9406564584124654e-324,
                               1.7976931348623157e308,
                               2.2250738585072014e-308,
                               3.141592653589793,
                               INFINITY,
                               -INFINITY};
    for (int i = 0; i < 20000; ++i) values.push_back(std::bit_cast<double>(rng()));
    for (double v : values) {
        if (std::isnan(v)) continue;
        const auto ext = DoubleToExtended(v);
        EXPECT_EQ(std::bit_cast<uint64_t>(ExtendedToDouble(ext.data())), std::bit_cast<uint64_t>(v)) << v;
    }
    EXPECT_TRUE(std::isnan(ExtendedToDouble(DoubleToExtended(NAN).data())));
}

TEST(Extended, ValuesBeyondDoubleRoundToNearestEven) {
    auto ext = [](uint64_t mantissa, uint16_t signExp) {
        std::array<uint8_t, 10> b{};
        for (int i = 0; i < 8; ++i) b[size_t(i)] = uint8_t(mantissa >> (8 * i));
        b[8] = uint8_t(signExp);
        b[9] = uint8_t(signExp >> 8);
        return ExtendedToDouble(b.data());
    };
    // 1 + 2^-53 (a tie) rounds to 1; 1 + 3*2^-54 rounds up; 2^16000 overflows.
    EXPECT_EQ(ext(0x8000000000000400ull, 0x3FFF), 1.0);
    EXPECT_EQ(ext(0x8000000000000600ull, 0x3FFF), 1.0 + std::ldexp(1.0, -52));
    EXPECT_EQ(ext(0x8000000000000000ull, 0x3FFF + 16000), INFINITY);
    EXPECT_EQ(ext(0x8000000000000000ull, 0x3FFF - 1075), 0.0); // half the least subnormal: even
    EXPECT_EQ(ext(0xC000000000000000ull, 0x3FFF - 1075), std::ldexp(1.0, -1074)); // above half
    EXPECT_EQ(ext(0x4000000000000000ull, 0x3FFF + 1), 1.0);                       // unnormalised mantissa
}

TEST_F(FilerTest, ResourceHeaderWrapsTheStream) {
    TSample s;
    TMemoryStream out;
    WriteComponentRes(out, QStringLiteral("DataInfo"), s);
    const QByteArray bytes = out.Data();
    const QByteArray body = Write(s);
    EXPECT_EQ(bytes.left(18),
              Hex("FF0A00") + "DATAINFO" + Hex("003010") + QByteArray(1, char(body.size())) + Hex("000000"));
    EXPECT_EQ(bytes.mid(18), body);
    TMemoryStream in(bytes);
    std::unique_ptr<TComponent> back(ReadComponentRes(in));
    EXPECT_EQ(back->ClassName(), QStringLiteral("TSample"));

    for (const QByteArray& bad : {Hex("FE0A00") + bytes.mid(3), Hex("FF0B00") + bytes.mid(3), bytes.left(2),
                                  Hex("FF0A00") + QByteArray(300, 'A')}) {
        TMemoryStream b(bad);
        try {
            ReadComponentRes(b);
            ADD_FAILURE() << bad.left(8).toHex().toStdString();
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("不正なストリーム フォーマット"));
        }
    }
}

TEST_F(FilerTest, PropertyNamesLongerThanAValueTypeCodeAreRead) {
    // A nested path's length byte (here 26) is above every value-type code.
    TSample s;
    s.Appendix.Add("x");
    QByteArray bytes = Write(s);
    const QByteArray longName = Prop("Appendix.SomeVeryLongName", "0201");
    const qsizetype end = bytes.size() - 2; // before the property and children end markers
    bytes.insert(end, longName);
    // Read as a name: the error is the missing property, not a broken stream.
    EXPECT_EQ(ReadError(bytes), PropertyDoesNotExistMessage());
}
