"""Shared pieces of the lab tests: build paths, box configurations, the simulator's request log and
running quorvel-cli inside the lab's PC namespace.

A box whose primary port has an address of its net (lab_port) gets that address in the box namespace when its
simulator starts, and a web page there; its log lines carry "http": true."""
import contextlib
import json
import os
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(REPO / "tools" / "lab"))
import lab  # noqa: E402

BUILD = Path(os.environ.get("QUORVEL_BUILD", REPO / "build"))
BOXSIM = BUILD / "tools" / "boxsim" / "quorvel-boxsim"
CLI = BUILD / "tools" / "cli" / "quorvel-cli"


# Holds port 24680 as another program would (sharing allowed), until its standard input closes.
PORT_HOLDER = r"""
import socket, sys
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
s.bind(("0.0.0.0", 24680))
print("ready", flush=True)
sys.stdin.read()
"""


@contextlib.contextmanager
def port_held_elsewhere(the_lab):
    """Another program holds the protocol's port in the lab's PC namespace while the block runs."""
    holder = the_lab.pc_exec([sys.executable, "-c", PORT_HOLDER], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                             text=True)
    try:
        if holder.stdout.readline() != "ready\n":
            raise RuntimeError("the port holder did not start")
        yield
    finally:
        holder.stdin.close()
        holder.wait(timeout=30)
        holder.stdout.close()


def port(ip, netmask="255.255.255.0", gateway="", addr_a="", addr_b="", dhcp="0", option=0):
    return {"ip": ip, "netmask": netmask, "gateway": gateway, "addrA": addr_a, "addrB": addr_b,
            "dhcp": dhcp, "option": option}


def lab_port(net, host, **extra):
    """A port with host number `host` of lab net `net` (2..lab.MAX_HOST; the PC has 1, the simulator 2), with the
    net's netmask and the PC as gateway: the lab gives the box that address, and the PC reaches it on the net's
    link."""
    extra.setdefault("gateway", lab.net_address(net, 1))
    return port(lab.net_address(net, host), lab.NETMASK, **extra)


def box(number, name, model="VRX-510L", ports=None, **extra):
    """A simulated box whose id ends in `number`; credentials admin/secret unless told otherwise."""
    config = {
        "id": ",".join(f"0x{b:02X}" for b in (0x00, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F, 0x60, number)),
        "name": name, "model": model, "bonded": 0, "auxNumber": 7, "auxText": "aux",
        "primaryPort": 0, "ports": [port(f"192.0.2.{number}")] if ports is None else ports,
        "shares": ["Volume1"], "user": "admin", "password": "secret",
    }
    config.update(extra)
    return config


class LabCase(unittest.TestCase):
    """One lab for the whole class: NETS nets, and a simulator per entry of BOXES (net -> boxes)."""
    NETS = 1
    BOXES = {}

    @classmethod
    def setUpClass(cls):
        for path in (BOXSIM, CLI):
            if not os.access(path, os.X_OK):
                raise RuntimeError(f"not built: {path}")
        cls.tmp = tempfile.TemporaryDirectory(prefix="quorvel-lab-")
        cls.sims = {}  # simulator processes by name
        cls.lab = lab.Lab(nets=cls.NETS)
        try:
            for net, boxes in cls.BOXES.items():
                cls.start_sim(net, boxes)
        except BaseException:
            cls.lab.close()
            cls.tmp.cleanup()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.lab.close()
        cls.tmp.cleanup()

    @classmethod
    def start_sim(cls, net, boxes, name=None):
        """Starts a simulator for the boxes in net k (named netK unless told otherwise; its process is in
        cls.sims under that name) and returns the path of its log."""
        name = name or f"net{net}"
        config = Path(cls.tmp.name) / f"{name}.json"
        config.write_text(json.dumps({"boxes": boxes}))
        log = Path(cls.tmp.name) / f"{name}.log"
        cls.sims[name] = cls.lab.start_sim(net, str(config), log=str(log), boxsim=BOXSIM)
        return log

    @classmethod
    def log_path(cls, net, name=None):
        return Path(cls.tmp.name) / f"{name or f'net{net}'}.log"

    @classmethod
    def log_entries(cls, net, name=None):
        """Every line that a simulator has logged so far, decoded: protocol requests and web lines."""
        path = cls.log_path(net, name)
        lines = path.read_text().splitlines() if path.exists() else []
        return [json.loads(line) for line in lines if line.strip()]

    @classmethod
    def requests(cls, net, opcode=None, name=None):
        """The decoded protocol requests that net's simulator has logged so far."""
        return [e for e in cls.log_entries(net, name)
                if not e.get("http") and (opcode is None or e["opcode"] == opcode)]

    def web_requests(self, net, event="request", name=None, box=None):
        """The web server's log lines of one event ("connect" or "request"), of one box if named."""
        return [e for e in self.log_entries(net, name)
                if e.get("http") and e["event"] == event and (box is None or e["box"] == box)]

    def wait_for_request(self, net, opcode, count=1, timeout=10.0):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            found = self.requests(net, opcode)
            if len(found) >= count:
                return found
            time.sleep(0.05)
        self.fail(f"net{net}: fewer than {count} requests with opcode {opcode} logged")

    def cli(self, *args, password=None, timeout=120):
        return self.lab.pc_run([CLI, *args], input=password if password is not None else "", timeout=timeout)

    def search(self):
        result = self.cli("search", "--json")
        self.assertEqual(result.returncode, 0, result.stderr)
        return json.loads(result.stdout)

    def by_name(self, records):
        return {r["name"]: r for r in records}
