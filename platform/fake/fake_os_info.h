// An operating system for tests: the version and user name that the test sets.
#pragma once

#include "platform/os_info.h"

namespace quorvel::platform {

class FakeOsInfo final : public OsInfo {
 public:
  std::optional<OsVersion> version = OsVersion{2, 6, 1, 7601};  // reports "Vista", as current Windows do
  std::string userName = "pc-user";
  int versionQueries = 0;
  int userNameQueries = 0;

  std::optional<OsVersion> Version() override {
    ++versionQueries;
    return version;
  }
  std::string UserName() override {
    ++userNameQueries;
    return userName;
  }
};

}  // namespace quorvel::platform
