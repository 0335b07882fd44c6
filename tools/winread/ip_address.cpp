// An IPv4 address control of another process. IPM_GETADDRESS writes the address through a pointer
// that is not carried across processes, so it goes to a remote DWORD. The four field edits' texts
// tell which single fields are empty, which the packed address cannot.
#include <windows.h>

#include <commctrl.h>  // after windows.h, which it needs

#include <algorithm>
#include <vector>

#include "control_readers.h"

namespace quorvel::winread {

namespace {

BOOL CALLBACK CollectEdit(HWND hwnd, LPARAM lParam) {
  if (lstrcmpiA(ClassOf(hwnd).c_str(), "Edit") == 0) reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
  return TRUE;
}

// The field edits from left to right.
std::vector<HWND> FieldEdits(HWND hwnd) {
  std::vector<HWND> edits;
  EnumChildWindows(hwnd, CollectEdit, reinterpret_cast<LPARAM>(&edits));
  std::sort(edits.begin(), edits.end(), [](HWND a, HWND b) {
    RECT ra{}, rb{};
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    return ra.left < rb.left;
  });
  return edits;
}

}  // namespace

void WriteIpAddress(Target& target, HWND hwnd, JsonWriter& out) {
  out.Key("blank").Bool(target.Send(hwnd, IPM_ISBLANK) != 0);
  const RemoteBuffer buf(target.process(), sizeof(DWORD));
  DWORD address = 0;
  if (!buf.ok() || !buf.Write(0, &address, sizeof address)) {
    target.Fail("cannot prepare the address request");
    return;
  }
  const LRESULT filled = target.SendRemote(hwnd, IPM_GETADDRESS, 0, buf);
  if (!buf.Read(0, &address, sizeof address)) target.Fail("cannot read the address answer");
  out.Key("filled").Int(filled);
  out.Key("fields").BeginArray();
  out.Int(FIRST_IPADDRESS(address)).Int(SECOND_IPADDRESS(address));
  out.Int(THIRD_IPADDRESS(address)).Int(FOURTH_IPADDRESS(address));
  out.EndArray();
  out.Key("fieldTexts").BeginArray();
  for (const HWND edit : FieldEdits(hwnd)) out.WideString(WindowText(target, edit));
  out.EndArray();
}

}  // namespace quorvel::winread
