#include "core/markup_check.h"

#include <cstring>
#include <fstream>

#include "core/errors.h"

namespace orvelo {

namespace {

constexpr std::string_view kComment = "!--";
constexpr std::string_view kCdata = "![CDATA[";

bool StartsAs(std::string_view whole, std::string_view part) { return whole.substr(0, part.size()) == part; }

}  // namespace

void MarkupCheck::Feed(std::string_view bytes, const std::string& name) {
    if (const void* zero = std::memchr(bytes.data(), 0, bytes.size()))
        throw OrveloError(
            "Файл \"" + name + "\" не является документом mzML или mzXML: нулевой байт в позиции " +
            std::to_string(offset_ + static_cast<std::size_t>(static_cast<const char*>(zero) - bytes.data())));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (state_ == State::Text) {  // most of a document: skipped to the next "<"
            const void* open = std::memchr(bytes.data() + i, '<', bytes.size() - i);
            if (open == nullptr) break;
            i = static_cast<std::size_t>(static_cast<const char*>(open) - bytes.data());
            openedAt_ = offset_ + i;
        }
        Step(bytes[i]);
    }
    offset_ += bytes.size();
}

void MarkupCheck::Step(char c) {
    switch (state_) {
        case State::Text:
            if (c == '<') {
                state_ = State::Opening;
                opening_.clear();
            }
            return;
        case State::Opening:
            opening_ += c;
            if (opening_ == kComment) {
                state_ = State::Comment;
                run_ = 0;
            } else if (opening_ == kCdata) {
                state_ = State::Cdata;
                run_ = 0;
            } else if (opening_.front() == '?') {
                state_ = State::Instruction;
                run_ = 0;
            } else if (!StartsAs(kComment, opening_) && !StartsAs(kCdata, opening_)) {
                // A start or end tag, or a declaration ("<!DOCTYPE"): it ends at the first ">"
                // outside quotes.
                const std::string rest = opening_.front() == '!' ? opening_.substr(1) : opening_;
                state_ = State::Tag;
                for (char r : rest) Step(r);
            }
            return;
        case State::Tag:
            if (c == '>') state_ = State::Text;
            else if (c == '"' || c == '\'') {
                state_ = State::Quoted;
                quote_ = c;
            }
            return;
        case State::Quoted:
            if (c == quote_) state_ = State::Tag;
            return;
        case State::Comment:
        case State::Cdata: {
            const char closing = state_ == State::Comment ? '-' : ']';
            if (c == '>' && run_ >= 2) state_ = State::Text;
            else run_ = c == closing ? run_ + 1 : 0;
            return;
        }
        case State::Instruction:
            if (c == '>' && run_ > 0) state_ = State::Text;
            else run_ = c == '?' ? 1 : 0;
            return;
    }
}

void MarkupCheck::Finish(const std::string& name) const {
    if (state_ == State::Text) return;
    const char* what = state_ == State::Comment       ? "комментария"
                       : state_ == State::Cdata       ? "раздела CDATA"
                       : state_ == State::Instruction ? "инструкции обработки"
                                                      : "тега";
    throw OrveloError("Файл \"" + name + "\" не является документом mzML или mzXML: он обрывается внутри " + what +
                      " (начало в позиции " + std::to_string(openedAt_) + ")");
}

void CheckMarkup(std::string_view document, const std::string& name) {
    MarkupCheck check;
    check.Feed(document, name);
    check.Finish(name);
}

void CheckMarkupOfFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    MarkupCheck check;
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        check.Feed(std::string_view(buffer, static_cast<std::size_t>(in.gcount())), path);
    check.Finish(path);
}

}  // namespace orvelo
