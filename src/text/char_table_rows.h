// The built-in table contents as readable text (see char_table_rows.cpp).
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace velk {

struct CharTableRows {
    int table;
    std::vector<std::pair<int, const char*>> rows;  // first slot of the row, 16 slots of UTF-8 text
};

const std::vector<CharTableRows>& builtInCharTableRows();

}  // namespace velk
