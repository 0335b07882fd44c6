// The wait cursor for as long as the user-interface thread blocks in one scope (a search, a request that
// waits for its answer); the cursor before it comes back at the end of the scope.
#pragma once

#include "framework/dialog.h"

namespace quorvel::ui {

class WaitCursor {
 public:
  explicit WaitCursor(DialogHost& host) : host_(host) { host_.BeginWaitCursor(); }
  ~WaitCursor() { host_.EndWaitCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  DialogHost& host_;
};

}  // namespace quorvel::ui
