#include "base/numbers.h"

#include <QLocale>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace quorvia {

QString blankLed(std::int64_t n) {
    if (n < 0)
        return QString::number(n);
    return QLatin1Char(' ') + QString::number(n);
}

double leadingNumber(QStringView text) {
    // Keep only the characters that matter, dropping blanks, tabs and line feeds.
    std::string s;
    s.reserve(static_cast<std::size_t>(std::min<qsizetype>(text.size(), 4096)));
    for (QChar c : text) {
        if (c == u' ' || c == u'\t' || c == u'\n')
            continue;
        if (c.unicode() > 127)
            break; // no number character beyond ASCII
        s.push_back(static_cast<char>(c.unicode()));
    }

    std::size_t i = 0;
    const std::size_t n = s.size();
    auto isDigit = [&](std::size_t k) {
        return k < n && s[k] >= '0' && s[k] <= '9';
    };

    std::size_t start = 0;
    if (i < n && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t mantissaDigits = 0;
    while (isDigit(i)) {
        ++i;
        ++mantissaDigits;
    }
    if (i < n && s[i] == '.') {
        ++i;
        while (isDigit(i)) {
            ++i;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return 0.0;
    std::size_t end = i;
    // An exponent counts only when at least one digit follows it.
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (isDigit(j)) {
            while (isDigit(j))
                ++j;
            end = j;
        }
    }

    std::string number = s.substr(start, end - start);
    if (!number.empty() && number.front() == '+')
        number.erase(0, 1);
    // strtod handles "5.", ".5" and out-of-range values (giving +/-HUGE_VAL) the way we want.
    return cStrtod(number.c_str());
}

double roundHalfEven(double value) {
    // nearbyint rounds in the current rounding mode, which is round-to-nearest-even by default.
    return std::nearbyint(value);
}

double roundHalfEven2(double value) {
    return std::nearbyint(value * 100.0) / 100.0;
}

namespace {

template <typename T> QString shortestText(T value) {
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-Infinity") : QStringLiteral("Infinity");
    if (value == 0)
        value = 0; // no "-0"
    std::array<char, 1100> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed);
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

QString withLocaleSeparator(QString text) {
    const QString point = QLocale().decimalPoint();
    if (point != QLatin1String("."))
        text.replace(QLatin1Char('.'), point);
    return text;
}

} // namespace

QString shortestDecimal(double value) {
    return shortestText(value);
}

QString shortestDecimal(float value) {
    return shortestText(value);
}

QString localeDecimal(double value) {
    return withLocaleSeparator(shortestText(value));
}

QString localeDecimal(float value) {
    return withLocaleSeparator(shortestText(value));
}

std::optional<double> decimalOfAnyLocale(QStringView text) {
    // Every decimal separator a locale has, gathered once from Qt's locale data.
    static const QString separators = [] {
        QString found = QStringLiteral(".,");
        for (const QLocale& locale : QLocale::matchingLocales(
                 QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
            const QString point = locale.decimalPoint();
            if (point.size() == 1 && !point.at(0).isDigit() && !found.contains(point))
                found += point;
        }
        return found;
    }();
    QString number;
    number.reserve(text.size());
    for (const char32_t c : text.trimmed().toUcs4()) {
        if (QChar::isDigit(c))
            number += QChar(u'0' + QChar::digitValue(c));
        else if (c <= 0xFFFF && separators.contains(QChar(static_cast<char16_t>(c))))
            number += u'.';
        else
            number += QChar::fromUcs4(c);
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(number, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double cStrtod(const char* text) {
    static const locale_t c = ::newlocale(LC_NUMERIC_MASK, "C", nullptr);
    return c ? ::strtod_l(text, nullptr, c) : std::strtod(text, nullptr);
}

} // namespace quorvia
