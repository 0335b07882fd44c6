#!/usr/bin/env python3
"""The Quorvel lab network.

A PC namespace with one interface per "net" and, for every net, a box namespace on the far end of a veth pair.
Net k is the k-th /27 of TEST-NET-2 and then TEST-NET-3 (16 nets: 0-7 in 198.51.100.0/24, 8-15 in
203.0.113.0/24): the PC end has host 1, the box end host 2 (and more on request, up to host 30). Every veth
is created inside the lab namespaces, so the host namespace is never configured and the protocol's multicast
cannot leave the machine.

A simulated box whose primary port has an address of its net (for example net_address(0, 10)) gets that
address on the box interface when its simulator starts, and the simulator serves the box's web page there;
the PC reaches it directly on the net's link.

Library:  with Lab(nets=3) as lab: lab.pc_run([...]); lab.start_sim(2, "boxes.json")
Command:  lab.py [--nets N] [--sim NET:CONFIG[:LOG]]... [--env-file F] -- COMMAND [ARGS...]
Safety:   lab.py --check-inside   (exit 0 only inside a lab namespace)
"""
import argparse
import atexit
import ipaddress
import json
import os
import secrets
import shutil
import signal
import subprocess
import sys
import threading
from pathlib import Path

PREFIX = "qvlab-"
NETNS_DIR = "/var/run/netns"
PREFIX_LEN = 27
NET_SIZE = 2 ** (32 - PREFIX_LEN)
MAX_HOST = NET_SIZE - 2                       # the last host number; NET_SIZE - 1 is the broadcast
BLOCKS = ("198.51.100.0", "203.0.113.0")      # TEST-NET-2 and TEST-NET-3
NETS_PER_BLOCK = 256 // NET_SIZE
MAX_NETS = NETS_PER_BLOCK * len(BLOCKS)
NETMASK = str(ipaddress.IPv4Network(f"0.0.0.0/{PREFIX_LEN}").netmask)
MCAST_ROUTE = "224.0.0.0/4"
REPO_ROOT = Path(__file__).resolve().parents[2]
DEFAULT_BOXSIM = REPO_ROOT / "build" / "tools" / "boxsim" / "quorvel-boxsim"
READY_TIMEOUT = 10.0
STOP_GRACE = 2.0


class LabError(RuntimeError):
    pass


def net_base(net):
    """First address of net k: the /27 nets of 198.51.100.0/24 and then of 203.0.113.0/24, in that order."""
    if not 0 <= net < MAX_NETS:
        raise LabError(f"net {net} out of range 0..{MAX_NETS - 1}")
    first = ipaddress.IPv4Address(BLOCKS[net // NETS_PER_BLOCK])
    return first + NET_SIZE * (net % NETS_PER_BLOCK)


def net_address(net, host):
    if not 1 <= host <= MAX_HOST:
        raise LabError(f"host number {host} out of range 1..{MAX_HOST}")
    return str(net_base(net) + host)


def host_in_net(net, address):
    """The host number of a dotted address within net k (0 for the net's own address, NET_SIZE - 1 for its
    broadcast), or None when the address lies outside the net or is no IPv4 address."""
    try:
        offset = int(ipaddress.IPv4Address(address)) - int(net_base(net))
    except (ipaddress.AddressValueError, ValueError):
        return None
    return offset if 0 <= offset < NET_SIZE else None


def primary_address(box):
    """The ip of a box configuration's primary port (a dict as in the simulator's JSON), or None."""
    ports = box.get("ports", [{}])
    index = box.get("primaryPort", 0)
    if not isinstance(ports, list) or not isinstance(index, int) or not 0 <= index < len(ports):
        return None
    port = ports[index]
    return port.get("ip") if isinstance(port, dict) else None


def read_boxes(config):
    """The boxes of a simulator configuration file; empty when it cannot be read (the simulator says why)."""
    try:
        boxes = json.loads(Path(config).read_text()).get("boxes", [])
    except (OSError, ValueError, AttributeError):
        return []
    return [b for b in boxes if isinstance(b, dict)] if isinstance(boxes, list) else []


def find_ip():
    return shutil.which("ip") or next((p for p in ("/usr/sbin/ip", "/sbin/ip") if os.access(p, os.X_OK)), None)


def inside_lab_namespace():
    """True when this process's network namespace is one that a lab created (named under NETNS_DIR)."""
    try:
        mine = os.stat("/proc/self/ns/net")
        names = os.listdir(NETNS_DIR)
    except OSError:
        return False
    for name in names:
        if not name.startswith(PREFIX):
            continue
        try:
            st = os.stat(os.path.join(NETNS_DIR, name))
        except OSError:
            continue
        if (st.st_dev, st.st_ino) == (mine.st_dev, mine.st_ino):
            return True
    return False


def delete_namespace(name, ip="ip"):
    """Kills what still runs in it first: a daemon that left its process group would keep it and its links alive."""
    for pid in subprocess.run([ip, "netns", "pids", name], capture_output=True, text=True).stdout.split():
        try:
            os.kill(int(pid), signal.SIGKILL)
        except ProcessLookupError:
            pass
    subprocess.run([ip, "netns", "del", name], capture_output=True)


class Lab:
    """Builds the lab on construction; close() (or leaving the with block) tears it down, as does atexit."""

    def __init__(self, nets=2, boxes_per_net=1):
        if os.geteuid() != 0:
            raise LabError("the lab needs root (network namespaces)")
        self._ip = find_ip()
        if not self._ip:
            raise LabError("the 'ip' command (iproute2) was not found")
        if not 1 <= nets <= MAX_NETS:
            raise LabError(f"nets must be 1..{MAX_NETS}, got {nets}")
        if not 1 <= boxes_per_net <= MAX_HOST - 1:
            raise LabError(f"boxes_per_net must be 1..{MAX_HOST - 1}, got {boxes_per_net}")
        self.nets = nets
        self.run_id = f"{PREFIX}{os.getpid()}-{secrets.token_hex(3)}"
        self._namespaces = []          # created and not yet deleted, in creation order
        self._procs = []               # every process started in the lab
        self._box_addresses = [[] for _ in range(nets)]
        self._lock = threading.RLock()
        atexit.register(self.close)
        try:
            self._build(boxes_per_net)
        except BaseException:
            self.close()
            raise

    # ---- names and addresses

    @property
    def ns_pc(self):
        return f"{self.run_id}-pc"

    def ns_box(self, net):
        self._check_net(net)
        return f"{self.run_id}-net{net}"

    @staticmethod
    def pc_ifname(net):
        return f"lan{net}"

    @staticmethod
    def box_ifname(net):
        return f"box{net}"

    @property
    def pc_addresses(self):
        return [net_address(k, 1) for k in range(self.nets)]

    def box_address(self, net):
        """The first box address of net k (host 2)."""
        self._check_net(net)
        return self._box_addresses[net][0]

    def box_addresses(self, net):
        self._check_net(net)
        return list(self._box_addresses[net])

    def _check_net(self, net):
        if not 0 <= net < self.nets:
            raise LabError(f"net {net} is not in this lab (0..{self.nets - 1})")

    # ---- building

    def _ip_cmd(self, *args):
        result = subprocess.run([self._ip, *args], capture_output=True, text=True)
        if result.returncode != 0:
            raise LabError(f"ip {' '.join(args)}: {result.stderr.strip()}")

    def _add_namespace(self, name):
        self._ip_cmd("netns", "add", name)
        self._namespaces.append(name)
        # IPv6 would only add link-local chatter to the lab links, which take this default when created.
        subprocess.run([self._ip, "netns", "exec", name, "sysctl", "-q", "-w", "net.ipv6.conf.default.disable_ipv6=1"],
                       capture_output=True)
        self._ip_cmd("-n", name, "link", "set", "lo", "up")

    def _build(self, boxes_per_net):
        self._add_namespace(self.ns_pc)
        for k in range(self.nets):
            self._add_namespace(self.ns_box(k))
        # Net order here is interface index order in the PC namespace, hence getifaddrs order.
        for k in range(self.nets):
            pc_if, box_if, box_ns = self.pc_ifname(k), self.box_ifname(k), self.ns_box(k)
            self._ip_cmd("-n", self.ns_pc, "link", "add", pc_if, "type", "veth", "peer", "name", box_if,
                         "netns", box_ns)
            self._ip_cmd("-n", self.ns_pc, "addr", "add", f"{net_address(k, 1)}/{PREFIX_LEN}", "dev", pc_if)
            for host in range(2, 2 + boxes_per_net):
                self.add_box_address(k, host)
            self._ip_cmd("-n", self.ns_pc, "link", "set", pc_if, "up")
            self._ip_cmd("-n", box_ns, "link", "set", box_if, "up")
            self._ip_cmd("-n", self.ns_pc, "route", "add", MCAST_ROUTE, "dev", pc_if, "metric", str(100 + k))
            self._ip_cmd("-n", box_ns, "route", "add", MCAST_ROUTE, "dev", box_if)

    def add_box_address(self, net, host):
        """Adds host number `host` of net k to that net's box interface; returns the dotted address."""
        self._check_net(net)
        if host == 1:
            raise LabError("host 1 is the PC's address")
        address = net_address(net, host)
        self._ip_cmd("-n", self.ns_box(net), "addr", "add", f"{address}/{PREFIX_LEN}", "dev", self.box_ifname(net))
        self._box_addresses[net].append(address)
        return address

    def give_box_addresses(self, net, boxes):
        """Adds to net k's box interface the address of every box's primary port that lies in the net (hosts
        2..MAX_HOST) and is not there yet, so that the box's web page can be served at it. boxes: configurations
        as in the simulator's JSON. Returns the addresses added."""
        self._check_net(net)
        added = []
        for box in boxes:
            address = primary_address(box)
            host = host_in_net(net, address) if isinstance(address, str) else None
            if host is None or not 2 <= host <= MAX_HOST:
                continue
            address = net_address(net, host)
            with self._lock:
                if address not in self._box_addresses[net]:
                    added.append(self.add_box_address(net, host))
        return added

    # ---- processes

    def popen(self, ns, argv, **popen_kwargs):
        """Starts argv inside namespace ns in its own session; it is stopped at teardown."""
        popen_kwargs.setdefault("start_new_session", True)
        with self._lock:
            if ns not in self._namespaces:
                raise LabError(f"namespace {ns} is not part of this lab")
            proc = subprocess.Popen([self._ip, "netns", "exec", ns, *map(str, argv)], **popen_kwargs)
            self._procs = [p for p in self._procs if p.poll() is None] + [proc]
        return proc

    def run(self, ns, argv, timeout=60, check=False, input=None, **popen_kwargs):
        """Runs argv inside ns to completion, with `input` on its standard input if given; output
        captured as text unless told otherwise."""
        popen_kwargs.setdefault("stdout", subprocess.PIPE)
        popen_kwargs.setdefault("stderr", subprocess.PIPE)
        popen_kwargs.setdefault("stdin", subprocess.PIPE if input is not None else subprocess.DEVNULL)
        popen_kwargs.setdefault("text", True)
        proc = self.popen(ns, argv, **popen_kwargs)
        try:
            out, err = proc.communicate(input=input, timeout=timeout)
        except BaseException:
            self._stop([proc])
            raise
        result = subprocess.CompletedProcess(proc.args, proc.returncode, out, err)
        if check:
            result.check_returncode()
        return result

    def pc_exec(self, argv, **popen_kwargs):
        return self.popen(self.ns_pc, argv, **popen_kwargs)

    def pc_run(self, argv, **kwargs):
        return self.run(self.ns_pc, argv, **kwargs)

    def box_popen(self, net, argv, **popen_kwargs):
        return self.popen(self.ns_box(net), argv, **popen_kwargs)

    def box_run(self, net, argv, **kwargs):
        return self.run(self.ns_box(net), argv, **kwargs)

    def start_sim(self, net, config, log=None, address=None, boxsim=DEFAULT_BOXSIM, timeout=READY_TIMEOUT,
                  box_addresses=True):
        """Starts the box simulator in net k's box namespace and returns once it has printed 'ready'.
        box_addresses: first give the boxes' addresses of this net to the box interface (give_box_addresses)."""
        if not os.access(boxsim, os.X_OK):
            raise LabError(f"box simulator not found or not executable: {boxsim}")
        if box_addresses:
            self.give_box_addresses(net, read_boxes(config))
        argv = [boxsim, "--interface", address or self.box_address(net), "--config", config]
        if log is not None:
            argv += ["--log", log]
        proc = self.box_popen(net, argv, stdout=subprocess.PIPE, text=True, bufsize=1)
        wait_for_line(proc, "ready", timeout, f"[sim net{net}] ")
        return proc

    def _stop(self, procs):
        """SIGTERM to each process group, SIGKILL to whatever is left after a short grace."""
        for sig in (signal.SIGTERM, signal.SIGKILL):
            alive = [p for p in procs if p.poll() is None]
            for proc in alive:
                try:
                    os.killpg(proc.pid, sig)
                except (ProcessLookupError, PermissionError):
                    try:
                        proc.send_signal(sig)
                    except ProcessLookupError:
                        pass
            for proc in alive:
                try:
                    proc.wait(timeout=STOP_GRACE)
                except subprocess.TimeoutExpired:
                    pass

    # ---- teardown

    def close(self):
        """Stops every process and deletes the namespaces. Safe to call again, also after a partial run."""
        masked = threading.current_thread() is threading.main_thread()
        if masked:
            old_mask = signal.pthread_sigmask(signal.SIG_BLOCK, {signal.SIGINT, signal.SIGTERM, signal.SIGHUP})
        try:
            with self._lock:
                procs, self._procs = self._procs, []
                self._stop(procs)
                while self._namespaces:
                    delete_namespace(self._namespaces[-1], self._ip)
                    self._namespaces.pop()
            atexit.unregister(self.close)
        finally:
            if masked:
                signal.pthread_sigmask(signal.SIG_SETMASK, old_mask)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def environment(self):
        return {
            "LAB_PC_NS": self.ns_pc,
            "LAB_PC_ADDRESSES": ",".join(self.pc_addresses),
            "LAB_BOX_NS": ",".join(self.ns_box(k) for k in range(self.nets)),
            "LAB_BOX_ADDRESSES": ",".join(self.box_address(k) for k in range(self.nets)),
        }


def wait_for_line(proc, text, timeout, prefix):
    """Waits until proc prints a line equal to text; its other output goes to stderr, now and later."""
    seen = threading.Event()
    found = []

    def pump():
        for line in proc.stdout:
            if not found and line.strip() == text:
                found.append(True)
                seen.set()
            else:
                sys.stderr.write(prefix + line)
        proc.stdout.close()  # nothing more will come
        seen.set()  # end of output: the process is gone or closed stdout without the line

    threading.Thread(target=pump, daemon=True).start()
    seen.wait(timeout)
    if found:
        return
    try:
        proc.wait(timeout=STOP_GRACE)  # end of output usually means it is exiting: say how
        state = f"exited with {proc.returncode}"
    except subprocess.TimeoutExpired:
        state = "timed out"
    raise LabError(f"{prefix.strip()} never printed '{text}' ({state})")


# ---- command line

def parse_sim(value):
    parts = value.split(":", 2)
    if len(parts) < 2 or not parts[0].isdigit() or not parts[1]:
        raise argparse.ArgumentTypeError(f"want NET:CONFIG[:LOG], got {value}")
    return int(parts[0]), parts[1], parts[2] if len(parts) == 3 else None


def parse_args(argv):
    cut = argv.index("--") if "--" in argv else len(argv)
    parser = argparse.ArgumentParser(
        prog="lab.py", usage="%(prog)s [--nets N] [--sim NET:CONFIG[:LOG]]... [--boxsim PATH] [--env-file F] "
                             "-- COMMAND [ARGS...]\n       %(prog)s --check-inside")
    parser.add_argument("--nets", type=int, default=2, help=f"PC interfaces, one per net (1..{MAX_NETS})")
    parser.add_argument("--sim", type=parse_sim, action="append", default=[], metavar="NET:CONFIG[:LOG]",
                        help="run the box simulator in net NET's box namespace")
    parser.add_argument("--boxsim", default=str(DEFAULT_BOXSIM), help="simulator binary")
    parser.add_argument("--env-file", help="also write the LAB_* variables to this file")
    parser.add_argument("--check-inside", action="store_true",
                        help="exit 0 only when running inside a lab namespace")
    args = parser.parse_args(argv[:cut])
    args.command = argv[cut + 1:]
    if not args.check_inside and not args.command:
        parser.error("no command given (put it after --)")
    return args


def exit_code(returncode):
    return 128 - returncode if returncode < 0 else returncode


def install_signal_handlers():
    """SIGINT, SIGTERM and SIGHUP unwind the stack, so with blocks and atexit tear the lab down."""
    def handler(signum, frame):
        raise SystemExit(128 + signum)
    for sig in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(sig, handler)


def main(argv):
    args = parse_args(argv)
    if args.check_inside:
        if inside_lab_namespace():
            return 0
        print("lab: refusing: not inside a lab network namespace", file=sys.stderr)
        return 1
    install_signal_handlers()
    try:
        with Lab(nets=args.nets) as lab:
            for net, config, log in args.sim:
                lab.start_sim(net, config, log, boxsim=args.boxsim)
            env = dict(os.environ, **lab.environment())
            if args.env_file:
                Path(args.env_file).write_text("".join(f"{k}={v}\n" for k, v in lab.environment().items()))
            proc = lab.pc_exec(args.command, env=env, start_new_session=False)
            return exit_code(proc.wait())
    except LabError as e:
        print(f"lab: {e}", file=sys.stderr)
        return 125


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
