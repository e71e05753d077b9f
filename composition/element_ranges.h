#pragma once
// Which elements a formula may hold and how many of each: a setting written as symbols with
// their ranges, "C0-60H0-120N0-6O0-10", a single count meaning exactly that many ("C6").
#include <string>
#include <string_view>
#include <vector>

namespace orvelo {

inline constexpr const char* kDefaultElementRanges = "C0-60H0-120N0-6O0-10S0-4Cl0-6Br0-4Si0-4F0-30P0-2I0-2";
inline constexpr int kMaxElementCount = 999;

struct ElementRange {
    int element = 0;  // ElementId
    int min = 0;
    int max = 0;
};

struct ElementRangesParse {
    std::vector<ElementRange> ranges;  // in the order written
    std::string message;               // why the text was refused; empty when it was read

    bool ok() const { return message.empty(); }
};

// Refuses with a message that names the part it could not read.
ElementRangesParse ParseElementRanges(std::string_view text);

}  // namespace orvelo
