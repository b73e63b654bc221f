"""Robustness under load: a client window receives a flood of posted
messages and keys typed on the keyboard while the coding, layout and toggle
method are changed many times by clicks in Vyrtel.exe's dialog; then Exit.

The client (tests/win32/e2e/flood_client.cpp) is flooded by a thread of its
own with WM_CHAR messages for the 46 keys of the tables, the backslash key,
scan code 0, the keypad slash and Q with Alt, each carrying the character
0x100 + scan code, which no table gives, interleaved with WM_APP messages;
it checks that each arrives once, in order, with lParam untouched, and
tallies every character that arrives with the key states its thread had
when the hook saw it.

Epochs, and what "the tables in force around that moment" means here. The
client numbers epochs: a character belongs to the epoch the client was in
when it handled it (which is when its thread retrieved it and the hook ran,
nothing retrieved in between). The test moves the client on and waits for
its answer before acting, so the epochs are:
  - a change epoch, entered before a click on the dialog and left only
    after the shared record (read by tavrilex_driver.exe) and the dialog's
    check marks both show the new choice: its characters may be translated
    by the state before the click or by the state after it;
  - a steady epoch, after that, in which the keys are typed: its characters
    follow the one state then in force exactly.
A state gives, for a character: the character itself (untranslated) when no
coding is chosen, when translation is not active under its toggle method,
with Ctrl down, for the extended or the Alt flag, and for a scan code in no
table; otherwise the table's letter for Shift and Caps Lock as they were. So
every character must be one of the at most two outcomes of its epoch.
Translation is made to depend on the method too: the switch of the
Ctrl+Shift methods is on, Scroll Lock is on and Num Lock is off, so the
Num Lock method alone leaves a chosen coding inactive.
"""

import random
import time
import unittest

from hooklib_support import Driver, Program, make_scroll_lock_a_lock_key
from test_app import (CODING_BUTTON, EXIT, LAYOUT_BUTTON, TOGGLE_BUTTON, Inspector, Screen, Vyrtel, app_session,
                      marks)
from test_e2e import TABLES, entries, keycode
from winetest import wait_until

FLOOD_TITLE = "Vyrtel flood client"
FLOOD = 200_000        # posted messages while the choices change
AFTER_EXIT_FLOOD = 4_000
CHANGES = 40           # at least; more while the flood lasts
FLOOD_DEADLINE = 240   # seconds for the whole flood
ACTIVE = {0: True, 1: False, 2: True, 3: True}  # by toggle method, with the lock keys and switch as set up

# Keys typed in the bursts: the 46 table keys and two that no table has.
TYPED_KEYS = [key.keysym for key in TABLES[1, 0]] + ["backslash", "KP_Divide"]
BACKSLASH = 0x2B


def table_letter(state, scan, shift, caps):
    """The character a state's table gives a Unicode window (the client is
    one) for a scan code, or None (no entry; scan code 0, the tables'
    closing entry, is no key and matches nothing)."""
    coding, _, layout = state
    for key in TABLES[coding, layout]:
        if key.scan == scan:
            return key.letter(shift, caps)
    return None


def outcome(state, original, scan, extended, alt, shift, caps, ctrl):
    coding, method, _ = state
    if coding == 0 or not ACTIVE[method] or ctrl or extended or alt:
        return original
    letter = table_letter(state, scan, shift, caps)
    return original if letter is None else letter


def typed_original(scan, extended, shift, caps):
    """The character a typed key gives while nothing translates (US keys)."""
    if extended:
        return ord("/")  # the keypad slash
    if scan == BACKSLASH:
        return ord("\\|"[shift])
    latin = next(key.latin for key in TABLES[1, 0] if key.scan == scan)
    if latin[0].isalpha():
        return ord(latin[1] if shift != caps else latin[0])
    return ord(latin[shift])


class FloodClient(Program):
    def __init__(self, wine):
        super().__init__(wine, "flood_client.exe", FLOOD_TITLE)
        self.expect("ready ")

    def state(self):
        return {k: int(v) for k, v in (word.split("=") for word in self.ask("state"))}

    def epoch(self, number):
        self.send(f"epoch {number}")
        return self.expect(f"epoch {number} ", timeout=60)

    def report(self):
        self.send("report")
        tallies = []
        while True:
            line = self.expect("", timeout=120)
            if line.startswith("report end"):
                return tallies, {k: int(v) for k, v in (w.split("=") for w in line.split()[2:])}
            if line.startswith("tally "):
                epoch, source, scan, ext, alt, shift, caps, ctrl, char, count = line.split()[1:]
                tallies.append((int(epoch), source, int(scan, 16), int(ext), int(alt), int(shift), int(caps),
                                int(ctrl), int(char, 16), int(count)))


class LoadTest(unittest.TestCase):
    def test_a_flooded_client_while_the_choices_change_and_then_exit(self):
        rng = random.Random(1994)
        started_at = time.monotonic()
        with app_session(library="real", extra=("flood_client.exe", "tavrilex_driver.exe")) as wine:
            make_scroll_lock_a_lock_key(wine)
            reader = Driver(wine)
            run = Vyrtel(wine)
            inspector = Inspector(wine)
            wait_until(lambda: (f := inspector.frame()) and f["visible"] == "1", what="Vyrtel's window")
            screen = Screen(wine, inspector)
            client = FloodClient(wine)
            window = wine.wait_window(f"^{FLOOD_TITLE}$")
            right_shift = keycode(wine, "RTSH")
            helpers = (reader, inspector, client)

            def alive():
                for process in (run.proc,) + tuple(p.proc for p in helpers):
                    self.assertIsNone(process.poll(), f"{process.args} ended")

            def activate():
                wine.focus(window)
                if client.state()["foreground"] != 1:
                    x, y, width, height = wine.geometry(window)
                    wine.xdotool("mousemove", "--sync", x + width // 2, y + height // 2, "click", "1")
                    wait_until(lambda: client.state()["foreground"] == 1, what="the client active")

            def shows(state):
                coding, method, layout = state
                record = reader.record()
                in_library = record.method == method and (
                    record.hook != 0 and record.entries[:47] == entries((coding, layout)) if coding
                    else record.hook == 0)
                return in_library and inspector.checks() == marks(*state)

            epochs = {}  # epoch -> the states whose outcomes its characters may have
            number = 0

            def next_epoch(*states):
                nonlocal number
                number += 1
                client.epoch(number)
                epochs[number] = states

            typed_count = 0

            def type_burst():
                """Types a burst of keys in a steady epoch; waits for them."""
                nonlocal typed_count
                activate()
                keys = [rng.choice(TYPED_KEYS) for _ in range(16)]
                keys = [("shift+" if rng.random() < 0.4 else "") + key for key in keys]
                if rng.random() < 0.3:
                    keys.insert(rng.randrange(len(keys)), "Caps_Lock")
                    keys.append("Caps_Lock")
                before = client.state()["typed"]
                wine.xdotool("key", "--delay", "15", *keys)
                chars = sum(1 for key in keys if key != "Caps_Lock")
                wait_until(lambda: client.state()["typed"] == before + chars, timeout=60,
                           what=f"{chars} typed characters")
                typed_count += chars

            # The start: KOI8 typewriter, switched on by Ctrl + right Shift,
            # Scroll Lock on, Num Lock and Caps Lock off.
            state = (1, 3, 0)
            next_epoch((0, 3, 0), state)
            screen.click(CODING_BUTTON[1])
            wait_until(lambda: shows(state), what=f"the state {state}")
            activate()
            wine.xdotool("key", f"ctrl+{right_shift}", "Scroll_Lock")
            wait_until(lambda: reader.record().switch == 1 and client.state()["scroll"] == 1,
                       what="the switch and Scroll Lock on")
            self.assertEqual({k: client.state()[k] for k in ("caps", "num")}, {"caps": 0, "num": 0})

            next_epoch(state)
            client.send(f"flood {FLOOD}")
            flood_started = time.monotonic()
            changes, seen = 0, {state}
            while changes < CHANGES or client.none_pending("flood done"):
                self.assertLess(time.monotonic() - flood_started, FLOOD_DEADLINE, "the flood takes too long")
                # One click that changes one choice.
                dimension = rng.randrange(3)
                buttons = (CODING_BUTTON, TOGGLE_BUTTON, LAYOUT_BUTTON)[dimension]
                value = rng.choice([v for v in buttons if v != state[dimension]])
                new = tuple(value if i == dimension else state[i] for i in range(3))
                next_epoch(state, new)
                screen.click(buttons[value])
                wait_until(lambda: shows(new), what=f"the change to {new}")
                state = new
                seen.add(state)
                changes += 1
                next_epoch(state)
                type_burst()
                alive()
            flood_time = time.monotonic() - flood_started
            client.expect("flood done", timeout=60)

            # Exit: the program ends cleanly and its hook goes with it.
            next_epoch(state, None)
            screen.click(EXIT)
            self.assertEqual(run.exit_code(), 0)
            self.assertEqual(reader.record().hook, 0, "no hook after Exit")
            next_epoch(None)
            client.send(f"flood {AFTER_EXIT_FLOOD}")
            type_burst()
            client.expect("flood done", timeout=120)

            tallies, totals = client.report()
            for helper in helpers:
                self.assertEqual(helper.close(), 0, f"{helper.name} exit code")

        self.assertEqual({k: totals[k] for k in ("order_errors", "lparam_errors", "wparam_errors")},
                         {"order_errors": 0, "lparam_errors": 0, "wparam_errors": 0},
                         "every posted message arrives once, in order, unchanged but for a character")
        self.assertEqual(totals["handled"], FLOOD + AFTER_EXIT_FLOOD)
        self.assertEqual(totals["apps"], totals["handled"] // 2)
        self.assertEqual(totals["typed"], typed_count)

        wrong, translated = [], {}
        for epoch, source, scan, ext, alt, shift, caps, ctrl, char, count in tallies:
            original = 0x100 + scan if source == "p" else typed_original(scan, ext, shift, caps)
            allowed = {outcome(s, original, scan, ext, alt, shift, caps, ctrl) if s else original
                       for s in epochs[epoch]}
            if char not in allowed:
                wrong.append(f"epoch {epoch} {epochs[epoch]}: {source} scan {scan:02x} ext={ext} alt={alt} "
                             f"shift={shift} caps={caps} ctrl={ctrl}: {char:#x} x{count}, allowed "
                             f"{sorted(map(hex, allowed))}")
            elif char != original and len(epochs[epoch]) == 1:
                coding, _, layout = epochs[epoch][0]
                translated[coding, layout] = translated.get((coding, layout), 0) + count
        self.assertFalse(wrong, f"{len(wrong)} tallies out of place, the first:\n" + "\n".join(wrong[:20]))
        self.assertEqual(set(translated), set(TABLES), "each table translated in some steady epoch")
        self.assertTrue(any(s[1] == 1 and s[0] for s in seen), "a coding left inactive by Num Lock")

        print(f"\nload: {FLOOD + AFTER_EXIT_FLOOD} messages posted ({FLOOD} in {flood_time:.0f} s), "
              f"{typed_count} keys typed, {changes} changes over {len(seen)} states, "
              f"{sum(translated.values())} characters translated in steady epochs, "
              f"{time.monotonic() - started_at:.0f} s in all")


if __name__ == "__main__":
    unittest.main()
