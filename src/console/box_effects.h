#pragma once
// Library-internal: what the text box and the input box add to a frame of
// three rows (top to top + 2): the opening animation and the shadow.

namespace orvask::detail {

// The frame from `left` to `right` grows from the middle outwards, one
// column each side per step, filled and straight on the console; a wide
// frame steps faster than a narrow one (5 to 40 ms a step).
void openingAnimation(int left, int top, int right, unsigned char framefg, unsigned char bg);

// Calls `dim(x, y)` for every cell the shadow of that frame falls on: the
// row below it, one column further right, and the column right of it.
template <typename Dim>
void forEachShadowCell(int left, int top, int right, Dim dim) {
    for (int x = left + 1; x <= right + 1; ++x)
        dim(x, top + 3);
    for (int y = top + 1; y <= top + 2; ++y)
        dim(right + 1, y);
}

}  // namespace orvask::detail
