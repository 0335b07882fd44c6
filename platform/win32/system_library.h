// System DLLs and their functions, looked up by name at run time. A DLL comes only from the system
// folder, never from the program's folder or the current one: an unpacked program beside a DLL of the
// same name would otherwise load that one (older systems have no copy of the newer DLLs to find first).
#pragma once

#include <windows.h>

namespace quorvel::platform {

// The system DLL `name` (a bare file name), loaded from the system folder if it is not loaded yet; null
// when the system has none. It stays loaded for the life of the process.
HMODULE LoadSystemLibrary(const char* name);

// Function `name` of system DLL `library`; null when either is missing.
FARPROC FindSystemFunction(const char* library, const char* name);

template <class Function>
Function FindSystemFunction(const char* library, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(FindSystemFunction(library, name)));
}

}  // namespace quorvel::platform
