#include "orvask/platform/console_model.h"

#include <algorithm>

namespace orvask::platform {

ConsoleModel::ConsoleModel(Coord size) : size_{0, 0} {
    resize(size);
}

void ConsoleModel::resize(Coord size) {
    const Coord next{std::max<std::int16_t>(size.x, 1), std::max<std::int16_t>(size.y, 1)};
    std::vector<CellData> cells(static_cast<std::size_t>(next.x) *
                                static_cast<std::size_t>(next.y));
    for (int y = 0; y < std::min(next.y, size_.y); ++y) {
        for (int x = 0; x < std::min(next.x, size_.x); ++x) {
            cells[static_cast<std::size_t>(y) * static_cast<std::size_t>(next.x) +
                  static_cast<std::size_t>(x)] = cell(x, y);
        }
    }
    cells_ = std::move(cells);
    size_ = next;
    cursor_.x = std::min<std::int16_t>(cursor_.x, static_cast<std::int16_t>(size_.x - 1));
    cursor_.y = std::min<std::int16_t>(cursor_.y, static_cast<std::int16_t>(size_.y - 1));
}

void ConsoleModel::setCursor(Coord pos) {
    if (pos.x < 0 || pos.y < 0 || pos.x >= size_.x || pos.y >= size_.y) return;
    cursor_ = pos;
}

void ConsoleModel::write(const char* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        put(static_cast<std::uint8_t>(bytes[i]));
}

void ConsoleModel::put(std::uint8_t byte) {
    if (byte == '\n') {
        newLine();
        return;
    }
    cell(cursor_.x, cursor_.y) = CellData{byte, attribute_};
    if (++cursor_.x >= size_.x) newLine();
}

void ConsoleModel::newLine() {
    cursor_.x = 0;
    if (cursor_.y + 1 >= size_.y) {
        scrollUp();
    } else {
        ++cursor_.y;
    }
}

void ConsoleModel::scrollUp() {
    const auto w = static_cast<std::ptrdiff_t>(size_.x);
    std::move(cells_.begin() + w, cells_.end(), cells_.begin());
    std::fill(cells_.end() - w, cells_.end(), CellData{' ', attribute_});
}

std::string ConsoleModel::rowText(int y) const {
    std::string text;
    text.reserve(static_cast<std::size_t>(size_.x));
    for (int x = 0; x < size_.x; ++x)
        text.push_back(static_cast<char>(cell(x, y).glyph));
    return text;
}

}  // namespace orvask::platform
