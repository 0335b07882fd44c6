#include "framework/win32/win32_ip_address.h"

namespace quorvel::ui {

bool Win32IpAddress::IsBlank() const { return Send(IPM_ISBLANK) != 0; }

int Win32IpAddress::GetAddress(Fields& fields) const {
  DWORD packed = 0;
  const LRESULT filled = Send(IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&packed));
  fields = {FIRST_IPADDRESS(packed), SECOND_IPADDRESS(packed), THIRD_IPADDRESS(packed), FOURTH_IPADDRESS(packed)};
  return static_cast<int>(filled);
}

void Win32IpAddress::SetAddress(const Fields& fields) {
  Send(IPM_SETADDRESS, 0,
       MAKEIPADDRESS(fields[0] & 0xFF, fields[1] & 0xFF, fields[2] & 0xFF, fields[3] & 0xFF));
}

void Win32IpAddress::ClearAddress() { Send(IPM_CLEARADDRESS); }

void Win32IpAddress::SetFieldFocus(int field) { Send(IPM_SETFOCUS, static_cast<WPARAM>(field)); }

}  // namespace quorvel::ui
