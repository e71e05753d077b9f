#pragma once
// The results table as tab-separated text: the popup entries "Копировать в TXT-файл" and
// "Копировать в Excel" (the selected block of cells, or the whole table, head row included, when
// one cell or nothing is selected) and the command-line program's results.tsv (the whole table).
#include <optional>
#include <string>
#include <vector>

namespace orvelo {

// Inclusive cell block in table rows (row 0 the head row) and columns.
struct CellBlock {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;

    bool singleCell() const { return top == bottom && left == right; }
};

// Rows of cells joined by tabs; the block is clipped to the table. Without a block, or with a
// single-cell block, the whole table.
std::vector<std::string> TabSeparatedLines(const std::vector<std::vector<std::string>>& table,
                                           std::optional<CellBlock> block);

}  // namespace orvelo
