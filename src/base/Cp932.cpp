#include "base/Cp932.h"

#include "base/Exceptions.h"
#include "base/Format.h"

#include <cerrno>
#include <iconv.h>
#include <mutex>

namespace vellum::cp932 {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// One converter per direction and thread; iconv descriptors are not shareable.
class Converter {
public:
    Converter(const char* to, const char* from) : FHandle(iconv_open(to, from)) {
        if (FHandle == reinterpret_cast<iconv_t>(-1))
            throw EConvertError(
                QStringLiteral("文字コード変換 %1 を開けません").arg(QString::fromLatin1(from)));
    }
    ~Converter() { iconv_close(FHandle); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    iconv_t Handle() {
        iconv(FHandle, nullptr, nullptr, nullptr, nullptr); // reset shift state
        return FHandle;
    }

private:
    iconv_t FHandle;
};

Converter& Decoder() {
    thread_local Converter c("UTF-16LE", "CP932");
    return c;
}
Converter& EncoderConv() {
    thread_local Converter c("CP932", "UTF-16LE");
    return c;
}

bool IsEscape(char16_t u) { return u >= kEscapeBase && u <= kEscapeBase + 0xFF; }

// Encodes one run of characters without escapes; returns false at the first
// character cp932 lacks, with failedAt set to its index within the run.
bool EncodeRun(const char16_t* data, qsizetype count, QByteArray& out, qsizetype& failedAt) {
    if (count == 0) return true;
    iconv_t cd = EncoderConv().Handle();
    char* in = const_cast<char*>(reinterpret_cast<const char*>(data));
    size_t inLeft = size_t(count) * 2;
    const size_t inTotal = inLeft;
    char buf[1024];
    while (inLeft > 0) {
        char* o = buf;
        size_t outLeft = sizeof buf;
        size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
        out.append(buf, qsizetype(o - buf));
        // Irreversible conversions (r > 0) are the code page's own mappings of
        // variant forms such as U+301C WAVE DASH to 0x8160: accepted.
        if (r == size_t(-1)) {
            if (errno == E2BIG) continue;
            failedAt = qsizetype((inTotal - inLeft) / 2);
            return false;
        }
    }
    return true;
}

// Walks text, encoding runs between escapes; returns -1 or the index that failed.
qsizetype EncodeInto(const QString& text, QByteArray* out) {
    QByteArray sink;
    QByteArray& dst = out ? *out : sink;
    dst.reserve(text.size() * 2);
    const char16_t* p = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype n = text.size();
    qsizetype runStart = 0;
    auto flush = [&](qsizetype end) -> qsizetype {
        qsizetype failedAt = 0;
        if (!EncodeRun(p + runStart, end - runStart, dst, failedAt)) return runStart + failedAt;
        return -1;
    };
    for (qsizetype i = 0; i < n; ++i) {
        if (IsEscape(p[i])) {
            if (qsizetype f = flush(i); f >= 0) return f;
            dst.append(char(p[i] - kEscapeBase));
            runStart = i + 1;
        }
    }
    return flush(n);
}

// iconv reports lossy conversions per call, not per character: narrow down.
qsizetype LocateFailure(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        qsizetype len = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        if (EncodeInto(text.mid(i, len), nullptr) >= 0) return i;
        i += len - 1;
    }
    return -1;
}

} // namespace

QString Decode(QByteArrayView bytes) {
    QString out;
    out.reserve(bytes.size());
    iconv_t cd = Decoder().Handle();
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = size_t(bytes.size());
    char16_t buf[512];
    while (inLeft > 0) {
        char* o = reinterpret_cast<char*>(buf);
        size_t outLeft = sizeof buf;
        size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
        out.append(reinterpret_cast<const QChar*>(buf), qsizetype((reinterpret_cast<char16_t*>(o) - buf)));
        if (r == size_t(-1) && errno != E2BIG) {
            // EILSEQ or a truncated sequence: keep the byte as an escape and go on.
            // A lead byte takes its trail byte with it, so that re-encoding the
            // next character can never pair up with the escaped lead byte.
            const auto lead = static_cast<unsigned char>(*in);
            int take = 1;
            if (IsLeadByte(lead) && inLeft >= 2) {
                const auto trail = static_cast<unsigned char>(in[1]);
                if ((trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC)) take = 2;
            }
            for (int k = 0; k < take; ++k)
                out.append(QChar(char16_t(kEscapeBase + static_cast<unsigned char>(in[k]))));
            in += take;
            inLeft -= size_t(take);
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

std::optional<QByteArray> TryEncode(const QString& text) {
    QByteArray out;
    if (EncodeInto(text, &out) >= 0) return std::nullopt;
    return out;
}

int FirstUnencodable(const QString& text) {
    if (EncodeInto(text, nullptr) < 0) return -1;
    return int(LocateFailure(text));
}

QByteArray Encode(const QString& text) {
    QByteArray out;
    if (EncodeInto(text, &out) < 0) return out;
    qsizetype at = LocateFailure(text);
    QString ch = at >= 0 ? text.mid(at, text[at].isHighSurrogate() ? 2 : 1) : QString();
    throw EEncodingError(
        Format(QStringLiteral("「%s」はこの文字コードで表せない文字です (%d文字目)"), ch, int(at + 1)));
}

bool IsDoubleByte(QChar c) {
    if (c.unicode() < 0x80) return false;
    if (IsEscape(c.unicode())) return false;
    auto bytes = TryEncode(QString(c));
    return bytes && bytes->size() == 2;
}

int ByteLength(const QString& text) {
    if (auto bytes = TryEncode(text)) return int(bytes->size());
    int total = 0;
    for (QChar c : text) total += IsDoubleByte(c) ? 2 : 1;
    return total;
}

} // namespace vellum::cp932
