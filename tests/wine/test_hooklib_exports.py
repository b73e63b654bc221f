"""The library's control exports and its shared record, called for real
under Wine from several processes at once: what one process stores, every
other one sees."""

import unittest

from hooklib_support import SCAN_Q, Client, Driver, Record, hook_session
from test_e2e import DRIVER_NAMES, TABLES
from winetest import ARCH, wait_until

NO_ENTRY = (0, 0, 0, 0)


def race_for_the_lock(keeper, starters, gate):
    """Releases the starters' DllLock calls at one instant (a named event
    that the keeper sets); checks that exactly one got the lock and returns
    that one."""
    for starter in starters:
        starter.send(f"gate {gate}", "lock self")
    for starter in starters:
        starter.expect("gate waiting", timeout=120)
    keeper.call(f"open {gate}")
    results = [int(starter.expect("lock ").split()[1]) for starter in starters]
    assert sorted(results) == [0] * (len(starters) - 1) + [1], results
    return starters[results.index(1)]


def pattern(fill, count):
    """Entries as the driver's pattern:<fill> table holds them."""
    return [(i + 1, 0, fill, i) for i in range(count)]


class SharedRecordTest(unittest.TestCase):
    def test_a_second_process_sees_what_the_first_stored_while_any_maps_the_library(self):
        with hook_session() as wine:
            # No hook: once installed, it is injected into Wine's own desktop
            # process, which would keep the library mapped to the end.
            first = Driver(wine, "toggler 1", "beeper 0", "ctrl koi8p 47", "lock self")
            window = Client(wine)
            first.ask(f"reg {window.hwnd}")

            second = Driver(wine)
            record = second.record()
            self.assertEqual(record.library, first.module)
            self.assertEqual((record.window, record.method, record.beeper, record.count), (window.hwnd, 1, 0, 47))
            self.assertEqual(record.entries[:47], second.table("koi8p"))
            self.assertEqual(second.call("lock self"), 0, "the lock is held by the first process")

            # The first process ends; the record lives on in those that map it.
            self.assertEqual(record.holder, second.identity(first.pid))
            self.assertEqual(first.close(), 0)
            self.assertEqual(second.record().library, first.module)
            self.assertEqual(second.record().entries[:47], second.table("koi8p"))
            window.close()
            second.close()

            # Once no process maps it, the next one starts from the file's values.
            fresh = Driver(wine)
            self.assertEqual(fresh.record().data[:Record.SIZE], bytes.fromhex(fresh.ask("initial")[0]))
            fresh.close()


class DllCtrlTest(unittest.TestCase):
    def test_tables_are_copied_whether_or_not_a_hook_goes_in(self):
        with hook_session() as wine:
            app = Driver(wine)
            koi8t, koi8p, cp1251t = app.table("koi8t"), app.table("koi8p"), app.table("cp1251t")
            reader = Driver(wine)

            self.assertEqual(app.call("ctrl null 0"), 0, "no hook to remove")
            self.assertEqual(reader.record().hook, 0)

            self.assertEqual(app.call("ctrl koi8t 47"), 0, "no hook before the lock is taken")
            record = reader.record()
            self.assertEqual((record.hook, record.count), (0, 47))
            self.assertEqual(record.entries[:47], koi8t)

            app.call("lock self")
            self.assertEqual(app.call("ctrl cp1251t 47"), 1)
            hook = reader.record().hook
            self.assertNotEqual(hook, 0)
            self.assertEqual(reader.record().entries[:47], cp1251t)

            self.assertEqual(app.call("ctrl koi8p 47"), 1, "a table twice in a row")
            record = reader.record()
            self.assertEqual(record.hook, hook, "the hook installed first stays")
            self.assertEqual(record.entries[:47], koi8p)

            self.assertEqual(app.call("ctrl null 0"), 0)
            record = reader.record()
            self.assertEqual((record.hook, record.count), (0, 47), "removal keeps table and count")
            self.assertEqual(record.entries[:47], koi8p)

            self.assertEqual(app.call("ctrl koi8t 47"), 1, "a table after a removal re-installs")
            self.assertNotEqual(reader.record().hook, 0)
            self.assertEqual(reader.record().entries[:47], koi8t)

            self.assertEqual(app.call("ctrl pattern:0xAB 10"), 1)
            record = reader.record()
            self.assertEqual(record.count, 10)
            self.assertEqual(record.entries[:10], pattern(0xAB, 10))
            self.assertEqual(record.entries[10:47], koi8t[10:], "entries past the count keep their bytes")

            self.assertEqual(app.call("ctrl koi8p 0"), 1)
            self.assertEqual(reader.record().count, 0)
            self.assertEqual(reader.record().entries[:10], pattern(0xAB, 10), "count 0 copies nothing")

    def test_counts_outside_0_to_64_touch_no_entry_beyond_the_64th(self):
        # "guarded" hands over 64 entries that end where unreadable memory
        # begins: reading a 65th would end the driver with an access fault.
        with hook_session() as wine:
            app = Driver(wine, "lock self")
            reader = Driver(wine)
            for count in (65, 100, 0x7FFFFFFF):
                app.call("ctrl koi8t 47")
                self.assertEqual(app.call(f"ctrl guarded {count}"), 1, count)
                record = reader.record()
                self.assertEqual(record.count, 64, count)
                self.assertEqual(record.entries, pattern(0x5A, 64), count)
            self.assertEqual(reader.record().data[Record.SIZE:].count(0), len(reader.record().data) - Record.SIZE,
                             "the section's padding after the record")

            app.call("ctrl koi8t 47")
            for count in (-1, -64, -0x80000000):
                self.assertEqual(app.call(f"ctrl guarded {count}"), 1, count)
                record = reader.record()
                self.assertEqual(record.count, 0, count)
                self.assertEqual(record.entries[:47], reader.table("koi8t"), count)
            self.assertIsNone(app.proc.poll(), "the driver is still running")

    def test_one_hook_however_often_and_from_wherever_a_table_is_given(self):
        # Under Ctrl+Shift (cycled) every hook in the chain flips the switch:
        # with two hooks one press would flip it on and straight back off.
        with hook_session() as wine:
            app = Driver(wine, "lock self", "toggler 2", "beeper 0", "ctrl koi8t 47", "ctrl koi8t 47")
            other = Driver(wine, "ctrl koi8p 47")
            self.assertEqual(other.answers, [["1"]])
            client = Client(wine)
            client.keys(ctrl=0x80)
            client.shift_down(0x36)
            self.assertEqual(app.record().switch, 1)
            client.keys()
            self.assertEqual(client.char(SCAN_Q), 0xD1, "the latest table (KOI8 phonetic) is in use")


class SmallExportsTest(unittest.TestCase):
    def test_beeper_toggler_reg_and_automend_store_what_they_return(self):
        with hook_session() as wine:
            app = Driver(wine)
            reader = Driver(wine)
            for flag, stored in ((2, 0), (3, 1), (0xFFFFFFFF, 1), (0, 0)):
                self.assertEqual(app.call(f"beeper {flag}"), stored, flag)
                self.assertEqual(reader.record().beeper, stored, flag)
            for method in (7, -1, 0):
                self.assertEqual(app.call(f"toggler {method}"), method)
                self.assertEqual(reader.record().method, method)
            self.assertEqual(app.call("reg 0x00012345"), 1)
            self.assertEqual(reader.record().window, 0x12345)
            self.assertEqual(app.call("reg 0"), 1)
            self.assertEqual(reader.record().window, 0)
            # The automatic mend's flag: off in the file, stored as 0 or 1,
            # and off again whenever a new holder takes the lock.
            self.assertEqual(reader.record().auto_mend, 0)
            for flag, stored in ((5, 1), (0, 0), (-1, 1)):
                self.assertEqual(app.call(f"automend {flag}"), stored, flag)
                self.assertEqual(reader.record().auto_mend, stored, flag)
            self.assertEqual(app.call("lock self"), 1)
            self.assertEqual(reader.record().auto_mend, 0)
            app.call("automend 1")
            self.assertEqual(reader.call("lock self"), 0, "refused: the holder runs")
            self.assertEqual(reader.record().auto_mend, 1, "a refused lock changes nothing")

    def test_handles_are_stored_whole_in_every_build(self):
        # All bits of a pointer-sized handle, the top ones included.
        widest = (1 << (8 * Record.HANDLES.size // 3)) - 0x1234
        with hook_session() as wine:
            app = Driver(wine)
            reader = Driver(wine)
            self.assertEqual(app.call(f"reg {widest:#x}"), 1)
            self.assertEqual(reader.record().window, widest)
            self.assertEqual(app.call("lock self"), 1)
            self.assertEqual(reader.record().library, app.module)
            if ARCH == "win64":
                self.assertGreater(app.module, 0xFFFFFFFF, "the library is mapped above 4 GiB here")


class DllLockTest(unittest.TestCase):
    def test_lock_with_a_null_module_leaves_it_free(self):
        with hook_session() as wine:
            app = Driver(wine, "lock 0")
            self.assertEqual(app.answers, [["1"]])
            self.assertEqual(app.record().library, 0)
            self.assertEqual(app.call("lock self"), 1)
            self.assertEqual(Driver(wine).call("lock self"), 0)

    def test_of_twenty_processes_released_at_one_instant_one_takes_the_lock(self):
        with hook_session() as wine:
            keeper = Driver(wine)  # keeps the record mapped until all have answered
            winner = race_for_the_lock(keeper, [Driver(wine) for _ in range(20)], "vyrtel-lock-race")
            self.assertEqual(keeper.record().library, winner.module)

    def test_refused_lock_restores_the_registered_window_and_brings_it_forward(self):
        with hook_session() as wine:
            app = Driver(wine, "lock self")
            frame = Client(wine, "registered frame")
            elsewhere = Client(wine, "another window")
            app.ask(f"reg {frame.hwnd}")
            frame.ask("minimize")
            wait_until(lambda: elsewhere.state()["foreground"] == "1", what="another window in front")
            self.assertEqual(frame.state()["iconic"], "1")

            self.assertEqual(Driver(wine).call("lock self"), 0)
            self.assertEqual(wait_until(lambda: frame.state()["foreground"] == "1" and frame.state(),
                                        what="the frame in front"), {"iconic": "0", "foreground": "1", "window": "1"})

    def test_refused_lock_activates_nothing_while_no_window_is_registered(self):
        with hook_session() as wine:
            app = Driver(wine, "lock self")
            frame = Client(wine, "unregistered frame")
            frame.ask("minimize")
            app.ask("reg 0")
            self.assertEqual(Driver(wine).call("lock self"), 0)
            self.assertEqual(frame.state()["iconic"], "1")

    def test_lock_of_an_ended_holder_is_taken_over_and_its_window_forgotten(self):
        # The record outlives the holder in every process that still maps
        # the library; the lock does not.
        with hook_session() as wine:
            holder = Driver(wine, "lock self")
            frame = Client(wine)
            holder.ask(f"reg {frame.hwnd}")
            keeper = Driver(wine)  # maps the library after the holder has gone
            self.assertEqual(keeper.record().holder, keeper.identity(holder.pid))
            frame.ask("destroy")
            self.assertEqual(holder.close(), 0)

            successor = Driver(wine)
            self.assertEqual(successor.call("lock self"), 1)
            record = keeper.record()
            self.assertEqual(record.holder, keeper.identity(successor.pid))
            self.assertEqual((record.library, record.window), (successor.module, 0))
            self.assertEqual(Driver(wine).call("lock self"), 0, "the successor holds it now")
            self.assertEqual(successor.call("lock self"), 0, "held: even by the caller itself")

    def test_lock_of_a_terminated_holder_is_taken_over_with_its_hook_removed(self):
        # Ended by TerminateProcess, the holder removes nothing. Wine 8 goes
        # on calling its hook; the successor's start must still end with
        # exactly one hook in the chain, the record naming it.
        with hook_session() as wine:
            holder = Driver(wine, "lock self", "toggler 2", "beeper 0", "ctrl koi8t 47")
            client = Client(wine)
            frame = Client(wine, "holder's frame")
            holder.ask(f"reg {frame.hwnd}")
            keeper = Driver(wine)
            self.assertNotEqual(keeper.record().hook, 0)
            self.assertEqual(keeper.call(f"terminate {holder.pid}"), 1, "ended, as Windows sees it")
            holder.proc.wait(timeout=30)

            successor = Driver(wine)
            self.assertEqual(successor.call("lock self"), 1)
            record = keeper.record()
            self.assertEqual((record.hook, record.window, record.library), (0, 0, successor.module),
                             "the ended holder's hook and window are forgotten")
            self.assertEqual(frame.state()["window"], "1", "the window itself is left alone")
            self.assertEqual(client.char(SCAN_Q), ord("q"), "no hook translates any more")

            self.assertEqual(successor.call("ctrl koi8t 47"), 1)
            self.assertNotEqual(keeper.record().hook, 0)
            client.keys(ctrl=0x80)
            client.shift_down(0x36)
            self.assertEqual(keeper.record().switch, 1, "one hook flipped the switch once")
            client.keys()
            self.assertEqual(client.char(SCAN_Q), 0xCA)

    def test_a_holder_that_ended_while_others_keep_its_process_object_is_taken_over(self):
        with hook_session() as wine:
            holder = Driver(wine, "lock self")
            keeper = Driver(wine)
            self.assertEqual(keeper.call(f"hold {holder.pid}"), 1)
            self.assertEqual(holder.close(), 0)
            self.assertEqual(Driver(wine).call("lock self"), 1)

    def test_a_process_is_the_holder_only_with_the_creation_time_recorded(self):
        # A process id of an ended holder may be given to a new process: the
        # lock word pairs it with the holder's creation time. Here a live
        # process stands in for the one that got the id again.
        with hook_session() as wine:
            keeper = Driver(wine)
            live = Driver(wine)
            pid, created = keeper.identity(live.pid)
            self.assertNotEqual(created, 0)

            keeper.ask("holder %#x" % ((created ^ 1) << 32 | pid))
            taker = Driver(wine)
            self.assertEqual(taker.call("lock self"), 1, "same id, another creation time: not the holder")
            self.assertEqual(keeper.record().holder, keeper.identity(taker.pid))

            keeper.ask("holder %#x" % (created << 32 | pid))
            self.assertEqual(taker.call("lock self"), 0, "id and creation time: the holder, still running")
            self.assertEqual(keeper.record().holder, (pid, created))

            # No process with that id at all.
            self.assertEqual(live.close(), 0)
            self.assertEqual(taker.call("lock self"), 1)

    def test_lock_with_a_null_module_releases_an_ended_holders_lock(self):
        with hook_session() as wine:
            holder = Driver(wine, "lock self")
            keeper = Driver(wine)
            self.assertEqual(holder.close(), 0)
            self.assertEqual(keeper.call("lock 0"), 1)
            record = keeper.record()
            self.assertEqual((record.holder, record.library), ((0, 0), 0))
            self.assertEqual(Driver(wine).call("lock self"), 1)

    def test_of_twenty_processes_racing_for_an_ended_holders_lock_one_takes_it(self):
        with hook_session() as wine:
            holder = Driver(wine, "lock self")
            keeper = Driver(wine)
            starters = [Driver(wine) for _ in range(20)]
            self.assertEqual(holder.close(), 0)
            winner = race_for_the_lock(keeper, starters, "vyrtel-takeover-race")
            record = keeper.record()
            self.assertEqual((record.holder, record.library), (keeper.identity(winner.pid), winner.module))


def letter_pattern(first, count):
    """Letters as the driver's pattern:<first> letters hold them, per entry."""
    return [(first + 2 * i, first + 2 * i + 1) for i in range(count)]


def builtin_letters(driver_name):
    """The letters of a built-in table, per entry (the closing entry: none)."""
    choice = next(choice for choice, name in DRIVER_NAMES.items() if name == driver_name)
    return [tuple(ord(sign) for sign in key.signs) for key in TABLES[choice]] + [(0, 0)]


class DllCtrlWTest(unittest.TestCase):
    def test_letters_travel_with_the_table_and_every_process_sees_them(self):
        with hook_session() as wine:
            app = Driver(wine)
            reader = Driver(wine)
            self.assertEqual(app.call("ctrlw koi8t koi8t 47"), 0, "no hook before the lock is taken")
            record = reader.record()
            self.assertEqual((record.hook, record.count), (0, 47))
            self.assertEqual(record.entries[:47], reader.table("koi8t"))
            self.assertEqual(record.letters[:47], builtin_letters("koi8t"), "a second process sees the letters")
            self.assertEqual(record.letters[47:], [(0, 0)] * 17)

            app.call("lock self")
            self.assertEqual(app.call("ctrlw cp1251p cp1251p 47"), 1)
            hook = reader.record().hook
            self.assertNotEqual(hook, 0)
            self.assertEqual(reader.record().letters[:47], builtin_letters("cp1251p"))

            # A null table removes the hook and keeps table, count and letters.
            self.assertEqual(app.call("ctrlw null koi8t 47"), 0)
            record = reader.record()
            self.assertEqual((record.hook, record.count), (0, 47))
            self.assertEqual(record.entries[:47], reader.table("cp1251p"))
            self.assertEqual(record.letters[:47], builtin_letters("cp1251p"))

            # Letters for the entries copied; those past the count keep theirs.
            self.assertEqual(app.call("ctrlw pattern:0xAB pattern:0x0500 10"), 1)
            record = reader.record()
            self.assertEqual(record.letters[:10], letter_pattern(0x0500, 10))
            self.assertEqual(record.letters[10:47], builtin_letters("cp1251p")[10:])

            # Null letters, and DllCtrl itself, leave the record with none.
            self.assertEqual(app.call("ctrlw koi8t null 47"), 1)
            record = reader.record()
            self.assertEqual(record.letters, [(0, 0)] * 64)
            self.assertEqual(record.entries[:47], reader.table("koi8t"))
            app.call("ctrlw koi8t koi8t 47")
            self.assertEqual(app.call("ctrl koi8p 47"), 1)
            record = reader.record()
            self.assertEqual(record.letters, [(0, 0)] * 64, "DllCtrl clears the letters")
            self.assertNotEqual(record.hook, 0)

    def test_counts_outside_0_to_64_read_no_letter_beyond_the_64th(self):
        # "guarded" letters end where unreadable memory begins: reading the
        # letters of a 65th entry would end the driver with an access fault.
        with hook_session() as wine:
            app = Driver(wine, "lock self")
            reader = Driver(wine)
            for count in (65, 1000, 0x7FFFFFFF):
                app.call("ctrlw koi8t koi8t 47")
                self.assertEqual(app.call(f"ctrlw guarded guarded {count}"), 1, count)
                record = reader.record()
                self.assertEqual(record.count, 64, count)
                self.assertEqual(record.letters, letter_pattern(0x0400, 64), count)
            app.call("ctrlw koi8t koi8t 47")
            for count in (-1, -0x80000000):
                self.assertEqual(app.call(f"ctrlw guarded guarded {count}"), 1, count)
                record = reader.record()
                self.assertEqual(record.count, 0, count)
                self.assertEqual(record.letters[:47], builtin_letters("koi8t"), "nothing copied")
            self.assertIsNone(app.proc.poll(), "the driver is still running")


if __name__ == "__main__":
    unittest.main()
