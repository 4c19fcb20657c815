#include "workbook/xmlscanner.h"

#include "workbook/worksheet.h"

#include <algorithm>
#include <cstring>

namespace quorvia {

namespace {

constexpr qint64 kBlockBytes = 32 * 1024;
// The longest run of a part's bytes without markup that can still hold a cell's text (every
// character written as a character reference, with room to spare), and the longest tag.
constexpr std::size_t kMaxRunBytes = 1024 * 1024;
// No workbook part nests its elements nearly as deep.
constexpr std::size_t kMaxDepth = 256;
constexpr std::size_t kNone = std::string::npos;

bool isBlank(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isNameStart(int c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || c >= 0x80;
}

bool isNameChar(int c) {
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

bool isXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// The character a reference "&...;" stands for (text between & and ;), or 0 when it is none.
char32_t referenced(std::string_view name) {
    if (name == "lt")
        return u'<';
    if (name == "gt")
        return u'>';
    if (name == "amp")
        return u'&';
    if (name == "quot")
        return u'"';
    if (name == "apos")
        return u'\'';
    if (name.size() < 2 || name[0] != '#')
        return 0;
    const bool hex = name[1] == 'x';
    const std::string_view digits = name.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 8)
        return 0;
    char32_t c = 0;
    for (const char d : digits) {
        const int v = d >= '0' && d <= '9'          ? d - '0'
                      : hex && d >= 'a' && d <= 'f' ? d - 'a' + 10
                      : hex && d >= 'A' && d <= 'F' ? d - 'A' + 10
                                                    : -1;
        if (v < 0)
            return 0;
        c = c * (hex ? 16 : 10) + static_cast<char32_t>(v);
    }
    return isXmlChar(c) ? c : 0;
}

// Decodes raw XML text (UTF-8, with references unless it is a CDATA section, line ends as one
// "\n") to UTF-16 at out, which has room for as many units as raw has bytes. Returns the units
// written, or -1 with why set.
qsizetype decodeText(std::string_view raw, bool cdata, char16_t* out, const char** why) {
    char16_t* d = out;
    const auto* p = reinterpret_cast<const unsigned char*>(raw.data());
    const auto* const end = p + raw.size();
    auto put = [&d](char32_t c) {
        if (c >= 0x10000) {
            *d++ = static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            *d++ = static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            *d++ = static_cast<char16_t>(c);
        }
    };
    while (p < end) {
        const unsigned char b = *p;
        if (b < 0x80) {
            if (b == '&' && !cdata) {
                const auto* semicolon =
                    static_cast<const unsigned char*>(std::memchr(p, ';', end - p));
                const char32_t c =
                    semicolon == nullptr
                        ? 0
                        : referenced(std::string_view(reinterpret_cast<const char*>(p + 1),
                                                      semicolon - p - 1));
                if (c == 0) {
                    *why = "an unknown reference";
                    return -1;
                }
                put(c);
                p = semicolon + 1;
                continue;
            }
            if (b == '\r') {
                *d++ = u'\n';
                p += p + 1 < end && p[1] == '\n' ? 2 : 1;
                continue;
            }
            if (b < 0x20 && b != '\t' && b != '\n') {
                *why = "a control character";
                return -1;
            }
            *d++ = b;
            ++p;
            continue;
        }
        // A character of two to four bytes; overlong forms, surrogates and more are refused.
        const int length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 0;
        if (length == 0 || b > 0xF4 || end - p < length) {
            *why = "bytes that are not UTF-8";
            return -1;
        }
        char32_t c = b & (0x7F >> length);
        for (int i = 1; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80) {
                *why = "bytes that are not UTF-8";
                return -1;
            }
            c = (c << 6) | (p[i] & 0x3F);
        }
        static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < kLeast[length] || !isXmlChar(c)) {
            *why = "bytes that are not UTF-8";
            return -1;
        }
        put(c);
        p += length;
    }
    return d - out;
}

} // namespace

QString tooLongText(const QString& place) {
    return QStringLiteral("%1 holds a text longer than a cell can hold (32,767 characters)")
        .arg(place);
}

XmlScanner::XmlScanner(QString what, Source source, bool keepAll)
    : what_(std::move(what))
    , source_(std::move(source))
    , keepAll_(keepAll) {
    // A part in UTF-16 starts with its byte-order mark; in UTF-8 it may.
    if (at(0) == 0xFE || at(0) == 0xFF)
        throw Refusal{QStringLiteral("%1 is not in UTF-8").arg(what_)};
    if (at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF)
        pos_ = 3;
}

char* XmlScanner::Bytes::grow(std::size_t more) {
    if (size_ + more > capacity_) {
        const std::size_t capacity = std::max(size_ + more, 2 * capacity_);
        auto data = std::make_unique_for_overwrite<char[]>(capacity);
        if (size_ > 0)
            std::memcpy(data.get(), data_.get(), size_);
        data_ = std::move(data);
        capacity_ = capacity;
    }
    return data_.get() + size_;
}

void XmlScanner::Bytes::dropFront(std::size_t n) {
    std::memmove(data_.get(), data_.get() + n, size_ - n);
    size_ -= n;
}

bool XmlScanner::fill() {
    if (ended_)
        return false;
    const qint64 got = source_(buffer_.grow(kBlockBytes), kBlockBytes);
    buffer_.added(static_cast<std::size_t>(std::max<qint64>(got, 0)));
    if (got < 0)
        throw Refusal{QStringLiteral("it is damaged (%1 cannot be unpacked)").arg(what_)};
    ended_ = got == 0;
    return !ended_;
}

int XmlScanner::atEnd(std::size_t i) {
    while (i >= buffer_.size()) {
        if (i - tokenStart_ > kMaxRunBytes)
            tooLong();
        if (!fill())
            return -1;
    }
    return static_cast<unsigned char>(buffer_[i]);
}

// Where what next starts from from on, reading on as needed; kNone when the part ends first.
std::size_t XmlScanner::find(std::string_view what, std::size_t from) {
    for (;;) {
        const std::size_t found = buffer_.view().find(what, from);
        if (found != kNone)
            return found;
        // The next search starts where a match could still begin.
        if (buffer_.size() >= what.size())
            from = std::max(from, buffer_.size() - what.size() + 1);
        if (buffer_.size() - tokenStart_ > kMaxRunBytes)
            tooLong();
        if (!fill())
            return kNone;
    }
}

std::size_t XmlScanner::nameEnd(std::size_t from) {
    if (!isNameStart(at(from)))
        return from;
    std::size_t i = from + 1;
    while (isNameChar(at(i)))
        ++i;
    return i;
}

bool XmlScanner::skipBlanks(std::size_t& i) {
    const std::size_t from = i;
    while (isBlank(at(i)))
        ++i;
    return i > from;
}

XmlScanner::Token XmlScanner::next() {
    if (closeNext_) {
        closeNext_ = false;
        open_.pop_back();
        rootClosed_ = open_.empty();
        return Token::EndElement;
    }
    for (;;) {
        // Bytes already handed out go, unless the part is kept whole.
        if (!keepAll_ && pos_ >= 4 * kBlockBytes) {
            linesBefore_ +=
                static_cast<int>(std::count(buffer_.data(), buffer_.data() + pos_, '\n'));
            buffer_.dropFront(pos_);
            pos_ = 0;
        }
        tokenStart_ = pos_;
        const std::size_t markup = find("<", pos_);
        const std::size_t textEnd = markup == kNone ? buffer_.size() : markup;
        if (textEnd > pos_) {
            text_ = {pos_, textEnd, false};
            pos_ = textEnd;
            checkReferences(text_.begin, text_.end);
            if (!open_.empty())
                return Token::Text;
            if (!std::all_of(buffer_.data() + text_.begin, buffer_.data() + text_.end,
                             [](char c) { return isBlank(c); }))
                malformed(QStringLiteral("text outside the root element"));
            continue;
        }
        if (markup == kNone) {
            if (!open_.empty() || !rootSeen_)
                cutOff();
            return Token::EndOfPart;
        }
        const int kind = at(pos_ + 1);
        if (kind == '?') {
            const std::size_t end = find("?>", pos_ + 2);
            if (end == kNone)
                cutOff();
            if (pos_ == 0 || (pos_ == 3 && buffer_.view().starts_with("\xEF\xBB\xBF")))
                readDeclaration(pos_ + 2, end);
            pos_ = end + 2;
            continue;
        }
        if (kind == '!') {
            const auto opens = [this](std::string_view what) {
                for (std::size_t i = 0; i < what.size(); ++i) {
                    if (at(pos_ + i) != static_cast<unsigned char>(what[i]))
                        return false;
                }
                return true;
            };
            if (opens("<!--")) {
                const std::size_t end = find("-->", pos_ + 4);
                if (end == kNone)
                    cutOff();
                pos_ = end + 3;
                continue;
            }
            if (opens("<![CDATA[")) {
                if (open_.empty())
                    malformed(QStringLiteral("a CDATA section outside the root element"));
                const std::size_t end = find("]]>", pos_ + 9);
                if (end == kNone)
                    cutOff();
                text_ = {pos_ + 9, end, true};
                pos_ = end + 3;
                return Token::Text;
            }
            if (opens("<!DOCTYPE"))
                throw Refusal{
                    QStringLiteral("%1 declares a document type, which no workbook part does")
                        .arg(what_)};
            malformed(QStringLiteral("a declaration no workbook part holds"));
        }
        return kind == '/' ? endTag() : startTag();
    }
}

XmlScanner::Token XmlScanner::startTag() {
    if (rootClosed_)
        malformed(QStringLiteral("a second root element"));
    std::size_t i = nameEnd(pos_ + 1);
    if (i == pos_ + 1)
        at(i) < 0 ? cutOff() : malformed(QStringLiteral("a \u201C<\u201D that starts no tag"));
    name_ = {pos_ + 1, i, false};
    attributes_.clear();
    for (;;) {
        const bool blank = skipBlanks(i);
        const int c = at(i);
        if (c == '>') {
            ++i;
            break;
        }
        if (c == '/') {
            if (at(i + 1) != '>')
                at(i + 1) < 0 ? cutOff() : malformed(QStringLiteral("a malformed tag"));
            i += 2;
            closeNext_ = true;
            break;
        }
        if (c < 0)
            cutOff();
        const std::size_t nameBegin = i;
        i = nameEnd(i);
        if (!blank || i == nameBegin)
            malformed(QStringLiteral("a malformed tag"));
        const std::size_t nameEndAt = i;
        skipBlanks(i);
        if (at(i) != '=')
            at(i) < 0 ? cutOff() : malformed(QStringLiteral("an attribute without a value"));
        ++i;
        skipBlanks(i);
        const int quote = at(i);
        if (quote != '"' && quote != '\'')
            quote < 0 ? cutOff() : malformed(QStringLiteral("an attribute value without quotes"));
        const std::size_t valueEnd = find(std::string_view(quote == '"' ? "\"" : "'"), i + 1);
        if (valueEnd == kNone)
            cutOff();
        if (std::memchr(buffer_.data() + i + 1, '<', valueEnd - i - 1) != nullptr)
            malformed(QStringLiteral("a \u201C<\u201D in an attribute value"));
        checkReferences(i + 1, valueEnd);
        attributes_.push_back({{nameBegin, nameEndAt, false}, {i + 1, valueEnd, false}});
        i = valueEnd + 1;
    }
    if (open_.size() >= kMaxDepth)
        throw Refusal{
            QStringLiteral("%1 nests its elements deeper than any workbook part").arg(what_)};
    open_.emplace_back(raw(name_));
    rootSeen_ = true;
    pos_ = i;
    return Token::StartElement;
}

XmlScanner::Token XmlScanner::endTag() {
    std::size_t i = nameEnd(pos_ + 2);
    name_ = {pos_ + 2, i, false};
    skipBlanks(i);
    if (at(i) != '>')
        at(i) < 0 ? cutOff() : malformed(QStringLiteral("a malformed end tag"));
    if (open_.empty() || open_.back() != raw(name_))
        malformed(QStringLiteral("an end tag that does not match its start tag"));
    open_.pop_back();
    rootClosed_ = open_.empty();
    pos_ = i + 1;
    return Token::EndElement;
}

// The XML declaration: a part in another encoding than UTF-8 is not read.
void XmlScanner::readDeclaration(std::size_t begin, std::size_t end) {
    const std::string_view declaration = buffer_.view().substr(begin, end - begin);
    const std::size_t at = declaration.find("encoding");
    if (at == kNone)
        return;
    const std::size_t quote = declaration.find_first_of("\"'", at);
    const std::size_t close =
        quote == kNone ? kNone : declaration.find(declaration[quote], quote + 1);
    if (close == kNone)
        malformed(QStringLiteral("a malformed declaration"));
    const QString encoding =
        QString::fromLatin1(declaration.substr(quote + 1, close - quote - 1)).toLower();
    if (encoding != u"utf-8" && encoding != u"utf8" && encoding != u"us-ascii")
        throw Refusal{QStringLiteral("%1 is not in UTF-8").arg(what_)};
}

void XmlScanner::checkReferences(std::size_t begin, std::size_t end) const {
    const char* p = buffer_.data() + begin;
    const char* const stop = buffer_.data() + end;
    while ((p = static_cast<const char*>(std::memchr(p, '&', stop - p))) != nullptr) {
        const auto* semicolon = static_cast<const char*>(std::memchr(p, ';', stop - p));
        if (semicolon == nullptr || semicolon - p > 12 ||
            referenced(std::string_view(p + 1, semicolon - p - 1)) == 0)
            malformed(QStringLiteral("an unknown reference"));
        p = semicolon + 1;
    }
}

std::string_view XmlScanner::localName() const {
    const std::string_view name = raw(name_);
    const std::size_t colon = name.rfind(':');
    return colon == kNone ? name : name.substr(colon + 1);
}

const XmlScanner::Span* XmlScanner::findAttribute(std::string_view localName) const {
    for (const Attribute& attribute : attributes_) {
        std::string_view name = raw(attribute.name);
        const std::size_t colon = name.rfind(':');
        if (colon != kNone)
            name.remove_prefix(colon + 1);
        if (name == localName)
            return &attribute.value;
    }
    return nullptr;
}

std::string_view XmlScanner::rawAttribute(std::string_view localName) const {
    const Span* value = findAttribute(localName);
    return value ? raw(*value) : std::string_view();
}

QString XmlScanner::attribute(std::string_view localName) const {
    const Span* value = findAttribute(localName);
    return value ? decoded(*value) : QString();
}

QString XmlScanner::decoded(Span span) const {
    QString text;
    appendDecoded(span, text);
    return text;
}

void XmlScanner::appendDecoded(std::string_view bytes, bool cdata, QString& to) const {
    const qsizetype had = to.size();
    to.resize(had + static_cast<qsizetype>(bytes.size()));
    const char* why = nullptr;
    const qsizetype units =
        decodeText(bytes, cdata, reinterpret_cast<char16_t*>(to.data() + had), &why);
    if (units < 0) {
        to.resize(had);
        malformed(QString::fromLatin1(why));
    }
    to.resize(had + units);
}

int XmlScanner::lineAt(std::size_t i) const {
    return linesBefore_ + 1 +
           static_cast<int>(
               std::count(buffer_.data(), buffer_.data() + std::min(i, buffer_.size()), '\n'));
}

void XmlScanner::malformed(const QString& what) const {
    throw Refusal{QStringLiteral("%1 is not well-formed XML (line %2: %3)")
                      .arg(what_)
                      .arg(lineAt(tokenStart_))
                      .arg(what)};
}

void XmlScanner::cutOff() const {
    throw Refusal{QStringLiteral("it is damaged (%1 is cut off)").arg(what_)};
}

void XmlScanner::tooLong() const {
    throw Refusal{tooLongText(row == 0
                                  ? what_
                                  : QStringLiteral("%1 (cell %2)")
                                        .arg(what_, columnLetters(column) + QString::number(row)))};
}

} // namespace quorvia
