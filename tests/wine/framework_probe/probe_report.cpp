#include "probe_report.h"

#include <cstdio>

namespace probe {

void Report(std::string_view key, std::string_view value) {
  std::printf("%.*s=%.*s\n", static_cast<int>(key.size()), key.data(), static_cast<int>(value.size()), value.data());
  std::fflush(stdout);
}

void Report(std::string_view key, const char* value) { Report(key, std::string_view(value)); }

void Report(std::string_view key, long long value) { Report(key, std::to_string(value)); }

}  // namespace probe
