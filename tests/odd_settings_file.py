#!/usr/bin/env python3
"""A settings file that is a folder, a FIFO or a loop of symbolic links is no
missing file: the program says it cannot read it and starts with the default
settings, never runs the first start (which would offer to overwrite the set
files), never blocks on the FIFO, and never replaces it at exit.

Usage: odd_settings_file.py TARVO_HEADLESS
"""
import os
import subprocess
import sys
import tempfile

ACTIONS = "\n".join(["click Button1", "menu MenuSetIniFile", "click btnOk", "dump ListBox1", "click btnExit"]) + "\n"


def run(driver, folder):
    return subprocess.run([driver, "--", os.path.join(folder, "TARVO.EXE")], input=ACTIONS, capture_output=True,
                          text=True, encoding="utf-8", timeout=30).stdout.splitlines()


def main():
    driver = sys.argv[1]
    results = []
    for kind in ("folder", "fifo", "link loop"):
        with tempfile.TemporaryDirectory() as folder:
            ini = os.path.join(folder, "TARVO.INI")
            if kind == "folder":
                os.mkdir(ini)
            elif kind == "fifo":
                os.mkfifo(ini)
            else:
                os.symlink("loop", ini)
                os.symlink("TARVO.INI", os.path.join(folder, "loop"))
            with open(os.path.join(folder, "TARVO90.PRG"), "wb") as f:
                f.write(b"a=*\r\n|/bin/a|\r\n")
            try:
                out = run(driver, folder)
            except subprocess.TimeoutExpired:
                out = ["(blocked)"]
            checks = {
                "says it cannot read TARVO.INI": any(
                    line.startswith('message TForm12 "   TARVO.INI を読み込めません。') for line in out),
                "runs no first start": not any("Do you set up Japanese Mode" in line for line in out),
                "reads the default set file": 'line 0 "   a"' in out,
                "reports that it cannot write it at exit": any(
                    line.startswith('error "TARVO"') and "TARVO.INI に書き込めません." in line for line in out),
                "leaves it as it was": (os.path.isdir(ini) if kind == "folder" else
                                        os.path.exists(ini) or os.path.islink(ini)) and
                                       (kind != "fifo" or not os.path.isfile(ini)),
            }
            for what, ok in checks.items():
                print(("ok   " if ok else "FAIL ") + f"{kind}: {what}")
                results.append(ok)
            if not all(checks.values()):
                print("\n".join("     | " + line for line in out))
    failed = results.count(False)
    print(f"{len(results) - failed} passed, {failed} failed")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
