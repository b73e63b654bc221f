"""Runs Windows programs under a private Wine on a private X display.

Each WineSession owns everything it starts: an Xvfb server on a display
number of its own, a Wine prefix hard-linked from the template prefix (so a
session costs milliseconds, not a wineboot), and that prefix's wineserver.
On exit it ends them by process id and removes the prefix, whatever happened.
A session may instead use a lasting prefix of its own and an existing
display (scripts/run.sh does); it then leaves both in place.
Tests wait on conditions with a deadline (wait_until), never on fixed sleeps.

Environment (set by ctest, see CMakeLists.txt):
  VYRTEL_WINDOWS_ARCH   the Windows build under test: win32 (i386) or win64
  VYRTEL_WINDOWS_DIR    that build's tree; its binaries.txt names the path of
                        every program and library it built
  VYRTEL_WINE_LOADER    the Wine loader of that architecture (never the plain
                        `wine` script, which picks the 32-bit loader whenever
                        it is installed, whether or not the host can run it)
  VYRTEL_WINE_TEMPLATE  the template prefix made by make_template_prefix.sh
  VYRTEL_ARTIFACTS      where screenshots and logs worth keeping go
"""

import os
import select
import shutil
import signal
import subprocess
import tempfile
import time

ARCH = os.environ.get("VYRTEL_WINDOWS_ARCH", "win64")
WINDOWS_DIR = os.environ.get("VYRTEL_WINDOWS_DIR", "")
WINE = os.environ.get("VYRTEL_WINE_LOADER") or {"win32": "/usr/lib/wine/wine",
                                                "win64": "/usr/lib/wine/wine64"}[ARCH]
TEMPLATE = os.environ.get("VYRTEL_WINE_TEMPLATE", "")
ARTIFACTS = os.environ.get("VYRTEL_ARTIFACTS", tempfile.gettempdir())


class WaitTimeout(AssertionError):
    pass


def wait_until(predicate, timeout=20.0, interval=0.05, what="a condition"):
    """Polls predicate until it returns something truthy; returns that."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise WaitTimeout(f"timed out after {timeout:.0f}s waiting for {what}")
        time.sleep(interval)


def built(name, windows_dir=None):
    """Path of a program or library of the Windows build, by file name, as
    the build itself listed it."""
    listing = os.path.join(windows_dir or WINDOWS_DIR, "binaries.txt")
    with open(listing, encoding="utf-8") as f:
        paths = dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)
    if name not in paths:
        raise FileNotFoundError(f"{name} is not among the binaries listed in {listing}")
    return paths[name]


class Pixels:
    """A screenshot's pixels, read once: pixel(x, y) is (r, g, b)."""

    def __init__(self, path):
        self.path = path
        size = subprocess.run(["identify", "-format", "%w %h", path], check=True, stdout=subprocess.PIPE,
                              timeout=30).stdout.split()
        self.width, self.height = int(size[0]), int(size[1])
        self.data = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], check=True,
                                   stdout=subprocess.PIPE, timeout=30).stdout

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def count(self, rect, colour, tolerance=40):
        """How many pixels of rect (left, top, right, bottom) are within
        tolerance of colour."""
        left, top, right, bottom = rect
        return sum(1 for y in range(top, bottom) for x in range(left, right)
                   if all(abs(a - b) <= tolerance for a, b in zip(self.pixel(x, y), colour)))


def make_prefix(prefix):
    """Makes a prefix of the build under test unless it is there already."""
    script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "make_template_prefix.sh")
    subprocess.run([script, prefix, ARCH, WINE], check=True, timeout=600)


def _clone_template(template, prefix):
    # Hard links for the large read-only tree; real copies of what Wine
    # rewrites in place, so that no session can touch the template.
    subprocess.run(["cp", "-al", template, prefix], check=True)
    for name in os.listdir(prefix):
        if name.endswith(".reg"):
            path = os.path.join(prefix, name)
            with open(path, "rb") as f:
                data = f.read()
            os.unlink(path)
            with open(path, "wb") as f:
                f.write(data)
    users = os.path.join(prefix, "drive_c", "users")
    shutil.rmtree(users)
    shutil.copytree(os.path.join(template, "drive_c", "users"), users, symlinks=True)


class WineSession:
    """A private display and Wine prefix; use as a context manager.

    prefix: a lasting prefix to use (made from scratch when missing) instead
    of a throw-away copy of the template; display: an X display to use
    instead of a private one."""

    def __init__(self, width=1024, height=768, codepage=None, prefix=None, display=None):
        self.width = width
        self.height = height
        self.codepage = codepage
        self.lasting_prefix = prefix
        self.display = display
        self.processes = []
        self.xvfb = None

    # ---- set-up and teardown ----

    def __enter__(self):
        self.root = tempfile.mkdtemp(prefix="vyrtel-wine-")
        try:
            if self.lasting_prefix:
                self.prefix = self.lasting_prefix
                make_prefix(self.prefix)
            else:
                if not TEMPLATE or not os.path.isdir(TEMPLATE):
                    raise RuntimeError("VYRTEL_WINE_TEMPLATE does not name a Wine prefix")
                self.prefix = os.path.join(self.root, "prefix")
                _clone_template(TEMPLATE, self.prefix)
            self.appdir = os.path.join(self.prefix, "drive_c", "vyrtel")
            os.makedirs(self.appdir, exist_ok=True)
            if not self.display:
                self._start_xvfb()
            self.env = dict(os.environ)
            self.env.update(WINEPREFIX=self.prefix, WINEARCH=ARCH, WINELOADER=WINE, WINEDEBUG="-all",
                            WINEDLLOVERRIDES="mscoree,mshtml=", DISPLAY=self.display)
            if self.codepage:
                # e.g. "uk_UA.CP1251": Wine takes its ANSI code page from the locale.
                self.env.update(LANG=self.codepage, LC_ALL=self.codepage)
            self._boot()
        except BaseException:
            self._teardown()
            raise
        return self

    def __exit__(self, *exc):
        self._teardown()
        return False

    def _boot(self):
        # The first Wine process of a session starts the wineserver and
        # Wine's services, which keep its standard output open for good: a
        # test reading that program's output to the end would never see it
        # end. So the session starts them itself, with nothing to inherit.
        subprocess.run([WINE, "cmd.exe", "/c", "exit"], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120,
                       start_new_session=True)

    def _start_xvfb(self):
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             f"{self.width}x{self.height}x24", "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 20
        while not number.endswith(b"\n"):
            ready, _, _ = select.select([read_end], [], [], max(0.0, deadline - time.monotonic()))
            if not ready:
                os.close(read_end)
                raise WaitTimeout("Xvfb did not report its display")
            chunk = os.read(read_end, 16)
            if not chunk:
                os.close(read_end)
                raise RuntimeError("Xvfb exited before reporting its display")
            number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()

    def _teardown(self):
        for proc in self.processes:
            if proc.poll() is None:
                try:
                    os.killpg(proc.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
        if getattr(self, "env", None):
            subprocess.run(["wineserver", "-k"], env=self.env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
            try:
                subprocess.run(["wineserver", "-w"], env=self.env, timeout=30,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            except subprocess.TimeoutExpired:
                pass
        for proc in self.processes:
            try:
                proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                pass
        xvfb = self.xvfb
        if xvfb is not None and xvfb.poll() is None:
            xvfb.terminate()
            try:
                xvfb.wait(timeout=10)
            except subprocess.TimeoutExpired:
                xvfb.kill()
                xvfb.wait()
        if getattr(self, "root", None):
            shutil.rmtree(self.root, ignore_errors=True)

    # ---- programs ----

    def install(self, *names, into=None):
        """Copies built binaries (by file name) into the program folder."""
        target = into or self.appdir
        os.makedirs(target, exist_ok=True)
        for name in names:
            shutil.copy2(built(name), os.path.join(target, name))
        return target

    def install_as(self, name, target_name, into=None):
        """Copies one built binary (by file name) into the program folder
        under another name, e.g. a stand-in library under the real one's."""
        target = into or self.appdir
        os.makedirs(target, exist_ok=True)
        shutil.copy2(built(name), os.path.join(target, target_name))
        return os.path.join(target, target_name)

    def path(self, *parts):
        """Host path inside the program folder."""
        return os.path.join(self.appdir, *parts)

    def winpath(self, *parts):
        """The same place as Windows programs see it."""
        return "C:\\vyrtel" + "".join("\\" + p for p in parts)

    def start(self, exe, *args, cwd=None, capture=False):
        """Starts a program of the program folder; returns its Popen. Its
        output goes to a file of the session (Wine's own messages can fill a
        pipe that nobody reads), or to pipes the caller reads: capture."""
        if capture:
            out = err = subprocess.PIPE
        else:
            out = open(os.path.join(self.root, f"{exe}.{len(self.processes)}.log"), "wb")
            err = subprocess.STDOUT
        proc = subprocess.Popen([WINE, self.path(exe), *map(str, args)], env=self.env,
                                cwd=cwd or self.appdir, stdin=subprocess.DEVNULL, stdout=out,
                                stderr=err, start_new_session=True)
        if not capture:
            out.close()
        self.processes.append(proc)
        return proc

    def run(self, exe, *args, timeout=60):
        """Runs a program to its end; returns (exit code, stdout, stderr)."""
        proc = self.start(exe, *args, capture=True)
        try:
            out, err = proc.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGKILL)
            out, err = proc.communicate()
            raise WaitTimeout(f"{exe} {' '.join(map(str, args))} did not end in {timeout}s\n"
                              f"stdout: {out.decode(errors='replace')}\n"
                              f"stderr: {err.decode(errors='replace')}")
        return proc.returncode, out.decode(errors="replace"), err.decode(errors="replace")

    # ---- the X side: windows, input, pictures ----

    def xdotool(self, *args, check=True):
        result = subprocess.run(["xdotool", *map(str, args)], env=self.env,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=30)
        if check and result.returncode != 0:
            raise RuntimeError(f"xdotool {' '.join(map(str, args))}: {result.stderr.decode()}")
        return result.stdout.decode()

    def find_windows(self, name):
        """X windows whose title matches the regular expression `name`."""
        out = self.xdotool("search", "--onlyvisible", "--name", name, check=False)
        return [int(w) for w in out.split()]

    def wait_window(self, name, timeout=30):
        """Waits for a visible window with the title `name`; returns its id."""
        return wait_until(lambda: (self.find_windows(name) or [None])[0], timeout,
                          what=f"a window titled {name!r}")

    def focus(self, window):
        self.xdotool("windowfocus", "--sync", window)

    def key(self, *keys, window=None):
        args = ["key", "--delay", "40"]
        if window is not None:
            args += ["--window", window]
        self.xdotool(*args, *keys)

    def geometry(self, window):
        """(x, y, width, height) of an X window."""
        out = self.xdotool("getwindowgeometry", "--shell", window)
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def screenshot(self, name):
        """Saves the whole screen as a PNG under the artifacts folder."""
        os.makedirs(ARTIFACTS, exist_ok=True)
        path = os.path.join(ARTIFACTS, name)
        subprocess.run(["import", "-display", self.display, "-window", "root", path],
                       env=self.env, check=True, timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return path
