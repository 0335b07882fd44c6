#!/usr/bin/env python3
"""Checks the lab network itself: layout, multicast on the right links, cleanup, and the command line."""
import os
import signal
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

LAB_DIR = Path(__file__).resolve().parent
sys.path.insert(0, str(LAB_DIR))
import lab  # noqa: E402

PY = sys.executable
PIPE = subprocess.PIPE

# Joins 224.0.0.10 on one interface address and prints "payload sender arrival-interface" for one datagram.
RECEIVER = r"""
import socket, struct, sys
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.setsockopt(socket.IPPROTO_IP, 49, 0)  # IP_MULTICAST_ALL off
s.setsockopt(socket.IPPROTO_IP, 8, 1)   # IP_PKTINFO
s.bind(("224.0.0.10", 24680))
group = socket.inet_aton("224.0.0.10") + socket.inet_aton(sys.argv[1])
s.setsockopt(socket.IPPROTO_IP, socket.IP_ADD_MEMBERSHIP, group)
s.settimeout(10)
print("ready", flush=True)
data, anc, _, peer = s.recvmsg(2048, 64)
print(data.decode(), peer[0], socket.if_indextoname(struct.unpack("i", anc[0][2][:4])[0]), flush=True)
"""
# Sends one datagram to 224.0.0.10:24680 out of the given interface address, and only from inside a lab.
SENDER = r"""
import socket, sys
sys.path.insert(0, sys.argv[3]); import lab
if not lab.inside_lab_namespace(): sys.exit("not inside a lab namespace")
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.setsockopt(socket.IPPROTO_IP, socket.IP_MULTICAST_IF, socket.inet_aton(sys.argv[1]))
s.setsockopt(socket.IPPROTO_IP, socket.IP_MULTICAST_TTL, 1)
s.sendto(sys.argv[2].encode(), ("224.0.0.10", 24680))
"""


def leftovers(prefix):
    return [n for n in os.listdir(lab.NETNS_DIR) if n.startswith(prefix)] if os.path.isdir(lab.NETNS_DIR) else []


def gone(pid):
    try:
        return Path(f"/proc/{pid}/stat").read_text().split(") ")[1][0] in "ZX"
    except FileNotFoundError:
        return True


class ThreeNetLab(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.lab = lab.Lab(nets=3)

    @classmethod
    def tearDownClass(cls):
        cls.lab.close()

    def test_pc_lists_the_lab_addresses_in_net_order(self):
        out = self.lab.pc_run(["ip", "-4", "-o", "addr"], check=True).stdout
        found = [(f[1], f[3]) for f in map(str.split, out.splitlines()) if f[1] != "lo"]
        self.assertEqual(found, [("lan0", "198.51.100.1/27"), ("lan1", "198.51.100.33/27"),
                                 ("lan2", "198.51.100.65/27")])
        self.assertEqual(self.lab.pc_addresses, ["198.51.100.1", "198.51.100.33", "198.51.100.65"])
        self.assertEqual([lab.net_address(7, 2), lab.net_address(8, 1), lab.net_address(15, 30)],
                         ["198.51.100.226", "203.0.113.1", "203.0.113.254"])
        # The last net and host exist; one beyond either would be another net's address or a broadcast.
        self.assertEqual((lab.MAX_NETS, lab.MAX_HOST, lab.NETMASK), (16, 30, "255.255.255.224"))
        self.assertRaises(lab.LabError, lab.net_address, 0, 31)
        self.assertRaises(lab.LabError, lab.net_base, 16)

    def test_multicast_between_pc_and_boxes_uses_the_expected_link(self):
        pc, extra = self.lab.ns_pc, self.lab.add_box_address(1, 9)
        self.assertEqual(extra, "198.51.100.41")
        cases = [  # sender namespace and address, receiver namespace and joined address, expected arrival
            (self.lab.ns_box(2), "198.51.100.66", pc, "198.51.100.65", "lan2"),
            (pc, "198.51.100.1", self.lab.ns_box(0), "198.51.100.2", "box0"),  # the same box on interfaces 0
            (pc, "198.51.100.65", self.lab.ns_box(2), "198.51.100.66", "box2"),  # and 2
            (pc, "198.51.100.33", self.lab.ns_box(1), extra, "box1"),
        ]
        for send_ns, send_address, recv_ns, recv_address, link in cases:
            with self.subTest(sender=send_address, receiver=recv_address):
                rx = self.lab.popen(recv_ns, [PY, "-c", RECEIVER, recv_address], stdout=PIPE, text=True)
                self.assertEqual(rx.stdout.readline(), "ready\n")
                self.lab.run(send_ns, [PY, "-c", SENDER, send_address, "hello", LAB_DIR], check=True, timeout=30)
                self.assertEqual(rx.communicate(timeout=30)[0].split(), ["hello", send_address, link])

    def test_boxes_get_the_addresses_of_their_net_once_and_nothing_else(self):
        boxes = [{"ports": [{"ip": "198.51.100.76"}]},                       # net 2, host 12
                 {"primaryPort": 1, "ports": [{"ip": "192.0.2.9"}, {"ip": "198.51.100.77"}]},
                 {"ports": [{"ip": "198.51.100.76"}]},                       # already given
                 {"ports": [{"ip": "198.51.100.65"}]},                       # the PC's own
                 {"ports": [{"ip": "198.51.100.95"}]},                       # the net's broadcast
                 {"ports": [{"ip": "198.51.100.96"}]},                       # net 3's own address
                 {"ports": [{"ip": "198.51.100.20"}]},                       # net 0's
                 {"ports": []}, {"primaryPort": 3}, {"ports": [{"ip": "not an address"}]}]
        self.assertEqual(self.lab.give_box_addresses(2, boxes), ["198.51.100.76", "198.51.100.77"])
        self.assertEqual(self.lab.give_box_addresses(2, boxes), [])
        out = self.lab.box_run(2, ["ip", "-4", "-o", "addr", "show", "dev", "box2"], check=True).stdout
        self.assertEqual([f[3] for f in map(str.split, out.splitlines())],
                         ["198.51.100.66/27", "198.51.100.76/27", "198.51.100.77/27"])
        # Refused, not unreachable: the address answered from the box namespace.
        probe = "import socket, sys\ntry: socket.create_connection((sys.argv[1], 9), timeout=10)\n" \
                "except ConnectionRefusedError: print('refused')"
        self.assertEqual(self.lab.pc_run([PY, "-c", probe, "198.51.100.77"], check=True).stdout, "refused\n")

    def test_check_inside_only_in_a_lab_namespace(self):
        check = [PY, LAB_DIR / "lab.py", "--check-inside"]
        self.assertEqual(self.lab.box_run(1, check).returncode, 0)
        self.assertEqual(subprocess.run(check, capture_output=True).returncode, 1)


class Teardown(unittest.TestCase):
    def test_processes_and_namespaces_go_also_daemons(self):
        with lab.Lab(nets=1) as lb:
            child = lb.box_popen(0, ["sleep", "1000"])
            daemon = int(lb.pc_run(["sh", "-c", "setsid sleep 1000 >/dev/null 2>&1 & echo $!"]).stdout)
            self.assertEqual(len(leftovers(lb.run_id)), 2)
        self.assertEqual(leftovers(lb.run_id), [])
        self.assertIsNotNone(child.poll())
        self.assertTrue(gone(daemon))
        lb.close()  # again: harmless
        self.assertRaises(lab.LabError, lb.pc_exec, ["true"])

    def test_exception_in_body(self):
        with self.assertRaises(ZeroDivisionError):
            with lab.Lab(nets=2) as lb:
                1 / 0
        self.assertEqual(leftovers(lb.run_id), [])


class CommandLine(unittest.TestCase):
    def lab_py(self, *args, **kwargs):
        proc = subprocess.Popen([PY, LAB_DIR / "lab.py", *args], stdout=PIPE, stderr=PIPE, text=True, **kwargs)
        self.addCleanup(proc.communicate)  # cleanups run last first: kill, remove what a failed run left, collect
        self.addCleanup(lambda: [lab.delete_namespace(n) for n in leftovers(f"{lab.PREFIX}{proc.pid}-")])
        self.addCleanup(proc.kill)
        return proc

    def fake_sim(self, tmp, body):
        Path(tmp, "sim").write_text("#!/bin/sh\n" + body)
        Path(tmp, "sim").chmod(0o755)
        return str(Path(tmp, "sim"))

    def test_runs_sims_then_the_command_and_returns_its_code(self):
        with tempfile.TemporaryDirectory() as tmp:
            sim = self.fake_sim(tmp, 'echo $$ "$@" > "$6"\necho ready\nexec sleep 1000\n')
            cmd = 'cat sim.log; echo "$LAB_PC_ADDRESSES $LAB_BOX_NS"; {} {} --check-inside && exit 3'
            proc = self.lab_py("--nets", "2", "--boxsim", sim, "--sim", "1:cfg.json:sim.log", "--env-file", "env",
                               "--", "sh", "-c", cmd.format(PY, LAB_DIR / "lab.py"), cwd=tmp)
            out, err = proc.communicate(timeout=60)
            self.assertEqual(proc.returncode, 3, err)
            sim_line, env_line = out.splitlines()
            sim_pid, *sim_args = sim_line.split()
            self.assertEqual(sim_args, ["--interface", "198.51.100.34", "--config", "cfg.json", "--log", "sim.log"])
            prefix = f"{lab.PREFIX}{proc.pid}-"
            self.assertRegex(env_line, f"^198.51.100.1,198.51.100.33 {prefix}.*-net0,{prefix}.*-net1$")
            self.assertIn(f"LAB_PC_ADDRESSES=198.51.100.1,198.51.100.33\n", Path(tmp, "env").read_text())
            self.assertTrue(gone(sim_pid))
            self.assertEqual(leftovers(prefix), [])

    def test_sim_that_never_gets_ready_stops_the_run(self):
        with tempfile.TemporaryDirectory() as tmp:
            proc = self.lab_py("--boxsim", self.fake_sim(tmp, "exit 4\n"), "--sim", "0:c", "--", "touch", "ran",
                               cwd=tmp)
            err = proc.communicate(timeout=60)[1]
            self.assertEqual(proc.returncode, 125)
            self.assertIn("never printed 'ready' (exited with 4)", err)
            self.assertFalse(Path(tmp, "ran").exists())
            self.assertEqual(leftovers(f"{lab.PREFIX}{proc.pid}-"), [])

    def test_sigterm_tears_down(self):
        proc = self.lab_py("--", "sh", "-c", "echo started; exec sleep 1000")
        self.assertEqual(proc.stdout.readline(), "started\n")
        proc.send_signal(signal.SIGTERM)
        self.assertEqual(proc.wait(timeout=60), 128 + signal.SIGTERM)
        self.assertEqual(leftovers(f"{lab.PREFIX}{proc.pid}-"), [])


if __name__ == "__main__":
    unittest.main()
