"""Helpers of the hook library's Wine tests: programs driven line by line,
and the shared record decoded.

The Windows programs live in tests/win32/hooklib: tavrilex_driver.exe calls
the library's exports like the control program does, hook_client.exe is an
ordinary window into which the system injects the hook.
"""

import contextlib
import os
import queue
import re
import signal
import struct
import subprocess
import threading
import time

from winetest import ARCH, WINE, WaitTimeout, WineSession, wait_until

PROGRAMS = ("Tavrilex.dll", "tavrilex_driver.exe", "hook_client.exe")

# Virtual keys and scan codes the tests use.
VK_SHIFT, VK_CONTROL, VK_CAPITAL, VK_NUMLOCK, VK_SCROLL = 0x10, 0x11, 0x14, 0x90, 0x91
WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSCHAR = 0x100, 0x101, 0x102, 0x106
SCAN_Q, SCAN_1, SCAN_LSHIFT, SCAN_RSHIFT = 0x10, 0x02, 0x2A, 0x36
DOWN, TOGGLED = 0x80, 0x01


def char_lparam(scan, extended=False, alt=False):
    """lParam of a WM_CHAR as the system builds it for one key press."""
    return 1 | (scan << 16) | (1 << 24 if extended else 0) | (1 << 29 if alt else 0)


def keydown_lparam(scan, repeat=False):
    return 1 | (scan << 16) | (1 << 30 if repeat else 0)


@contextlib.contextmanager
def hook_session(beeps=False, scroll_lock=False, codepage=None):
    """A Wine session with the library and its test programs installed;
    `codepage` names a locale (e.g. "uk_UA.CP1251") whose ANSI code page
    Wine takes.

    The wineserver and Wine's services are started here by a program of no
    interest: they live as long as the session and keep the standard
    handles of the process that started them, so the programs the tests
    read must not be the ones that start them."""
    with WineSession(codepage=codepage) as wine:
        if beeps:
            trace_beeps(wine)
        if scroll_lock:
            make_scroll_lock_a_lock_key(wine)
        wine.install(*PROGRAMS)
        subprocess.run([WINE, "cmd", "/c", "exit"], env=wine.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120, check=True)
        yield wine


def make_scroll_lock_a_lock_key(wine):
    """Xvfb's keymap gives Scroll Lock no modifier, so X reports it off at
    every event and Wine keeps switching it back off. Mapping it to a free
    modifier (whose XKB action locks) makes it toggle as on a real keyboard.
    Call before the first Wine program starts: Wine reads the map then."""
    env = wine.env
    keymap = subprocess.run(["xkbcomp", "-xkb", wine.display, "-"], env=env, check=True,
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True).stdout
    keymap = re.sub(r"(xkb_symbols[^{]*\{)", r"\1\n    modifier_map Mod3 { <SCLK> };", keymap, count=1)
    subprocess.run(["xkbcomp", "-w", "0", "-", wine.display], input=keymap, env=env, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, text=True, timeout=30)


def trace_beeps(wine):
    """Makes Wine's relay channel report the library's Beep calls, and only
    those, for programs started with beep_env(). Call before the first Wine
    program starts: the registry is read from the prefix's files then."""
    with open(os.path.join(wine.prefix, "user.reg"), "a") as reg:
        reg.write('\n[Software\\\\Wine\\\\Debug] 1700000000\n'
                  '"RelayInclude"="kernel32.Beep;kernelbase.Beep"\n')


def beep_env(wine):
    return dict(wine.env, WINEDEBUG="+relay")


def beeps(program):
    """(hertz, milliseconds) of each Beep the program made so far."""
    calls = []
    for line in list(program.errors):
        match = line and re.search(r"Call KERNEL32\.Beep\(([0-9a-f]+),([0-9a-f]+)\)", line)
        if match:
            calls.append((int(match.group(1), 16), int(match.group(2), 16)))
    return calls


class Program:
    """A Win32 console program under Wine, fed commands on stdin; every line
    it prints is kept, and expect() takes them in order by prefix."""

    def __init__(self, wine, exe, *args, env=None):
        self.name = exe
        self.proc = subprocess.Popen(
            [WINE, wine.path(exe), *map(str, args)], env=env or wine.env, cwd=wine.appdir,
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
            start_new_session=True)
        wine.processes.append(self.proc)
        self.lines = queue.Queue()
        self.backlog = []
        self.errors = []
        self.readers = [threading.Thread(target=self._pump, args=(self.proc.stdout, self.lines.put), daemon=True),
                        threading.Thread(target=self._pump, args=(self.proc.stderr, self.errors.append), daemon=True)]
        for reader in self.readers:
            reader.start()

    @staticmethod
    def _pump(stream, sink):
        for raw in iter(stream.readline, b""):
            sink(raw.decode(errors="replace").rstrip("\r\n"))
        sink(None)

    def send(self, *commands):
        for command in commands:
            self.proc.stdin.write((command + "\n").encode())
        self.proc.stdin.flush()

    def expect(self, prefix, timeout=30):
        """The first line not yet taken that starts with prefix."""
        for i, line in enumerate(self.backlog):
            if line.startswith(prefix):
                return self.backlog.pop(i)
        deadline = time.monotonic() + timeout
        while True:
            try:
                line = self.lines.get(timeout=max(0.0, deadline - time.monotonic()))
            except queue.Empty:
                raise WaitTimeout(f"{self.name}: no line starting {prefix!r} in {timeout}s; "
                                  f"seen {self.backlog[-10:]}") from None
            if line is None:
                self.lines.put(None)
                code = self.proc.wait()
                errors = [e for e in self.errors if e is not None][-10:]
                raise AssertionError(f"{self.name} ended (code {code}) before "
                                     f"printing {prefix!r}; seen {self.backlog[-10:]}; stderr {errors}")
            if line.startswith(prefix):
                return line
            self.backlog.append(line)

    def ask(self, command, timeout=30):
        """Sends one command and returns the words of its answer."""
        word = command.split()[0]
        self.send(command)
        return self.expect(word + " ", timeout).split()[1:]

    def none_pending(self, prefix):
        """True when no line with this prefix has arrived yet (looks at what
        is already there, never waits)."""
        while True:
            try:
                line = self.lines.get_nowait()
            except queue.Empty:
                break
            if line is None:
                self.lines.put(None)
                break
            self.backlog.append(line)
        return not any(line.startswith(prefix) for line in self.backlog)

    def close(self, timeout=30):
        """Ends input and waits for the program's exit code."""
        try:
            self.proc.stdin.close()
        except BrokenPipeError:
            pass
        code = self.proc.wait(timeout=timeout)
        self._release()
        return code

    def kill(self):
        if self.proc.poll() is None:
            os.killpg(self.proc.pid, signal.SIGKILL)
            self.proc.wait()
        self._release()

    def _release(self):
        for reader in self.readers:
            reader.join(timeout=10)
        for stream in (self.proc.stdin, self.proc.stdout, self.proc.stderr):
            try:
                stream.close()
            except BrokenPipeError:
                pass


class Driver(Program):
    """tavrilex_driver.exe: the library's exports, one command each."""

    def __init__(self, wine, *commands):
        """Starts the driver; `commands` run first, and their answers are
        in self.answers."""
        super().__init__(wine, "tavrilex_driver.exe", *commands, "stdin")
        words = self.expect("loaded ").split()
        self.module, self.pid = int(words[1], 16), int(words[3])
        self.answers = [self.expect(command.split()[0] + " ").split()[1:] for command in commands]

    def call(self, command):
        """Result of one export call as an int."""
        return int(self.ask(command)[0])

    def record(self):
        return Record(bytes.fromhex(self.ask("record")[0]))

    def identity(self, pid):
        """(process id, low 32 bits of its creation time): what the lock
        word holds for that process."""
        pid, created = map(int, self.ask(f"identity {pid}"))
        return pid, created

    def table(self, name):
        """The 47 entries of a table as the driver hands it over."""
        data = bytes.fromhex(self.ask(f"table {name}")[0])
        return [tuple(data[i:i + 4]) for i in range(0, len(data), 4)]


class Client(Program):
    """hook_client.exe: a window that reports the key messages it gets."""

    def __init__(self, wine, title="Tavrilex test client", env=None):
        super().__init__(wine, "hook_client.exe", title, env=env)
        self.hwnd = int(self.expect("ready ").split()[1], 16)

    def keys(self, **states):
        """Sets the thread's key states, e.g. keys(ctrl=DOWN, scroll=TOGGLED)."""
        names = {"shift": VK_SHIFT, "ctrl": VK_CONTROL, "caps": VK_CAPITAL,
                 "num": VK_NUMLOCK, "scroll": VK_SCROLL}
        self.ask("keys " + " ".join(f"{names[k]}={v}" for k, v in states.items()))

    def char(self, scan, code=0x71, command="post", **flags):
        """Posts a WM_CHAR and returns the character code the window got
        (command "thread": the thread, without a window)."""
        self.send(f"{command} {WM_CHAR} {code} {char_lparam(scan, **flags)}")
        return int(self.expect("threadchar " if command == "thread" else "char ").split()[1])

    def shift_down(self, scan, repeat=False, command="post"):
        """Posts a Shift key-down and waits until the window has it."""
        self.send(f"{command} {WM_KEYDOWN} {VK_SHIFT} {keydown_lparam(scan, repeat)}")
        self.expect(f"keydown {VK_SHIFT} ")

    def typed(self, wine, *keys, chars=1):
        """Types keys with xdotool into the focused client; returns the
        character codes of the `chars` character messages that arrive."""
        wine.key(*keys)
        return [int(self.expect("char ").split()[1]) for _ in range(chars)]

    def state(self):
        return dict(kv.split("=") for kv in self.ask("state"))


class PlacedClient(Client):
    """A client window moved out of the control dialog's way, typed into as
    a user types: its window made the active one by a click first (the X
    focus alone leaves the active window as it was, and the keys
    untranslated by TranslateMessage)."""

    def __init__(self, wine, x=500, y=400):
        super().__init__(wine)
        self.wine = wine
        self.window = wine.wait_window("^Tavrilex test client$")
        wine.xdotool("windowmove", self.window, x, y)
        wait_until(lambda: wine.geometry(self.window)[:2] == (x, y), what="the client moved")

    def type_as_user(self, *keys, chars=1):
        """The character codes of the `chars` character messages the keys bring."""
        wine = self.wine
        wine.focus(self.window)
        if self.state()["foreground"] != "1":
            x, y, width, height = wine.geometry(self.window)
            wine.xdotool("mousemove", "--sync", x + width // 2, y + height // 2, "click", "1")
            wait_until(lambda: self.state()["foreground"] == "1", what="the client active")
        return self.typed(wine, *keys, chars=chars)


class Record:
    """The shared hook state decoded from its bytes: three pointer-sized
    handles (4 bytes each in the i386 library, 8 in the x86-64 one), then
    the same fields in both, then the lock holder on an 8-byte boundary:
    process id and the low half of its creation time; then the letters, two
    UTF-16 units for each of the 64 entries; then the automatic mend's flag,
    and the padding to a whole number of 8-byte words."""

    HANDLES = struct.Struct("<QQQ" if ARCH == "win64" else "<III")
    FIELDS = struct.Struct("<iBxHHHHHiIIi")
    HOLDER = struct.Struct("<II")
    HOLDER_OFFSET = (HANDLES.size + 288 + 7) // 8 * 8
    LETTERS = struct.Struct("<128H")
    LETTERS_OFFSET = HOLDER_OFFSET + HOLDER.size
    AUTO_MEND = struct.Struct("<I")
    AUTO_MEND_OFFSET = LETTERS_OFFSET + LETTERS.size
    SIZE = (AUTO_MEND_OFFSET + AUTO_MEND.size + 7) // 8 * 8

    def __init__(self, data):
        self.data = data
        self.hook, self.window, self.library = self.HANDLES.unpack_from(data, 0)
        (self.search_position, self.scan_code,
         self.scroll_lock, self.num_lock, self.ctrl, self.caps_lock, self.shift,
         self.method, self.switch, self.beeper, self.count) = self.FIELDS.unpack_from(data, self.HANDLES.size)
        area = data[self.HANDLES.size + 32:self.HANDLES.size + 32 + 64 * 4]
        self.entries = [tuple(area[i:i + 4]) for i in range(0, len(area), 4)]
        self.holder = self.HOLDER.unpack_from(data, self.HOLDER_OFFSET)  # (0, 0) while free
        units = self.LETTERS.unpack_from(data, self.LETTERS_OFFSET)
        self.letters = [(units[i], units[i + 1]) for i in range(0, len(units), 2)]  # per entry
        (self.auto_mend,) = self.AUTO_MEND.unpack_from(data, self.AUTO_MEND_OFFSET)
