// The library as a file and a module: class, exports, imports, resources.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "harness.h"

namespace {

HMODULE Library() { return GetModuleHandleA("Latticor.dll"); }

template <typename Fn>
Fn Export(const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(Library(), name)));
}

TEST(Library, RegistersTheGridClassAsListed) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  // A global class: any instance finds it, the program's own included.
  ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "LATTICOR", &wc));
  EXPECT_EQ(wc.style, 16395u);
  EXPECT_EQ(wc.cbClsExtra, 0);
  EXPECT_EQ(wc.cbWndExtra, int{sizeof(void*)});  // the state's address: 4 bytes, 8 on 64-bit
  EXPECT_EQ(wc.hbrBackground, nullptr);
  EXPECT_EQ(wc.lpszMenuName, nullptr);
  EXPECT_EQ(wc.hIcon, nullptr);
  ASSERT_NE(wc.hCursor, nullptr);
  EXPECT_EQ(wc.hCursor, LoadCursorA(Library(), MAKEINTRESOURCEA(101)));
  harness::TestParent parent;
  HWND grid = parent.CreateGrid();
  EXPECT_EQ(reinterpret_cast<HMODULE>(GetClassLongPtrA(grid, GCLP_HMODULE)), Library());
  DestroyWindow(grid);
}

TEST(Library, UnloadingRemovesTheClassAndLoadingBringsItBack) {
  // The test program holds one reference; drop it, then take it again.
  ASSERT_TRUE(FreeLibrary(Library()));
  ASSERT_EQ(Library(), nullptr) << "still loaded";
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  EXPECT_FALSE(GetClassInfoExA(GetModuleHandleA(nullptr), "LATTICOR", &wc));
  ASSERT_NE(LoadLibraryA("Latticor.dll"), nullptr);
  EXPECT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "LATTICOR", &wc));
  harness::TestParent parent;
  HWND grid = parent.CreateGrid();
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(harness::Ask(grid, GM_GETCOLCOUNT), 5);
  DestroyWindow(grid);
}

TEST(Library, ExportsItsThreeFunctionsByNameAndOrdinal) {
  const char* names[] = {"GetBmp", "GetGrid_ClassName", "GetID"};
  for (int ordinal = 1; ordinal <= 3; ++ordinal) {
    FARPROC byName = GetProcAddress(Library(), names[ordinal - 1]);
    FARPROC byOrdinal = GetProcAddress(Library(), MAKEINTRESOURCEA(ordinal));
    ASSERT_NE(byName, nullptr) << names[ordinal - 1];
    EXPECT_EQ(byName, byOrdinal) << names[ordinal - 1];
  }
  EXPECT_EQ(GetProcAddress(Library(), MAKEINTRESOURCEA(4)), nullptr);

  auto getId = Export<UINT(WINAPI*)()>("GetID");
  EXPECT_EQ(getId(), 258u);

  auto className = Export<LPCSTR(WINAPI*)()>("GetGrid_ClassName");
  LPCSTR first = className();
  EXPECT_STREQ(first, "LATTICOR");
  EXPECT_EQ(className(), first);
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  COLORREF c = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteDC(dc);
  return c;
}

TEST(Library, GetBmpHandsOutANewToolboxPictureEachCall) {
  auto getBmp = Export<HBITMAP(WINAPI*)()>("GetBmp");
  HBITMAP a = getBmp();
  HBITMAP b = getBmp();
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  BITMAP info{};
  ASSERT_TRUE(GetObjectA(a, sizeof info, &info));
  EXPECT_EQ(info.bmWidth, 20);
  EXPECT_EQ(info.bmHeight, 20);
  EXPECT_EQ(PixelOf(a, 0, 0), RGB(0, 0, 255));        // the blue frame
  EXPECT_EQ(PixelOf(a, 4, 4), RGB(255, 255, 128));    // a pale yellow cell
  EXPECT_EQ(PixelOf(a, 7, 4), RGB(192, 192, 192));    // a silver line
  EXPECT_EQ(PixelOf(a, 1, 10), RGB(0, 0, 0));         // the title shading
  EXPECT_EQ(PixelOf(a, 18, 18), RGB(255, 0, 0));      // the red outline
  DeleteObject(a);
  DeleteObject(b);
}

TEST(Library, ClassCursorIsAPlusWithItsHotSpot) {
  HRSRC found = FindResourceExA(Library(), MAKEINTRESOURCEA(12) /* RT_GROUP_CURSOR */,
                                MAKEINTRESOURCEA(101), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
  ASSERT_NE(found, nullptr);
  HCURSOR cursor = LoadCursorA(Library(), MAKEINTRESOURCEA(101));
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(cursor, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 16u);
  EXPECT_EQ(info.yHotspot, 14u);
  BITMAP mask{};
  GetObjectA(info.hbmMask, sizeof mask, &mask);
  EXPECT_EQ(mask.bmWidth, 32);
  EXPECT_EQ(mask.bmHeight, 64);  // monochrome: AND and XOR masks stacked
  EXPECT_EQ(info.hbmColor, nullptr);
  DeleteObject(info.hbmMask);
  for (int id : {102, 103}) {
    HCURSOR sizing = LoadCursorA(Library(), MAKEINTRESOURCEA(id));
    ASSERT_NE(sizing, nullptr) << id;
    ICONINFO si{};
    ASSERT_TRUE(GetIconInfo(sizing, &si));
    EXPECT_EQ(si.xHotspot, 15u);
    EXPECT_EQ(si.yHotspot, 15u);
    DeleteObject(si.hbmMask);
  }
}

std::string VersionString(const std::vector<char>& data, const char* name) {
  char path[128];
  wsprintfA(path, "\\StringFileInfo\\040904B0\\%s", name);
  LPVOID value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(data.data(), path, &value, &length)) return "(missing)";
  return static_cast<const char*>(value);
}

TEST(Library, CarriesItsVersionResource) {
  char file[MAX_PATH];
  GetModuleFileNameA(Library(), file, MAX_PATH);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(file, &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> data(size);
  ASSERT_TRUE(GetFileVersionInfoA(file, 0, size, data.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<LPVOID*>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileOS, 4u);
  EXPECT_EQ(fixed->dwFileType, 1u);
  EXPECT_EQ(VersionString(data, "Internal Name"), "Latticor");
  EXPECT_EQ(VersionString(data, "FileDescription"), "Latticor Control");
  EXPECT_EQ(VersionString(data, "FileVersion"), "1.5");
  HRSRC version = FindResourceExA(Library(), MAKEINTRESOURCEA(16) /* RT_VERSION */, MAKEINTRESOURCEA(1),
                                  MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
  EXPECT_NE(version, nullptr);
}

// The PE headers of the loaded module, read in place.
template <typename T>
const T* At(HMODULE module, DWORD rva) {
  return reinterpret_cast<const T*>(reinterpret_cast<const BYTE*>(module) + rva);
}

TEST(Library, ImportsOnlySystemLibrariesAndExportsThreeOrdinals) {
  HMODULE module = Library();
  const auto* dos = At<IMAGE_DOS_HEADER>(module, 0);
  const auto* nt = At<IMAGE_NT_HEADERS>(module, dos->e_lfanew);
  ASSERT_EQ(nt->FileHeader.Machine, sizeof(void*) == 4 ? IMAGE_FILE_MACHINE_I386 : IMAGE_FILE_MACHINE_AMD64);

  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  std::set<std::string> allowed = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll"};
  int count = 0;
  for (const auto* d = At<IMAGE_IMPORT_DESCRIPTOR>(module, imports.VirtualAddress); d->Name; ++d) {
    std::string name = At<char>(module, d->Name);
    for (char& c : name) c = static_cast<char>(tolower(c));
    EXPECT_TRUE(allowed.count(name)) << "imports " << name;
    ++count;
  }
  EXPECT_GT(count, 0);

  const IMAGE_DATA_DIRECTORY& exports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  const auto* ex = At<IMAGE_EXPORT_DIRECTORY>(module, exports.VirtualAddress);
  EXPECT_STREQ(At<char>(module, ex->Name), "Latticor.dll");
  EXPECT_EQ(ex->Base, 1u);
  EXPECT_EQ(ex->NumberOfFunctions, 3u);
  ASSERT_EQ(ex->NumberOfNames, 3u);
  const auto* names = At<DWORD>(module, ex->AddressOfNames);
  const auto* ordinals = At<WORD>(module, ex->AddressOfNameOrdinals);
  const char* expected[] = {"GetBmp", "GetGrid_ClassName", "GetID"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_STREQ(At<char>(module, names[i]), expected[i]);  // undecorated
    EXPECT_EQ(ordinals[i] + ex->Base, static_cast<DWORD>(i + 1)) << expected[i];
  }
}

}  // namespace
