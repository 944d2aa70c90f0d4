#include "access_client.h"

#include <cstdio>

#include "access_server.h"
#include "real_input.h"

namespace reader {

VARIANT Id(LONG id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

std::string Narrow(const wchar_t* text) {
  if (!text) return "-";
  char out[1024] = {};
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out - 1, nullptr, nullptr);
  return out;
}

namespace {

template <typename Get>
std::string Text(Get get) {
  BSTR text = nullptr;
  const HRESULT hr = get(&text);
  std::string out = hr == S_OK ? Narrow(text) : "-";
  SysFreeString(text);
  return out;
}

LONG I4(HRESULT hr, const VARIANT& v) { return hr == S_OK && v.vt == VT_I4 ? v.lVal : -1; }

}  // namespace

std::string Name(IAccessible* object, LONG id) {
  return Text([&](BSTR* t) { return object->get_accName(Id(id), t); });
}

std::string Value(IAccessible* object, LONG id) {
  return Text([&](BSTR* t) { return object->get_accValue(Id(id), t); });
}

LONG Role(IAccessible* object, LONG id) {
  VARIANT v;
  VariantInit(&v);
  return I4(object->get_accRole(Id(id), &v), v);
}

LONG State(IAccessible* object, LONG id) {
  VARIANT v;
  VariantInit(&v);
  return I4(object->get_accState(Id(id), &v), v);
}

RECT Location(IAccessible* object, LONG id) {
  LONG x = 0, y = 0, w = 0, h = 0;
  object->accLocation(&x, &y, &w, &h, Id(id));
  return RECT{x, y, x + w, y + h};
}

std::string Describe(IAccessible* object, LONG id) {
  char role[64] = {}, line[512];
  GetRoleTextA(static_cast<DWORD>(Role(object, id)), role, sizeof role);
  std::string states;
  const LONG state = State(object, id);
  for (DWORD bit = 1; bit != 0 && state > 0; bit <<= 1) {
    if (!(state & static_cast<LONG>(bit))) continue;
    char text[64] = {};
    GetStateTextA(bit, text, sizeof text);
    states += std::string(states.empty() ? "" : ", ") + text;
  }
  const RECT r = Location(object, id);
  std::snprintf(line, sizeof line, "%-14s name \"%s\"  value \"%s\"  [%s]  at (%ld, %ld) %ld x %ld", role,
                Name(object, id).c_str(), Value(object, id).c_str(), states.c_str(), r.left, r.top,
                r.right - r.left, r.bottom - r.top);
  return line;
}

IAccessible* Object(IAccessible* parent, VARIANT v) {
  IAccessible* object = nullptr;
  if (v.vt == VT_I4 && v.lVal == CHILDID_SELF) {
    parent->AddRef();
    object = parent;
  } else if (v.vt == VT_DISPATCH && v.pdispVal) {
    v.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&object));
  }
  VariantClear(&v);
  return object;
}

bool Server::Start(const char* arguments) {
  job_ = CreateJobObjectA(nullptr, nullptr);
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
  char command[MAX_PATH];
  std::snprintf(command, sizeof command, "access_server.exe %s", arguments);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &si,
                      &process_)) {
    return false;
  }
  AssignProcessToJobObject(job_, process_.hProcess);
  ResumeThread(process_.hThread);
  WaitForInputIdle(process_.hProcess, 30000);
  return Frame(access_server::kLedgerTitle) != nullptr;
}

Server::~Server() {
  if (!process_.hProcess) return;
  for (const char* title : {access_server::kLedgerTitle, access_server::kBigTitle}) {
    if (HWND frame = FindWindowA(access_server::kFrameClass, title)) PostMessageA(frame, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(process_.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 1);
  WaitForSingleObject(process_.hProcess, 5000);
  CloseHandle(process_.hProcess);
  CloseHandle(process_.hThread);
  CloseHandle(job_);
}

HWND Server::Frame(const char* title) const {
  const DWORD start = GetTickCount();
  for (;;) {
    for (HWND w = FindWindowA(access_server::kFrameClass, title); w;
         w = FindWindowExA(nullptr, w, access_server::kFrameClass, title)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(w, &owner);
      if (owner == process_.dwProcessId && IsWindowVisible(w)) return w;
    }
    if (GetTickCount() - start > 30000 || !Running()) return nullptr;
    real_input::Settle(50);
  }
}

HWND Server::Grid(const char* title) const {
  HWND frame = Frame(title);
  return frame ? FindWindowExA(frame, nullptr, "LATTICOR", nullptr) : nullptr;
}

bool Server::Running() const {
  return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

}  // namespace reader
