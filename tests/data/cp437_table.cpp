#include "cp437_table.h"

#include <bitset>
#include <fstream>
#include <sstream>

namespace test_data {

std::optional<std::array<char32_t, 256>> loadCp437Table() {
    std::ifstream in(kCp437TablePath);
    if (!in) return std::nullopt;
    std::array<char32_t, 256> table{};
    std::bitset<256> seen;
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("0x", 0) != 0) continue;
        std::istringstream fields(line);
        std::string byte, codePoint;
        fields >> byte >> codePoint;
        if (codePoint.rfind("U+", 0) != 0) continue;
        const unsigned long index = std::stoul(byte, nullptr, 16);
        if (index > 255) continue;
        table[index] = static_cast<char32_t>(std::stoul(codePoint.substr(2), nullptr, 16));
        seen.set(index);
    }
    if (!seen.all()) return std::nullopt;
    return table;
}

}  // namespace test_data
