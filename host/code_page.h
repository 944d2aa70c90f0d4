// Texts between the process's code page — the one the grid's messages and
// the A calls speak, UTF-8 under Celdra's manifest — and UTF-16.
#pragma once

#include <windows.h>

#include <string>

#include "core/char_boundary.h"

namespace celdra {

// `length` UTF-16 units (up to a zero, if one comes first) in the
// process's code page.
std::string FromWide(const wchar_t* chars, size_t length);

// How the process's code page makes characters of bytes, for cutting texts
// to a byte limit with latticor::CharBoundaryAtOrBefore.
latticor::Encoding ProcessEncoding();

}  // namespace celdra
