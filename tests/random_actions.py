#!/usr/bin/env python3
"""A seeded run of random actions through tarvo-headless.

Every action is one the user could take: it names a real control of the
topmost window, enabled and visible (a menu command of the main window, a
drop on it). The same seed gives the same run, since the program is
deterministic and time passes only by `tick`. After every action:

- the driver answers within a bound (no hang) and, when the program ends,
  it ends normally (exit status 0, "exit" last); a new run then starts in
  the same folder;
- no action is refused (the chooser only takes valid ones);
- when the main window is on top, its list (`dump ListBox1`) shows the items
  of the set file as read back by the parser below;
- every set file and settings file written reads back whole, and no new file
  of a safe write is left beside them.

Usage: random_actions.py SEED COUNT [TARVO_HEADLESS]
"""
import os
import random
import re
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from headless_session import Ended, Hang, Session  # noqa: E402

CRLF = b"\r\n"
STEP_SECONDS = 20  # a generous bound per step, for sanitizer builds on a busy machine

# ---------------------------------------------------------------------------
# The set-file format, read independently of the program: two lines per item,
# "Title=K" then "directory|target|options", CR LF; Ctrl-Z ends the file; an
# entry with no title is no item. A file the program wrote must have whole
# lines, at most 16 entries and fields within their limits.


class BadFile(Exception):
    pass


def read_set_file(data, strict):
    """The items (title, key, directory, target, options) of a set file's bytes."""
    if strict:
        if data and not data.endswith(CRLF):
            raise BadFile("the last line has no CR LF")
        if b"\x1a" in data:
            raise BadFile("Ctrl-Z in a written file")
    data = data.split(b"\x1a")[0]
    lines = []
    rest = data
    while rest:
        cr = rest.find(b"\r")
        if cr < 0:
            lines.append(rest)
            break
        lines.append(rest[:cr])
        rest = rest[cr + 1:]
        if rest.startswith(b"\n"):
            rest = rest[1:]
    if strict and len(lines) % 2:
        raise BadFile(f"{len(lines)} lines: an entry without its second line")
    if strict and len(lines) > 32:
        raise BadFile(f"{len(lines)} lines")
    items = []
    for i in range(0, len(lines) - 1, 2):
        head, body = lines[i], lines[i + 1]
        if b"=" not in head:
            raise BadFile(f"entry {i // 2 + 1}: no '=' in {head!r}")
        title, key = head.split(b"=", 1)
        fields = body.split(b"|", 2)
        if len(fields) != 3:
            raise BadFile(f"entry {i // 2 + 1}: {body!r} is not directory|target|options")
        if len(title) > 48 or any(len(f) > 128 for f in fields):
            raise BadFile(f"entry {i // 2 + 1}: a field over its limit")
        if strict and len(key) > 1:
            raise BadFile(f"entry {i // 2 + 1}: key {key!r} is more than one byte")
        key = key[:1]
        if title:
            items.append((title, b" " if key == b"*" else key, *fields))
    return items


def list_lines(items):
    """The main list's lines: key, two blanks, title; the placeholder when empty."""
    return [key + b"  " + title for title, key, *_ in items] or [b""]


def quoted(cp932):
    """A CP932 text as the transcript quotes it."""
    out = []
    for ch in cp932.decode("cp932"):
        if ord(ch) < 0x20 or ord(ch) == 0x7F:
            out.append(f"\\x{ord(ch):02X}")
        elif ch in '\\"':
            out.append("\\" + ch)
        else:
            out.append(ch)
    return '"' + "".join(out) + '"'


def read_settings(data):
    if not data.endswith(CRLF):
        raise BadFile("settings: the last line has no CR LF")
    lines = data[:-2].split(CRLF)
    sections = [line for line in lines if line.startswith(b"[")]
    if b"[FormMain]" not in sections or b"[Language]" not in sections:
        raise BadFile(f"settings: sections {sections}")
    for line in lines:
        if not line.startswith(b"[") and b"=" not in line:
            raise BadFile(f"settings: {line!r}")


# ---------------------------------------------------------------------------
# The topmost window as `dump` prints it.

CONTROL = re.compile(r'^(\S+) "((?:[^"\\]|\\.)*)" (enabled|disabled) (visible|hidden)(.*)$')
TOP_MENUS = ("MenuSystem", "MenuOption", "MenuHelp")


class Window:
    def __init__(self, dump):
        self.form = None
        self.controls = []  # (name, kind, lines)
        self.menu_commands = []
        self.list_lines = {}
        menu_open = False
        current = None
        for line in dump:
            if line.startswith("form "):
                self.form = line.split()[1]
                continue
            if line.startswith("line ") and current is not None:
                self.list_lines[current].append(line.split(" ", 2)[2])
                continue
            m = CONTROL.match(line)
            if not m:
                continue
            name, _, enabled, visible, rest = m.groups()
            usable = enabled == "enabled" and visible == "visible"
            if name in TOP_MENUS:
                menu_open = usable
                continue
            if name.startswith("Menu"):
                if usable and menu_open:
                    self.menu_commands.append(name)
                continue
            if " lines " in rest:
                current = name
                self.list_lines[name] = []
                kind, count = "list", int(rest.split(" lines ")[1].split()[0])
            elif name.startswith("Label"):
                continue
            elif name.startswith("Edit"):
                kind, count = "edit", 0
            elif "checked" in rest:
                kind, count = "check", 0
            else:
                kind, count = "button", 0
            if usable:
                self.controls.append((name, kind, count))


# ---------------------------------------------------------------------------
# Choosing an action.

TEXTS = ["a", "Tool", "表ﾌｧｲﾙ", "漢字ｶﾅ", "/usr/bin/env", "C:\\WINDOWS\\", "-x --long", "two  words",
         "x=y", "a|b", "*", "\\", "\"q\"", " ", "", "ｱｲｳｴｵ" * 12, "z" * 140, "/t/" + "d" * 130, "tab\\x09here"]
DROPS = ["/t/x", "/srv/a b/Run Me.exe", "/home/表/ﾌｧｲﾙ.txt", "/opt/tools/Edit.sh", "/only", "/t/x | /t/y",
         "/" + "p" * 200]
KEYS = ["Enter", "Esc", "Back", "Space", "Up", "Down", "F4", "Tab", "a", "Z", "1", "\\\\", "*", "表"]
ENDS = {"btnExit", "MenuSystemExit"}


def choose(rng, win):
    """One valid action on the topmost window, with the end of the program rare."""
    choices = []  # (weight, action)
    main = win.form == "TForm1"
    for name, kind, count in win.controls:
        if kind == "button":
            choices.append((0.3 if name in ENDS else 6, f"click {name}"))
        elif kind == "check":
            choices.append((3, f"click {name}"))
        elif kind == "edit":
            text = rng.choice(TEXTS)
            choices.append((5, f"type {name} {text}"))
        elif kind == "list" and count > 0:
            choices.append((4, f"select {name} {rng.randrange(count)}"))
            choices.append((1 if main else 2, f"dblclick {name}"))
        mods = rng.choice(["", "", "", " shift", " ctrl", " alt"])
        key = rng.choice(KEYS)
        weight = 0.3 if main and key == "Esc" else 1.5
        choices.append((weight, f"key {name} {key}{mods}"))
    if main:
        for command in win.menu_commands:
            choices.append((0.3 if command in ENDS else 3, f"menu {command}"))
        choices.append((4, f"drop {rng.choice(DROPS)}"))
    choices.append((0.2 if main else 1, "closebox"))
    choices.append((1, f"tick {rng.choice([10, 100, 500, 1000, 3000])}"))
    choices.append((0.5, f"shellresult {rng.choice([0, 2, 3, 5, 31, 42])}"))
    choices.append((0.5, "opendialog " + rng.choice(["cancel", "/bin/ls", "/home/表/doc.txt", "/t/x y/z"])))
    total = sum(w for w, _ in choices)
    pick = rng.uniform(0, total)
    for w, action in choices:
        pick -= w
        if pick <= 0:
            return action
    return choices[-1][1]


# ---------------------------------------------------------------------------


def lay_out(folder):
    with open(os.path.join(folder, "TARVO.INI"), "wb") as f:
        f.write(CRLF.join([b"[FormMain]", b"StateSet=/C", b"WindowsDir=C:\\WINDOWS\\", b"TarvoDir=/opt/",
                           b"[Language]", b"Japanese=1", b"English=0", b""]))
    items = [("One", "1", "/bin", "/bin/one", ""), ("表ﾌｧｲﾙ", "*", "/t", "/t/表", "-a b"),
             ("Back", "\\", "/", "/t/back", "")]
    with open(os.path.join(folder, "TARVO90.PRG"), "wb") as f:
        for title, key, d, t, o in items:
            f.write(f"{title}={key}\r\n{d}|{t}|{o}\r\n".encode("cp932"))


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    seed, count = int(sys.argv[1]), int(sys.argv[2])
    here = os.path.dirname(os.path.abspath(__file__))
    driver = os.path.abspath(sys.argv[3] if len(sys.argv) > 3 else os.path.join(here, "..", "build", "tarvo-headless"))
    rng = random.Random(seed)
    folder = tempfile.mkdtemp(prefix="tarvo-random-")
    program = os.path.join(folder, "TARVO.EXE")
    lay_out(folder)
    stats = {"actions": 0, "runs": 0, "list checks": 0, "files read back": 0, "refused": 0}
    history = []
    forms = {}
    written = {}
    failure = None
    started = time.monotonic()

    def start():
        stats["runs"] += 1
        s = Session([driver, "--", program])
        return s, Window(s.act("dump", timeout=STEP_SECONDS))

    def files_read_back():
        for name in sorted(os.listdir(folder)):
            path = os.path.join(folder, name)
            if name.startswith("."):
                raise BadFile(f"a new file left behind: {name}")
            with open(path, "rb") as f:
                data = f.read()
            if written.get(name) == data:
                continue
            written[name] = data
            stats["files read back"] += 1
            if name.upper().endswith(".PRG"):
                read_set_file(data, strict=True)
            elif name.upper().endswith(".INI"):
                read_settings(data)

    try:
        files_read_back()
        s, win = start()
        for step in range(count):
            action = choose(rng, win)
            history.append(action)
            stats["actions"] += 1
            try:
                out = s.act(action, "dump", timeout=STEP_SECONDS)
                if any(line.startswith("refused ") for line in out):
                    stats["refused"] += 1
                    failure = f"refused: {[line for line in out if line.startswith('refused ')]}"
                    break
                win = Window(out[max(i for i, line in enumerate(out) if line.startswith("form ")):])
                forms[win.form] = forms.get(win.form, 0) + 1
                files_read_back()
                if win.form != "TForm1":
                    continue
                shown = [line for line in s.act("dump ListBox1", timeout=STEP_SECONDS) if line.startswith("line ")]
            except Ended as e:
                status = s.proc.wait(timeout=STEP_SECONDS)
                if status != 0 or not e.lines or e.lines[-1] != "exit":
                    failure = f"the program ended with status {status} after {e.lines[-3:]}"
                    break
                files_read_back()
                s, win = start()
                continue
            with open(os.path.join(folder, "TARVO90.PRG"), "rb") as f:
                items = read_set_file(f.read(), strict=True)
            expected = [f"line {i} {quoted(text)}" for i, text in enumerate(list_lines(items))]
            stats["list checks"] += 1
            if shown != expected:
                failure = f"the list shows {shown}, the set file holds {expected}"
                break
        if failure is None:
            s.end(timeout=STEP_SECONDS)
            files_read_back()
    except Hang as e:
        failure = f"no answer within {STEP_SECONDS} s after {e.lines[-3:]}"
    except BadFile as e:
        failure = f"a written file does not read back: {e}"
    finally:
        shutil.rmtree(folder, ignore_errors=True)

    elapsed = time.monotonic() - started
    print(f"seed {seed}: {stats['actions']} actions in {elapsed:.1f} s, " +
          ", ".join(f"{v} {k}" for k, v in stats.items() if k != "actions"))
    print("topmost after an action: " + ", ".join(f"{k} {v}" for k, v in sorted(forms.items())))
    if failure:
        print(f"FAIL at action {len(history)}: {failure}")
        print("last actions:\n" + "\n".join("  " + a for a in history[-15:]))
        sys.exit(1)
    print("ok")


if __name__ == "__main__":
    main()
