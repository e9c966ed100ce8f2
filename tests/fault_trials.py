#!/usr/bin/env python3
"""Every writer of the program against every file fault, on real files.

Writers: the set editor's OK, a drop, the default set files of the first
start (each overwrite question answered Yes) and the settings at exit after
the environment dialog's Save. Faults: a full file system, a read-only
file, a read-only folder, the folder vanishing while the program runs, a
folder in the file's place, and a SIGKILL in the middle of the write (after
the new file's data, and at the rename). Each leaves the old file byte for
byte; where the program lives on, the framework reports the error. A write
killed halfway leaves its new file, which the next write of that file
removes.

Runs as root where it can (tmpfs mounts, an unprivileged user for the
folder cases); what it cannot set up prints a SKIP line.

Reads fail too: each openat, read and stat of the settings file and of the
set file, one at a time, through strace. A file that could not be read is
never written in that run, and whatever was not saved was said.

A folder that cannot be flushed after the rename leaves the new file in
place with a warning (EIO), or silently where the file system cannot flush
folders at all (EINVAL).

Usage: fault_trials.py TARVO_HEADLESS
"""
import glob
import os
import re
import resource
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from headless_session import Ended, Hang, Session, tidy  # noqa: E402

CRLF = "\r\n"
SET_FILE = f"a=*{CRLF}|/bin/a|{CRLF}b=*{CRLF}|/bin/b|{CRLF}".encode()
SETTINGS = CRLF.join(["[FormMain]", "Left=-1", "Top=-1", "Width=-1", "Height=-1", "PosSet=0", "StateSet=/C",
                      "WindowsDir=C:\\WINDOWS\\", "TarvoDir=/opt/", "[Language]", "Japanese=1", "English=0",
                      ""]).encode()
DEFAULT_FILES = [f"TARVO9{i}.PRG" for i in range(10)]

LEFTOVER = re.compile(r"^\.(TARVO9\d\.PRG|TARVO\.INI)\.\d+-\d+-\d+$")

DISK_FULL = "ﾃﾞｨｽｸがいっぱいです."
DENIED = "ﾌｧｲﾙへのｱｸｾｽが拒否されました."
NO_PATH = "不正なﾌｧｲﾙ名です."
SETTINGS_FAILED = " に書き込めません."
NOT_FLUSHED = "フォルダーの書き込みを確定できませんでした"

results = []


def check(what, ok, transcript=None):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok and transcript is not None:
        print("\n".join("     | " + line for line in transcript))
    results.append(ok)


def skip(what):
    print("SKIP " + what)


def traced(*strace_args):
    """strace before the driver; LeakSanitizer cannot work under ptrace and would fail the exit."""
    asan = ":".join(filter(None, [os.environ.get("ASAN_OPTIONS"), "detect_leaks=0"]))
    return ["env", f"ASAN_OPTIONS={asan}", "strace", "-f", *strace_args]


def can(*command):
    return subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0


# ---------------------------------------------------------------------------
# Writers: the files they start with, the file they write, and their steps.
# `fault` is called at the moment the fault is to strike, just before the
# action that writes.

class Writer:
    name = ""
    target = "TARVO90.PRG"
    settings = SETTINGS

    def lay_out(self, folder):
        with open(os.path.join(folder, "TARVO.INI"), "wb") as f:
            f.write(self.settings)
        with open(os.path.join(folder, "TARVO90.PRG"), "wb") as f:
            f.write(SET_FILE)

    def expected_error(self, fault_text, folder):
        return fault_text


class EditorOk(Writer):
    name = "editor OK"

    def run(self, s, fault):
        s.act("menu MenuLauncherSet", "select ListBox1 0", "click btnDel")
        fault()
        s.act("click btnOk")
        s.answer_boxes()
        if s.top() == "TForm3":  # the editor stays open with its edits after a failed save
            s.act("click btnCansel")
            s.answer_boxes()


class Drop(Writer):
    name = "drop"

    def run(self, s, fault):
        fault()
        s.act("drop /t/x")
        s.answer_boxes()


class FirstStart(Writer):
    name = "first start"

    def lay_out(self, folder):
        for i, name in enumerate(DEFAULT_FILES):
            with open(os.path.join(folder, name), "wb") as f:
                f.write(f"old{i}=*{CRLF}|/old/{i}|{CRLF}".encode())

    def run(self, s, fault):
        s.act("click Button1")  # Japanese
        s.act("click Button1")  # no settings file: the environment dialog
        fault()
        s.act("click btnOk")  # Save: the default set files, each existing one asked about
        s.answer_boxes()


class SettingsAtExit(Writer):
    name = "settings at exit"
    target = "TARVO.INI"

    def expected_error(self, fault_text, folder):
        # The settings file is named by its whole path.
        return os.path.join(folder, "TARVO.INI") + SETTINGS_FAILED

    def run(self, s, fault):
        s.act("menu MenuSetIniFile")
        s.act("click RadioBtnN", "click btnOk")
        fault()
        s.finish("click btnExit")


WRITERS = [EditorOk(), Drop(), FirstStart(), SettingsAtExit()]


class Run(Session):
    """A session that keeps the whole transcript and answers information boxes Yes."""

    def __init__(self, *args, **kwargs):
        super().__init__(*args, **kwargs)
        self.transcript = []

    def act(self, *actions, timeout=10):
        try:
            out = super().act(*actions, timeout=timeout)
        except (Ended, Hang) as e:
            self.transcript += e.lines
            raise
        self.transcript += out
        return out

    def top(self):
        for line in self.act("dump"):
            if line.startswith("form "):
                return line.split()[1]
        return None

    def answer_boxes(self):
        for _ in range(40):
            if self.top() not in ("TForm10", "TForm11", "TForm12"):
                return
            self.act("click Button1")
        raise AssertionError("information boxes without end")

    def finish(self, *actions):
        """The last actions: the program ends with them (or with the input)."""
        try:
            self.proc.stdin.write("".join(a + "\n" for a in actions).encode())
        except BrokenPipeError:
            pass
        out, _ = self.end()
        self.transcript += out


# ---------------------------------------------------------------------------
# One trial: a folder of its own, the writer's files, the fault.

class Trial:
    def __init__(self, driver, writer, fault):
        self.driver, self.writer, self.fault = driver, writer, fault
        self.root = tempfile.mkdtemp(prefix="tarvo-faults-")
        os.chmod(self.root, 0o755)  # an unprivileged driver must reach its folder
        self.folder = os.path.join(self.root, "prog")
        os.mkdir(self.folder)
        self.mounted = False
        self.prefix = []
        self.preexec = None
        self.status = None

    def mount_tmpfs(self, size):
        if os.geteuid() != 0 or not can("mount", "-t", "tmpfs", "-o", f"size={size},mode=755", "tmpfs", self.folder):
            return False
        self.mounted = True
        return True

    def lay_out(self):
        self.writer.lay_out(self.folder)
        self.before = {}
        for path in glob.glob(os.path.join(self.folder, "*")):
            if os.path.isfile(path):
                with open(path, "rb") as f:
                    self.before[os.path.basename(path)] = f.read()

    def start(self):
        return Run([*self.prefix, self.driver, "--", os.path.join(self.folder, "TARVO.EXE")],
                   preexec_fn=self.preexec)

    def play(self, fault_action=lambda: None):
        s = self.start()
        try:
            s.act()
            self.writer.run(s, fault_action)
            if not s.ended:
                out, self.status = s.end()
                s.transcript += out
            else:
                self.status = s.proc.wait(timeout=10)
        except Ended:
            self.status = s.proc.wait(timeout=10)
        except Hang:
            s.kill()
            self.status = "hang"
        return s.transcript

    def unchanged(self, folder=None, names=None):
        folder = folder or self.folder
        changed = []
        for name in names or self.before:
            try:
                with open(os.path.join(folder, name), "rb") as f:
                    if f.read() != self.before[name]:
                        changed.append(name)
            except OSError:
                changed.append(name)
        return changed

    def leftovers(self, folder=None):
        """New files of the safe write: ".NAME.PID-SEED-COUNT"."""
        return sorted(n for n in os.listdir(folder or self.folder) if LEFTOVER.match(n))

    def close(self):
        if self.mounted:
            subprocess.run(["umount", "-l", self.folder], stderr=subprocess.DEVNULL)
        tidy(self.root)
        shutil.rmtree(self.root, ignore_errors=True)


def label(trial, what):
    return f"{trial.writer.name}, {trial.fault}: {what}"


def expect_report(trial, transcript, text):
    text = trial.writer.expected_error(text, trial.folder)
    line = f'error "TARVO" "{text}"'
    check(label(trial, f'reports "{os.path.basename(text)}"'), line in transcript, transcript)
    check(label(trial, "the program lives on and ends normally"), trial.status == 0, transcript)


# ---------------------------------------------------------------------------
# The faults.

def full_file_system(driver, writer):
    t = Trial(driver, writer, "full file system")
    try:
        filled = t.mount_tmpfs("256k")
        if not filled:
            skip(label(t, "mounting a tmpfs was refused; a file-size limit of 8 bytes stands in for the full disk"))
            t.preexec = lambda: resource.setrlimit(resource.RLIMIT_FSIZE, (8, 8))
        t.lay_out()

        def fill():
            if not filled:
                return
            with open(os.path.join(t.folder, "filler"), "wb", buffering=0) as f:
                try:
                    while True:
                        f.write(b"\0" * 4096)
                except OSError:
                    pass

        transcript = t.play(fill)
        check(label(t, "old files byte for byte"), t.unchanged() == [], transcript)
        check(label(t, "no new file left behind"), t.leftovers() == [], transcript)
        expect_report(t, transcript, DISK_FULL)
    finally:
        t.close()


def read_only_file(driver, writer):
    t = Trial(driver, writer, "read-only file")
    try:
        t.lay_out()
        target = os.path.join(t.folder, writer.target)
        transcript = t.play(lambda: os.chmod(target, 0o444))
        check(label(t, "old files byte for byte"), t.unchanged() == [], transcript)
        check(label(t, "still read-only"), os.stat(target).st_mode & 0o777 == 0o444)
        expect_report(t, transcript, DENIED)
    finally:
        t.close()


def read_only_folder(driver, writer):
    t = Trial(driver, writer, "read-only folder")
    try:
        # Root ignores a folder's permission bits: the driver runs as nobody,
        # or else the folder is a tmpfs mounted read-only while it runs.
        nobody = ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"]
        how = None
        if os.geteuid() != 0:
            how = "chmod"
        elif can(*nobody, "true"):
            os.chown(t.folder, 65534, 65534)
            # The driver and the folder must be within the user's reach.
            if can(*nobody, "test", "-w", t.folder, "-a", "-x", driver):
                how = "nobody"
                t.prefix = nobody
        if how is None and t.mount_tmpfs("1m"):
            how = "remount"
        if how is None:
            skip(label(t, "neither an unprivileged user nor a read-only mount is available"))
            return
        t.lay_out()
        if how == "nobody":
            for path in glob.glob(os.path.join(t.folder, "*")):
                os.chown(path, 65534, 65534)

        def lock():
            if how == "remount":
                subprocess.run(["mount", "-o", "remount,ro", t.folder], check=True)
            else:
                os.chmod(t.folder, 0o555)

        transcript = t.play(lock)
        check(label(t, f"old files byte for byte ({how})"), t.unchanged() == [], transcript)
        check(label(t, "no new file"), sorted(os.listdir(t.folder)) == sorted(t.before), transcript)
        expect_report(t, transcript, DENIED)
    finally:
        t.close()


def vanished_folder(driver, writer):
    t = Trial(driver, writer, "vanished folder")
    try:
        t.lay_out()
        moved = t.folder + ".moved"
        transcript = t.play(lambda: os.rename(t.folder, moved))
        check(label(t, "old files byte for byte where the folder went"), t.unchanged(moved) == [], transcript)
        check(label(t, "the folder is not made anew"), not os.path.exists(t.folder), transcript)
        expect_report(t, transcript, NO_PATH)
    finally:
        t.close()


def folder_in_place(driver, writer):
    t = Trial(driver, writer, "folder in the file's place")
    try:
        t.lay_out()
        target = os.path.join(t.folder, writer.target)

        def replace():
            os.rename(target, target + ".old")
            os.mkdir(target)
            with open(os.path.join(target, "inside"), "wb") as f:
                f.write(b"inside")

        transcript = t.play(replace)
        with open(os.path.join(target, "inside"), "rb") as f:
            inside = f.read()
        check(label(t, "the folder and its file stay"), os.listdir(target) == ["inside"] and inside == b"inside",
              transcript)
        others = [n for n in t.before if n != writer.target]
        check(label(t, "the other files byte for byte"), t.unchanged(names=others) == [], transcript)
        expect_report(t, transcript, DENIED)
    finally:
        t.close()


def killed(driver, writer, syscall, when):
    """A real SIGKILL on entry to the Nth call of `syscall`, through strace."""
    what = {"fsync": "killed after the new file's data", "rename": "killed at the rename"}[syscall]
    t = Trial(driver, writer, what)
    try:
        t.lay_out()
        t.prefix = traced("-o", "/dev/null", "-e", f"trace={syscall}", "-e",
                          f"inject={syscall}:signal=SIGKILL:when={when}")
        transcript = t.play()
        check(label(t, "the program was killed"), t.status not in (0, "hang"), transcript)
        # The first start kills the write of its third file: the two before
        # it are written, the third and later ones are as they were.
        names = DEFAULT_FILES[2:] if isinstance(writer, FirstStart) else [writer.target]
        check(label(t, "old files byte for byte"), t.unchanged(names=names) == [], transcript)
        left = t.leftovers()
        check(label(t, "its new file is left beside the old one"), len(left) == 1, transcript)

        # The next write of that file, by a launcher that lives, clears it.
        t.prefix = []
        transcript = t.play()
        check(label(t, "the next write clears the leftover"), t.leftovers() == [], transcript)
        check(label(t, "and replaces the file"), t.unchanged(names=[names[0]]) == [names[0]], transcript)
        check(label(t, "and reports nothing"), not any(line.startswith("error ") for line in transcript), transcript)
    finally:
        t.close()


def folder_not_flushed(driver, writer, error):
    """The folder's fsync, which follows the rename, fails."""
    t = Trial(driver, writer, f"folder flush fails with {error}")
    try:
        t.lay_out()
        # The first start's second fsync is its first file's folder, as for every other writer.
        t.prefix = traced("-o", "/dev/null", "-e", "trace=fsync", "-e", f"inject=fsync:error={error}:when=2")
        transcript = t.play()
        check(label(t, "the new file is in place"), writer.target in t.unchanged(names=[writer.target]) or
              isinstance(writer, FirstStart) and t.unchanged(names=DEFAULT_FILES[:1]) == [DEFAULT_FILES[0]],
              transcript)
        warned = any(NOT_FLUSHED in line for line in transcript)
        check(label(t, "warned" if error == "EIO" else "not warned"), warned == (error == "EIO"), transcript)
        check(label(t, "the program lives on and ends normally"), t.status == 0, transcript)
        check(label(t, "nothing reported as failed"), not any(line.startswith("error ") for line in transcript),
              transcript)
    finally:
        t.close()


# ---------------------------------------------------------------------------
# Reads that fail once.

ITEM_ADDED = f"x=*{CRLF}/t|/t/x|{CRLF}".encode()
OWN_SETTINGS = CRLF.join(["[FormMain]", "StateSet=/C", "WindowsDir=C:\\W\\", "TarvoDir=/opt/", "[Language]",
                          "Japanese=0", "English=1", ""]).encode()
KEPT_KEYS = ["WindowsDir", "TarvoDir", "Japanese", "English"]


def settings_values(data):
    values = {}
    for line in data.decode("cp932", "replace").split(CRLF):
        if "=" in line:
            key, value = line.split("=", 1)
            values.setdefault(key, value)
    return values


class TransientRead(Writer):
    """A drop, the environment dialog's Save and the exit: every writer of one run."""
    name = "start, drop, Save, exit"
    settings = OWN_SETTINGS

    def run(self, s, fault):
        s.answer_boxes()
        s.act("drop /t/x")
        s.answer_boxes()
        if any(line.startswith("MenuSetIniFile ") and " visible" in line for line in s.act("dump menus")):
            s.act("menu MenuSetIniFile", "click RadioBtnN", "click btnOk")
            s.answer_boxes()
        s.finish("click btnExit")


def calls_made(driver, path, syscall):
    t = Trial(driver, TransientRead(), "counting")
    try:
        t.lay_out()
        log = os.path.join(t.root, "calls")
        t.prefix = traced("-o", log, "-P", os.path.join(t.folder, path), "-e", f"trace={syscall}")
        t.play()
        with open(log) as f:
            return sum(1 for line in f if f" {syscall}(" in line)
    finally:
        t.close()


def transient_read(driver, path, syscall, when):
    t = Trial(driver, TransientRead(), f"{syscall} #{when} of {path} fails")
    try:
        t.lay_out()
        t.prefix = traced("-o", "/dev/null", "-P", os.path.join(t.folder, path), "-e", f"trace={syscall}",
                          "-e", f"inject={syscall}:error=EIO:when={when}")
        transcript = t.play()
        check(label(t, "the program lives on and ends normally"), t.status == 0, transcript)
        with open(os.path.join(t.folder, "TARVO.INI"), "rb") as f:
            ini = f.read()
        with open(os.path.join(t.folder, "TARVO90.PRG"), "rb") as f:
            prg = f.read()
        before, after = settings_values(OWN_SETTINGS), settings_values(ini)
        check(label(t, "settings the user did not change keep their values"),
              all(after.get(k) == before[k] for k in KEPT_KEYS), transcript)
        saved = any(line.startswith("open TForm7 ") for line in transcript)
        told = any(SETTINGS_FAILED in line for line in transcript)
        check(label(t, "the settings saved, or that they were not said"),
              not saved or after.get("StateSet") == "/N" or told, transcript)
        check(label(t, "the set file as it was, or with the dropped item"), prg in (SET_FILE, SET_FILE + ITEM_ADDED),
              transcript)
        check(label(t, "a drop that was not saved was said"),
              prg != SET_FILE or any(line.startswith(("message ", "error ")) for line in transcript), transcript)
    finally:
        t.close()


def main():
    driver = os.path.abspath(sys.argv[1])
    # strace needs ptrace, which a container may forbid.
    have_strace = shutil.which("strace") is not None and can("strace", "-f", "-o", "/dev/null", "true")
    for writer in WRITERS:
        full_file_system(driver, writer)
        read_only_file(driver, writer)
        read_only_folder(driver, writer)
        vanished_folder(driver, writer)
        folder_in_place(driver, writer)
        if not have_strace:
            skip(f"{writer.name}: killed halfway: strace is not installed (scripts/install-deps.sh) or may not trace")
            continue
        # Each write calls fsync twice (the new file, then its folder).
        first_start = isinstance(writer, FirstStart)
        killed(driver, writer, "fsync", 5 if first_start else 1)
        killed(driver, writer, "rename", 3 if first_start else 1)
        folder_not_flushed(driver, writer, "EIO")
        folder_not_flushed(driver, writer, "EINVAL")
    if have_strace:
        for path in ("TARVO.INI", "TARVO90.PRG"):
            for syscall in ("openat", "read", "newfstatat"):
                for when in range(1, calls_made(driver, path, syscall) + 1):
                    transient_read(driver, path, syscall, when)
    else:
        skip("reads that fail: strace is not installed (scripts/install-deps.sh) or may not trace")
    failed = results.count(False)
    print(f"{len(results) - failed} passed, {failed} failed")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
