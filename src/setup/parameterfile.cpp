#include "setup/parameterfile.h"

#include "base/keys.h"
#include "base/numbers.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvia {

ParameterFields parameterFieldsFrom(const ParameterSetup& setup) {
    ParameterFields fields;
    fields[0] = setup.participantId;
    fields[1] = QStringLiteral("0");
    fields[2] = setup.condition;
    fields[3] = setup.observerId;
    fields[4] = setup.intervalLength;
    fields[5] = setup.sessionDuration;
    fields[6] = setup.keysToHit;
    fields[7] = blankLed(setup.beep);
    QString modes = QStringLiteral("x");
    for (std::size_t i = 0; i < static_cast<std::size_t>(kSlotCount); ++i) {
        const SlotSetup slot = i < setup.slotSetups.size() ? setup.slotSetups[i] : SlotSetup();
        modes += QString::number(slot.checkValue);
        fields[9 + i] = slot.behaviour;
    }
    fields[8] = modes;
    return fields;
}

QString proposedParameterFileName(const ParameterFields& fields) {
    return fields[2] + QLatin1Char('-') + fields[1];
}

QByteArray parameterFileBytes(const ParameterFields& fields) {
    QByteArray bytes;
    for (const QString& field : fields) {
        QByteArray text = field.toUtf8();
        text.replace("\"", "\"\"");
        bytes += '"';
        bytes += text;
        bytes += "\"\r\n";
    }
    return bytes;
}

bool writeParameterFile(const QString& path, const ParameterFields& fields) {
    QSaveFile file(path);
    // Unbuffered, so that a short write (a full disk) shows in the count write returns: a
    // buffered file can report success for bytes that never reached the disk.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray bytes = parameterFileBytes(fields);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Moves past the separator at pos: a comma, CR LF, LF or CR. At the end of the bytes nothing is
// left to pass.
std::size_t pastSeparator(std::string_view s, std::size_t pos) {
    if (pos >= s.size())
        return s.size();
    if (s[pos] == '\r' && pos + 1 < s.size() && s[pos + 1] == '\n')
        return pos + 2;
    return pos + 1;
}

constexpr std::string_view kSeparators{",\r\n"};

// The text of valid UTF-8 bytes; empty when they are not valid UTF-8.
std::optional<QString> utf8Text(const QByteArray& bytes) {
    // Each field is decoded on its own; a byte-order mark inside one is a character of it.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// Windows-1252 where it differs from Latin-1: bytes 0x80 to 0x9F. The five bytes it leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their Latin-1 code points.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString windows1252Text(const QByteArray& bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text[i] = QChar(byte >= 0x80 && byte <= 0x9F ? kWindows1252High[byte - 0x80]
                                                     : static_cast<char16_t>(byte));
    }
    return text;
}

} // namespace

std::optional<ParameterFields> parseParameterFields(QByteArrayView bytes, bool complete) {
    const std::string_view s(bytes.data(), static_cast<std::size_t>(bytes.size()));
    const std::size_t n = s.size();
    std::size_t pos = s.starts_with("\xEF\xBB\xBF") ? 3 : 0;

    std::array<QByteArray, kParameterFieldCount> raw;
    for (QByteArray& field : raw) {
        if (pos >= n)
            return std::nullopt; // the file ends before this field
        while (pos < n && isBlank(s[pos]))
            ++pos;
        if (pos < n && s[pos] == '"') {
            ++pos;
            for (;;) {
                const std::size_t quote = s.find('"', pos);
                if (quote == std::string_view::npos)
                    return std::nullopt; // no closing quote
                field.append(s.data() + pos, static_cast<qsizetype>(quote - pos));
                if (quote + 1 == n && !complete)
                    return std::nullopt; // a doubled quote may go on past the bytes read
                if (quote + 1 < n && s[quote + 1] == '"') {
                    field.append('"');
                    pos = quote + 2;
                    continue;
                }
                pos = quote + 1;
                break;
            }
            // Whatever stands between the closing quote and the separator is not part of it.
            pos = pastSeparator(s, std::min(s.find_first_of(kSeparators, pos), n));
        } else {
            std::size_t end = s.find_first_of(kSeparators, pos);
            if (end == std::string_view::npos) {
                if (!complete)
                    return std::nullopt; // the field may go on past the bytes read
                end = n;
            }
            field.append(s.data() + pos, static_cast<qsizetype>(end - pos));
            pos = pastSeparator(s, end);
        }
    }

    // No text box holds a NUL character: a field with one is no text of this program.
    for (const QByteArray& field : raw) {
        if (field.contains('\0'))
            return std::nullopt;
    }

    // A file that is not valid UTF-8 comes from a Windows program: read it as Windows-1252.
    ParameterFields fields;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        std::optional<QString> text = utf8Text(raw[i]);
        if (!text) {
            for (std::size_t k = 0; k < raw.size(); ++k)
                fields[k] = windows1252Text(raw[k]);
            break;
        }
        fields[i] = std::move(*text);
    }
    for (const QString& field : fields) {
        if (field.size() > kParameterFieldLimit)
            return std::nullopt;
    }
    return fields;
}

std::optional<ParameterFields> readParameterFile(const QString& path) {
    // Only a regular file (after following links) is read: a FIFO or a device could block the
    // window forever or never end. The type is checked before the file is opened and once more on
    // what was opened, without waiting, in case the name was replaced in between.
    const QByteArray name = QFile::encodeName(path);
    struct stat status {};
    if (::stat(name.constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    const int descriptor = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return std::nullopt;
    QFile file;
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) ||
        !file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return std::nullopt;
    }
    QByteArray bytes = file.read(kParameterReadLimit + 1);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    const bool complete = bytes.size() <= kParameterReadLimit;
    if (!complete)
        bytes.truncate(kParameterReadLimit);
    return parseParameterFields(bytes, complete);
}

std::optional<QString> numberText(QStringView field) {
    const double value = leadingNumber(field);
    if (!std::isfinite(value))
        return std::nullopt;
    return shortestDecimal(value);
}

std::optional<double> wholeNumber(QStringView text) {
    auto blank = [](QChar c) {
        return c == u' ' || c == u'\t';
    };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && blank(text[begin]))
        ++begin;
    while (end > begin && blank(text[end - 1]))
        --end;

    // Optional sign, digits with an optional decimal point, optional exponent; nothing else.
    std::string number;
    qsizetype i = begin;
    auto digit = [&](qsizetype k) {
        return k < end && text[k] >= u'0' && text[k] <= u'9';
    };
    auto take = [&] {
        number.push_back(static_cast<char>(text[i++].unicode()));
    };
    if (i < end && (text[i] == u'+' || text[i] == u'-'))
        take();
    int digits = 0;
    for (; digit(i); ++digits)
        take();
    if (i < end && text[i] == u'.') {
        take();
        for (; digit(i); ++digits)
            take();
    }
    if (digits == 0)
        return std::nullopt;
    if (i < end && (text[i] == u'e' || text[i] == u'E')) {
        take();
        if (i < end && (text[i] == u'+' || text[i] == u'-'))
            take();
        if (!digit(i))
            return std::nullopt;
        while (digit(i))
            take();
    }
    if (i != end)
        return std::nullopt;

    const double value = roundHalfEven(cStrtod(number.c_str()));
    if (!std::isfinite(value))
        return std::nullopt;
    return value == 0 ? 0.0 : value; // no negative zero
}

std::optional<int> checkBoxValue(QStringView text) {
    const std::optional<double> value = wholeNumber(text);
    if (!value || (*value != 0 && *value != 1 && *value != 2))
        return std::nullopt;
    return static_cast<int>(*value);
}

LoadedSetup loadedSetupFrom(const ParameterFields& fields) {
    LoadedSetup setup;
    for (std::size_t i = 0; i < setup.sessionTexts.size(); ++i)
        setup.sessionTexts[i] = fields[i];
    setup.intervalLength = numberText(fields[4]);
    setup.sessionDuration = numberText(fields[5]);
    // ESC pauses a session, so it is never a key.
    if (!fields[6].contains(QChar(kEscape)))
        setup.keysToHit = fields[6];
    setup.beep = checkBoxValue(fields[7]);
    // Slot i takes character i + 1 of line 9; the first character is not read. A line too short
    // to hold the character gives an empty text, which is no number.
    const QString& modes = fields[8];
    for (int i = 1; i <= kSlotCount; ++i) {
        const QStringView character =
            i < modes.size() ? QStringView(modes).mid(i, 1) : QStringView();
        setup.modes[static_cast<std::size_t>(i - 1)] = checkBoxValue(character);
    }
    for (std::size_t i = 0; i < setup.behaviourNames.size(); ++i)
        setup.behaviourNames[i] = fields[9 + i];
    return setup;
}

bool hasParameterExtension(QStringView path) {
    return path.size() >= 2 && path.right(2).compare(u".p", Qt::CaseInsensitive) == 0;
}

} // namespace quorvia
