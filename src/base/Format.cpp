#include "base/Format.h"

#include "base/Exceptions.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

namespace vellum {
namespace {

[[noreturn]] void InvalidFormat(const QString& format) {
    throw EConvertError(QStringLiteral("書式 '%1' が無効か、または引数と互換性がありません").arg(format));
}

// printf's "%.*e" / "%.*f", but always with a decimal point: snprintf follows
// LC_NUMERIC, which QCoreApplication sets from the user's environment.
QString PrintDouble(double v, std::chars_format format, int precision) {
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, format, precision);
    return r.ec == std::errc() ? QString::fromLatin1(buf, qsizetype(r.ptr - buf)) : QString();
}

QString PadDigits(QString digits, int precision) {
    bool negative = digits.startsWith(u'-');
    if (negative) digits.remove(0, 1);
    if (precision > digits.size()) digits = QString(precision - digits.size(), u'0') + digits;
    return negative ? u'-' + digits : digits;
}

// Scientific notation as the platform writes it: mantissa, "E", sign, digits.
QString Scientific(double v, int significant, bool forceSign, int minExpDigits) {
    QString s = PrintDouble(v, std::chars_format::scientific, significant - 1);
    int e = s.indexOf(u'e');
    QString mantissa = s.left(e);
    int exponent = s.mid(e + 1).toInt();
    return mantissa + u'E' +
           (exponent < 0 ? QStringLiteral("-") : (forceSign ? QStringLiteral("+") : QString())) +
           PadDigits(QString::number(std::abs(exponent)), minExpDigits);
}

QString StripTrailingZeros(QString s) {
    if (s.contains(u'.')) {
        while (s.endsWith(u'0')) s.chop(1);
        if (s.endsWith(u'.')) s.chop(1);
    }
    return s;
}

QString General(double v, int precision) {
    if (precision <= 0 || precision > 18) precision = 15;
    if (std::isnan(v)) return QStringLiteral("NAN");
    if (std::isinf(v)) return v > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (v == 0) return QStringLiteral("0");
    // Round to the significant digits first, then decide between fixed and scientific.
    const QString rounded = PrintDouble(v, std::chars_format::scientific, precision - 1);
    const int exponent = rounded.mid(rounded.indexOf(u'e') + 1).toInt();
    if (exponent >= precision || std::fabs(v) < 0.00001) {
        QString sci = Scientific(v, precision, false, 1);
        int e = sci.indexOf(u'E');
        return StripTrailingZeros(sci.left(e)) + sci.mid(e);
    }
    const int decimals = std::max(0, precision - 1 - exponent);
    return StripTrailingZeros(PrintDouble(v, std::chars_format::fixed, decimals));
}

QString Fixed(double v, int precision, bool thousands) {
    if (precision < 0) precision = 2;
    QString s = PrintDouble(v, std::chars_format::fixed, std::min(precision, 18));
    if (thousands) {
        int start = s.startsWith(u'-') ? 1 : 0;
        int dot = s.indexOf(u'.');
        if (dot < 0) dot = s.size();
        for (int i = dot - 3; i > start; i -= 3) s.insert(i, u',');
    }
    return s;
}

} // namespace

QString FloatToStr(double value) { return General(value, 15); }

QString FormatV(const QString& format, const std::vector<FormatArg>& args) {
    QString out;
    out.reserve(format.size() + 16);
    size_t next = 0;
    const int n = format.size();
    for (int i = 0; i < n; ++i) {
        QChar c = format[i];
        if (c != u'%') {
            out += c;
            continue;
        }
        const int start = i;
        if (++i >= n) InvalidFormat(format);
        if (format[i] == u'%') {
            out += u'%';
            continue;
        }
        auto readNumber = [&](int& value) -> bool {
            if (i < n && format[i] == u'*') {
                if (next >= args.size() || !std::holds_alternative<int64_t>(args[next].Value()))
                    InvalidFormat(format);
                value = int(std::get<int64_t>(args[next++].Value()));
                ++i;
                return true;
            }
            bool any = false;
            value = 0;
            while (i < n && format[i].isDigit() && format[i].unicode() < 128) {
                value = value * 10 + (format[i].unicode() - '0');
                if (value > 100000) InvalidFormat(format);
                ++i;
                any = true;
            }
            return any;
        };
        int number = 0;
        bool haveNumber = readNumber(number);
        if (haveNumber && i < n && format[i] == u':') {
            next = size_t(number);
            ++i;
            haveNumber = false;
        }
        bool leftJustify = false;
        if (!haveNumber && i < n && format[i] == u'-') {
            leftJustify = true;
            ++i;
        }
        int width = 0;
        if (haveNumber)
            width = number;
        else
            readNumber(width);
        int precision = -1;
        if (i < n && format[i] == u'.') {
            ++i;
            if (!readNumber(precision)) precision = 0;
        }
        if (i >= n) InvalidFormat(format);
        const QChar type = format[i].toLower();
        if (next >= args.size()) InvalidFormat(format.mid(start, i - start + 1));
        const auto& value = args[next++].Value();
        QString text;
        switch (type.unicode()) {
        case 'd':
        case 'u': {
            if (!std::holds_alternative<int64_t>(value)) InvalidFormat(format);
            int64_t v = std::get<int64_t>(value);
            if (type == u'u' && v < 0 && v >= INT32_MIN) v = int64_t(uint32_t(int32_t(v)));
            text = PadDigits(QString::number(v), precision);
            break;
        }
        case 'x': {
            if (!std::holds_alternative<int64_t>(value)) InvalidFormat(format);
            int64_t v = std::get<int64_t>(value);
            quint64 u = (v < 0 && v >= INT32_MIN) ? quint64(uint32_t(int32_t(v))) : quint64(v);
            text = PadDigits(QString::number(u, 16).toUpper(), precision);
            break;
        }
        case 's':
            if (!std::holds_alternative<QString>(value)) InvalidFormat(format);
            text = std::get<QString>(value);
            if (precision >= 0 && precision < text.size()) text.truncate(precision);
            break;
        case 'g':
        case 'f':
        case 'e':
        case 'n': {
            double v;
            if (std::holds_alternative<double>(value))
                v = std::get<double>(value);
            else
                InvalidFormat(format);
            if (type == u'g')
                text = General(v, precision);
            else if (type == u'e')
                text = Scientific(v, precision <= 0 ? 15 : std::min(precision, 18), true, 3);
            else
                text = Fixed(v, precision, type == u'n');
            break;
        }
        default:
            InvalidFormat(format);
        }
        if (text.size() < width) {
            QString pad(width - text.size(), u' ');
            text = leftJustify ? text + pad : pad + text;
        }
        out += text;
    }
    return out;
}

} // namespace vellum
