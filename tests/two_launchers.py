#!/usr/bin/env python3
"""Two launchers on one set file, driven step by step through tarvo-headless.

Launcher B reads the set file; launcher A then deletes an item and saves. A
drop on B must add to the file as A left it (A's deletion stays), and B's
editor must ask before replacing a file changed elsewhere, keeping it on No.

Usage: two_launchers.py TARVO_HEADLESS
"""
import os
import subprocess
import sys
import tempfile

CRLF = "\r\n"


def set_file(*items):
    return "".join(f"{title}=*{CRLF}|/bin/{title}|{CRLF}" for title in items).encode("cp932")


class Launcher:
    def __init__(self, driver, folder):
        self.proc = subprocess.Popen([driver, "--", os.path.join(folder, "TARVO.EXE")], stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, text=True, encoding="utf-8")

    def act(self, *actions):
        """Sends actions, then the menus' dump as a marker; returns the lines before it."""
        for a in actions + ("dump menus",):
            self.proc.stdin.write(a + "\n")
        self.proc.stdin.flush()
        lines = []
        while True:
            line = self.proc.stdout.readline()
            if not line:
                raise AssertionError(f"launcher ended early after {lines}")
            if line.startswith("MenuSystem "):
                while not line.startswith("MenuHelpHelp "):  # the menus' last line
                    line = self.proc.stdout.readline()
                return lines
            lines.append(line.rstrip("\n"))

    def end(self):
        self.proc.stdin.close()
        self.proc.wait(timeout=30)


def main():
    driver = sys.argv[1]
    results = []

    def check(what, ok):
        print(("ok   " if ok else "FAIL ") + what)
        results.append(ok)

    with tempfile.TemporaryDirectory() as folder:
        prg = os.path.join(folder, "TARVO90.PRG")
        with open(os.path.join(folder, "TARVO.INI"), "w") as f:
            f.write("[FormMain]\r\nStateSet=/C\r\n")
        with open(prg, "wb") as f:
            f.write(set_file("a", "b", "c"))

        b = Launcher(driver, folder)
        b.act()  # B has read a, b, c

        a = Launcher(driver, folder)
        a.act("menu MenuLauncherSet", "select ListBox1 1", "click btnDel", "click btnOk")
        a.end()
        check("A saved its deletion", open(prg, "rb").read() == set_file("a", "c"))

        out = b.act("drop /t/x", "dump ListBox1")
        check("a drop on B adds to the file as A left it",
              open(prg, "rb").read() == set_file("a", "c") + f"x=*{CRLF}/t|/t/x|{CRLF}".encode())
        check("B's list shows the file's items", 'line 1 "   c"' in out and 'line 2 "   x"' in out)

        # Someone else rewrites the file while B's editor is open.
        out = b.act("menu MenuLauncherSet")
        with open(prg, "wb") as f:
            f.write(set_file("z"))
        out = b.act("click btnOk")
        check("B's editor asks before replacing a file changed elsewhere",
              any(line.startswith("message TForm11") and "他で変更されています" in line for line in out))
        out = b.act("click Button2")
        check("No keeps the other launcher's file", open(prg, "rb").read() == set_file("z"))
        out = b.act("click btnOk", "click Button1")
        check("Yes replaces it with the editor's table",
              open(prg, "rb").read() == set_file("a", "c") + f"x=*{CRLF}/t|/t/x|{CRLF}".encode())
        b.end()

    failed = results.count(False)
    print(f"{len(results) - failed} passed, {failed} failed")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
