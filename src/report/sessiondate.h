#pragma once

#include <QDate>
#include <QString>

#include <vector>

// The session date as the program writes it: today's date in the observer's short date format,
// whatever the locale. Read back the same way whatever the reader's locale.
namespace quorvia {

// Every date the text reads as under the short date format of some locale, earliest first
// (digits of any script; two-digit years in 2000 to 2099). Empty when it reads as no date.
std::vector<QDate> sessionDateReadings(const QString& text);

// Whether two session dates can name the same day: equal texts, or a reading in common.
bool sameSessionDate(const QString& first, const QString& second);

// The date used to order sessions: the earliest reading, or none.
QDate sessionDateValue(const QString& text);

} // namespace quorvia
