#include "composition/element_ranges.h"

#include <cctype>

#include "composition/elements.h"

namespace orvelo {

namespace {

bool IsUpper(char c) { return std::isupper(static_cast<unsigned char>(c)) != 0; }
bool IsLower(char c) { return std::islower(static_cast<unsigned char>(c)) != 0; }
bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Reads digits at i; false when there are none or the number exceeds kMaxElementCount.
bool ReadCount(std::string_view text, std::size_t& i, int& value, bool& tooLarge) {
    const std::size_t start = i;
    long v = 0;
    while (i < text.size() && IsDigit(text[i])) {
        v = v * 10 + (text[i++] - '0');
        if (v > kMaxElementCount) tooLarge = true;
        if (v > 1000000) v = 1000000;
    }
    value = static_cast<int>(v);
    return i > start;
}

}  // namespace

ElementRangesParse ParseElementRanges(std::string_view text) {
    ElementRangesParse result;
    const std::string whole(text);
    auto refuse = [&](const std::string& why) {
        result.ranges.clear();
        result.message = why;
        return result;
    };
    if (text.find_first_not_of(' ') == std::string_view::npos)
        return refuse("Не заданы диапазоны элементов: нужна запись вида " + std::string(kDefaultElementRanges));
    std::size_t i = 0;
    bool seen[kElementCount] = {};
    while (i < text.size()) {
        const std::size_t start = i;
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        // A part runs from one capital letter to the next.
        std::size_t end = i + 1;
        while (end < text.size() && !IsUpper(text[end]) && text[end] != ' ') ++end;
        const std::string part(text.substr(start, end - start));
        const std::string where = " в диапазонах элементов \"" + whole + "\"";
        if (!IsUpper(text[i]))
            return refuse("Неверная часть \"" + part + "\"" + where +
                          ": часть начинается с символа элемента, например C0-60");
        std::size_t j = i + 1;
        while (j < end && IsLower(text[j])) ++j;
        const std::string symbol(text.substr(i, j - i));
        const auto element = FindElement(symbol);
        if (!element) return refuse("Неизвестный элемент \"" + symbol + "\"" + where);
        if (seen[*element]) return refuse("Элемент \"" + symbol + "\" указан дважды" + where);
        seen[*element] = true;
        ElementRange range{*element, 0, 0};
        bool tooLarge = false;
        std::size_t k = j;
        const bool haveMin = ReadCount(text, k, range.min, tooLarge);
        range.max = range.min;
        bool good = haveMin;
        if (good && k < end && text[k] == '-') {
            ++k;
            good = ReadCount(text, k, range.max, tooLarge);
        }
        if (!good || k != end)
            return refuse("Неверная часть \"" + part + "\"" + where + ": нужен вид " + symbol + "0-10 или " + symbol +
                          "2");
        if (tooLarge)
            return refuse("Слишком большое число в части \"" + part + "\"" + where + ": не больше " +
                          std::to_string(kMaxElementCount));
        if (range.min > range.max)
            return refuse("Неверная часть \"" + part + "\"" + where + ": меньшее число пишется первым");
        result.ranges.push_back(range);
        i = end;
    }
    return result;
}

}  // namespace orvelo
