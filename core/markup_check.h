#pragma once
// The checks of an mzML or mzXML document's bytes that come before any XML parser sees them: a
// zero byte (which no document holds), and a document that ends inside markup (a tag, a
// comment, a CDATA section, a processing instruction or a declaration that is never closed,
// as in a truncated file). The library's XML parser is safe against neither: a zero byte in a
// tag crashed it, and a document ending inside a long tag made it read memory it never wrote.
// The bytes are given in pieces, in order, so that a file is checked while it is read.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orvelo {

class MarkupCheck {
public:
    // Throws OrveloError naming `name` at the first zero byte.
    void Feed(std::string_view bytes, const std::string& name);
    // After the last piece: throws OrveloError naming `name` when the document ends inside markup.
    void Finish(const std::string& name) const;

private:
    enum class State { Text, Opening, Tag, Quoted, Comment, Cdata, Instruction };
    void Step(char c);

    State state_ = State::Text;
    std::size_t offset_ = 0;    // of the next byte
    std::size_t openedAt_ = 0;  // where the markup now open began
    std::string opening_;       // the bytes after "<" until the kind of markup is known
    char quote_ = 0;
    int run_ = 0;  // closing characters seen in a row: "--", "]]" or "?"
};

// The whole document at once.
void CheckMarkup(std::string_view document, const std::string& name);
// A file, read in pieces.
void CheckMarkupOfFile(const std::string& path);

}  // namespace orvelo
