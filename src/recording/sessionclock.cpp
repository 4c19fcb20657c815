#include "recording/sessionclock.h"

namespace quorvia {

TickOutcome tick(SessionRecord& record, int beepOption) {
    TickOutcome outcome;
    record.clockSeconds += 1;
    record.elapsedSeconds += 1;
    const bool goesOn = static_cast<double>(record.elapsedSeconds) < record.sessionDuration;
    if (record.clockSeconds == 60) {
        record.clockSeconds = 0;
        record.clockMinutes += 1;
    }
    if (goesOn) {
        if (static_cast<double>(record.elapsedSeconds) ==
                static_cast<double>(record.currentInterval) * record.intervalLength &&
            record.currentInterval < record.intervalCount) {
            outcome.intervalEnded = true;
            outcome.beep = beepOption == 1;
            record.currentInterval += 1;
        }
        record.clockText = clockTextFor(record.clockMinutes, record.clockSeconds);
        return outcome;
    }
    outcome.finished = true;
    record.state = SessionState::SavePending;
    record.clockText = clockTextFor(record.clockMinutes, record.clockSeconds);
    record.writeEndEntry(kSessionFinished);
    return outcome;
}

int findLastOccurrence(const QString& text, const QString& pattern, int start,
                       Qt::CaseSensitivity compare) {
    if (pattern.isEmpty() || text.isEmpty())
        return -1;
    const qsizetype lastStart =
        start < 0 ? text.size() - pattern.size() + 1 : qsizetype(start) - pattern.size() + 1;
    qsizetype found = text.indexOf(pattern, 0, compare);
    if (found < 0)
        return 0;
    qsizetype remembered = 0;
    while (found >= 0 && found + 1 <= lastStart) {
        remembered = found + 1;
        found = text.indexOf(pattern, found + 1, compare);
    }
    return static_cast<int>(remembered);
}

namespace {

// Formats a time of day with the tokens h/hh (24-hour), n/nn (minutes) and s/ss (seconds);
// every other character is copied as it stands.
QString formatTime(const QTime& t, const QString& format) {
    QString out;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i).toLower();
        int value = -1;
        if (c == u'h')
            value = t.hour();
        else if (c == u'n')
            value = t.minute();
        else if (c == u's')
            value = t.second();
        if (value < 0) {
            out += format.at(i);
            ++i;
            continue;
        }
        const bool twoDigits = i + 1 < format.size() && format.at(i + 1).toLower() == c;
        out += twoDigits ? QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'))
                         : QString::number(value);
        i += twoDigits ? 2 : 1;
    }
    return out;
}

} // namespace

QString timeWithHundredths(const QTime& timeOfDay, const QString& format) {
    const int p = findLastOccurrence(format, QStringLiteral("s"), -1, Qt::CaseInsensitive);
    if (p < 1)
        return formatTime(timeOfDay, format);
    const int hundredths = timeOfDay.msec() / 10;
    const QString fraction = QStringLiteral(".%1").arg(hundredths, 2, 10, QLatin1Char('0'));
    // The fraction is inserted literally, so it must not pass through the token formatting.
    return formatTime(timeOfDay, format.left(p)) + fraction + formatTime(timeOfDay, format.mid(p));
}

} // namespace quorvia
