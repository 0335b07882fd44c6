// The probe's output: one "key=value" line per observation, flushed at once.
#pragma once

#include <string>
#include <string_view>

namespace probe {

void Report(std::string_view key, std::string_view value);
void Report(std::string_view key, const char* value);
void Report(std::string_view key, long long value);
inline void Report(std::string_view key, int value) { Report(key, static_cast<long long>(value)); }
inline void Report(std::string_view key, bool value) { Report(key, value ? 1LL : 0LL); }

}  // namespace probe
