#pragma once

#include "recording/sessionrecord.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>

// The parameter file: the set-up fields of the window as 19 quoted lines, written and read on
// the observer's request.
namespace quorvia {

inline constexpr int kParameterFieldCount = 19;
using ParameterFields = std::array<QString, kParameterFieldCount>;

// The most characters a field may have: what a text box of the window holds. A longer field
// could not be put into its box whole, so the file does not load.
inline constexpr qsizetype kParameterFieldLimit = 32767;

// Only this many bytes of a file are ever read; a file whose 19 fields do not end within them
// does not load. Every file a save writes (19 fields of at most kParameterFieldLimit characters,
// at most 3 bytes each in UTF-8) fits.
inline constexpr qsizetype kParameterReadLimit = 2 * 1024 * 1024;

// The set-up controls as a save reads them: the parameter texts of the set-up frame as typed (the
// file keeps neither the session number nor the date), per slot the behaviour name Text4(1) to
// Text4(10) with the mode box Check3(1) to Check3(10) in slotSetups, and the beep box Check2.
// Check box values: 0 clear, 1 ticked, 2 greyed.
struct ParameterSetup : SessionParameterTexts {
    int beep = 0;
};

// The 19 fields a save writes: line 2 is always "0", line 8 the beep value with a leading blank,
// line 9 "x" followed by one digit per key slot. A slot beyond slotSetups is written as a clear
// box with no name; slots beyond the tenth are not written.
ParameterFields parameterFieldsFrom(const ParameterSetup& setup);

// The name the save dialog proposes: the condition, "-" and the session number field ("A-0").
QString proposedParameterFileName(const ParameterFields& fields);

// The bytes of the file: per field a double quote, the text in UTF-8 with any double quote in it
// doubled, a double quote, CR LF. No byte-order mark.
QByteArray parameterFileBytes(const ParameterFields& fields);

// Writes the file through a temporary file beside it that replaces the target only when it was
// written completely. Returns false on any failure; a file already at the path is then untouched.
bool writeParameterFile(const QString& path, const ParameterFields& fields);

// Reads the first 19 fields of a file's bytes. Fields are separated by commas or line ends (CR LF,
// LF or CR). A field whose first character after leading blanks is a double quote runs to the
// closing quote, commas, blanks and line ends inside kept and "" read as one quote; anything
// between the closing quote and the next separator is skipped. Any other field runs to the next
// comma or line end with its leading blanks skipped. A leading UTF-8 byte-order mark is skipped.
// The fields are UTF-8, or Windows-1252 when they are not valid UTF-8. Empty when the bytes end
// before the 19th field or inside a quoted one, a field holds a NUL byte, or a field is longer
// than kParameterFieldLimit. `complete` false means the bytes are only the start of a longer
// file: the 19th field must then end before they do.
std::optional<ParameterFields> parseParameterFields(QByteArrayView bytes, bool complete = true);

// Reads at most kParameterReadLimit bytes of the file and parses them. Empty when the path is not
// a regular file after following links (a FIFO, a device or a folder is never opened), when the
// file cannot be opened or read, or its fields are incomplete.
std::optional<ParameterFields> readParameterFile(const QString& path);

// The fields of a read file converted for the controls, in the order a load fills them. A
// conversion that failed is left empty: the load fills the controls up to the first empty one
// and then fails.
struct LoadedSetup {
    std::array<QString, 4> sessionTexts;              // Text2(0) to Text2(3), unchanged
    std::optional<QString> intervalLength;            // number text for Combo1
    std::optional<QString> sessionDuration;           // number text for Text22
    std::optional<QString> keysToHit;                 // Text1, unchanged; refused with ESC
    std::optional<int> beep;                          // Check2 value
    std::array<std::optional<int>, kSlotCount> modes; // Check3(1) to Check3(10) values
    std::array<QString, kSlotCount> behaviourNames;   // Text4(1) to Text4(10), unchanged
};

LoadedSetup loadedSetupFrom(const ParameterFields& fields);

// The number of a field written back as text: the leading-number reading in its shortest decimal
// form (" 7.50 s" gives "7.5", " in Seconds" gives "0"). Empty for a number beyond a double.
std::optional<QString> numberText(QStringView field);

// The text converted as a whole number: blanks around it allowed, a decimal fraction rounded to
// the nearest whole number with halves to the even one. Empty for any text that is not a number.
std::optional<double> wholeNumber(QStringView text);

// A check box value: a whole number of 0, 1 or 2. Empty for anything else.
std::optional<int> checkBoxValue(QStringView text);

// Whether the path ends in ".p", case ignored.
bool hasParameterExtension(QStringView path);

} // namespace quorvia
