// What the system's neighbour table says of an address, and what that answers to the address
// probe. The table keeps an entry long after its device has left (a Linux entry can stay STALE for
// good), so only an entry that the link confirmed lately counts as a device that answers now; an
// older one is asked about afresh, or the answer is that nobody can tell.
#pragma once

#include <optional>

#include "platform/address_probe.h"

namespace quorvel::platform {

enum class NeighbourState {
  Absent,      // no entry for the address
  Incomplete,  // the system asks the link and has no answer yet
  Reachable,   // the device answered lately
  Stale,       // the device answered once; nobody has confirmed it since
  Delay,       // stale and in use: the system will ask the link after a pause
  Probe,       // the system asks the device directly and has no answer yet
  Failed,      // the system asked the link and nobody answered
  Permanent,   // set by hand; no device needs to answer
};

// The answer that a state gives, or nothing while it is still worth waiting. atDeadline: the probe's
// time is up. askedAfresh: the link has been asked since the probe began (by this program, or by the
// system's resolve call), so that an old entry that has not turned Reachable meanwhile is silent.
// A Stale, Delay or Probe entry at the deadline without such an ask cannot be told (CannotProbe).
std::optional<ProbeAnswer> AnswerOfNeighbour(NeighbourState state, bool atDeadline, bool askedAfresh);

// Whether an entry is old enough that only a fresh question to the link can tell whether its
// device is still there.
bool NeedsFreshAsk(NeighbourState state);

// What the system's resolve call (which asks the link afresh) has come to when the table is read.
enum class ResolveStatus {
  Pending,      // still asking
  Resolved,     // a device answered
  NoReply,      // nobody answered
  Unsupported,  // the system cannot ask the link this way: another probe must
  Failed,       // any other error: the link was not asked
};

// What the table-polling probe does after one read.
struct ResolveStep {
  enum Kind { Wait, Answer, OtherProbe } kind = Wait;
  ProbeAnswer answer = ProbeAnswer::CannotProbe;  // when kind is Answer
};

// The decision of a probe that starts a resolve call and reads the neighbour table until its
// deadline, fed one read after another (the resolve call's status read before the table). An entry
// that is Failed while the resolve call runs and before this probe saw it Incomplete is one left by
// an earlier question: it is waited on as Incomplete is, not taken for silence.
class ResolvePolling {
 public:
  ResolveStep Next(ResolveStatus resolve, NeighbourState table, bool atDeadline);

 private:
  bool sawIncomplete_ = false;
};

// The state of a Linux neighbour entry from its NUD_* bits (NUD_NOARP entries count as Permanent).
NeighbourState LinuxNeighbourState(unsigned nudBits);

// The state of a Windows neighbour entry from its NL_NEIGHBOR_STATE value (NlnsUnreachable 0 to
// NlnsPermanent 6); an unknown value counts as Absent.
NeighbourState WindowsNeighbourState(int nlState);

}  // namespace quorvel::platform
