#include "framework/win32/win32_host.h"

#include <string>
#include <utility>

#include "framework/win32/dpi.h"
#include "framework/win32/gdi_handles.h"
#include "framework/win32/modal_run.h"

namespace quorvel::ui {

void Win32Host::SetWindowText(std::string_view text) { ::SetWindowTextA(window_, std::string(text).c_str()); }

void Win32Host::SetIcon(int iconResource) {
  iconResource_ = iconResource;
  LoadIcons();
}

// The big and the small icon each drawn from the image of its own size at the window's DPI (a shared
// icon has the system's size at its start); the icons of the DPI before go once the window has the new.
void Win32Host::LoadIcons() {
  if (iconResource_ == 0) return;
  const int dpi = WindowDpi(window_);
  auto load = [&](int width, int height) {
    return IconHandle(static_cast<HICON>(::LoadImageA(instance_, MAKEINTRESOURCEA(iconResource_), IMAGE_ICON,
                                                      SystemMetricAt(width, dpi), SystemMetricAt(height, dpi), 0)));
  };
  // An icon that cannot be loaded at the new size: the window keeps the one it has.
  auto replace = [&](IconHandle icon, WPARAM which, IconHandle& kept) {
    if (!icon) return;
    ::SendMessageA(window_, WM_SETICON, which, reinterpret_cast<LPARAM>(icon.get()));
    kept = std::move(icon);
  };
  replace(load(SM_CXICON, SM_CYICON), ICON_BIG, bigIcon_);
  replace(load(SM_CXSMICON, SM_CYSMICON), ICON_SMALL, smallIcon_);
}

void Win32Host::Post(int id) {
  if (!shown_ && !::IsWindowVisible(window_)) {
    heldPosts_.push_back(id);
    return;
  }
  ::PostMessageA(window_, kPosted, static_cast<WPARAM>(id), 0);
}

void Win32Host::PositionChanged() {
  if (shown_ || !::IsWindowVisible(window_)) return;
  shown_ = true;
  for (const int id : std::exchange(heldPosts_, {})) ::PostMessageA(window_, kPosted, static_cast<WPARAM>(id), 0);
}

void Win32Host::EndDialog(int result) { ::EndDialog(window_, result); }

// Destroying a modal dialog's window behind the dialog manager's back would leave its loop running with
// the owner disabled; ending it lets the manager destroy the window, and WM_DESTROY does the rest.
void Win32Host::DestroyWindow() { ::EndDialog(window_, IDCANCEL); }

int Win32Host::MessageBox(std::string_view text, std::string_view caption, Icon icon) {
  return ::MessageBoxA(window_, std::string(text).c_str(), std::string(caption).c_str(),
                       MB_OK | static_cast<UINT>(icon));
}

bool Win32Host::AskYesNo(std::string_view text, std::string_view caption, Icon icon) {
  return ::MessageBoxA(window_, std::string(text).c_str(), std::string(caption).c_str(),
                       MB_YESNO | MB_DEFBUTTON2 | static_cast<UINT>(icon)) == IDYES;
}

int Win32Host::RunModal(Dialog& child) { return RunDialogModal(instance_, child, window_, skins_); }

bool Win32Host::SetTimer(int id, int millis) {
  return ::SetTimer(window_, static_cast<UINT_PTR>(id), static_cast<UINT>(millis), nullptr) != 0;
}

void Win32Host::KillTimer(int id) { ::KillTimer(window_, static_cast<UINT_PTR>(id)); }

int Win32Host::FocusedId() {
  HWND focus = ::GetFocus();
  if (focus == nullptr || !::IsChild(window_, focus)) return 0;
  while (::GetParent(focus) != window_) focus = ::GetParent(focus);
  return ::GetDlgCtrlID(focus);
}

// No message is handled while the thread blocks, so nothing sets another cursor meanwhile.
void Win32Host::BeginWaitCursor() {
  constexpr WORD kWaitCursor = 32514;  // the system's IDC_WAIT
  if (waitDepth_++ == 0) cursorBeforeWait_ = ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(kWaitCursor)));
}

void Win32Host::EndWaitCursor() {
  if (waitDepth_ > 0 && --waitDepth_ == 0) ::SetCursor(cursorBeforeWait_);
}

int Win32Host::TextCharset() {
  WindowDc dc(window_);
  return dc ? ::GetTextCharset(dc.get()) : DEFAULT_CHARSET;
}

}  // namespace quorvel::ui
