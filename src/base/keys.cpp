#include "base/keys.h"

#include <QChar>

namespace quorvia {

QList<char32_t> keysOf(QStringView text) {
    QList<char32_t> keys;
    keys.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            keys.push_back(QChar::surrogateToUcs4(unit, text[++i].unicode()));
        } else {
            keys.push_back(unit);
        }
    }
    return keys;
}

QString keyText(char32_t key) {
    if (key > QChar::LastValidCodePoint)
        key = QChar::ReplacementCharacter;
    if (QChar::requiresSurrogates(key)) {
        const QChar pair[] = {QChar(QChar::highSurrogate(key)), QChar(QChar::lowSurrogate(key))};
        return QString(pair, 2);
    }
    return QString(QChar(static_cast<char16_t>(key)));
}

int countKeys(QStringView keys) {
    return static_cast<int>(keysOf(keys).size());
}

char32_t keyOfSlot(QStringView keys, int slot) {
    return keysOf(keys).value(slot - 1, 0);
}

int slotOfKey(QStringView keys, char32_t key) {
    return static_cast<int>(keysOf(keys).indexOf(key)) + 1;
}

QString keyLabel(char32_t key) {
    return keyText(QChar::toUpper(key));
}

} // namespace quorvia
