#pragma once
// Library-internal: the recorded screen size that scrw()/scrh() report.
// Only consize() records a new size.

namespace orvask::detail {

void recordScreenSize(short width, short height);

}  // namespace orvask::detail
