// The PC's drive letters as the operating system reports them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvel::platform {

// Drive types (the Windows values). Named apart from <windows.h>, whose DRIVE_* are macros.
inline constexpr unsigned kDriveUnknown = 0;
inline constexpr unsigned kDriveNoRootDir = 1;  // no such drive
inline constexpr unsigned kDriveRemovable = 2;
inline constexpr unsigned kDriveFixed = 3;
inline constexpr unsigned kDriveRemote = 4;
inline constexpr unsigned kDriveCdRom = 5;
inline constexpr unsigned kDriveRamDisk = 6;

class Drives {
 public:
  virtual ~Drives() = default;
  // The remote name of the letter's network connection ("Z:" → "\\server\share") in UTF-8, read into
  // a buffer of 256 characters; nothing when the letter is not connected or the call fails.
  virtual std::optional<std::string> NetworkConnection(std::string_view drive) = 0;
  // The drive type of a letter given as its drive text ("Z:").
  virtual unsigned DriveType(std::string_view drive) = 0;
};

}  // namespace quorvel::platform
