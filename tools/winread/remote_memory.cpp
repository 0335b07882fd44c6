#include "remote_memory.h"

namespace quorvel::winread {

ProcessHandle::ProcessHandle(DWORD pid)
    : handle_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                          FALSE, pid)) {}

ProcessHandle::~ProcessHandle() {
  if (handle_) CloseHandle(handle_);
}

RemoteBuffer::RemoteBuffer(HANDLE process, std::size_t size)
    : process_(process),
      address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)),
      size_(address_ ? size : 0) {}

RemoteBuffer::~RemoteBuffer() {
  if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

bool RemoteBuffer::Write(std::size_t offset, const void* data, std::size_t n) const {
  if (!address_ || offset > size_ || n > size_ - offset) return false;
  SIZE_T done = 0;
  return WriteProcessMemory(process_, at(offset), data, n, &done) && done == n;
}

bool RemoteBuffer::Read(std::size_t offset, void* data, std::size_t n) const {
  if (!address_ || offset > size_ || n > size_ - offset) return false;
  SIZE_T done = 0;
  return ReadProcessMemory(process_, at(offset), data, n, &done) && done == n;
}

}  // namespace quorvel::winread
