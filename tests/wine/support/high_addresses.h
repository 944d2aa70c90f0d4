// The high-address mode of the 64-bit tests. A 64-bit process under Wine
// gets its heaps and stacks below 4 GiB, where a pointer cut to 32 bits
// still points at the right place and every test passes. In this mode all
// free address space below 4 GiB is reserved and the heaps' free space
// there is used up first, so that every later allocation (a grid's state,
// its cell table, its texts) lies above 4 GiB and a cut pointer faults.
#pragma once

#include <windows.h>

namespace high_addresses {

constexpr ULONGLONG kFourGiB = 0x100000000ull;

// Whether the environment asks for the mode (LATTICOR_HIGH_ADDRESSES=1).
bool Requested();
// Moves this process's later allocations above 4 GiB. False on 32-bit
// Windows, or when a sample allocation still lands below.
bool Enter();
// Enters the mode inside another process of the same bitness, by loading
// high_addresses.dll there (whose entry point calls Enter).
bool EnterIn(HANDLE process);

}  // namespace high_addresses
