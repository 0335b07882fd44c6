#include "doctor_report.h"

#include "constants.h"
#include "table_output.h"
#include "utf8_text.h"

namespace quorvel::cli {

namespace {

bool Kept(const AddressFindings& each) { return !each.skipped; }

bool SearchedBeyondLimit(const AddressFindings& each) {
  return each.searched && each.skipped == net::SkipReason::BeyondLimit;
}

std::string Counted(int count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// "lan0 (198.51.100.1)".
std::string Where(const AddressFindings& each) {
  return PrintableText(each.local.name) + " (" + each.local.address + ")";
}

// "a", "a and b", "a, b and c".
std::string Joined(const std::vector<std::string>& items) {
  std::string out;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out += i + 1 == items.size() ? " and " : ", ";
    out += items[i];
  }
  return out;
}

// The boxes found through the addresses that pass a filter, and where: "through lan0 (...)" when
// one address found them all, else "2 through lan0 (...) and 1 through lan3 (...)".
struct BoxesFound {
  int total = 0;
  int places = 0;
  std::string where;
};

template <typename Filter>
BoxesFound BoxesThrough(const DoctorFindings& findings, Filter filter) {
  BoxesFound found;
  std::vector<std::string> parts;
  std::string only;
  for (const AddressFindings& each : findings.addresses) {
    if (!filter(each) || each.stats.boxes == 0) continue;
    parts.push_back(std::to_string(each.stats.boxes) + " through " + Where(each));
    only = "through " + Where(each);
    found.total += each.stats.boxes;
  }
  found.places = static_cast<int>(parts.size());
  found.where = found.places == 1 ? only : Joined(parts);
  return found;
}

std::string WhatToCheck() {
  return "Check the cable and the box's power, that no firewall drops UDP port " + std::to_string(DEVICE_PORT) +
    " or multicast, and that the box is not behind a router: this protocol does not cross routers.";
}

// Nothing lists a box, but replies came or receives failed: what each kind points to. The count of
// failed receives holds socket errors and oversize datagrams too, so it claims no reply arrived.
std::string OnlyDroppedReplies(const SearchStats& dropped) {
  std::vector<std::string> arrived;
  std::string pointers;
  if (dropped.foreign > 0) {
    arrived.push_back(Counted(dropped.foreign, "reply", "replies") + " that did not answer this search");
    pointers += " A reply to another search (another program's, or a late one to an earlier search) means that "
                "a box hears the network but this PC's requests do not reach it: check that no firewall on this "
                "PC drops outgoing UDP port " + std::to_string(DEVICE_PORT) + " or multicast.";
  }
  if (dropped.rejectedModel > 0) {
    arrived.push_back(Counted(dropped.rejectedModel, "reply", "replies") + " of a model that is not supported");
  }
  std::string verdict = "No box can be found: no supported box answered this search";
  if (!arrived.empty()) verdict += ", but " + Joined(arrived) + " arrived";
  if (dropped.invalid > 0) {
    verdict += (arrived.empty() ? ", and " : "; ") + Counted(dropped.invalid, "receive", "receives") +
               " failed the reply check";
    pointers += " A receive fails the check when a reply comes from a device that speaks another form of this "
                "protocol or was damaged on the way, when a datagram is too large, or when the receive socket "
                "reports an error.";
  }
  return verdict + "." + pointers;
}

std::string NothingListed(const DoctorFindings& findings, int keptCount) {
  const BoxesFound beyond = BoxesThrough(findings, SearchedBeyondLimit);
  if (beyond.total > 0) {
    return "No box can be found: " + Counted(beyond.total, "box answers", "boxes answer") + ", " + beyond.where +
           ", but " + (beyond.places == 1 ? "that address is" : "those addresses are") + " beyond the first " +
           std::to_string(MAX_INTERFACES) + " addresses, the only ones searched. Disable network adapters that "
           "are not needed, so that the box's network is among the first " + std::to_string(MAX_INTERFACES) + ".";
  }
  int listening = 0;
  SearchStats dropped;
  for (const AddressFindings& each : findings.addresses) {
    if (!Kept(each)) continue;
    listening += each.steps.joined ? 1 : 0;
    dropped.foreign += each.stats.foreign;
    dropped.invalid += each.stats.invalid;
    dropped.rejectedModel += each.stats.rejectedModel;
  }
  const int rejected = dropped.rejectedModel;
  if (listening == 0) {
    return "No box can be found: no interface could listen for replies (see the socket errors above).";
  }
  if (dropped.foreign + dropped.invalid > 0) return OnlyDroppedReplies(dropped);
  if (rejected > 0) {
    return "No box can be found: " + Counted(rejected, "reply came", "replies came") +
           " from a model that is not supported, and no supported box answered. " + WhatToCheck();
  }
  return "Searched " + Counted(keptCount, "interface", "interfaces") + " and no box answered. " + WhatToCheck();
}

std::string StateText(const net::LocalAddress& local) {
  return std::string(local.up ? "up" : "down") + (local.loopback ? ", loopback" : "");
}

std::string AddressTable(const DoctorFindings& findings) {
  if (findings.addresses.empty()) return "  none\n";
  std::vector<std::vector<std::string>> rows{{"NAME", "ADDRESS", "STATE", "USE"}};
  for (const AddressFindings& each : findings.addresses) {
    rows.push_back({PrintableText(each.local.name), each.local.address, StateText(each.local),
                    each.skipped ? "skipped: " + SkipReasonText(*each.skipped) : "kept"});
  }
  return AlignedRows(rows, "  ");
}

std::string SocketLine(const AddressFindings& each) {
  const net::ReceiverSteps& steps = each.steps;
  std::string line = "  " + Where(each) + ": " + (steps.opened ? "opened" : "not opened");
  if (steps.opened) {
    line += steps.bound ? ", bound" : ", not bound";
    line += steps.joined ? ", joined" : ", not joined";
  }
  if (!steps.error.empty()) line += " (" + PrintableText(steps.error) + ")";
  if (each.portShared) line += "; another program holds port " + std::to_string(DEVICE_PORT) + " too (allowed)";
  return line + "\n";
}

std::string SearchLine(const AddressFindings& each) {
  const SearchStats& stats = each.stats;
  std::string line = "  " + Where(each);
  if (SearchedBeyondLimit(each)) line += ", searched for this report only";
  // Every box that answered here, also one whose record another address keeps.
  line += ": " + Counted(stats.answered, "box", "boxes");
  // Replies to the request of another of this PC's addresses on the same link: that address records them.
  const std::string siblings =
      stats.sibling == 0 ? "" : "; " + Counted(stats.sibling, "reply answers", "replies answer") +
                                    " this PC's search through another address";
  if (stats.foreign + stats.invalid + stats.rejectedModel == 0) return line + ", nothing dropped" + siblings + "\n";
  std::vector<std::string> dropped;
  if (stats.foreign > 0) dropped.push_back(std::to_string(stats.foreign) + " for another program");
  if (stats.invalid > 0) dropped.push_back(std::to_string(stats.invalid) + " failed the reply check");
  if (stats.rejectedModel > 0) dropped.push_back(std::to_string(stats.rejectedModel) + " of an unsupported model");
  return line + "; replies dropped: " + Joined(dropped) + siblings + "\n";
}

}  // namespace

bool ShouldSearch(const std::optional<net::SkipReason>& skipped) {
  return !skipped || *skipped == net::SkipReason::BeyondLimit;
}

std::string SkipReasonText(net::SkipReason reason) {
  switch (reason) {
    case net::SkipReason::Down: return "down";
    case net::SkipReason::Loopback: return "loopback";
    case net::SkipReason::BeyondLimit: break;
  }
  return "beyond the first " + std::to_string(MAX_INTERFACES) + " addresses";
}

int ListedBoxes(const DoctorFindings& findings) { return BoxesThrough(findings, Kept).total; }

std::string Verdict(const DoctorFindings& findings) {
  int keptCount = 0;
  for (const AddressFindings& each : findings.addresses) keptCount += Kept(each) ? 1 : 0;
  if (keptCount == 0) {
    return "No interface to search: the system lists no IPv4 address that is up and not loopback. "
           "Connect this PC to the box's network.";
  }
  const BoxesFound listed = BoxesThrough(findings, Kept);
  if (listed.total == 0) return NothingListed(findings, keptCount);
  std::string verdict = "Found " + Counted(listed.total, "box", "boxes") + (listed.places == 1 ? ", " : ": ") +
                        listed.where + ".";
  const BoxesFound beyond = BoxesThrough(findings, SearchedBeyondLimit);
  if (beyond.total > 0) {
    verdict += ' ';
    verdict += Counted(beyond.total, "more box answers", "more boxes answer") + ", " + beyond.where +
               ", beyond the first " + std::to_string(MAX_INTERFACES) + " addresses, and " +
               (beyond.total == 1 ? "is" : "are") + " not listed.";
  }
  return verdict;
}

std::string DoctorText(const DoctorFindings& findings) {
  std::string out = "Local IPv4 addresses, in the system's order:\n" + AddressTable(findings);
  std::string sockets;
  std::string search;
  for (const AddressFindings& each : findings.addresses) {
    if (!each.searched) continue;
    sockets += SocketLine(each);
    search += SearchLine(each);
  }
  if (!sockets.empty()) {
    out += "\nReceive sockets (port " + std::to_string(DEVICE_PORT) + ", group " + DEVICE_GROUP + "):\n" + sockets;
    out += "\nSearch:\n" + search;
  }
  return out + "\nVerdict: " + Verdict(findings) + "\n";
}

}  // namespace quorvel::cli
