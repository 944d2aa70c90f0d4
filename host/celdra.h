// Celdra, the MDI program that shows how the LATTICOR grid is used: its
// process-wide state, its documents and the routines they share.
#pragma once

#include <windows.h>

#include "latticor.h"

namespace celdra {

// Command identifiers of the menus and the toolbar.
enum Command : UINT {
  kCmdNew = 201,
  kCmdOpen = 202,
  kCmdClose = 203,
  kCmdSaveAs = 204,
  kCmdRecentFiles = 205,
  kCmdExit = 206,
  kCmdPrintSetup = 207,
  kCmdSave = 208,
  kCmdPrintPreview = 209,
  kCmdPrint = 210,
  kCmdCut = 211,
  kCmdCopy = 212,
  kCmdPaste = 213,
  kCmdBold = 214,       // bold, italic, underline (214 .. 216), then the
  kCmdAlignBox = 220,   // alignments and the framed box (217 .. 220)
  kCmdAddRow = 221,
  kCmdRemoveRow = 222,
  kCmdDeleteContents = 223,
  kCmdViewToolbar = 224,
  kCmdViewStatusbar = 225,
  kCmdCells = 226,
  kCmdColumns = 227,
  kCmdRows = 228,
  kCmdGridColor = 229,
  kCmdBkColor = 230,
  kCmdTileHorizontal = 231,
  kCmdTileVertical = 232,
  kCmdCascade = 233,
  kCmdContents = 234,
  kCmdAbout = 235,
};

// Buttons 208 .. 220 are enabled only while a document is active.
constexpr UINT kFirstDocumentButton = kCmdSave;
constexpr UINT kLastDocumentButton = kCmdAlignBox;

constexpr UINT kFrameMenu = 101;
constexpr UINT kChildMenu = 102;
constexpr UINT kToolbarBitmap = 51;
constexpr UINT kToolbarId = 250;
constexpr UINT kStatusBarId = 200;
constexpr UINT kFirstChildId = 401;

extern const char kCaption[];           // "Celdra"
extern const char kNotAvailableText[];  // "This does not works for now"

// The one process-wide record.
struct HostState {
  HINSTANCE instance;
  HMENU frameMenu;  // menu 101, on the frame while no document is active
  HMENU childMenu;  // menu 102, while one is
  HWND mdiClient;
  HWND frame;
  HWND statusBar;
  HWND toolbar;
  HMODULE library;
  MDICREATESTRUCTA newChildTemplate;
};
extern HostState host;

// One per document, in the document window's slot 0.
struct ChildData {
  HWND grid;
  HWND editor;   // the in-place edit box, a child of the grid
  UINT editing;  // the user is typing into the current cell
  HFONT font;    // the document's font, given back when it closes
};

// Start-up and the main loop, step by step so that tests can run them.
bool LoadControlLibrary(const char* fileName);  // reports a failure
void RegisterClasses();
HWND CreateFrame();
int RunMessageLoop();
void ShutDown();
int Run();  // all of it; the process's exit code

LRESULT CALLBACK FrameProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ChildProc(HWND, UINT, WPARAM, LPARAM);

constexpr char kChildClass[] = "ChildClass";  // a document's window class

// The active document and its grid, or null.
HWND ActiveDocument();
HWND ActiveGrid();
// The toolbar made again for `dpi`, in the old one's place.
void RebuildToolbar(HWND frame, UINT dpi);
// Titles: columns 1 .. count - 1 in row 0; rows 1 .. count - 1 in column 0.
void SetColumnTitles(HWND grid, UINT count);
void SetRowTitles(HWND grid, UINT count);
// Toolbar buttons 208 .. 220 on or off.
void EnableDocumentButtons(bool enable);
void ShowNotAvailable();

// The dialogs and the colour chooser.
INT_PTR CALLBACK FormColsProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK FormRowsProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK AboutProc(HWND, UINT, WPARAM, LPARAM);
COLORREF PickColor(HWND owner, COLORREF initial);

}  // namespace celdra
