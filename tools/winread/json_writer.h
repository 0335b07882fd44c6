// A small streaming JSON writer: objects, arrays, strings, numbers and booleans, with commas placed
// for the caller. Texts from other windows arrive in the ANSI code page and are written as UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::winread {

class JsonWriter {
 public:
  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  JsonWriter& Key(std::string_view key);  // inside an object, before each value
  JsonWriter& String(std::string_view utf8);
  JsonWriter& AnsiString(std::string_view ansi);  // converted from the ANSI code page
  JsonWriter& WideString(std::wstring_view wide);
  JsonWriter& Int(std::int64_t value);
  JsonWriter& UInt(std::uint64_t value);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();
  JsonWriter& IntOrNull(const std::optional<std::int64_t>& value);  // null when there is none

  const std::string& text() const { return text_; }

 private:
  void BeforeValue();

  std::string text_;
  std::vector<bool> first_;  // per open container: nothing written into it yet
  bool afterKey_ = false;
};

std::string AnsiToUtf8(std::string_view ansi);
std::string WideToUtf8(std::wstring_view wide);

}  // namespace quorvel::winread
