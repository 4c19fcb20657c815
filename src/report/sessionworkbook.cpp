#include "report/sessionworkbook.h"

#include "base/numbers.h"
#include "report/sheetlayout.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <functional>

namespace quorvia {

namespace {

constexpr int kMaxSlots = 10;

// What went wrong, as the sentence the caller shows.
struct Refusal {
    QString reason;
};

QString cellName(int row, int column) {
    return columnLetters(column) + QString::number(row);
}

// The text of a cell as a spreadsheet shows it: a text as it is, a number in its shortest form.
QString shownText(const CellValue* value) {
    if (!value)
        return {};
    if (const auto* text = std::get_if<QString>(value))
        return *text;
    return QLocale::c().toString(std::get<double>(*value), 'g', 17);
}

// The number in a cell, stored as a number or as a text; none for an empty cell.
template <typename What>
std::optional<double> numberAt(const Worksheet& cells, int row, int column, const What& what) {
    const CellValue* value = cells.at(row, column);
    if (!value)
        return std::nullopt;
    if (const auto* number = std::get_if<double>(value)) {
        if (!std::isfinite(*number))
            throw Refusal{QStringLiteral("cell %1 (%2) holds no usable number")
                              .arg(cellName(row, column), what())};
        return *number;
    }
    const QString& text = std::get<QString>(*value);
    if (text.isEmpty())
        return std::nullopt;
    if (const auto number = decimalOfAnyLocale(text))
        return number;
    throw Refusal{QStringLiteral("cell %1 (%2) holds \u201C%3\u201D, which is not a number")
                      .arg(cellName(row, column), what(), text.left(40))};
}

// A percentage text such as "66.67%"; none for an empty cell.
std::optional<double> percentAt(const Worksheet& cells, int row, int column,
                                const std::function<QString()>& what) {
    const CellValue* value = cells.at(row, column);
    if (const auto* text = value ? std::get_if<QString>(value) : nullptr) {
        if (text->endsWith(QLatin1Char('%'))) {
            if (const auto number = decimalOfAnyLocale(text->chopped(1)))
                return number;
        }
    }
    return numberAt(cells, row, column, what);
}

// The rest of a header line after its label, which must be there exactly as the program writes it.
QString headerField(const Worksheet& cells, HeaderField field) {
    const int row = headerRow(field);
    const QString& label = headerLine(field).label;
    const QString& what = headerLine(field).what;
    const QString line = shownText(cells.at(row, kColumnA));
    if (!line.startsWith(label))
        throw Refusal{
            QStringLiteral("cell %1 does not hold the %2, so this is not a session workbook "
                           "written by this program")
                .arg(cellName(row, kColumnA), what)};
    return line.mid(label.size());
}

double headerNumber(const Worksheet& cells, HeaderField field) {
    const int row = headerRow(field);
    const QString& what = headerLine(field).what;
    const QString text = headerField(cells, field);
    const auto number = decimalOfAnyLocale(text);
    if (!number)
        throw Refusal{
            QStringLiteral("cell %1 gives the %2 as \u201C%3\u201D, which is not a number")
                .arg(cellName(row, kColumnA), what, text.left(40))};
    return *number;
}

QStringList codePoints(const QString& text) {
    QStringList points;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        points << text.mid(i, pair ? 2 : 1);
        if (pair)
            ++i;
    }
    return points;
}

// The number of recorded intervals: from the end line of a session that did not run to its end,
// else from the interval numbers in column D (which stop at the last recorded interval).
std::int64_t recordedIntervals(const Worksheet& cells, const QString& endLine) {
    if (!isFinishedLine(endLine)) {
        const int current = intervalOfEndLine(endLine);
        if (current < 1)
            throw Refusal{QStringLiteral("cell %1 tells neither that the session finished nor "
                                         "in which interval it ended")
                              .arg(cellName(kEndRow, kColumnA))};
        return current;
    }
    std::int64_t count = 0;
    while (const CellValue* value =
               cells.at(kFirstIntervalRow + static_cast<int>(count), kIntervalNumberColumn)) {
        const auto* number = std::get_if<double>(value);
        if ((number ? *number : decimalOfAnyLocale(shownText(value)).value_or(0)) !=
            static_cast<double>(count + 1))
            break;
        ++count;
    }
    if (count == 0)
        throw Refusal{QStringLiteral("cell %1 does not hold the number of the first interval")
                          .arg(cellName(kFirstIntervalRow, kIntervalNumberColumn))};
    return count;
}

// The mode check value a slot's mode text was written from: 1 for "On/Off", 0 for "Hits", 2 (a
// greyed box) for none.
int modeCheckValue(const QString& mode) {
    return mode == kOnOffMode ? 1 : mode == kHitsMode ? 0 : 2;
}

WorkbookSlot readSlot(const Worksheet& cells, int slot, const QString& key,
                      std::int64_t intervals) {
    const int column = kFirstSlotColumn + slot - 1;
    WorkbookSlot result;
    result.key = shownText(cells.at(kKeyRow, column));
    const auto place = [&] {
        return QStringLiteral("key %1").arg(key);
    };
    if (result.key != key)
        throw Refusal{QStringLiteral("cell %1 holds \u201C%2\u201D where the keys to hit give "
                                     "\u201C%3\u201D as key %4")
                          .arg(cellName(kKeyRow, column), result.key.left(40), key)
                          .arg(slot)};
    result.behaviour = shownText(cells.at(kBehaviourRow, column));
    result.mode = shownText(cells.at(kModeRow, column));
    const bool onOff = result.mode == kOnOffMode;
    const bool hits = result.mode == kHitsMode;
    if (!onOff && !hits && !result.mode.isEmpty())
        throw Refusal{QStringLiteral("cell %1 gives the mode of key %2 as \u201C%3\u201D, neither "
                                     "\u201COn/Off\u201D nor \u201CHits\u201D")
                          .arg(cellName(kModeRow, column), key, result.mode.left(40))};
    result.fullPercent = percentAt(cells, kFullPercentRow, column, place);
    result.partialPercent = percentAt(cells, kPartialPercentRow, column, place);
    result.responsesPerMinute = numberAt(cells, kResponsesPerMinuteRow, column, place);
    result.intervalPercent = percentAt(cells, kIntervalPercentRow, column, place);

    // (No more than the cells there: an end line may name any interval.)
    result.values.reserve(
        static_cast<std::size_t>(std::min<std::int64_t>(intervals, cells.cells().size())));
    for (std::int64_t n = 1; n <= intervals; ++n) {
        const int row = kFirstIntervalRow - 1 + static_cast<int>(n);
        const auto what = [&] {
            return QStringLiteral("interval %1 of key %2").arg(n).arg(key);
        };
        const auto value = numberAt(cells, row, column, what);
        if (!value)
            throw Refusal{QStringLiteral("cell %1 (%2) is empty: the interval rows end early")
                              .arg(cellName(row, column), what())};
        // Codes of an On/Off key are 0, 1 or 2; counts are whole and never negative.
        if (*value < 0 || *value != std::floor(*value) || (onOff && *value > 2))
            throw Refusal{QStringLiteral("cell %1 (%2) holds %3, which is not %4")
                              .arg(cellName(row, column), what(), shownText(cells.at(row, column)),
                                   onOff ? QStringLiteral("an interval code 0, 1 or 2")
                                         : QStringLiteral("a count"))};
        result.values.push_back(*value);
    }
    return result;
}

SessionWorkbook parse(const Worksheet& cells) {
    SessionWorkbook book;
    book.participantId = headerField(cells, HeaderField::Participant);
    const double session = headerNumber(cells, HeaderField::Session);
    if (session != std::floor(session) || std::abs(session) > 32767)
        throw Refusal{QStringLiteral("cell %1 gives no whole session number")
                          .arg(cellName(headerRow(HeaderField::Session), kColumnA))};
    book.sessionNumber = static_cast<std::int16_t>(session);
    book.condition = headerField(cells, HeaderField::Condition);
    book.observerId = headerField(cells, HeaderField::Observer);
    book.sessionDate = headerField(cells, HeaderField::Date);
    book.startedAt = headerField(cells, HeaderField::Started);
    book.intervalLength = headerNumber(cells, HeaderField::Interval);
    book.sessionDuration = headerNumber(cells, HeaderField::Duration);
    book.keysToHit = headerField(cells, HeaderField::Keys);
    const QStringList keys = codePoints(book.keysToHit);
    if (keys.isEmpty() || keys.size() > kMaxSlots)
        throw Refusal{QStringLiteral("cell %1 gives %2 keys to hit, not 1 to %3")
                          .arg(cellName(headerRow(HeaderField::Keys), kColumnA))
                          .arg(keys.size())
                          .arg(kMaxSlots)};
    const QString endLine = shownText(cells.at(kEndRow, kColumnA));
    book.intervalCount = recordedIntervals(cells, endLine);

    for (int s = 1; s <= keys.size(); ++s) {
        const WorkbookSlot& slot =
            book.keySlots.emplace_back(readSlot(cells, s, keys.at(s - 1), book.intervalCount));
        book.slotSetups.push_back({slot.behaviour, modeCheckValue(slot.mode)});
    }
    return book;
}

} // namespace

SessionWorkbookResult parseSessionWorkbook(const Worksheet& cells) {
    try {
        return {parse(cells), {}};
    } catch (const Refusal& refusal) {
        return {std::nullopt, refusal.reason};
    }
}

} // namespace quorvia
