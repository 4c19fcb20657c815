#include "report/sessiondate.h"

#include <QLocale>

#include <algorithm>
#include <set>

namespace quorvia {

namespace {

// One locale per distinct way of writing a short date: its format and, for formats with month
// names, the names themselves.
const std::vector<QLocale>& dateWriters() {
    static const std::vector<QLocale> writers = [] {
        std::vector<QLocale> result;
        std::set<QString> seen;
        const QList<QLocale> all = QLocale::matchingLocales(
            QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
        for (const QLocale& locale : all) {
            QString way = locale.dateFormat(QLocale::ShortFormat);
            if (way.contains(QLatin1String("MMM")))
                way += locale.monthName(5, QLocale::ShortFormat) +
                       locale.monthName(5, QLocale::LongFormat);
            if (seen.insert(way).second)
                result.push_back(locale);
        }
        return result;
    }();
    return writers;
}

// Digits of any script as 0 to 9, so that one format reads them all.
QString asciiDigits(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        const int digit = c.digitValue();
        result += digit >= 0 && c.category() == QChar::Number_DecimalDigit
                      ? QChar(u'0' + static_cast<char16_t>(digit))
                      : c;
    }
    return result;
}

} // namespace

std::vector<QDate> sessionDateReadings(const QString& text) {
    const QString trimmed = text.trimmed();
    const QString ascii = asciiDigits(trimmed);
    std::vector<QDate> dates;
    if (trimmed.isEmpty())
        return dates;
    const QLocale c = QLocale::c();
    for (const QLocale& locale : dateWriters()) {
        const QString format = locale.dateFormat(QLocale::ShortFormat);
        const bool names = format.contains(QLatin1String("MMM"));
        QDate date = names ? locale.toDate(trimmed, format) : c.toDate(ascii, format);
        if (!date.isValid())
            continue;
        if (!format.contains(QLatin1String("yyyy")))
            date = date.addYears(100); // "yy" reads as 19yy
        dates.push_back(date);
    }
    std::sort(dates.begin(), dates.end());
    dates.erase(std::unique(dates.begin(), dates.end()), dates.end());
    return dates;
}

bool sameSessionDate(const QString& first, const QString& second) {
    if (first.trimmed() == second.trimmed())
        return true;
    const std::vector<QDate> a = sessionDateReadings(first);
    const std::vector<QDate> b = sessionDateReadings(second);
    return std::find_first_of(a.begin(), a.end(), b.begin(), b.end()) != a.end();
}

QDate sessionDateValue(const QString& text) {
    const std::vector<QDate> dates = sessionDateReadings(text);
    return dates.empty() ? QDate() : dates.front();
}

} // namespace quorvia
