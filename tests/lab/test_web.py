"""The boxes' web pages: served on port 80 of each box's own lab address, reached from the PC namespace,
logged beside the protocol's requests; none for a box with noWeb, outside the lab's nets, or whose simulator
has stopped."""
import json
import sys
import unittest
from pathlib import Path

from labtest import BOXSIM, LabCase, box, lab, lab_port, port

WEB = box(21, "web-box", model="VRX-530L", ports=[lab_port(0, 10)])
QUIET = box(22, "quiet", ports=[lab_port(0, 11)], faults={"noWeb": True})
ELSEWHERE = box(23, "elsewhere", ports=[port("192.0.2.23")])
ODD = box(24, 'R&D <"lab">', model="M<1>", ports=[lab_port(0, 12)])
SECOND = box(25, "second-port", primaryPort=1, ports=[port("192.0.2.25"), lab_port(0, 13)])
FAR = box(26, "far", ports=[lab_port(1, 10)])
SHORT_HOST = 20  # a box that one test starts and stops on net 1

# The addresses of the nets' PC ends, of the simulators, and of the boxes' web pages.
PC0, PC1 = lab.net_address(0, 1), lab.net_address(1, 1)
BOX0, BOX1 = lab.net_address(0, 2), lab.net_address(1, 2)
WEB_AT, QUIET_AT, ODD_AT, SECOND_AT = (lab.net_address(0, h) for h in (10, 11, 12, 13))
FAR_AT, SHORT_AT = lab.net_address(1, 10), lab.net_address(1, SHORT_HOST)

# Runs in the PC namespace: connects to port 80, sends the payload, reads until the server closes.
EXCHANGE = r"""
import json, socket, sys, time
address, payload, timeout = sys.argv[1], sys.argv[2].encode("latin-1"), float(sys.argv[3])
s = socket.socket()
s.settimeout(timeout)
try:
    s.connect((address, 80))
except OSError as e:
    print(json.dumps({"error": type(e).__name__}))
    sys.exit()
s.sendall(payload)
data, closed = b"", False
try:
    while chunk := s.recv(4096):
        data += chunk
    closed = True
except socket.timeout:
    pass
print(json.dumps({"error": None, "response": data.decode("latin-1"), "closed": closed}))
"""

# Runs in the PC namespace: holds one connection open without a word, fetches the page on a second one
# meanwhile, then waits for the server to give up on the first.
IDLE = r"""
import json, socket, sys, time
address, limit = sys.argv[1], float(sys.argv[2])
idle = socket.create_connection((address, 80), timeout=limit)
started = time.monotonic()
other = socket.create_connection((address, 80), timeout=limit)
other.sendall(b"GET / HTTP/1.0\r\n\r\n")
page = b""
while chunk := other.recv(4096):
    page += chunk
served_after = time.monotonic() - started
try:
    closed = idle.recv(1) == b""
except socket.timeout:
    closed = False
print(json.dumps({"page": page.decode("latin-1"), "served_after": served_after, "closed": closed,
                  "closed_after": time.monotonic() - started}))
"""

URLLIB = r"""
import json, sys, urllib.request
with urllib.request.urlopen(sys.argv[1], timeout=30) as answer:
    print(json.dumps({"status": answer.status, "type": answer.headers["Content-Type"],
                      "body": answer.read().decode()}))
"""


def split_answer(text):
    head, _, body = text.partition("\r\n\r\n")
    status, *headers = head.split("\r\n")
    return status, dict(h.split(": ", 1) for h in headers), body


class WebPages(LabCase):
    NETS = 2
    BOXES = {0: [WEB, QUIET, ELSEWHERE, ODD, SECOND], 1: [FAR]}

    def python_in_pc(self, script, *args, timeout=60):
        result = self.lab.pc_run([sys.executable, "-c", script, *map(str, args)], timeout=timeout)
        self.assertEqual(result.returncode, 0, result.stderr)
        return json.loads(result.stdout)

    def exchange(self, address, payload, timeout=20):
        return self.python_in_pc(EXCHANGE, address, payload, timeout, timeout=timeout + 60)

    def listeners(self, net):
        """The TCP listening addresses in net k's box namespace."""
        result = self.lab.box_run(net, ["ss", "-Hltn"], check=True)
        return sorted(line.split()[3] for line in result.stdout.splitlines() if line.strip())

    def test_boxes_with_a_lab_address_get_it_and_a_web_server_and_the_others_do_not(self):
        self.assertEqual(self.lab.box_addresses(0), [BOX0, WEB_AT, QUIET_AT, ODD_AT, SECOND_AT])
        self.assertEqual(self.lab.box_addresses(1)[:2], [BOX1, FAR_AT])  # one test adds SHORT_AT
        self.assertEqual(self.listeners(0), sorted(f"{a}:80" for a in (WEB_AT, ODD_AT, SECOND_AT)))
        self.assertIn(f"{FAR_AT}:80", self.listeners(1))

    def test_a_browser_gets_the_page_and_the_log_shows_connection_and_request(self):
        before = len(self.web_requests(0, box="web-box"))
        answer = self.python_in_pc(URLLIB, f"http://{WEB_AT}/")
        self.assertEqual((answer["status"], answer["type"]), (200, "text/html; charset=utf-8"))
        self.assertIn("<title>web-box</title>", answer["body"])
        self.assertIn("VRX-530L", answer["body"])
        request, = self.web_requests(0, box="web-box")[before:]  # logged before the answer went out
        connect = self.web_requests(0, "connect", box="web-box")[-1]
        self.assertEqual({k: request[k] for k in ("address", "from", "method", "path", "status")},
                         {"address": WEB_AT, "from": PC0, "method": "GET", "path": "/",
                          "status": 200})
        self.assertEqual((connect["address"], connect["from"]), (WEB_AT, PC0))
        self.assertLessEqual(connect["time"], request["time"])
        self.assertNotIn("opcode", request)

    def test_every_target_gets_the_page_head_gets_no_body_and_other_methods_are_refused(self):
        page = self.page_of(WEB_AT)
        status, headers, body = split_answer(self.exchange(WEB_AT, "GET /cgi/setup?page=2 HTTP/1.1\r\n"
                                                           f"Host: {WEB_AT}\r\n\r\n")["response"])
        self.assertEqual(status, "HTTP/1.0 200 OK")
        self.assertEqual((headers["Connection"], int(headers["Content-Length"])), ("close", len(body.encode())))
        self.assertIn("<title>web-box</title>", body)
        head = self.exchange(WEB_AT, "HEAD / HTTP/1.0\r\n\r\n")
        status, headers, body = split_answer(head["response"])
        self.assertEqual((status, body, head["closed"]), ("HTTP/1.0 200 OK", "", True))
        self.assertEqual(int(headers["Content-Length"]), len(page.encode()))
        post = self.exchange(WEB_AT, "POST /apply HTTP/1.0\r\nContent-Length: 0\r\n\r\n")
        self.assertTrue(post["response"].startswith("HTTP/1.0 501 "), post)
        logged = [(r["method"], r["path"], r["status"]) for r in self.web_requests(0, box="web-box")]
        self.assertEqual(logged[-3:], [("GET", "/cgi/setup?page=2", 200), ("HEAD", "/", 200),
                                       ("POST", "/apply", 501)])

    def test_the_page_escapes_name_and_model_and_follows_the_primary_port(self):
        self.assertIn('<title>R&amp;D &lt;&quot;lab&quot;&gt;</title>', self.page_of(ODD_AT))
        self.assertIn("<p>M&lt;1&gt;</p>", self.page_of(ODD_AT))
        self.assertIn("<title>second-port</title>", self.page_of(SECOND_AT))

    def test_a_box_on_the_second_net_is_reached_from_the_pc_address_of_that_net(self):
        self.assertIn("<title>far</title>", self.page_of(FAR_AT))
        self.assertEqual(self.web_requests(1, box="far")[-1]["from"], PC1)

    def test_no_web_means_refused_connections_and_nothing_logged(self):
        self.assertEqual(self.exchange(QUIET_AT, "GET / HTTP/1.0\r\n\r\n"),
                         {"error": "ConnectionRefusedError"})
        self.assertEqual([e for e in self.log_entries(0) if e.get("http") and e["box"] == "quiet"], [])
        self.assertIn(QUIET_AT, self.lab.box_addresses(0))  # the address is there; the server is not

    def test_malformed_and_oversized_requests_get_400_and_a_closed_connection(self):
        for payload in ("hello there\r\n\r\n", "GET /\r\n\r\n", "get / HTTP/1.0\r\n\r\n", "A" * 6000):
            with self.subTest(payload=payload[:20]):
                answer = self.exchange(WEB_AT, payload)
                self.assertTrue(answer["closed"])
                self.assertTrue(answer["response"].startswith("HTTP/1.0 400 Bad Request\r\n"), answer)
                logged = self.web_requests(0, box="web-box")[-1]
                self.assertEqual((logged["method"], logged["path"], logged["status"]), (None, None, 400))

    def test_a_silent_client_is_dropped_after_its_time_without_holding_up_others(self):
        result = self.python_in_pc(IDLE, WEB_AT, 60, timeout=120)
        self.assertIn("<title>web-box</title>", result["page"])
        self.assertLess(result["served_after"], 3.0)  # not behind the silent connection's time limit
        self.assertTrue(result["closed"])
        self.assertGreater(result["closed_after"], 3.0)
        self.assertLess(result["closed_after"], 30.0)

    def test_a_stopped_simulator_serves_nothing_and_a_taken_address_stops_a_second_one(self):
        config = Path(self.tmp.name) / "short-lived.json"
        config.write_text(json.dumps({"boxes": [box(27, "short-lived", ports=[lab_port(1, SHORT_HOST)])]}))
        sim = self.lab.start_sim(1, str(config), boxsim=BOXSIM)
        self.assertIn("<title>short-lived</title>", self.page_of(SHORT_AT))
        sim.terminate()
        self.assertEqual(sim.wait(timeout=30), 0)
        self.assertEqual(self.exchange(SHORT_AT, "GET / HTTP/1.0\r\n\r\n"),
                         {"error": "ConnectionRefusedError"})
        clash = Path(self.tmp.name) / "clash.json"
        clash.write_text(json.dumps({"boxes": [box(28, "clash", ports=[lab_port(0, 10)])]}))
        with self.assertRaisesRegex(lab.LabError, r"never printed 'ready' \(exited with 1\)"):
            self.lab.start_sim(0, str(clash), boxsim=BOXSIM)
        self.assertIn("<title>web-box</title>", self.page_of(WEB_AT))

    # ---- helpers

    def page_of(self, address):
        answer = self.exchange(address, "GET / HTTP/1.0\r\n\r\n")
        self.assertIsNone(answer["error"], answer)
        status, _, body = split_answer(answer["response"])
        self.assertEqual(status, "HTTP/1.0 200 OK")
        return body


if __name__ == "__main__":
    unittest.main()
