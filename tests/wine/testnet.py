"""A network for drive mappings inside a Wine test prefix.

Wine has no network provider, so every connection request fails there with ERROR_NO_NETWORK. TestNetwork
installs ours (tests/wine/net_provider) in a session's prefix: Wine's mpr loads it from the registry, and it
connects a letter to \\\\host\\share when the prefix has the folder dosdevices/unc/host/share (share()
makes one), as a network drive whose remote name WNetGetConnection reports. It records every call it gets
in C:\\quorvel-np.log (calls()); quorvel-test-netuse.exe (use, drop, show) makes, removes and reads
connections apart from the program under test. Install it from GuiSession's prepare hook: mpr reads the
provider list once per process, when it is loaded."""
import os
import shutil
from pathlib import Path

from guilab import WIN_BUILD, GuiError

PROVIDER_DLL = WIN_BUILD / "tests" / "wine" / "net_provider" / "quorvel-test-netprovider.dll"
NET_USE_EXE = WIN_BUILD / "tests" / "wine" / "net_provider" / "quorvel-test-netuse.exe"
PROVIDER_KEY = "QuorvelTestNet"
PROVIDER_NAME = "Quorvel Test Network"
ORDER_KEY = r"HKLM\System\CurrentControlSet\Control\NetworkProvider\Order"
SERVICE_KEY = rf"HKLM\System\CurrentControlSet\Services\{PROVIDER_KEY}\NetworkProvider"


class TestNetwork:
    def __init__(self, gui):
        for path in (PROVIDER_DLL, NET_USE_EXE):
            if not path.is_file():
                raise GuiError(f"not built: {path}")
        self.gui = gui
        drive_c = gui.prefix.drive_c
        shutil.copy(PROVIDER_DLL, drive_c / "quorvel-np.dll")
        shutil.copy(NET_USE_EXE, drive_c / "quorvel-netuse.exe")
        self.record = drive_c / "quorvel-np.log"
        gui.reg_add(SERVICE_KEY, "ProviderPath", r"C:\quorvel-np.dll")
        gui.reg_add(SERVICE_KEY, "Name", PROVIDER_NAME)
        gui.reg_add(ORDER_KEY, "ProviderOrder", PROVIDER_KEY)

    def share(self, host, name, encoding="utf-8"):
        """Makes \\\\host\\name a share that the provider connects to; returns its folder. Wine keeps Unix
        paths in the Unix locale's character set: pass it when the session's locale does not use UTF-8."""
        folder = Path(self.gui.prefix.path) / "dosdevices" / "unc" / host / os.fsdecode(name.encode(encoding))
        folder.mkdir(parents=True, exist_ok=True)
        return folder

    def calls(self):
        """The provider's record so far, one text per call ("cancel Z: force=1 -> 0")."""
        return self.record.read_text(encoding="utf-8").splitlines() if self.record.exists() else []

    def _net_use(self, *args):
        code, out, err = self.gui.run_wine(r"C:\quorvel-netuse.exe", *args)
        lines = out.splitlines()
        if code not in (0, 1) or not lines or not lines[0].startswith("result "):
            raise GuiError(f"quorvel-netuse {' '.join(args)} failed ({code}): {(out + err).strip()}")
        return int(lines[0].split()[1]), lines[1:]

    def use(self, letter, remote):
        """Connects the letter ("Y:") to the remote name, remembered; returns the result number."""
        return self._net_use("add", letter, remote)[0]

    def drop(self, letter):
        return self._net_use("del", letter)[0]

    def show(self, letter):
        """The letter's remote name as the platform reports it, or None when it is not connected."""
        result, rest = self._net_use("show", letter)
        return rest[0] if result == 0 and rest else None

    def remembered(self, letter):
        """The remote path remembered for the letter (HKCU\\Network\\<letter>), or None."""
        return self.gui.reg_query(rf"HKCU\Network\{letter[0]}", "RemotePath")
