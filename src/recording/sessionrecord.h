#pragma once

#include "recording/sessionparameters.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace quorvia {

// The state of a session as the window carries it (set-up, ready, recording, paused, waiting for
// the save decision, waiting for the confirmation of the end).
enum class SessionState { SetUp, Ready, Recording, Paused, SavePending, AwaitingConfirm };

inline const QString kClockTextAtStart = QStringLiteral(" 0:  0");
inline const QString kSessionPaused = QStringLiteral("Session Paused");
inline const QString kSessionFinished = QStringLiteral("Session Finished");
inline const QString kSessionTerminated = QStringLiteral("Session Terminated");

constexpr int kSlotCount = 10;
constexpr std::int64_t kInitialEntryCapacity = 500;
constexpr std::int64_t kEntryCapacityStep = 100;

// Number of whole or partial intervals in a session: the quotient rounded half-to-even, raised by
// one when that many intervals still fall short of the duration. 0 when the interval length is
// not a positive finite number.
std::int64_t intervalCountFor(double sessionDuration, double intervalLength);

// Clock text of the session clock: blank-led minutes, ": ", blank-led seconds (" 0:  0").
QString clockTextFor(std::int64_t minutes, std::int64_t seconds);

// Everything the program knows about the one session of the window. Rows of the entry log,
// intervals and key slots are numbered from 1; slot 0 stands for a character bound to no key. Its
// base holds the session parameters, stored by the set press, and the key slots' behaviour names
// and modes, stored by the Start press: the whole set-up of the session.
struct SessionRecord : SessionParameters {
    int keyCount = 0; // number of keys in keysToHit
    std::int64_t intervalCount = 0;

    // Session clock.
    std::int64_t elapsedSeconds = 0;
    std::int64_t clockMinutes = 0;
    std::int64_t clockSeconds = 0;
    QString clockText = kClockTextAtStart;
    std::int64_t currentInterval = 1;

    // Tallies.
    int lastKeySlot = 0;

    // Entry log.
    std::int64_t nextEntry = 1;
    std::int64_t entryCapacity = kInitialEntryCapacity;

    SessionState state = SessionState::SetUp;

    // Prepares the record for a new session with the stored parameters: clock at zero, interval
    // 1, empty log of kInitialEntryCapacity rows, all tallies zero for slots 0..keyCount.
    void reset();

    std::int64_t keyHits(int slot) const { return keyHits_.at(static_cast<std::size_t>(slot)); }
    std::int64_t intervalHits(int slot, std::int64_t interval) const;

    // Counts one press of the slot's key in the current interval.
    void countPress(int slot);

    const QString& entryTime(std::int64_t row) const { return log_.at(rowIndex(row)).time; }
    const QString& entryEvent(std::int64_t row) const { return log_.at(rowIndex(row)).event; }

    // Writes row nextEntry with the clock text; advances nextEntry unless it is the end entry.
    void appendEntry(const QString& event);
    void writeEndEntry(const QString& event);

    // When nextEntry has reached entryCapacity, raises the capacity by kEntryCapacityStep, keeping
    // every row. Returns whether it grew.
    bool growLogIfFull();

private:
    struct Row {
        QString time;
        QString event;
    };
    std::size_t rowIndex(std::int64_t row) const;
    std::size_t tallyIndex(int slot, std::int64_t interval) const;

    std::vector<std::int64_t> keyHits_;
    std::vector<std::int64_t> intervalHits_; // (keyCount + 1) x intervalCount, slot-major
    std::vector<Row> log_;                   // rows 1..entryCapacity at index 0..entryCapacity-1
};

} // namespace quorvia
