// The widget engine notice (`yahoowidgetalert`): tells the user that the widget engine must be
// installed. Download (OK) answers 1; Next (Cancel), Esc and the close box answer 0.
#pragma once

#include <cstdint>

#include "framework/dialog.h"

namespace quorvel {

inline constexpr std::int32_t kEngineDownload = 1;
inline constexpr std::int32_t kEngineNext = 0;

class yahoowidgetalert : public ui::Dialog {
 public:
  yahoowidgetalert();

  void OnOK() override;
  void OnCancel() override;

  // kEngineNext until the notice is closed with Download.
  std::int32_t answer() const { return answer_; }

 private:
  std::int32_t answer_ = kEngineNext;
};

}  // namespace quorvel
