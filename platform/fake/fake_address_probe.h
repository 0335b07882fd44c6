// The address probe for tests: every probe recorded, the answer scripted per address (Silent unless told).
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/address_probe.h"

namespace quorvel::platform {

class FakeAddressProbe final : public AddressProbe {
 public:
  struct Call {
    std::string address;
    std::string localAddress;
    int timeoutMillis;
    friend bool operator==(const Call&, const Call&) = default;
  };

  void SetAnswer(const std::string& address, ProbeAnswer answer) { answers_[address] = answer; }
  // Runs while a probe is under way (a user's action meanwhile, say).
  std::function<void()> duringProbe;

  ProbeAnswer Probe(const std::string& address, const std::string& localAddress, int timeoutMillis) override {
    calls_.push_back({address, localAddress, timeoutMillis});
    if (duringProbe) duringProbe();
    const auto found = answers_.find(address);
    return found == answers_.end() ? ProbeAnswer::Silent : found->second;
  }

  const std::vector<Call>& calls() const { return calls_; }

 private:
  std::map<std::string, ProbeAnswer> answers_;
  std::vector<Call> calls_;
};

}  // namespace quorvel::platform
