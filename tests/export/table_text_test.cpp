#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/table_text.h"

namespace orvelo {
namespace {

TEST(TableText, OneSelectedCellOrNoneCopiesTheWholeTableAndABlockOnlyItself) {
    const std::vector<std::vector<std::string>> table{
        {"M", "Масса", "R"}, {"29", "29.03915", "3000"}, {"43", "43.05481"}};
    const std::vector<std::string> whole{"M\tМасса\tR", "29\t29.03915\t3000", "43\t43.05481\t"};
    EXPECT_EQ(TabSeparatedLines(table, std::nullopt), whole);
    EXPECT_EQ(TabSeparatedLines(table, CellBlock{1, 1, 1, 1}), whole);
    EXPECT_EQ(TabSeparatedLines(table, CellBlock{1, 1, 2, 2}),
              (std::vector<std::string>{"29.03915\t3000", "43.05481\t"}));
    // A block reaching past the table is clipped to it.
    EXPECT_EQ(TabSeparatedLines(table, CellBlock{2, 0, 9, 1}), (std::vector<std::string>{"43\t43.05481"}));
}

}  // namespace
}  // namespace orvelo
