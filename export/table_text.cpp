#include "export/table_text.h"

#include <algorithm>

namespace orvelo {

std::vector<std::string> TabSeparatedLines(const std::vector<std::vector<std::string>>& table,
                                           std::optional<CellBlock> block) {
    int columns = 0;
    for (const auto& row : table) columns = std::max(columns, static_cast<int>(row.size()));
    CellBlock b{0, 0, static_cast<int>(table.size()) - 1, columns - 1};
    if (block && !block->singleCell()) {
        b.top = std::max(block->top, 0);
        b.left = std::max(block->left, 0);
        b.bottom = std::min(block->bottom, b.bottom);
        b.right = std::min(block->right, b.right);
    }
    std::vector<std::string> lines;
    for (int r = b.top; r <= b.bottom; ++r) {
        const auto& row = table[static_cast<std::size_t>(r)];
        std::string line;
        for (int c = b.left; c <= b.right; ++c) {
            if (c > b.left) line += '\t';
            if (c < static_cast<int>(row.size())) line += row[static_cast<std::size_t>(c)];
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace orvelo
