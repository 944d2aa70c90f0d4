// Writing pixels out as a 24-bit BMP file, for people to look at.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

bool WriteBmp(const std::string& path, int width, int height, const std::function<COLORREF(int, int)>& pixelAt);
