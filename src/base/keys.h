#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// Keys are characters, that is Unicode code points: an emoji or another character beyond the
// Basic Multilingual Plane, two UTF-16 units in a QString, is one key. A surrogate without its
// partner stays a key of its own, so no typed unit is lost or merged with another.
namespace quorvia {

constexpr char32_t kEscape = 27;

// The code points of a text, in order.
QList<char32_t> keysOf(QStringView text);

// The text of one key, exactly as typed.
QString keyText(char32_t key);

// Number of keys in a keys text.
int countKeys(QStringView keys);

// The key of slot 1 to countKeys(keys); 0 for any other slot.
char32_t keyOfSlot(QStringView keys, int slot);

// The first slot whose key is `key`, compared exactly; 0 when none.
int slotOfKey(QStringView keys, char32_t key);

// A key as its slot label shows it: the upper-case letter of a letter that has one ("é" gives
// "É"), any other key unchanged. Always one character, so "ß" stays "ß" rather than "SS".
QString keyLabel(char32_t key);

} // namespace quorvia
