#pragma once

#include <string>

namespace zelvo {

// 128-bit integers of the compiler (GCC and Clang provide them).
__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 UInt128;

// Decimal text of 128-bit integers.
std::string int128_to_string(Int128 value);
std::string uint128_to_string(UInt128 value);

}  // namespace zelvo
