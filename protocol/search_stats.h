// What one search saw on one interface: the boxes it added and the replies it turned away, by reason.
#pragma once

namespace quorvel {

struct SearchStats {
  int boxes = 0;          // records this interface added to the device table
  int foreign = 0;        // replies that would pass the reply check but carry another program's client id
  int invalid = 0;        // replies that failed the reply check otherwise (socket errors and oversize included)
  int rejectedModel = 0;  // valid replies whose model is not accepted
  int answered = 0;       // boxes that answered through this interface, whichever interface keeps their record
  int sibling = 0;        // replies to this search's request through another of the PC's addresses
};

}  // namespace quorvel
