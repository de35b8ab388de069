#pragma once

#include <optional>
#include <string>
#include <utility>

// Cell references inside formulas and range lists, shared by the parts of the
// xlsx layer. Text is UTF-8 as it stands in the sheet's XML.
namespace xlsx {

constexpr int kMaxRow = 1048576;
constexpr int kMaxCol = 16384;

// Rows [first, last] after rows [at, at + count) were inserted (count > 0) or
// deleted (count < 0); nullopt when every row of the span was deleted.
std::optional<std::pair<int, int>> shiftSpan(int first, int last, int at, int count);

// Relative references moved by (rows, cols), as copying a cell does.
std::string translateFormula(const std::string &formula, int rows, int cols);

// A space-separated list of blocks ("A1:B2 D4") with its rows shifted as by
// shiftSpan; blocks that vanish are dropped.
std::string shiftRangeList(const std::string &list, int at, int count);

// "B12" → row 12, col 2; nullopt for anything but a plain cell address.
std::optional<std::pair<int, int>> parseCell(const char *text, std::size_t size);

} // namespace xlsx
