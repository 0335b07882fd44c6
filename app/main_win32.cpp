// quorvel.exe: the real sockets, the real windows and the real operating system.
#include <windows.h>

#include <memory>

#include "app/vantor_app.h"
#include "framework/win32/win32_ui.h"
#include "platform/win32/address_probe_win32.h"
#include "platform/win32/drives_win32.h"
#include "platform/win32/files_win32.h"
#include "platform/win32/network_drives_win32.h"
#include "platform/win32/os_info_win32.h"
#include "platform/win32/payloads_win32.h"
#include "platform/win32/processes_win32.h"
#include "platform/win32/reachability_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/text_codec_win32.h"
#include "protocol/multicast_transport.h"
#include "res/resource.h"
#include "skin/win32/skin_factory.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // The main window's pictures are decoded on a thread of their own while the window is made.
  quorvel::skin::DecodeAhead(instance, IDD_MAIN);
  quorvel::SystemClock clock;
  quorvel::platform::Win32Drives drives;
  quorvel::platform::Win32OsInfo os;
  quorvel::platform::Win32TextCodec text;
  quorvel::platform::Win32Registry registry;
  quorvel::platform::Win32Processes processes;
  quorvel::platform::Win32Reachability reachability;
  quorvel::platform::Win32NetworkDrives networkDrives;
  quorvel::platform::Win32Files files;
  quorvel::platform::Win32Payloads payloads;
  quorvel::platform::Win32AddressProbe addressProbe;
  quorvel::platform::Platform platform{drives,    clock,        os,            text,  registry,
                                       processes, reachability, networkDrives, files, payloads, addressProbe};
  quorvel::DeviceProtocol protocol(std::make_unique<quorvel::MulticastTransport>(), clock);
  // The main window owns the credential prompt of a Connect, which runs on a worker thread.
  auto skins = [inner = quorvel::skin::MakeSkinFactory(), &networkDrives](HINSTANCE module, HWND dialog,
                                                                          int templateId) {
    if (templateId == IDD_MAIN) networkDrives.SetPromptOwner(dialog);
    return inner ? inner(module, dialog, templateId) : nullptr;
  };
  quorvel::ui::Win32Ui ui(instance, skins);
  quorvel::CVantorApp app(ui, protocol, platform);
  app.InitInstance();
  return app.exitCode();
}
