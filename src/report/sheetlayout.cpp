#include "report/sheetlayout.h"

namespace quorvia {

namespace {

const QString kAt = QStringLiteral(" at   ");
const QString kIntervalMarker = QStringLiteral(" (interval No.");

} // namespace

QString finishedLine(const QString& endedAt) {
    return kSessionFinished + kAt + endedAt;
}

QString endedEarlyLine(const QString& lastEvent, const QString& endedAt, std::int64_t interval) {
    return lastEvent + kAt + endedAt + kIntervalMarker + QString::number(interval) +
           QLatin1Char(')');
}

bool isFinishedLine(const QString& line) {
    return line.startsWith(kSessionFinished + kAt);
}

int intervalOfEndLine(const QString& line) {
    const qsizetype at = line.lastIndexOf(kIntervalMarker);
    if (at < 0 || !line.endsWith(QLatin1Char(')')))
        return 0;
    const qsizetype from = at + kIntervalMarker.size();
    bool ok = false;
    const int interval = line.mid(from, line.size() - 1 - from).toInt(&ok);
    return ok ? interval : 0;
}

QString terminationNote(std::int64_t interval) {
    return QStringLiteral("Session terminated in interval No.") + QString::number(interval);
}

} // namespace quorvia
