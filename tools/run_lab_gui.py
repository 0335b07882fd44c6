#!/usr/bin/env python3
"""Runs the console in the lab: simulated boxes on two nets, quorvel.exe under Wine in the PC namespace.

The window goes to $DISPLAY when that is a local X server (the PC namespace reaches it through its socket
in /tmp/.X11-unix), otherwise to a private Xvfb: then the driver waits for the window, saves a screenshot
and prints its path. Either way it runs until the program ends (its window closed) or Ctrl-C, and then
removes the namespaces, the wineserver, Xvfb and the Wine prefix.

    run_lab_gui.py [--exe PATH --title T] [--build DIR] [--win-build DIR] [--screenshot PNG] [--xvfb]
"""
import argparse
import os
import re
import sys
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPO / "tools" / "lab"))
sys.path.insert(0, str(REPO / "tests" / "wine"))
import lab  # noqa: E402
import guilab  # noqa: E402

DEMO = REPO / "tools" / "lab" / "demo"
WINDOW_TIMEOUT = 180  # the console shows its window only after the first search


def parse_args(argv):
    parser = argparse.ArgumentParser(prog="run_lab_gui.py", description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", type=Path, default=REPO / "build", help="native build (the box simulator)")
    parser.add_argument("--win-build", type=Path, default=REPO / "build-win", help="Windows build")
    parser.add_argument("--exe", type=Path, help="program to run (default: the Windows build's quorvel.exe)")
    parser.add_argument("--title", default="Quorvel", help="title of the program's main window")
    parser.add_argument("--nets", type=int, default=2, help="PC interfaces, one per net")
    parser.add_argument("--sim", type=lab.parse_sim, action="append", metavar="NET:CONFIG",
                        help="simulated boxes for a net (default: the demo boxes on nets 0 and 1)")
    parser.add_argument("--screenshot", type=Path, default=REPO / "build" / "run-screenshot.png",
                        help="where the Xvfb screenshot goes")
    parser.add_argument("--xvfb", action="store_true", help="use a private Xvfb even when $DISPLAY is set")
    args = parser.parse_args(argv)
    args.exe = args.exe or args.win_build / "app" / "quorvel.exe"
    if args.sim is None:
        args.sim = [(0, str(DEMO / "net0.json"), None), (1, str(DEMO / "net1.json"), None)]
    return args


def host_display(force_xvfb):
    """$DISPLAY when it is a local server that the PC namespace can reach through the socket file."""
    display = os.environ.get("DISPLAY", "")
    if force_xvfb or not display:
        return None
    match = re.fullmatch(r":(\d+)(\.\d+)?", display)
    if match and (guilab.X11_SOCKETS / f"X{match.group(1)}").exists():
        return display
    print(f"run: DISPLAY={display} is not reachable from the lab namespace (no socket file); using Xvfb",
          file=sys.stderr)
    return None


def run(args):
    boxsim = args.build / "tools" / "boxsim" / "quorvel-boxsim"
    inspect_exe = args.win_build / "tools" / "winread" / "quorvel-winread.exe"
    with lab.Lab(nets=args.nets) as the_lab:
        print(f"lab: {the_lab.ns_pc}", flush=True)
        for net, config, log in args.sim:
            the_lab.start_sim(net, config, log, boxsim=boxsim)
        with guilab.GuiSession(the_lab, args.exe, name="run", display=host_display(args.xvfb),
                               inspect_exe=inspect_exe) as gui:
            print(f"display: {gui.display}", flush=True)
            print(f"program output: {gui.program_log_path}", flush=True)
            if gui.xvfb is not None:
                gui.wait_for_window(args.title, timeout=WINDOW_TIMEOUT)
                args.screenshot.parent.mkdir(parents=True, exist_ok=True)
                print(f"screenshot: {gui.save_screenshot(args.screenshot)}", flush=True)
            print(f"run: {args.exe.name} is running; close its window or press Ctrl-C to end", flush=True)
            code = gui.proc.wait()
            print(f"window closed: {args.exe.name} ended with exit code {code}", flush=True)
            return code


def main(argv):
    args = parse_args(argv)
    lab.install_signal_handlers()
    try:
        return run(args)
    except (lab.LabError, guilab.GuiError) as e:
        print(f"run: {e}", file=sys.stderr)
        return 125


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
