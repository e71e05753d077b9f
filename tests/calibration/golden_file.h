#pragma once
// Byte-exact comparison of a writer's lines with a committed golden file under
// tests/data/golden/. The golden file holds the bytes the program writes: Windows-1251, CR LF.
// With ORVELO_UPDATE_GOLDEN=1 in the environment the golden file is rewritten instead.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/cp1251.h"
#include "core/text_file.h"

namespace orvelo::testing {

inline std::string FileBytesOf(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) bytes += Utf8ToCp1251(line) + "\r\n";
    return bytes;
}

inline std::string GoldenPath(const std::string& name) { return std::string(ORVELO_TEST_DATA) + "/golden/" + name; }

inline void ExpectMatchesGolden(const std::vector<std::string>& lines, const std::string& name) {
    const std::string actual = FileBytesOf(lines);
    const char* update = std::getenv("ORVELO_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        WriteFileAtomically(GoldenPath(name), actual);
        return;
    }
    std::string expected;
    ASSERT_NO_THROW(expected = ReadFileBytes(GoldenPath(name))) << "missing golden file " << name;
    if (expected == actual) return;
    // Point at the first differing line to make the failure readable.
    std::size_t line = 1, i = 0;
    while (i < expected.size() && i < actual.size() && expected[i] == actual[i]) {
        if (expected[i] == '\n') ++line;
        ++i;
    }
    ADD_FAILURE() << name << " differs from its golden file at line " << line << " (byte " << i << ")";
}

}  // namespace orvelo::testing
