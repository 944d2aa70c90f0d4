// Start-up, the MDI frame with its toolbar and status bar, its commands,
// and the main loop.
#include "celdra.h"
#include "dpi.h"
// After windows.h, which it needs.
#include <commctrl.h>

namespace celdra {

HostState host;
const char kCaption[] = "Celdra";
// Celdra's own words, kept as users have always read them, grammar and all.
const char kNotAvailableText[] = "This does not works for now";

namespace {

constexpr char kFrameClass[] = "CeldraClass";

void Button(TBBUTTON& b, int image, int command, BYTE style) {
  b = TBBUTTON{};
  b.iBitmap = image;
  b.idCommand = command;
  b.fsState = TBSTATE_ENABLED;
  b.fsStyle = style;
}

// The toolbar for `dpi`: its pictures and buttons, padding included, drawn
// for 96 DPI and scaled.
HWND CreateToolbar(HWND frame, UINT dpi) {
  struct Entry {
    int image, command;
    BYTE style;
  };
  constexpr BYTE kSep = TBSTYLE_SEP, kPush = TBSTYLE_BUTTON, kCheck = TBSTYLE_CHECK,
                 kGroup = TBSTYLE_CHECKGROUP;
  static const Entry entries[] = {
      {0, kCmdNew, kPush},       {1, kCmdOpen, kPush},  {2, kCmdSave, kPush},  {0, 0, kSep},
      {3, kCmdPrintPreview, kPush}, {4, kCmdPrint, kPush}, {0, 0, kSep},         {5, kCmdCut, kPush},
      {6, kCmdCopy, kPush},      {7, kCmdPaste, kPush}, {0, 0, kSep},          {8, kCmdBold, kCheck},
      {9, kCmdBold + 1, kCheck}, {10, kCmdBold + 2, kCheck}, {0, 0, kSep},     {11, kCmdBold + 3, kGroup},
      {12, kCmdBold + 4, kGroup}, {13, kCmdBold + 5, kGroup}, {14, kCmdAlignBox, kGroup}, {0, 0, kSep},
      {15, kCmdAbout, kPush},    {0, 0, kSep},
  };
  TBBUTTON buttons[22];
  for (int i = 0; i < 22; ++i) Button(buttons[i], entries[i].image, entries[i].command, entries[i].style);
  static_assert(sizeof(TBBUTTON) == (sizeof(void*) == 4 ? 20 : 32), "the record size the toolbar is told");
  HBITMAP pictures = ToolbarPictures(dpi);
  if (!pictures) {
    return CreateToolbarEx(frame, 0x46000101, kToolbarId, 1, host.instance, kToolbarBitmap, buttons, 22, 16, 16,
                           16, 16, sizeof(TBBUTTON));
  }
  const int side = AtDpi(16, dpi);
  HWND bar = CreateToolbarEx(frame, 0x46000101, kToolbarId, 1, nullptr, reinterpret_cast<UINT_PTR>(pictures),
                             buttons, 22, side, side, side, side, sizeof(TBBUTTON));
  DeleteObject(pictures);  // the toolbar keeps a copy in its image list
  SendMessageA(bar, TB_SETPADDING, 0, MAKELPARAM(AtDpi(7, dpi), AtDpi(6, dpi)));
  SendMessageA(bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(side + AtDpi(7, dpi), side + AtDpi(6, dpi)));
  return bar;
}

// The toolbar made and shown, its document buttons as the documents say.
void SetUpToolbar(HWND frame, UINT dpi) {
  host.toolbar = CreateToolbar(frame, dpi);
  EnableDocumentButtons(ActiveDocument() != nullptr);
  SendMessageA(host.toolbar, TB_SETSTYLE, 0, 0x801);  // TBSTYLE_FLAT | CCS_TOP
  ShowWindow(host.toolbar, SW_SHOWNORMAL);
}

LRESULT OnCreate(HWND frame) {
  host.frameMenu = GetMenu(frame);
  CLIENTCREATESTRUCT ccs{};
  ccs.hWindowMenu = GetSubMenu(host.frameMenu, 4);  // menu 101 has none: no window menu yet
  ccs.idFirstChild = kFirstChildId;
  host.mdiClient = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr, 0x52000000, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, frame, nullptr, host.instance,
                                   &ccs);
  MDICREATESTRUCTA& t = host.newChildTemplate;
  t.szClass = kChildClass;
  t.szTitle = "Spreadsheet";
  t.hOwner = host.instance;
  t.x = t.y = t.cx = t.cy = CW_USEDEFAULT;
  t.style = 0x06000000;  // WS_CLIPSIBLINGS | WS_CLIPCHILDREN
  t.lParam = 0;
  SetUpToolbar(frame, DpiOf(frame));
  host.statusBar = CreateStatusWindowA(0x50000010, "", frame, kStatusBarId);
  int parts[] = {120, 240, 360, -1};
  SendMessageA(host.statusBar, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(parts));
  return 0;
}

// The MDI client fills exactly the space between toolbar and status bar.
LRESULT OnSize(HWND frame) {
  if (!host.mdiClient) return 0;
  RECT client;
  GetClientRect(frame, &client);
  SendMessageA(host.toolbar, TB_AUTOSIZE, 0, 0);
  MoveWindow(host.statusBar, 0, 0, 0, 0, TRUE);  // it docks itself at the bottom
  RECT bar, status;
  GetWindowRect(host.toolbar, &bar);
  GetWindowRect(host.statusBar, &status);
  POINT top{0, bar.bottom}, bottom{0, status.top};
  ScreenToClient(frame, &top);
  ScreenToClient(frame, &bottom);
  MoveWindow(host.mdiClient, 0, top.y, client.right, bottom.y - top.y, TRUE);
  return 0;
}

}  // namespace

HWND ActiveDocument() {
  return host.mdiClient ? reinterpret_cast<HWND>(SendMessageA(host.mdiClient, WM_MDIGETACTIVE, 0, 0)) : nullptr;
}

void RebuildToolbar(HWND frame, UINT dpi) {
  DestroyWindow(host.toolbar);
  SetUpToolbar(frame, dpi);
  OnSize(frame);
}

namespace {

// Grid Color and Control BkColor: the chooser starts from the grid's colour,
// and whatever it answers goes back, a cancel included.
void ChangeColor(UINT get, UINT set) {
  HWND grid = ActiveGrid();
  if (!grid) return;
  const auto current = static_cast<COLORREF>(SendMessageA(grid, get, 0, 0));
  SendMessageA(grid, set, PickColor(host.frame, current), 0);
}

void OpenDialog(const char* name, HWND owner, DLGPROC proc) {
  if (!ActiveGrid() && proc != AboutProc) return;  // the format dialogs need a document
  DialogBoxParamA(host.instance, name, owner, proc, 0);
}

LRESULT OnCommand(HWND frame, UINT msg, WPARAM wParam, LPARAM lParam) {
  const UINT command = LOWORD(wParam);
  if (command >= kCmdBold && command <= kCmdAlignBox) {  // the text-format buttons
    ShowNotAvailable();
    return 0;
  }
  switch (command) {
    case kCmdNew:
      SendMessageA(host.mdiClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&host.newChildTemplate));
      return 0;
    case kCmdClose:
      if (HWND active = ActiveDocument()) SendMessageA(active, WM_CLOSE, 0, 0);
      return 0;
    case kCmdExit:
      SendMessageA(frame, WM_CLOSE, 0, 0);
      return 0;
    case kCmdOpen:
    case kCmdSave:
    case kCmdPrintPreview:
    case kCmdPrint:
    case kCmdCut:
    case kCmdCopy:
    case kCmdPaste:
      ShowNotAvailable();
      return 0;
    case kCmdSaveAs:
    case kCmdViewToolbar:
    case kCmdViewStatusbar:
    case kCmdCells:
      return 0;
    case kCmdColumns:
      OpenDialog("FormColsDlg", host.mdiClient, FormColsProc);
      return 0;
    case kCmdRows:
      OpenDialog("FormRowsDlg", host.mdiClient, FormRowsProc);
      return 0;
    case kCmdAbout:
      OpenDialog("AboutDlg", frame, AboutProc);
      return 0;
    case kCmdGridColor:
      ChangeColor(GM_GETGRIDCOLOR, GM_SETGRIDCOLOR);
      return 0;
    case kCmdBkColor:
      ChangeColor(GM_GETBKCOLOR, GM_SETBKCOLOR);
      return 0;
    case kCmdTileHorizontal:
      SendMessageA(host.mdiClient, WM_MDITILE, MDITILE_HORIZONTAL, 0);
      return 0;
    case kCmdTileVertical:
      SendMessageA(host.mdiClient, WM_MDITILE, MDITILE_VERTICAL, 0);
      return 0;
    case kCmdCascade:
      SendMessageA(host.mdiClient, WM_MDICASCADE, MDITILE_SKIPDISABLED, 0);
      return 0;
    default:  // Recent Files, Print Setup, Add/Remove Row, Delete Contents,
              // Contents, and the window menu's entries
      DefFrameProcA(frame, host.mdiClient, msg, wParam, lParam);
      return 0;
  }
}

}  // namespace

void ShowNotAvailable() { MessageBoxA(nullptr, kNotAvailableText, kCaption, MB_OK); }

HWND ActiveGrid() {
  HWND active = ActiveDocument();
  if (!active) return nullptr;
  const auto* data = reinterpret_cast<const ChildData*>(GetWindowLongPtrA(active, 0));
  return data ? data->grid : nullptr;
}

void EnableDocumentButtons(bool enable) {
  for (UINT id = kFirstDocumentButton; id <= kLastDocumentButton; ++id) {
    SendMessageA(host.toolbar, TB_ENABLEBUTTON, id, MAKELPARAM(enable ? 1 : 0, 0));
  }
}

LRESULT CALLBACK FrameProc(HWND frame, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      return OnCreate(frame);
    case WM_COMMAND:
      return OnCommand(frame, msg, wParam, lParam);
    case WM_SIZE:
      return OnSize(frame);
    case WM_DPICHANGED:
      return OnDpiChanged(frame, wParam, lParam);
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefFrameProcA(frame, host.mdiClient, msg, wParam, lParam);
  }
}

bool LoadControlLibrary(const char* fileName) {
  host.library = LoadLibraryA(fileName);
  if (host.library) return true;
  // Worded as it has always been: programs that watch for it match it.
  MessageBoxA(nullptr, "Latticor.dll does not found !", kCaption, MB_ICONERROR);
  return false;
}

void RegisterClasses() {
  host.instance = GetModuleHandleA(nullptr);
  InitCommonControls();
  // One record: the child class changes what differs.
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = FrameProc;
  wc.hInstance = host.instance;
  wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  wc.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  wc.lpszMenuName = MAKEINTRESOURCEA(kFrameMenu);
  wc.lpszClassName = kFrameClass;
  RegisterClassExA(&wc);
  wc.lpfnWndProc = ChildProc;
  wc.cbWndExtra = sizeof(ChildData*);
  wc.hbrBackground = nullptr;
  wc.lpszMenuName = MAKEINTRESOURCEA(kChildMenu);
  wc.lpszClassName = kChildClass;
  RegisterClassExA(&wc);
}

HWND CreateFrame() {
  host.frame = CreateWindowExA(0, kFrameClass, kCaption, 0x02CF0000, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, host.instance, nullptr);
  host.childMenu = LoadMenuA(host.instance, MAKEINTRESOURCEA(kChildMenu));
  return host.frame;
}

int RunMessageLoop() {
  MSG m;
  for (;;) {
    // The W calls: a typed character then reaches an edit box whole,
    // where the A ones would hand it over byte by byte in a UTF-8 process.
    const BOOL got = GetMessageW(&m, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(m.wParam);
    if (got == -1) continue;  // an error does not end the loop
    if (!TranslateMDISysAccel(host.mdiClient, &m)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
  }
}

void ShutDown() {
  DestroyMenu(host.childMenu);
  FreeLibrary(host.library);
}

int Run() {
  if (!LoadControlLibrary(LATTICOR_LIBRARY_NAME)) return 0;
  RegisterClasses();
  CreateFrame();
  ShowWindow(host.frame, SW_SHOWMAXIMIZED);
  UpdateWindow(host.frame);
  const int code = RunMessageLoop();
  ShutDown();
  return code;
}

}  // namespace celdra
