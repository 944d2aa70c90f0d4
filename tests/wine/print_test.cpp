// GM_PRINT: on a memory device context standing in for the printer, read
// back pixel by pixel; and through a real printer driver into a PDF.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "grid_fixture.h"

namespace {

using harness::Ask;
using harness::Page;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

struct PrintTest : harness::GridFixture {
  // Painted: printing uses the positions of the last paint.
  void SetUp() override { MakeGrid(harness::GridSetup().GridColor(kRed).KeepNotes()); }
  LRESULT Print(HDC dc, UINT colFrom, UINT colTo, UINT rowFrom, UINT rowTo, UINT percent = 100) {
    GridPrintRange range{colFrom, colTo, rowFrom, rowTo, percent};
    return Ask(grid, GM_PRINT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(&range));
  }
};

TEST_F(PrintTest, FourCellsAreFramedAtTheirScreenPositions) {
  Page page;
  Print(page.dc(), 1, 2, 1, 2);
  // (50, 20, 100, 40), (100, 20, 150, 40), (50, 40, 100, 60), (100, 40, 150, 60):
  // unshifted, so inner borders are two lines wide.
  for (int x : {50, 99, 100, 149}) EXPECT_EQ(page.At(x, 30), kRed) << x;
  for (int y : {20, 39, 40, 59}) EXPECT_EQ(page.At(75, y), kRed) << y;
  EXPECT_EQ(page.At(75, 30), kWhite) << "no brush: the paper shows inside";
  EXPECT_EQ(page.At(98, 30), kWhite);
  EXPECT_EQ(page.Marked(0, 0, 600, 20), 0) << "the title row is not printed";
  EXPECT_EQ(page.Marked(0, 0, 50, 400), 0) << "nor the title column";
  EXPECT_EQ(page.Marked(150, 0, 600, 400), 0);
  EXPECT_EQ(page.Marked(0, 60, 600, 400), 0);
}

TEST_F(PrintTest, HalfTheScaleHalvesTheCells) {
  Page page;
  Print(page.dc(), 1, 2, 1, 2, 50);
  EXPECT_EQ(page.At(25, 15), kRed);
  EXPECT_EQ(page.At(37, 10), kRed);
  EXPECT_EQ(page.Marked(76, 0, 600, 400), 0);
  EXPECT_EQ(page.Marked(0, 31, 600, 400), 0);
}

TEST_F(PrintTest, OneCellAndItsText) {
  HFONT font = CreateFontA(16, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  Ask(grid, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  harness::SetCellText(grid, 3, 2, "WW");
  Ask(grid, GM_SETCELLCOLOR, GRID_CELL(3, 2), RGB(0, 0, 255));
  Page page;
  Print(page.dc(), 3, 3, 2, 2);
  EXPECT_EQ(page.At(150, 50), kRed);
  EXPECT_EQ(page.At(199, 50), kRed);
  EXPECT_GT(page.Marked(152, 42, 198, 58), 10) << "the text inside";
  EXPECT_EQ(page.Marked(0, 0, 149, 400), 0);
  EXPECT_EQ(page.Marked(201, 0, 600, 400), 0);
  DestroyWindow(grid);
  grid = nullptr;
  DeleteObject(font);
}

TEST_F(PrintTest, ABackwardRangePrintsItsFirstColumnAndRowOnly) {
  Page page;
  Print(page.dc(), 3, 1, 2, 2);
  EXPECT_EQ(page.At(150, 50), kRed) << "column 3 alone";
  EXPECT_EQ(page.Marked(0, 0, 149, 400), 0);
  Page rows;
  Print(rows.dc(), 1, 1, 3, 1);
  EXPECT_EQ(rows.At(50, 70), kRed) << "row 3 alone";
  EXPECT_EQ(rows.Marked(0, 0, 600, 59), 0);
}

TEST_F(PrintTest, TitleCellsInTheRangePrintLikeAnyCell) {
  Page page;
  Print(page.dc(), 0, 1, 0, 0);
  EXPECT_EQ(page.At(0, 10), kRed) << "column 0 runs from 0";
  EXPECT_EQ(page.At(49, 10), kRed);
  EXPECT_EQ(page.At(50, 10), kRed);
  EXPECT_EQ(page.At(25, 0), kRed);
  EXPECT_EQ(page.At(25, 10), kWhite) << "no raised edges, no button face";
}

TEST_F(PrintTest, TheCallersDeviceContextComesBackAsItWas) {
  Page page;
  HGDIOBJ font = GetCurrentObject(page.dc(), OBJ_FONT);
  HGDIOBJ pen = GetCurrentObject(page.dc(), OBJ_PEN);
  HGDIOBJ brush = GetCurrentObject(page.dc(), OBJ_BRUSH);
  const int before = harness::FreeGdiSlots();
  Print(page.dc(), 1, 4, 1, 3);
  EXPECT_EQ(GetMapMode(page.dc()), MM_TEXT);
  EXPECT_EQ(GetCurrentObject(page.dc(), OBJ_FONT), font);
  EXPECT_EQ(GetCurrentObject(page.dc(), OBJ_PEN), pen);
  EXPECT_EQ(GetCurrentObject(page.dc(), OBJ_BRUSH), brush);
  EXPECT_EQ(GetBkMode(page.dc()), OPAQUE);
  EXPECT_EQ(harness::FreeGdiSlots(), before) << "the pen is deleted";
}

TEST_F(PrintTest, RangesOutsideTheGridAreClippedOrPrintNothing) {
  Page page;
  EXPECT_EQ(Ask(grid, GM_PRINT, reinterpret_cast<WPARAM>(page.dc()), 0), 0) << "no request";
  EXPECT_EQ(Print(page.dc(), 5, 9, 1, 1), 0);
  EXPECT_EQ(Print(page.dc(), 1, 1, 4, 9), 0);
  EXPECT_EQ(Print(page.dc(), 0xFFFFFFFF, 1, 1, 1), 0);
  EXPECT_EQ(page.Marked(0, 0, 600, 400), 0);
  Print(page.dc(), 4, 300, 3, 20000);  // cut to column 4, row 3
  EXPECT_EQ(page.At(200, 70), kRed);
  EXPECT_EQ(page.At(249, 70), kRed);
  EXPECT_EQ(page.Marked(251, 0, 600, 400), 0);
  EXPECT_EQ(page.Marked(0, 81, 600, 400), 0);
}

// ---- Through a real printer ----------------------------------------------

constexpr char kPrinter[] = "LatticorPDF";  // a CUPS queue writing PDF files

// Where the queue leaves its PDF files; the test script says.
std::string PdfFolder() {
  char folder[MAX_PATH] = {};
  GetEnvironmentVariableA("LATTICOR_PDF_DIR", folder, MAX_PATH);
  return folder;
}

std::set<std::string> PdfFiles(const std::string& folder) {
  std::set<std::string> files;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((folder + "\\*.pdf").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return files;
  do {
    files.insert(folder + "\\" + found.cFileName);
  } while (FindNextFileA(h, &found));
  FindClose(h);
  return files;
}

// Runs a Unix program (by its Z: path) and waits for `output` to appear.
bool RunUnix(std::string command, const std::string& output) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  for (int i = 0; i < 100; ++i) {
    if (GetFileAttributesA(output.c_str()) != INVALID_FILE_ATTRIBUTES) {
      Sleep(200);  // let it finish writing
      return true;
    }
    Sleep(100);
  }
  return false;
}

std::string UnixPath(std::string windowsPath) {
  for (char& c : windowsPath) c = c == '\\' ? '/' : c;
  return windowsPath.substr(2);  // past "Z:"
}

TEST_F(PrintTest, APrinterDriverPutsTheCellsOnPaperAtScreenSize) {
  HDC printer = CreateDCA("WINSPOOL", kPrinter, nullptr, nullptr);
  ASSERT_NE(printer, nullptr) << "no printer " << kPrinter << ": scripts/test sets up the CUPS queue";
  const std::string folder = PdfFolder();
  const std::set<std::string> before = PdfFiles(folder);
  HFONT font = CreateFontA(14, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  Ask(grid, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  Ask(grid, GM_SETGRIDCOLOR, RGB(0, 0, 0));
  harness::SetCellText(grid, 1, 1, "Printed");
  EXPECT_GT(Print(printer, 1, 2, 1, 2), 0) << "EndDoc's result";
  DeleteDC(printer);

  std::string pdf;
  for (int i = 0; i < 150 && pdf.empty(); ++i) {
    for (const std::string& f : PdfFiles(folder)) {
      if (!before.count(f)) pdf = f;
    }
    Sleep(100);
  }
  ASSERT_FALSE(pdf.empty()) << "no new PDF in " << folder;
  // Render the page at the screen's 96 dpi: a screen pixel is a pixel again.
  const std::string pgm = harness::ShotPath("printed-page");
  ASSERT_TRUE(RunUnix("Z:\\usr\\bin\\pdftoppm -r 96 -gray -singlefile \"" + UnixPath(pdf) + "\" \"" +
                          UnixPath(pgm) + "\"",
                      pgm + ".pgm"));
  ASSERT_TRUE(RunUnix("Z:\\usr\\bin\\pdftotext \"" + UnixPath(pdf) + "\" \"" + UnixPath(pgm) + ".txt\"", pgm + ".txt"));
  std::ifstream text(pgm + ".txt");
  std::string words((std::istreambuf_iterator<char>(text)), std::istreambuf_iterator<char>());
  EXPECT_NE(words.find("Printed"), std::string::npos) << "the cell's text is on the page";

  // The dark pixels' extent: the frames of two columns and two rows.
  std::ifstream image(pgm + ".pgm", std::ios::binary);
  std::string magic;
  int width = 0, height = 0, maxValue = 0;
  image >> magic >> width >> height >> maxValue;
  image.get();
  ASSERT_EQ(magic, "P5");
  std::string gray(size_t(width) * height, '\0');
  image.read(&gray[0], gray.size());
  int left = width, right = -1, top = height, bottom = -1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (static_cast<unsigned char>(gray[size_t(y) * width + x]) < 128) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
    }
  }
  ASSERT_GE(right, 0) << "nothing printed";
  EXPECT_NEAR(right - left + 1, 100, 2) << "two columns of 50 screen pixels";
  EXPECT_NEAR(bottom - top + 1, 40, 2) << "two rows of 20";
  DestroyWindow(grid);
  grid = nullptr;
  DeleteObject(font);
}

}  // namespace
