#!/usr/bin/env python3
"""Runs one scenario file through tarvo-headless and compares the transcript.

A scenario is a text file of sections:

  # comments (anywhere outside file contents)
  [file NAME]      lines of a file to lay out; each line gets CR LF
  [bytes NAME]     a file given by escapes alone; line breaks are ignored
  [run]            one line: driver options, "--", program path and arguments
  [actions]        lines fed to the driver's standard input
  [transcript]     the expected standard output, line for line
  [expect NAME]    after the run, the file must hold these lines (CR LF each)
  [expect-bytes NAME]  the same, by escapes alone
  [expect-missing NAME]

  [only windows]   the scenario runs only with the Windows driver
  [only posix]     the scenario runs only with the POSIX driver

Texts are written in UTF-8 and become CP932 in files. In file contents the
escapes \\r, \\n, \\t, \\xHH and \\\\ stand for their bytes.

A scenario runs on both hosts unless it says [only ...]; its paths are
written once, for both, with these placeholders (in every section):

  $DIR    the scenario's own temporary folder, where it runs; a relative
          program path is taken inside it. "$DIR/" is the folder as the host
          writes it before a name, with its separator.
  $ROOT   the start of a path from the root: nothing on POSIX, the drive "C:"
          on Windows. In a line that holds $ROOT (in [run], an argument),
          every "/" stands for the host's separator: "$ROOT/usr/bin" is
          /usr/bin on POSIX and C:\\usr\\bin on Windows.
  {P|W}   P on POSIX, W on Windows, for the few places where the defined
          behaviour differs: a file right under the root starts in "{/|C:}";
          "$ROOT/{pp|}ppp/x" keeps a path at one length on both hosts, since
          "C:" is two bytes longer than nothing.

$DIR and $ROOT write a Windows "\\" as the transcript and the escapes want
it ("\\\\"); text chosen by {P|W} is taken as it stands.

Usage: run_scenario.py [--windows] DRIVER SCENARIO
With --windows the driver is the Windows program under Wine (for example
scripts/wine-headless): $DIR is then the folder's Windows name (Z:\\...),
"$DIR/" ends in "\\" and a relative program path is joined with "\\".
"""
import os
import re
import shlex
import subprocess
import sys
import tempfile

SECTION = re.compile(r"^\[(file|bytes|run|actions|transcript|expect|expect-bytes|expect-missing|only)(?: (.+))?\]$")
SYSTEMS = ("windows", "posix")
SKIPPED = 77  # the return code CTest is told means "skipped"


def parse(path, system):
    sections = []
    current = None
    with open(path, encoding="utf-8") as f:
        for raw in f.read().split("\n"):
            raw = for_host(raw, system)
            m = SECTION.match(raw)
            if m:
                current = (m.group(1), m.group(2), [])
                sections.append(current)
            elif current is None:
                if raw.strip() and not raw.startswith("#"):
                    sys.exit(f"{path}: text before the first section: {raw!r}")
            else:
                current[2].append(raw)
    # Trailing blank lines and comment lines between sections are layout.
    for kind, _, lines in sections:
        while lines and (not lines[-1].strip() or (kind != "transcript" and lines[-1].startswith("#"))):
            lines.pop()
    return sections


def decode_escapes(text):
    out = bytearray()
    i = 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            n = text[i + 1]
            if n == "r":
                out += b"\r"; i += 2; continue
            if n == "n":
                out += b"\n"; i += 2; continue
            if n == "t":
                out += b"\t"; i += 2; continue
            if n == "\\":
                out += b"\\"; i += 2; continue
            if n == "x" and re.match(r"[0-9A-Fa-f]{2}", text[i + 2:i + 4]):
                out.append(int(text[i + 2:i + 4], 16)); i += 4; continue
        out += c.encode("cp932")
        i += 1
    return bytes(out)


ALTERNATIVE = re.compile(r"\{([^{}|]*)\|([^{}|]*)\}")
DRIVES = {"posix": "", "windows": "C:"}


def for_host(text, system):
    """{P|W}: the host's own text."""
    return ALTERNATIVE.sub(lambda m: m.group(1 if system == "posix" else 2), text)


def from_root(text, sep, drive):
    """A text holding $ROOT: its "/" become the separator (those of "$DIR/"
    stay for with_folder), $ROOT the drive."""
    if "$ROOT" not in text:
        return text
    parts = text.split("$DIR/")
    return "$DIR/".join(p.replace("/", sep) for p in parts).replace("$ROOT", drive)


def with_folder(text, folder, sep, drive=""):
    """$DIR/ is the folder as the platform writes it before a name (with its
    separator), $DIR the folder itself."""
    text = from_root(text, sep, drive)
    return text.replace("$DIR/", folder + sep).replace("$DIR", folder)


def content(kind, lines, folder, sep, drive):
    # Contents go through the escapes: a Windows name's backslashes are doubled first.
    folder, sep = folder.replace("\\", "\\\\"), sep.replace("\\", "\\\\")
    lines = [with_folder(l, folder, sep, drive) for l in lines]
    if kind in ("bytes", "expect-bytes"):
        return decode_escapes("".join(lines))
    return b"".join(decode_escapes(l) + b"\r\n" for l in lines)


def quoted(text):
    """The text as the transcript quotes it."""
    return text.replace("\\", "\\\\").replace('"', '\\"')


def main():
    argv = sys.argv[1:]
    windows = bool(argv) and argv[0] == "--windows"
    if windows:
        argv = argv[1:]
    if len(argv) != 2:
        sys.exit("usage: run_scenario.py [--windows] DRIVER SCENARIO")
    driver, scenario = os.path.abspath(argv[0]), argv[1]
    system = "windows" if windows else "posix"
    drive = DRIVES[system]
    sections = parse(scenario, system)
    only = [name for kind, name, _ in sections if kind == "only"]
    if any(name not in SYSTEMS for name in only):
        sys.exit(f"{scenario}: [only] takes one of {', '.join(SYSTEMS)}")
    if only and system not in only:
        print(f"skipped {os.path.basename(scenario)}: only for {', '.join(only)}")
        sys.exit(SKIPPED)
    with tempfile.TemporaryDirectory(prefix="tarvo-scn-") as folder:
        # The folder as the program names it: Wine's Z: is the root.
        seen = "Z:" + folder.replace("/", "\\") if windows else folder
        sep = "\\" if windows else "/"
        run_line, actions, expected = None, [], None
        checks = []
        for kind, name, lines in sections:
            if kind in ("file", "bytes"):
                target = os.path.join(folder, name)
                os.makedirs(os.path.dirname(target), exist_ok=True)
                with open(target, "wb") as f:
                    f.write(content(kind, lines, seen, sep, drive))
            elif kind == "run":
                run_line = " ".join(lines)
            elif kind == "actions":
                actions += [with_folder(l, seen, sep, drive) for l in lines]
            elif kind == "transcript":
                # $DIR stays: the transcript's folder is written back as $DIR below.
                expected = [from_root(l, quoted(sep), drive) for l in lines]
            elif kind != "only":
                checks.append((kind, name, lines))
        if run_line is None or expected is None:
            sys.exit(f"{scenario}: needs [run] and [transcript]")
        # $DIR goes in after the splitting, so that a Windows name keeps its backslashes.
        args = [with_folder(a, seen, sep, drive) for a in shlex.split(run_line)]
        if "--" not in args or args.index("--") + 1 >= len(args):
            sys.exit(f"{scenario}: [run] needs -- PROGRAM_PATH")
        p = args.index("--") + 1
        if windows:
            if not re.match(r"^([A-Za-z]:)?[\\/]", args[p]):
                args[p] = seen + "\\" + args[p]
        elif not os.path.isabs(args[p]):
            args[p] = os.path.join(folder, args[p])
        proc = subprocess.run([driver] + args, input="".join(a + "\n" for a in actions).encode(),
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, cwd=folder, timeout=60)
        actual = proc.stdout.decode("utf-8", errors="backslashreplace")
        for text in ([quoted(seen), seen] if windows else [seen]):
            actual = actual.replace(text + quoted(sep), "$DIR/").replace(text, "$DIR")
        actual = actual.split("\n")
        if actual and actual[-1] == "":
            actual.pop()
        failures = []
        if proc.returncode != 0:
            failures.append(f"driver exited {proc.returncode}: {proc.stderr.decode(errors='replace')}")
        if actual != expected:
            failures.append(diff(expected, actual))
        for kind, name, lines in checks:
            target = os.path.join(folder, name)
            if kind == "expect-missing":
                if os.path.exists(target):
                    failures.append(f"{name} exists but should not")
                continue
            want = content("bytes" if kind == "expect-bytes" else "file", lines, seen, sep, drive)
            if not os.path.exists(target):
                failures.append(f"{name} is missing")
                continue
            with open(target, "rb") as f:
                got = f.read()
            if got != want:
                failures.append(f"{name} differs:\n  expected {want!r}\n  actual   {got!r}")
        if failures:
            print(f"FAIL {scenario}")
            for f in failures:
                print(f)
            sys.exit(1)
        print(f"ok {os.path.basename(scenario)} ({system})")


def diff(expected, actual):
    lines = ["transcript differs (- expected, + actual):"]
    import difflib
    for d in difflib.unified_diff(expected, actual, lineterm="", n=2):
        lines.append("  " + d)
    return "\n".join(lines)


if __name__ == "__main__":
    main()
