// The system DLLs that the programs need only for some of their work (mapping drives, opening files,
// the screen reader, the address check) are loaded at their first call instead of before the program
// starts, which shortens every start. The loader's hook below takes each from the system folder only,
// as every DLL loaded by name is: a DLL of the same name beside an unpacked program is never loaded.
#include <windows.h>

#include <delayimp.h>

#include "platform/win32/system_library.h"

namespace {

FARPROC WINAPI LoadFromSystemFolder(unsigned notice, PDelayLoadInfo info) {
  if (notice != dliNotePreLoadLibrary) return nullptr;
  if (HMODULE library = quorvel::platform::LoadSystemLibrary(info->szDll)) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(library));
  }
  // Returning nothing would let the loader search for the DLL by name, the program's folder first: the
  // call fails here instead, as a missing DLL fails it.
  info->dwLastError = ::GetLastError();
  ULONG_PTR arguments[] = {reinterpret_cast<ULONG_PTR>(info)};
  ::RaiseException(VcppException(ERROR_SEVERITY_ERROR, ERROR_MOD_NOT_FOUND), 0, 1, arguments);
  return nullptr;
}

}  // namespace

extern "C" PfnDliHook __pfnDliNotifyHook2 = LoadFromSystemFolder;
