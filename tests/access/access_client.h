// What the accessibility tests share: reading MSAA objects as a screen
// reader does, and the server process that holds the grids they read.
#pragma once

#include <windows.h>
// After windows.h.
#include <oleacc.h>

#include <string>

namespace reader {

// A child id as a VARIANT; CHILDID_SELF is 0.
VARIANT Id(LONG id);
std::string Narrow(const wchar_t* text);
// Name, value, role and state texts, and the location, of `id` on `object`,
// as one line of a transcript; values missing read as "-".
std::string Name(IAccessible* object, LONG id = CHILDID_SELF);
std::string Value(IAccessible* object, LONG id = CHILDID_SELF);
LONG Role(IAccessible* object, LONG id = CHILDID_SELF);
LONG State(IAccessible* object, LONG id = CHILDID_SELF);
RECT Location(IAccessible* object, LONG id = CHILDID_SELF);
std::string Describe(IAccessible* object, LONG id = CHILDID_SELF);
// The object a VARIANT names: itself for CHILDID_SELF, the child object
// for VT_DISPATCH, null (with the id in `id`) otherwise.
IAccessible* Object(IAccessible* parent, VARIANT v);

// The server program: started in a job that ends it with the test, waited
// for with time limits, and killed if it does not close.
class Server {
 public:
  bool Start(const char* arguments = "");
  ~Server();
  HWND Frame(const char* title) const;
  HWND Grid(const char* title) const;
  DWORD pid() const { return process_.dwProcessId; }
  bool Running() const;

 private:
  PROCESS_INFORMATION process_{};
  HANDLE job_ = nullptr;
};

}  // namespace reader
