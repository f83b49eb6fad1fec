#pragma once
// printf-like formatting with the directives the program's messages use:
// %s %d %u %x %g %f %e %n %%, with optional index ("%1:s"), "-", width and
// precision ("%.3d", "%.8x"). Hexadecimal is upper case; numbers never depend
// on the locale. A directive that does not fit its argument raises EConvertError.

#include <QString>

#include <cstdint>
#include <initializer_list>
#include <type_traits>
#include <variant>
#include <vector>

namespace vellum {

class FormatArg {
public:
    template <class T, std::enable_if_t<std::is_integral_v<T>, int> = 0>
    FormatArg(T v) : FValue(int64_t(v)) {}
    FormatArg(double v) : FValue(v) {}
    FormatArg(float v) : FValue(double(v)) {}
    FormatArg(const QString& v) : FValue(v) {}
    FormatArg(const char* v) : FValue(QString::fromUtf8(v)) {}
    FormatArg(QChar v) : FValue(QString(v)) {}

    const std::variant<int64_t, double, QString>& Value() const { return FValue; }

private:
    std::variant<int64_t, double, QString> FValue;
};

QString FormatV(const QString& format, const std::vector<FormatArg>& args);

template <class... A>
QString Format(const QString& format, const A&... args) {
    return FormatV(format, std::vector<FormatArg>{FormatArg(args)...});
}

// Shortest decimal text of a float with 15 significant digits, as %g writes it.
QString FloatToStr(double value);

} // namespace vellum
