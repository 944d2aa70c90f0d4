#include "high_addresses.h"

#include <cstring>
#include <initializer_list>

namespace high_addresses {

#ifdef _WIN64
namespace {

constexpr ULONG_PTR kGranularity = 0x10000;  // where reservations may start

bool IsHigh(const void* p) { return reinterpret_cast<ULONG_PTR>(p) >= kFourGiB; }

// Every free region below 4 GiB, reserved and never used.
void ReserveLowSpace() {
  ULONG_PTR at = kGranularity;
  MEMORY_BASIC_INFORMATION region;
  while (at < kFourGiB && VirtualQuery(reinterpret_cast<void*>(at), &region, sizeof region)) {
    const ULONG_PTR end = reinterpret_cast<ULONG_PTR>(region.BaseAddress) + region.RegionSize;
    if (region.State == MEM_FREE) {
      const ULONG_PTR start = (at + kGranularity - 1) & ~(kGranularity - 1);
      const ULONG_PTR stop = end < kFourGiB ? end : kFourGiB;
      if (start < stop) VirtualAlloc(reinterpret_cast<void*>(start), stop - start, MEM_RESERVE, PAGE_NOACCESS);
    }
    at = end;
  }
}

// Takes blocks of `size` from the heap until one comes from above 4 GiB:
// whatever the heap held free below for that size is then taken.
void UseUpLowBlocks(HANDLE heap, SIZE_T size) {
  while (void* block = HeapAlloc(heap, 0, size)) {
    if (IsHigh(block)) {
      HeapFree(heap, 0, block);
      return;
    }
  }
}

// Every size class a heap may keep apart: each multiple of 8 up to 4 KiB,
// then doubling sizes, largest first so that big free blocks go whole.
void UseUpLowHeap(HANDLE heap) {
  for (SIZE_T size = SIZE_T{1} << 22; size > 4096; size /= 2) UseUpLowBlocks(heap, size);
  for (SIZE_T size = 4096; size >= 8; size -= 8) UseUpLowBlocks(heap, size);
}

bool SamplesLieHigh() {
  for (SIZE_T size : {1, 16, 24, 480, 4096, 65536}) {
    HGLOBAL block = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, size);
    const bool high = IsHigh(block);
    GlobalFree(block);
    if (!high) return false;
  }
  return true;
}

}  // namespace
#endif

bool Requested() {
  char value[8] = {};
  GetEnvironmentVariableA("LATTICOR_HIGH_ADDRESSES", value, sizeof value);
  return std::strcmp(value, "1") == 0;
}

bool Enter() {
#ifdef _WIN64
  ReserveLowSpace();
  HANDLE heaps[64];
  const DWORD count = GetProcessHeaps(64, heaps);
  for (DWORD i = 0; i < count && i < 64; ++i) UseUpLowHeap(heaps[i]);
  return SamplesLieHigh();
#else
  return false;  // a 32-bit process has nothing above 4 GiB
#endif
}

bool EnterIn(HANDLE process) {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  char* slash = std::strrchr(path, '\\');
  if (n == 0 || !slash || (slash - path) + 20 >= MAX_PATH) return false;
  std::strcpy(slash + 1, "high_addresses.dll");  // beside this program

  void* there = VirtualAllocEx(process, nullptr, sizeof path, MEM_COMMIT, PAGE_READWRITE);
  if (!there || !WriteProcessMemory(process, there, path, sizeof path, nullptr)) return false;
  // kernel32 lies at the same address in every process of one bitness.
  auto* load = reinterpret_cast<LPTHREAD_START_ROUTINE>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
  HANDLE thread = CreateRemoteThread(process, nullptr, 0, load, there, 0, nullptr);
  if (!thread) return false;
  DWORD loaded = 0;  // the module's address, cut to 32 bits: 0 when it failed
  const bool done = WaitForSingleObject(thread, 30000) == WAIT_OBJECT_0 && GetExitCodeThread(thread, &loaded);
  CloseHandle(thread);
  VirtualFreeEx(process, there, 0, MEM_RELEASE);
  return done && loaded != 0;
}

}  // namespace high_addresses
