// Texts between the process's code page — the one the grid's messages and
// the A calls speak, UTF-8 under Celdra's manifest — and UTF-16.
#pragma once

#include <windows.h>

#include <string>

namespace celdra {

// `length` UTF-16 units (up to a zero, if one comes first) in the
// process's code page.
std::string FromWide(const wchar_t* chars, size_t length);

// The length of the longest start of `text` that holds at most `limit`
// bytes and ends between two characters of code page `codePage` (GetACP()
// for the process's own): the whole text when it fits.
size_t CharacterCut(const std::string& text, size_t limit, UINT codePage);

}  // namespace celdra
