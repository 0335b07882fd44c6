#!/usr/bin/env python3
"""Benchmarks of the device protocol in the lab, printed as figures (never asserted).

For one interface: the wall time of a search with 1 and with 100 boxes answering at once, as a ratio to
the floor of 1.01 s (101 polls of 10 ms; the request leaves at once), and how many of the 100 were
recorded; then 150 boxes at once, which the rules cap at 101 records; last, CheckPassword after a
search against a box that answers at once, as a ratio to its floor: the box's answer time, which the
command reads at the earliest after its 50 ms pause after sending.
Before those: a search with 1, 2, 4 and 8 interfaces (one lab net each, one box on every net and one more
box on the first and the last net), as a ratio to one interface's floor: every interface is searched at
once, so the ratio should stay near 1 however many there are. With --wine, also quorvel.exe under Wine in
a lab of 2 nets: how long before its first search request reaches a simulator the main window is on screen
(realtime moments of a watcher started before the program and of the simulator's log; median of --runs); and, from the Wine test that drives it (tests/wine/test_responsive.py), the longest stretch
the main window left WM_NULL unanswered during Refresh, the login check and Apply; the time from Enter in
the login dialog (right password) to the settings panel filled with the box's share names, as another
process looking at the window every 5 ms sees it (--win-baseline WIN-BUILD times another commit's quorvel.exe alike, in the
same run); with 1 and with 100 boxes answering at once, the time from Refresh to the first row on screen, to
all rows and to the search's end, and the longest unanswered stretch meanwhile (another process looking every
2 ms; the baseline alike); and the time that the
check of a new static address adds to quorvel-cli.exe's set-network for a free address (the ICMP echo, the
probe that runs under Wine). Without --wine, that figure for the Linux quorvel-cli (the neighbour table).
--only interfaces|wine|start|apply prints just those figures (start: the cold start of quorvel.exe under Wine,
from the program's start to its main window on screen, beside a plain window with a button and a list view
started the same way, seven alternating runs each; then the same with each program the first Wine process of
a fresh prefix, Wine's own start included, its window seen with xdotool; with --wine it comes first). --baseline BUILD measures a build of another commit
in the same run, each figure right after this build's (its lines end in "[baseline]").

    python3 tools/bench/bench.py [--build build] [--baseline other-build] [--runs 3]      (as root)
    python3 tools/bench/bench.py --wine [--win-baseline other-build-win] ..."""
import argparse
import contextlib
import json
import os
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(REPO / "tools" / "lab"))
import lab  # noqa: E402

SEARCH_FLOOR = 1.01
CHECK_FLOOR = 0.05  # the box answers at once; its answer is read after the pause after sending


def bench_box(n):
    return {
        "id": ",".join(f"0x{b:02X}" for b in (0xBE, 0x4C, 0, 0, 0, 0, n >> 8, n & 0xFF)),
        "name": f"bench-{n}", "model": "VRX-510L", "primaryPort": 0,
        "ports": [{"ip": f"192.0.2.{n % 250 + 1}", "netmask": "255.255.255.0", "gateway": "", "addrA": "",
                   "addrB": "", "dhcp": "0", "option": 0}],
        "shares": ["Volume1"], "user": "admin", "password": "secret"}


def boxes(count):
    return {"boxes": [bench_box(n) for n in range(count)]}


def boxes_per_net(nets):
    """One box on every net, and one more (number 999) on the first and the last net."""
    shared = bench_box(999)
    per_net = {net: [bench_box(net)] for net in range(nets)}
    for net in {0, nets - 1}:
        per_net[net].append(shared)
    return per_net


def start_sims(the_lab, build, per_net, tmp):
    for net, net_boxes in per_net.items():
        config = Path(tmp) / f"net{net}.json"
        config.write_text(json.dumps({"boxes": net_boxes}))
        the_lab.start_sim(net, str(config), log=str(Path(tmp) / f"net{net}.log"),
                          boxsim=build / "tools/boxsim/quorvel-boxsim")


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


def measure_interfaces(build, nets, runs, tmp):
    with lab.Lab(nets=nets) as the_lab:
        start_sims(the_lab, build, boxes_per_net(nets), tmp)
        return [run_bench(the_lab, build / "tools/bench/quorvel-bench", ["search"]) for _ in range(runs)]


def report_interfaces(builds, runs, tmp):
    for nets in (1, 2, 4, 8):
        for build, label in builds:
            results = measure_interfaces(build, nets, runs, tmp)
            seconds = statistics.median(r["seconds"] for r in results)
            records = sorted({r["records"] for r in results})
            print(f"search, {nets} interface(s), {nets + 1} boxes: {seconds:.3f} s median of {len(results)}, "
                  f"ratio to one interface's {SEARCH_FLOOR} s floor {seconds / SEARCH_FLOOR:.3f}, "
                  f"records {records}{label}", flush=True)


def report_one_net(builds, runs, tmp):
    for count in (1, 100, 150):
        for build, label in builds:
            results = measure_search(build, count, runs, tmp)
            seconds = statistics.median(r["seconds"] for r in results)
            records = sorted({r["records"] for r in results})
            print(f"search, {count:3d} boxes at once: {seconds:.3f} s median of {len(results)}, "
                  f"ratio to {SEARCH_FLOOR} s floor {seconds / SEARCH_FLOOR:.3f}, records {records}{label}",
                  flush=True)
    for build, label in builds:
        results = measure_check(build, runs, tmp)
        seconds = statistics.median(r["seconds"] for r in results)
        accepted = all(r["accepted"] for r in results)
        print(f"CheckPassword after a search, box answering at once: {seconds:.3f} s median of {len(results)}, "
              f"ratio to {CHECK_FLOOR} s floor {seconds / CHECK_FLOOR:.3f}, accepted {accepted}{label}", flush=True)


def first_search_request_us(log_paths):
    """The realtime moment (epochUs) at which a simulator first logged a search request, or None."""
    moments = []
    for path in log_paths:
        for line in Path(path).read_text().splitlines():
            entry = json.loads(line)
            if entry.get("opcode") == 101:
                moments.append(entry["epochUs"])
    return min(moments, default=None)


def measure_wine_start(build, win_build, tmp, runs):
    """Per run, in a fresh lab of 2 nets: milliseconds from quorvel.exe's main window first on screen, as
    quorvel-winread --watch-start started before the program sees it, to its first search request reaching a
    simulator (negative: the window showed after); None for a run where either was not seen."""
    sys.path.insert(0, str(REPO / "tests" / "wine"))
    import console_driver as driver  # noqa: E402
    figures = []
    for _ in range(runs):
        logs_dir = tempfile.mkdtemp(dir=tmp)
        watcher = []
        with lab.Lab(nets=2) as the_lab:
            start_sims(the_lab, build, boxes_per_net(2), logs_dir)
            with driver.guilab.GuiSession(the_lab, win_build / "app" / "quorvel.exe", name="bench-start",
                                          inspect_exe=win_build / "tools/winread/quorvel-winread.exe",
                                          prepare=lambda gui: watcher.append(driver.watch_start(gui))):
                seen = watcher[0]()
            first = first_search_request_us([Path(logs_dir) / f"net{net}.log" for net in range(2)])
        visible = seen["visibleUs"]
        figures.append((first - visible) / 1000 if first and visible else None)
    return figures


def time_to_window(build, exe, title, inspect_exe, tmp):
    """Milliseconds from the program's start (Wine asked to run it) to its window titled title first on
    screen, as quorvel-winread --watch-start started before it sees it, in a fresh lab of 2 nets with the
    simulators answering; None when the window was not seen."""
    sys.path.insert(0, str(REPO / "tests" / "wine"))
    import console_driver as driver  # noqa: E402
    watcher, launched = [], []

    def prepare(gui):
        watcher.append(driver.watch_start(gui, title=title))
        launched.append(time.time_ns() // 1000)  # the session starts the program right after this hook

    with lab.Lab(nets=2) as the_lab:
        start_sims(the_lab, build, boxes_per_net(2), tempfile.mkdtemp(dir=tmp))
        with driver.guilab.GuiSession(the_lab, exe, name="bench-window", inspect_exe=inspect_exe, prepare=prepare):
            seen = watcher[0]()
    return (seen["visibleUs"] - launched[0]) / 1000 if seen.get("visibleUs") else None


def cold_time_to_window(build, exe, title, tmp):
    """Milliseconds from the program's start to its window titled title mapped on the X display, with the
    program the first Wine process of a fresh prefix copy: Wine's own start (wineserver, the prefix's
    services and desktop) is in the figure, as when a user starts the program after logging in. The window
    is looked for with xdotool from outside Wine; None when it was not seen within a minute."""
    sys.path.insert(0, str(REPO / "tests" / "wine"))
    import guilab  # noqa: E402
    with lab.Lab(nets=2) as the_lab:
        start_sims(the_lab, build, boxes_per_net(2), tempfile.mkdtemp(dir=tmp))
        xvfb = guilab.Xvfb(the_lab)
        prefix = guilab.WinePrefix()
        try:
            x_env = dict(os.environ, DISPLAY=xvfb.display)
            started = time.monotonic()
            the_lab.pc_exec(["wine", exe], env=prefix.env(DISPLAY=xvfb.display), stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            while time.monotonic() - started < 60:
                found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"], env=x_env,
                                       capture_output=True, text=True)
                if found.returncode == 0 and found.stdout.strip():
                    return (time.monotonic() - started) * 1000
                time.sleep(0.005)
            return None
        finally:
            prefix.close()  # wineserver -k ends the program too
            xvfb.close()


def report_wine_start(build, win_build, tmp, runs=7, win_baseline=None):
    """The start under Wine of quorvel.exe (and of another commit's) beside a plain window with a button and a
    list view started the same way, first in a prefix whose Wine is up already, then cold: runs of each,
    alternating, so that a slower stretch of the machine falls on all alike; medians, best runs and the ratio
    of the medians to the plain window's."""
    inspect_exe = win_build / "tools/winread/quorvel-winread.exe"
    programs = [("quorvel.exe", win_build / "app" / "quorvel.exe", "Quorvel")]
    if win_baseline:
        programs.append(("quorvel.exe [baseline]", win_baseline / "app" / "quorvel.exe", "Quorvel"))
    programs.append(("plain window", win_build / "tools/bench/plain_window/quorvel-plain-window.exe", "Plain window"))
    for kind, measure in (("", lambda exe, title: time_to_window(build, exe, title, inspect_exe, tmp)),
                          (", cold (Wine's own start included)", lambda exe, title: cold_time_to_window(
                              build, exe, title, tmp))):
        figures = {name: [] for name, _, _ in programs}
        for _ in range(runs):
            for name, exe, title in programs:
                figures[name].append(measure(exe, title))
        print_start_figures(figures, kind)


def print_start_figures(figures, kind):
    seen = {name: [f for f in values if f is not None] for name, values in figures.items()}
    plain = statistics.median(seen["plain window"]) if seen["plain window"] else None
    for name, values in seen.items():
        if not values:
            print(f"Wine, start-up{kind}: {name}: window not seen", flush=True)
            continue
        median = statistics.median(values)
        ratio = f", ratio {median / plain:.2f} to the plain window's" if plain else ""
        print(f"Wine, start-up{kind}: {name} on screen {median:.0f} ms after its start (median of {len(values)}, best "
              f"{min(values):.0f}: {', '.join(f'{v:.0f}' for v in values)} ms){ratio}", flush=True)


def report_wine_responsiveness(build, win_build):
    """Runs the Wine test of the window's answers and prints the stretches it measured."""
    env = dict(os.environ, QUORVEL_BUILD=str(build), QUORVEL_WIN_BUILD=str(win_build), PYTHONDONTWRITEBYTECODE="1")
    result = subprocess.run([sys.executable, "-m", "unittest", "test_responsive"], cwd=REPO / "tests" / "wine",
                            env=env, capture_output=True, text=True, timeout=900)
    figures = [line for line in result.stderr.splitlines() if "longest unanswered stretch" in line]
    for line in figures:
        print(f"Wine, main window: {line.lstrip('.')}", flush=True)
    if result.returncode != 0 or not figures:
        why = [line for line in result.stderr.splitlines() if line.startswith(("FAIL:", "ERROR:", "AssertionError"))]
        print(f"Wine, main window: the responsiveness run failed ({result.returncode}): {'; '.join(why)}", flush=True)


def login_box(n):
    """A box on the lab's first net with n shares: after logging in to boxes 1, 2, ... in turn, the share list
    reaching n rows tells that box's panel filled."""
    return dict(bench_box(n), shares=[f"Vol{n}-{k}" for k in range(n)])


def timed_login(gui, driver, row, rows):
    """Answers the login dialog of the device list's row with the right password; returns the seconds from just
    before Enter is pressed to the main window's share list having `rows` rows (the panel's last step, after the
    check and the share names), as quorvel-winread --wait-rows, started beforehand, sees it."""
    gui.click_row(driver.TITLE, driver.DEVICE_LIST, row, **driver.MAIN)
    if driver.find_control(gui.inspect("Login", timeout=60), driver.USER_FIELD)["enabled"]:
        gui.click_control("Login", driver.USER_FIELD)
        gui.type_text("admin")
    gui.click_control("Login", driver.PASSWORD_FIELD)
    gui.type_text("secret")
    watch = gui.lab.pc_exec(["wine", gui.inspect_exe, "--wait-rows", driver.TITLE, str(driver.SHARE_LIST), str(rows),
                             "--timeout", "60"], env=gui.env(), stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    try:
        if "waiting" not in watch.stdout.readline().decode():
            raise RuntimeError("quorvel-winread --wait-rows did not start watching")
        began = time.monotonic()
        gui.key("Return")
        seen = watch.stdout.readline().decode()
        filled = time.monotonic() - began
        if '"rows"' not in seen:
            raise RuntimeError(f"the share list did not reach {rows} rows within 60 s")
        return filled
    finally:
        watch.kill()
        watch.wait()


def measure_wine_login(build, exe, inspect_exe, runs, tmp):
    """quorvel.exe under Wine in a lab of 1 net with `runs` boxes: each box's login timed once (timed_login)."""
    sys.path.insert(0, str(REPO / "tests" / "wine"))
    import console_driver as driver  # noqa: E402
    config = Path(tmp) / "login.json"
    config.write_text(json.dumps({"boxes": [login_box(n) for n in range(1, runs + 1)]}))

    def unmanaged(gui):  # no window manager: Wine would wait 2 s for one when the login dialog is unmapped
        gui.reg_add(r"HKCU\Software\Wine\X11 Driver", "Managed", "N")

    with lab.Lab(nets=1) as the_lab:
        the_lab.start_sim(0, str(config), boxsim=build / "tools/boxsim/quorvel-boxsim")
        with driver.guilab.GuiSession(the_lab, exe, name="bench-login", inspect_exe=inspect_exe,
                                      prepare=unmanaged) as gui:
            gui.wait_for_window(driver.TITLE, timeout=120, with_control=driver.DEVICE_LIST)
            driver.wait_until(lambda: len(gui.control(driver.TITLE, driver.DEVICE_LIST, **driver.MAIN)["rows"])
                              == runs, 60, "the filled device list")
            names = [r[0] for r in gui.control(driver.TITLE, driver.DEVICE_LIST, **driver.MAIN)["rows"]]
            return [timed_login(gui, driver, names.index(f"bench-{n}"), n) for n in range(1, runs + 1)]


def report_wine_login(build, win_builds, inspect_exe, runs, tmp):
    for win_build, label in win_builds:
        results = measure_wine_login(build, win_build / "app" / "quorvel.exe", inspect_exe, runs, tmp)
        print(f"Wine, main window: Enter in the login dialog to the panel filled (right password: check and share "
              f"names), {statistics.median(results):.3f} s median of {len(results)} "
              f"(each: {', '.join(f'{r:.3f}' for r in results)} s){label}", flush=True)


def timed_refresh(gui, driver, count):
    """One Refresh, posted by quorvel-winread --watch-refresh while --responsiveness probes the window: the
    moments (ms after the click) of its first row, of `count` rows and of the search's end, and the longest
    stretch the window left WM_NULL unanswered meanwhile."""
    finish = driver.probe_responsiveness(gui, 4)
    time.sleep(0.5)  # the probe has found the window and answers come back
    watch = gui.lab.pc_run(["wine", gui.inspect_exe, "--watch-refresh", driver.TITLE, str(count), "--timeout", "60"],
                           env=gui.env(), timeout=120)
    probe = finish()
    if watch.returncode != 0:
        raise RuntimeError(f"quorvel-winread --watch-refresh: exit {watch.returncode}: {watch.stdout}")
    moments = json.loads(watch.stdout)
    return {key: moments[f"{key}Us"] / 1000 for key in ("firstRow", "allRows", "end")} | {
        "stretch": probe["longestUnansweredMs"]}


def measure_wine_refresh(build, exe, inspect_exe, count, runs, tmp):
    """quorvel.exe under Wine in a lab of 1 net with `count` boxes answering at once: `runs` Refreshes timed."""
    sys.path.insert(0, str(REPO / "tests" / "wine"))
    import console_driver as driver  # noqa: E402
    config = Path(tmp) / f"refresh-{count}.json"
    config.write_text(json.dumps(boxes(count)))
    with lab.Lab(nets=1) as the_lab:
        the_lab.start_sim(0, str(config), boxsim=build / "tools/boxsim/quorvel-boxsim")
        with driver.guilab.GuiSession(the_lab, exe, name=f"bench-refresh-{count}", inspect_exe=inspect_exe) as gui:
            gui.wait_for_window(driver.TITLE, timeout=120, with_control=driver.DEVICE_LIST)
            driver.wait_until(lambda: len(gui.control(driver.TITLE, driver.DEVICE_LIST, **driver.MAIN)["rows"])
                              == count, 60, "the filled device list")
            return [timed_refresh(gui, driver, count) for _ in range(runs)]


def report_wine_refresh(build, win_builds, inspect_exe, runs, tmp):
    for win_build, label in win_builds:
        for count in (1, 100):
            results = measure_wine_refresh(build, win_build / "app" / "quorvel.exe", inspect_exe, count, runs, tmp)

            def median(key):
                return statistics.median(r[key] for r in results)
            print(f"Wine, main window, {count} box{'es' if count > 1 else ''} answering at once: Refresh to the first "
                  f"row on screen {median('firstRow'):.0f} ms, to all {count} rows {median('allRows'):.0f} ms, to the "
                  f"search's end {median('end'):.0f} ms; longest unanswered stretch "
                  f"{max(r['stretch'] for r in results)} ms (medians and worst of {len(results)}){label}", flush=True)


def report_wine(build, win_build, tmp, runs=3, win_baseline=None):
    report_wine_start(build, win_build, tmp, win_baseline=win_baseline)
    report_wine_responsiveness(build, win_build)
    win_builds = [(win_build, "")] + ([(win_baseline, " [baseline]")] if win_baseline else [])
    report_wine_login(build, win_builds, win_build / "tools/winread/quorvel-winread.exe", runs, tmp)
    report_wine_refresh(build, win_builds, win_build / "tools/winread/quorvel-winread.exe", runs, tmp)
    figures = measure_wine_start(build, win_build, tmp, runs)
    seen = [f for f in figures if f is not None]
    each = ", ".join("not seen" if f is None else f"{f:.0f}" for f in figures)
    median = f"{statistics.median(seen):.0f}" if seen else "(not seen)"
    print(f"Wine, 2 nets, start-up: window visible {median} ms before the first search request "
          f"(median of {len(seen)}: {each} ms)", flush=True)


def refusing_box():
    """A box on the lab's first net that takes no settings, so that every Apply of the same free address probes."""
    port = {"ip": lab.net_address(0, 10), "netmask": lab.NETMASK, "gateway": lab.net_address(0, 1), "addrA": "",
            "addrB": "", "dhcp": "0", "option": 0}
    return dict(bench_box(0), ports=[port], faults={"refuse": True})


def measure_apply_check(build, runs, tmp, win_build=None):
    """Median seconds of set-network to a free address with the check and with --force, and their difference;
    the Windows quorvel-cli.exe under Wine when win_build is given, else the Linux one."""
    config = Path(tmp) / "apply.json"
    config.write_text(json.dumps({"boxes": [refusing_box()]}))
    argv = ["set-network", "--device", "bench-0", "--user", "admin", "--port", "LAN", "--ip", lab.net_address(0, 25),
            "--netmask", lab.NETMASK, "--gateway", lab.net_address(0, 1)]
    with lab.Lab(nets=1) as the_lab, contextlib.ExitStack() as stack:
        the_lab.start_sim(0, str(config), boxsim=build / "tools/boxsim/quorvel-boxsim")
        command, env = [build / "tools/cli/quorvel-cli"], None
        if win_build is not None:
            sys.path.insert(0, str(REPO / "tests" / "wine"))
            from winelab import WinePrefix  # noqa: E402
            env = stack.enter_context(contextlib.closing(WinePrefix())).env()
            command = ["wine", win_build / "tools/cli/quorvel-cli.exe"]

        def timed(extra):
            began = time.monotonic()
            result = the_lab.pc_run([*command, *argv, *extra], input="secret\n", timeout=300, env=env)
            if result.returncode != 1 or "Not sent" in result.stderr or "warning" in result.stderr:
                raise RuntimeError(f"set-network {extra}: exit {result.returncode}: {result.stderr}")
            return time.monotonic() - began

        timed(["--force"])  # the first run of a prefix boots it
        checked = statistics.median(timed([]) for _ in range(runs))
        forced = statistics.median(timed(["--force"]) for _ in range(runs))
    return checked, forced


def report_apply_check(build, runs, tmp, win_build=None):
    checked, forced = measure_apply_check(build, runs, tmp, win_build)
    method = "ICMP echo, quorvel-cli.exe under Wine" if win_build else "neighbour table, Linux quorvel-cli"
    print(f"Apply check of a free address ({method}): adds {checked - forced:.3f} s (median of {runs}: "
          f"{checked:.3f} s checked, {forced:.3f} s with --force; target <= 1 s)", flush=True)


def folder(text):
    """A build folder made absolute: the Wine test that gives the responsiveness figures runs elsewhere."""
    return Path(text).resolve()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", type=folder, default=REPO / "build")
    parser.add_argument("--win-build", type=folder, default=REPO / "build-win")
    parser.add_argument("--baseline", type=folder, help="a native build of another commit, measured alongside")
    parser.add_argument("--win-baseline", type=folder,
                        help="a Windows build of another commit: its quorvel.exe's login under Wine, alongside")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--wine", action="store_true", help="also time the main window's start under Wine")
    parser.add_argument("--only", choices=("interfaces", "wine", "start", "apply"), help="only these figures")
    args = parser.parse_args()
    builds = [(args.build, "")] + ([(args.baseline, " [baseline]")] if args.baseline else [])
    with tempfile.TemporaryDirectory(prefix="quorvel-bench-") as tmp:
        if args.only in (None, "interfaces"):
            report_interfaces(builds, args.runs, tmp)
        if args.only == "start":
            report_wine_start(args.build, args.win_build, tmp, win_baseline=args.win_baseline)
        if args.wine or args.only == "wine":
            report_wine(args.build, args.win_build, tmp, args.runs, args.win_baseline)
        if args.only in (None, "apply"):
            report_apply_check(args.build, args.runs, tmp)
        if args.only == "apply" or (args.wine and not args.only):
            report_apply_check(args.build, args.runs, tmp, args.win_build)
        if args.only:
            return
        report_one_net(builds, args.runs, tmp)


if __name__ == "__main__":
    main()
