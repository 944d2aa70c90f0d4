// A Celdra frame made in the test process from the host library, as the
// program makes it, without entering the program's own message loop.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "celdra.h"
#include "harness.h"
// After windows.h, which it needs.
#include <commctrl.h>

namespace hosttest {

struct HostTest : ::testing::Test {
  static void SetUpTestSuite() {
    celdra::host.library = GetModuleHandleA(LATTICOR_LIBRARY_NAME);
    celdra::RegisterClasses();
  }
  void SetUp() override {
    frame = celdra::CreateFrame();
    ASSERT_NE(frame, nullptr);
    ShowWindow(frame, SW_SHOWNORMAL);
    SetWindowPos(frame, nullptr, 0, 0, 1000, 700, SWP_NOZORDER);
    harness::Pump();
  }
  void TearDown() override {
    DestroyWindow(frame);  // documents go without the save question
    DestroyMenu(celdra::host.childMenu);
    harness::Pump();
    MSG quit;  // the frame's end posted WM_QUIT for the program's loop
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    const HMODULE library = celdra::host.library;
    const HINSTANCE instance = celdra::host.instance;
    celdra::host = celdra::HostState{};
    celdra::host.library = library;
    celdra::host.instance = instance;
  }

  void Command(UINT id) {
    SendMessageA(frame, WM_COMMAND, id, 0);
    harness::Pump();
  }
  HWND NewDocument() {
    Command(celdra::kCmdNew);
    return Active();
  }
  HWND Active() {
    return reinterpret_cast<HWND>(SendMessageA(celdra::host.mdiClient, WM_MDIGETACTIVE, 0, 0));
  }
  static celdra::ChildData& Data(HWND document) {
    return *reinterpret_cast<celdra::ChildData*>(GetWindowLongPtrA(document, 0));
  }
  static std::string Title(HWND hwnd) {
    char text[256] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
  }
  static bool ButtonEnabled(UINT command) {
    return SendMessageA(celdra::host.toolbar, TB_ISBUTTONENABLED, command, 0) != 0;
  }

  HWND frame = nullptr;
};

}  // namespace hosttest
