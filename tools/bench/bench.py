#!/usr/bin/env python3
"""Benchmarks of the device protocol in the lab, printed as figures (never asserted).

For one interface: the wall time of a search with 1 and with 100 boxes answering at once, as a ratio to
the floor of 2.01 s (1 s drain + 101 polls of 10 ms), and how many of the 100 were recorded; then 150
boxes at once, which the rules cap at 101 records; last, CheckPassword against a box that answers at
once, as a ratio to its floor (1 s drain + 50 ms).

    python3 tools/bench/bench.py [--build build] [--runs 3]      (as root)"""
import argparse
import json
import statistics
import sys
import tempfile
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(REPO / "tools" / "lab"))
import lab  # noqa: E402

SEARCH_FLOOR = 2.01
CHECK_FLOOR = 1.05


def boxes(count):
    return {"boxes": [{
        "id": ",".join(f"0x{b:02X}" for b in (0xBE, 0x4C, 0, 0, 0, 0, n >> 8, n & 0xFF)),
        "name": f"bench-{n}", "model": "VRX-510L", "primaryPort": 0,
        "ports": [{"ip": f"192.0.2.{n % 250 + 1}", "netmask": "255.255.255.0", "gateway": "", "addrA": "",
                   "addrB": "", "dhcp": "0", "option": 0}],
        "shares": ["Volume1"], "user": "admin", "password": "secret"} for n in range(count)]}


def run_bench(the_lab, bench, argv):
    result = the_lab.pc_run([bench, *argv], timeout=120)
    if result.returncode not in (0, 1):
        raise RuntimeError(f"quorvel-bench {argv}: exit {result.returncode}: {result.stderr}")
    return json.loads(result.stdout)


def measure_search(build, count, runs, tmp):
    config = Path(tmp) / f"boxes-{count}.json"
    config.write_text(json.dumps(boxes(count)))
    with lab.Lab(nets=1) as the_lab:
        the_lab.start_sim(0, str(config), boxsim=build / "tools/boxsim/quorvel-boxsim")
        return [run_bench(the_lab, build / "tools/bench/quorvel-bench", ["search"]) for _ in range(runs)]


def measure_check(build, runs, tmp):
    config = Path(tmp) / "check.json"
    config.write_text(json.dumps(boxes(1)))
    key = boxes(1)["boxes"][0]["id"]
    with lab.Lab(nets=1) as the_lab:
        the_lab.start_sim(0, str(config), boxsim=build / "tools/boxsim/quorvel-boxsim")
        argv = ["check-password", "--device", key, "--user", "admin", "--password", "secret"]
        return [run_bench(the_lab, build / "tools/bench/quorvel-bench", argv) for _ in range(runs)]


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", type=Path, default=REPO / "build")
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="quorvel-bench-") as tmp:
        for count in (1, 100, 150):
            results = measure_search(args.build, count, args.runs, tmp)
            seconds = statistics.median(r["seconds"] for r in results)
            records = sorted({r["records"] for r in results})
            print(f"search, {count:3d} boxes at once: {seconds:.3f} s median of {len(results)}, "
                  f"ratio to {SEARCH_FLOOR} s floor {seconds / SEARCH_FLOOR:.3f}, records {records}")
        results = measure_check(args.build, args.runs, tmp)
        seconds = statistics.median(r["seconds"] for r in results)
        accepted = all(r["accepted"] for r in results)
        print(f"CheckPassword, box answering at once: {seconds:.3f} s median of {len(results)}, "
              f"ratio to {CHECK_FLOOR} s floor {seconds / CHECK_FLOOR:.3f}, accepted {accepted}")


if __name__ == "__main__":
    main()
