"""One run of tarvo-headless driven step by step, each step bounded in time.

After the actions of a step, a line that is no action ("mark N") is sent:
the driver refuses it whatever window is on top, so its `refused` line
marks the end of that step's transcript.
"""
import os
import queue
import subprocess
import threading


class Ended(Exception):
    """The driver ended (or was killed) before the step's mark."""

    def __init__(self, lines):
        super().__init__("driver ended")
        self.lines = lines


class Hang(Exception):
    def __init__(self, lines):
        super().__init__("driver did not answer in time")
        self.lines = lines


class Session:
    def __init__(self, command, **popen):
        self.proc = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE, **popen)
        self.lines = queue.Queue()
        self.marks = 0
        self.ended = False
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for raw in self.proc.stdout:
            self.lines.put(raw.decode("utf-8", "replace").rstrip("\n"))
        self.lines.put(None)

    def act(self, *actions, timeout=10):
        """Sends the actions; returns the transcript lines they produced."""
        if self.ended:
            raise Ended([])
        self.marks += 1
        mark = f"mark {self.marks}"
        try:
            self.proc.stdin.write("".join(a + "\n" for a in actions + (mark,)).encode("utf-8"))
            self.proc.stdin.flush()
        except BrokenPipeError:
            pass
        out = []
        while True:
            try:
                line = self.lines.get(timeout=timeout)
            except queue.Empty:
                raise Hang(out)
            if line is None:
                self.ended = True
                raise Ended(out)
            if line == f'refused "{mark}"':
                return out
            out.append(line)

    def end(self, timeout=10):
        """Closes the input (the program ends as on the desktop); returns the rest and the exit status."""
        out = []
        try:
            self.proc.stdin.close()
        except BrokenPipeError:
            pass
        while True:
            try:
                line = self.lines.get(timeout=timeout)
            except queue.Empty:
                self.kill()
                raise Hang(out)
            if line is None:
                break
            out.append(line)
        self.ended = True
        return out, self.proc.wait(timeout=timeout)

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
        self.proc.wait()


def tidy(path):
    """Removes a folder tree even where write bits were taken away."""
    for root, folders, _ in os.walk(path):
        for f in folders:
            try:
                os.chmod(os.path.join(root, f), 0o755)
            except OSError:
                pass
