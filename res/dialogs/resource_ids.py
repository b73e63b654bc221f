"""The ids of res/resource_ids.h, read from the header itself, for the
Python that builds the dialog templates and for the tests: the header is
the one place they are written down."""

import os
import re

HEADER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resource_ids.h")


def read(header=HEADER):
    """{name: value} of every "#define ID... <number>" in the header."""
    with open(header) as f:
        return {name: int(value, 0) for name, value in re.findall(r"^#define\s+(ID\w*)\s+(\w+)", f.read(), re.M)}
