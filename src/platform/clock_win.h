#pragma once
// The system clock with the user's short date and long time formats.
#include "core/now_text.h"

namespace quenda {

class Win32Clock : public Clock {
 public:
  LocalDateTime Now() const override;
  std::string ShortDate(const LocalDateTime& t) const override;
  std::string LongTime(const LocalDateTime& t) const override;
  std::uint64_t Milliseconds() const override;
};

}  // namespace quenda
