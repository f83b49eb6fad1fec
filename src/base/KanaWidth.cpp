#include "base/KanaWidth.h"

#include <QHash>

namespace vellum {
namespace {

// Half-width sources and full-width results, row by row.
const char16_t* const kSingleRows[][2] = {
    {u"!\"#$%&'()*+,-./:;<=>?@_^[\\]`{|}~｡｢｣､･ｰﾞﾟ",
     u"！”＃＄％＆’（）×＋，－．／：；＜＝＞？＠＿＾［￥］｀｛｜｝″。「」、・ー゛゜"},
    {u"0123456789", u"０１２３４５６７８９"},
    {u"AaBbCcDdEeFfGgHhIiJjKkLlMmNnOoPpQqRrSsTtUuVvWwXxYyZz",
     u"ＡａＢｂＣｃＤｄＥｅＦｆＧｇＨｈＩｉＪｊＫｋＬｌＭｍＮｎＯｏＰｐＱｑＲｒＳｓＴｔＵｕＶｖＷｗＸｘＹｙＺ"
     u"ｚ"},
    {u"ｱｧｲｨｳｩｴｪｵｫｶｶｷｸｹｹｺｻｼｽｾｿﾀﾁﾂｯﾃﾄﾅﾆﾇﾈﾉ",
     u"アァイィウゥエェオォカヵキクケヶコサシスセソタチツッテトナニヌネノ"},
    {u"ﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔｬｬﾕｭｭﾖｮﾗﾘﾙﾚﾛﾜﾜｦﾝ", u"ハヒフヘホマミムメモヤャヰユュヱヨョラリルレロワヮヲン"},
};
const char16_t kPairSource[] = u"ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾌﾞﾍﾞﾎﾞﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ";
const char16_t kPairResult[] = u"ガギグゲゴザジズゼゾダヂヅデドバビブヴベボパピプペポ";

const char16_t* const kHiraganaRows[][2] = {
    {u"がぎぐげござじずぜぞだぢづでどばびぶぶべぼぱぴぷぺぽ",
     u"ガギグゲゴザジズゼゾダヂヅデドバビブヴベボパピプペポ"},
    {u"あぁいぃうぅえぇおぉかかきくけけこさしすせそたちつってとなにぬねの",
     u"アァイィウゥエェオォカヵキクケヶコサシスセソタチツッテトナニヌネノ"},
    {u"はひふへほまみむめもやゃゐゆゅゑよょらりるれろわゎをん",
     u"ハヒフヘホマミムメモヤャヰユュヱヨョラリルレロワヮヲン"},
};

constexpr char16_t kVoiced = u'ﾞ';
constexpr char16_t kSemiVoiced = u'ﾟ';

// First occurrence wins, as the tables are read left to right.
void AddRow(QHash<QString, QChar>& map, QStringView from, QStringView to, int step) {
    for (qsizetype i = 0; i * step < from.size() && i < to.size(); ++i) {
        const QString key = from.mid(i * step, step).toString();
        if (!map.contains(key)) map.insert(key, to[i]);
    }
}

const QHash<QString, QChar>& FullWidthTable() {
    static const QHash<QString, QChar> table = [] {
        QHash<QString, QChar> map;
        for (const auto& row : kSingleRows) AddRow(map, row[0], row[1], 1);
        AddRow(map, kPairSource, kPairResult, 2);
        return map;
    }();
    return table;
}

const QHash<QChar, QChar>& KatakanaTable() {
    static const QHash<QChar, QChar> table = [] {
        QHash<QChar, QChar> map;
        for (const auto& row : kHiraganaRows) {
            const QStringView from(row[0]), to(row[1]);
            for (qsizetype i = 0; i < from.size() && i < to.size(); ++i)
                if (!map.contains(from[i])) map.insert(from[i], to[i]);
        }
        return map;
    }();
    return table;
}

// The characters the code page stores in one byte.
bool IsSingleByte(QChar c) { return c.unicode() < 0x80 || (c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F); }

} // namespace

QString HalfToFullWidth(const QString& s, QStringView except) {
    const QHash<QString, QChar>& table = FullWidthTable();
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (!IsSingleByte(c) || (except.size() == 1 && c == except[0])) {
            out += c;
            continue;
        }
        if (i + 1 < s.size() && (s[i + 1] == kVoiced || s[i + 1] == kSemiVoiced)) {
            const QString pair = s.mid(i, 2);
            if (pair == QStringView(u"ｳﾞ")) {
                out += u'ヴ';
                ++i;
                continue;
            }
            const auto found = table.constFind(pair);
            if (found != table.constEnd()) {
                out += *found;
                ++i;
                continue;
            }
            // A mark after a character that takes none is converted on its own next.
        }
        const auto found = table.constFind(QString(c));
        out += found != table.constEnd() ? *found : c;
    }
    return out;
}

QString HiraganaToKatakana(const QString& s) {
    const QHash<QChar, QChar>& table = KatakanaTable();
    QString out = s;
    for (QChar& c : out) {
        const auto found = table.constFind(c);
        if (found != table.constEnd()) c = *found;
    }
    return out;
}

} // namespace vellum
