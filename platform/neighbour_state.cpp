#include "platform/neighbour_state.h"

namespace quorvel::platform {

bool NeedsFreshAsk(NeighbourState state) {
  return state == NeighbourState::Stale || state == NeighbourState::Delay || state == NeighbourState::Probe;
}

std::optional<ProbeAnswer> AnswerOfNeighbour(NeighbourState state, bool atDeadline, bool askedAfresh) {
  switch (state) {
    case NeighbourState::Reachable:
    case NeighbourState::Permanent:
      return ProbeAnswer::Answered;
    case NeighbourState::Failed:
      return ProbeAnswer::Silent;
    case NeighbourState::Absent:
    case NeighbourState::Incomplete:
      // The system is asking (or about to): a device that answers does so within milliseconds.
      if (!atDeadline) return std::nullopt;
      return ProbeAnswer::Silent;
    case NeighbourState::Stale:
    case NeighbourState::Delay:
    case NeighbourState::Probe:
      if (!atDeadline) return std::nullopt;
      return askedAfresh ? ProbeAnswer::Silent : ProbeAnswer::CannotProbe;
  }
  return ProbeAnswer::CannotProbe;
}

ResolveStep ResolvePolling::Next(ResolveStatus resolve, NeighbourState table, bool atDeadline) {
  switch (resolve) {
    case ResolveStatus::Resolved: return {ResolveStep::Answer, ProbeAnswer::Answered};
    case ResolveStatus::NoReply: return {ResolveStep::Answer, ProbeAnswer::Silent};
    case ResolveStatus::Unsupported: return {ResolveStep::OtherProbe};
    // Without the question to the link, an old entry tells nothing either way.
    case ResolveStatus::Failed: return {ResolveStep::Answer, ProbeAnswer::CannotProbe};
    case ResolveStatus::Pending: break;
  }
  if (table == NeighbourState::Incomplete) sawIncomplete_ = true;
  if (table == NeighbourState::Failed && !sawIncomplete_) table = NeighbourState::Incomplete;
  if (const auto answer = AnswerOfNeighbour(table, atDeadline, true)) return {ResolveStep::Answer, *answer};
  return {};
}

NeighbourState LinuxNeighbourState(unsigned nudBits) {
  // The NUD_* values of the kernel's neighbour table, as they are on every Linux.
  constexpr unsigned kIncomplete = 0x01, kReachable = 0x02, kStale = 0x04, kDelay = 0x08, kProbe = 0x10,
                     kFailed = 0x20, kNoArp = 0x40, kPermanent = 0x80;
  if (nudBits & (kPermanent | kNoArp)) return NeighbourState::Permanent;
  if (nudBits & kReachable) return NeighbourState::Reachable;
  if (nudBits & kStale) return NeighbourState::Stale;
  if (nudBits & kDelay) return NeighbourState::Delay;
  if (nudBits & kProbe) return NeighbourState::Probe;
  if (nudBits & kIncomplete) return NeighbourState::Incomplete;
  if (nudBits & kFailed) return NeighbourState::Failed;
  return NeighbourState::Absent;
}

NeighbourState WindowsNeighbourState(int nlState) {
  switch (nlState) {
    case 0: return NeighbourState::Failed;  // NlnsUnreachable
    case 1: return NeighbourState::Incomplete;
    case 2: return NeighbourState::Probe;
    case 3: return NeighbourState::Delay;
    case 4: return NeighbourState::Stale;
    case 5: return NeighbourState::Reachable;
    case 6: return NeighbourState::Permanent;
    default: return NeighbourState::Absent;
  }
}

}  // namespace quorvel::platform
