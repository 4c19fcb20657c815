#pragma once

#include <QString>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorvia {

// What is wrong with a workbook, as the reason a reader gives.
struct Refusal {
    QString reason;
};

// A pull reader of one XML part of a workbook, as fast as the bytes come: it reads the part in
// blocks as they are unpacked and hands out elements, their attributes and their texts as spans
// of its buffer, decoding only what is asked for. It checks what every well-formed part is
// (tags that match, attribute syntax, known references, text only inside the root), refuses a
// document type and a run of more than a mebibyte without markup, and throws a Refusal naming
// the part (what) for anything else. Spans stay valid until the next call of next(), and for the
// whole part when keepAll is set (the part is then held whole, for texts decoded later).
class XmlScanner {
public:
    // Reads up to size more bytes of the part into data: the number read, 0 at its end, -1 when
    // it cannot be unpacked.
    using Source = std::function<qint64(char* data, qint64 size)>;
    enum class Token { StartElement, EndElement, Text, EndOfPart };
    struct Span {
        std::size_t begin = 0;
        std::size_t end = 0;
        bool cdata = false; // a CDATA section: no references in it
    };

    XmlScanner(QString what, Source source, bool keepAll = false);

    Token next();
    // The current element's nesting (the root is 1), its name without a namespace prefix, whether
    // it closes itself (its EndElement comes next), and its attribute of that local name as
    // written (empty when it has none).
    int depth() const { return static_cast<int>(open_.size()); }
    std::string_view localName() const;
    std::string_view rawAttribute(std::string_view localName) const;
    QString attribute(std::string_view localName) const;
    // The current text (a Text token), as written and decoded.
    Span textSpan() const { return text_; }
    std::string_view raw(Span span) const {
        return buffer_.view().substr(span.begin, span.end - span.begin);
    }
    QString decoded(Span span) const;
    void appendDecoded(Span span, QString& to) const { appendDecoded(raw(span), span.cdata, to); }
    void appendDecoded(std::string_view bytes, bool cdata, QString& to) const;

    // The cell the reader is in (row 0: none), named in a refusal of a run that is too long.
    int row = 0;
    int column = 0;

    [[noreturn]] void malformed(const QString& what) const;
    [[noreturn]] void cutOff() const;

private:
    bool fill();
    // The byte at i, reading on as needed; -1 at the end of the part.
    int at(std::size_t i) {
        if (i < buffer_.size()) [[likely]]
            return static_cast<unsigned char>(buffer_[i]);
        return atEnd(i);
    }
    int atEnd(std::size_t i);
    std::size_t find(std::string_view what, std::size_t from);
    const Span* findAttribute(std::string_view localName) const;
    std::size_t nameEnd(std::size_t from);
    bool skipBlanks(std::size_t& i);
    void checkReferences(std::size_t begin, std::size_t end) const;
    void readDeclaration(std::size_t begin, std::size_t end);
    Token startTag();
    Token endTag();
    [[noreturn]] void tooLong() const;
    int lineAt(std::size_t i) const;

    // The bytes read and not yet dropped, grown without clearing what is to be read over.
    class Bytes {
    public:
        std::size_t size() const { return size_; }
        const char* data() const { return data_.get(); }
        char operator[](std::size_t i) const { return data_[i]; }
        std::string_view view() const { return {data_.get(), size_}; }
        char* grow(std::size_t more);
        void added(std::size_t n) { size_ += n; }
        void dropFront(std::size_t n);

    private:
        std::unique_ptr<char[]> data_;
        std::size_t size_ = 0;
        std::size_t capacity_ = 0;
    };

    QString what_;
    Source source_;
    bool keepAll_;
    bool ended_ = false;
    Bytes buffer_;
    std::size_t pos_ = 0;
    std::size_t tokenStart_ = 0;
    int linesBefore_ = 0; // in the bytes already dropped from the buffer
    bool rootSeen_ = false;
    bool rootClosed_ = false;
    bool closeNext_ = false;
    std::vector<std::string> open_;
    Span name_;
    struct Attribute {
        Span name;
        Span value;
    };
    std::vector<Attribute> attributes_;
    Span text_;
};

// The longest text a cell holds.
constexpr qsizetype kMaxCellText = 32767;

QString tooLongText(const QString& place);

} // namespace quorvia
