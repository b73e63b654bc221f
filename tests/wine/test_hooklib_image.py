"""Tavrilex.dll as a process sees it: the shared record that the library
file starts out with is, byte for byte, the one built from the tables' one
source, and a process mapping the library sees exactly that. (The file's
headers, exports and imports are read in test_files.py.)"""

import unittest

from hooklib_support import PROGRAMS, Driver, Record
from pe_image import PeImage
from winetest import WineSession, built


class InitialRecordTest(unittest.TestCase):
    def test_a_process_sees_the_record_built_from_the_tables_source(self):
        stored = PeImage(built("Tavrilex.dll")).section_bytes(".swdata")
        with WineSession() as wine:
            wine.install(*PROGRAMS)
            driver = Driver(wine)
            expected = bytes.fromhex(driver.ask("initial")[0])
            seen_by_a_process = driver.record().data
            driver.close()
        self.assertEqual(len(expected), Record.SIZE)
        self.assertEqual(stored[:Record.SIZE], expected)
        self.assertEqual(seen_by_a_process[:Record.SIZE], expected)


if __name__ == "__main__":
    unittest.main()
