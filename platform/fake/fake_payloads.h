// Payloads for tests: the bytes under each (type, number) are what the test put there.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "platform/payloads.h"

namespace quorvel::platform {

class FakePayloads final : public Payloads {
 public:
  void Put(const std::string& type, int id, const std::string& bytes) { payloads_[{type, id}] = bytes; }

  std::optional<std::string> Read(std::string_view type, int id) override {
    const auto found = payloads_.find({std::string(type), id});
    if (found == payloads_.end()) return std::nullopt;
    return found->second;
  }

 private:
  std::map<std::pair<std::string, int>, std::string> payloads_;
};

}  // namespace quorvel::platform
