// Memory inside the inspected process. The list view's messages carry pointers that Windows does not
// copy across processes, so their structures and text buffers must live in the target's address space:
// allocate there, write the request, send the message with the remote address, read the answer back.
#pragma once

#include <windows.h>

#include <cstddef>

namespace quorvel::winread {

// An open process handle, closed on destruction.
class ProcessHandle {
 public:
  explicit ProcessHandle(DWORD pid);
  ~ProcessHandle();
  ProcessHandle(const ProcessHandle&) = delete;
  ProcessHandle& operator=(const ProcessHandle&) = delete;

  bool ok() const { return handle_ != nullptr; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// A block of committed read-write memory in another process, released on destruction.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, std::size_t size);
  ~RemoteBuffer();
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  bool ok() const { return address_ != nullptr; }
  std::size_t size() const { return size_; }
  // The address in the target, offset bytes in; only meaningful to the target.
  void* at(std::size_t offset) const { return static_cast<char*>(address_) + offset; }

  bool Write(std::size_t offset, const void* data, std::size_t n) const;
  bool Read(std::size_t offset, void* data, std::size_t n) const;

 private:
  HANDLE process_;
  void* address_;
  std::size_t size_;
};

}  // namespace quorvel::winread
