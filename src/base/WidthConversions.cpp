#include "base/WidthConversions.h"

#include "base/Cp932.h"

#include <QHash>

namespace vellum {
namespace {

// Pairs of strings whose characters correspond by position.
const QString kHalfSymbols = QStringLiteral("!\"#$%&'()*+,-./:;<=>?@_^[\\]`{|}~｡｢｣､･ｰﾞﾟ");
const QString kFullSymbols =
    QStringLiteral("！”＃＄％＆’（）×＋，－．／：；＜＝＞？＠＿＾［￥］｀｛｜｝″。「」、・ー゛゜");
const QString kHalfDigits = QStringLiteral("0123456789");
const QString kFullDigits = QStringLiteral("０１２３４５６７８９");
const QString kKanjiDigits = QStringLiteral("〇一二三四五六七八九");
const QString kHalfLetters = QStringLiteral("AaBbCcDdEeFfGgHhIiJjKkLlMmNnOoPpQqRrSsTtUuVvWwXxYyZz");
const QString kFullLetters = QStringLiteral("ＡａＢｂＣｃＤｄＥｅＦｆＧｇＨｈＩｉＪｊＫｋＬｌＭｍＮｎＯｏＰｐ"
                                            "ＱｑＲｒＳｓＴｔＵｕＶｖＷｗＸｘＹｙＺｚ");
const QString kHalfKana1 = QStringLiteral("ｱｧｲｨｳｩｴｪｵｫｶｶｷｸｹｹｺｻｼｽｾｿﾀﾁﾂｯﾃﾄﾅﾆﾇﾈﾉ");
const QString kKatakana1 =
    QStringLiteral("アァイィウゥエェオォカヵキクケヶコサシスセソタチツッテトナニヌネノ");
const QString kHiragana1 =
    QStringLiteral("あぁいぃうぅえぇおぉかかきくけけこさしすせそたちつってとなにぬねの");
const QString kHalfKana2 = QStringLiteral("ﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔｬｬﾕｭｭﾖｮﾗﾘﾙﾚﾛﾜﾜｦﾝ");
const QString kKatakana2 = QStringLiteral("ハヒフヘホマミムメモヤャヰユュヱヨョラリルレロワヮヲン");
const QString kHiragana2 = QStringLiteral("はひふへほまみむめもやゃゐゆゅゑよょらりるれろわゎをん");
// Two half-width characters per voiced kana.
const QString kHalfVoiced = QStringLiteral("ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾌﾞﾍﾞﾎﾞﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ");
const QString kKatakanaVoiced = QStringLiteral("ガギグゲゴザジズゼゾダヂヅデドバビブヴベボパピプペポ");
const QString kHiraganaVoiced = QStringLiteral("がぎぐげござじずぜぞだぢづでどばびぶぶべぼぱぴぷぺぽ");

const QChar kVoicedMark = QChar(0xFF9E);     // ﾞ
const QChar kSemiVoicedMark = QChar(0xFF9F); // ﾟ

// Maps each character of `from` to the one at the same position of `to`,
// keeping the first occurrence of a repeated source character.
void AddPairs(QHash<QChar, QString>& map, const QString& from, const QString& to) {
    Q_ASSERT(from.size() == to.size());
    for (qsizetype i = 0; i < from.size() && i < to.size(); ++i)
        if (!map.contains(from[i])) map.insert(from[i], QString(to[i]));
}

struct TTables {
    QHash<QChar, QString> HalfToFull;
    QHash<QString, QChar> VoicedToFull;
    QHash<QChar, QString> FullToHalf;
    QHash<QChar, QString> HiraToKata;

    TTables() {
        AddPairs(HalfToFull, kHalfSymbols, kFullSymbols);
        AddPairs(HalfToFull, kHalfDigits, kFullDigits);
        AddPairs(HalfToFull, kHalfLetters, kFullLetters);
        AddPairs(HalfToFull, kHalfKana1, kKatakana1);
        AddPairs(HalfToFull, kHalfKana2, kKatakana2);
        for (qsizetype i = 0; i < kKatakanaVoiced.size(); ++i) {
            const QString pair = kHalfVoiced.mid(2 * i, 2);
            if (!VoicedToFull.contains(pair)) VoicedToFull.insert(pair, kKatakanaVoiced[i]);
        }

        AddPairs(FullToHalf, kFullSymbols, kHalfSymbols);
        AddPairs(FullToHalf, kFullDigits, kHalfDigits);
        AddPairs(FullToHalf, kFullLetters, kHalfLetters);
        for (const QString* voiced : {&kHiraganaVoiced, &kKatakanaVoiced})
            for (qsizetype i = 0; i < voiced->size(); ++i)
                if (!FullToHalf.contains((*voiced)[i]))
                    FullToHalf.insert((*voiced)[i], kHalfVoiced.mid(2 * i, 2));
        // ヴ stands where the table repeats ﾌﾞ; its half-width form is ｳﾞ.
        FullToHalf.insert(QChar(0x30F4), QStringLiteral("ｳﾞ"));
        AddPairs(FullToHalf, kHiragana1, kHalfKana1);
        AddPairs(FullToHalf, kHiragana2, kHalfKana2);
        AddPairs(FullToHalf, kKatakana1, kHalfKana1);
        AddPairs(FullToHalf, kKatakana2, kHalfKana2);

        AddPairs(HiraToKata, kHiraganaVoiced, kKatakanaVoiced);
        AddPairs(HiraToKata, kHiragana1, kKatakana1);
        AddPairs(HiraToKata, kHiragana2, kKatakana2);
    }
};

const TTables& Tables() {
    static const TTables tables;
    return tables;
}

QString MapEach(const QString& s, const QHash<QChar, QString>& map) {
    QString out;
    out.reserve(s.size());
    for (QChar c : s) {
        const auto it = map.constFind(c);
        if (it != map.constEnd() && cp932::IsDoubleByte(c))
            out += *it;
        else
            out += c;
    }
    return out;
}

} // namespace

QString HalfToFullWidth(const QString& s, QChar except) {
    const TTables& t = Tables();
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if ((!except.isNull() && c == except) || cp932::IsDoubleByte(c)) {
            out += c;
            continue;
        }
        if (i + 1 < s.size() && (s[i + 1] == kVoicedMark || s[i + 1] == kSemiVoicedMark)) {
            const QString pair = s.mid(i, 2);
            if (pair == QStringLiteral("ｳﾞ")) {
                out += QChar(0x30F4);
                ++i;
                continue;
            }
            const auto voiced = t.VoicedToFull.constFind(pair);
            if (voiced != t.VoicedToFull.constEnd()) {
                out += *voiced;
                ++i;
                continue;
            }
            // A mark the kana cannot take: the kana converts on its own, the
            // mark follows as the next character.
        }
        const auto it = t.HalfToFull.constFind(c);
        out += it != t.HalfToFull.constEnd() ? *it : QString(c);
    }
    return out;
}

QString FullToHalfWidth(const QString& s) { return MapEach(s, Tables().FullToHalf); }

QString HiraganaToKatakana(const QString& s) { return MapEach(s, Tables().HiraToKata); }

QString DigitsToKanji(const QString& s) {
    QString out = s;
    for (QChar& c : out) {
        const qsizetype i = kFullDigits.indexOf(c);
        if (i >= 0) c = kKanjiDigits[i];
    }
    return out;
}

QString TrimBlanks(const QString& s) {
    qsizetype first = 0, last = s.size();
    while (first < last && s[first] == u' ') ++first;
    while (last > first && s[last - 1] == u' ') --last;
    return s.mid(first, last - first);
}

} // namespace vellum
