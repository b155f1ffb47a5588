#pragma once
// Library-internal: how wide a markup text prints.

namespace orvask::detail {

// The cells Pm prints for `text` with eight zero arguments and no right edge
// in the way: every glyph one cell, every number field its printed width,
// the codes themselves nothing. A null text is 0 cells.
int markupWidth(const char* text);

}  // namespace orvask::detail
