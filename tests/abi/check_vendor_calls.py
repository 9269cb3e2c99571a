#!/usr/bin/env python3
"""Compares the vendor symbols a built library imports with engine/vendor_calls.txt.

The list is what a build against the real vendor libraries must satisfy, so it may neither
miss a call the library makes nor name one it no longer makes. Type information is not a
call, and which of it a build imports depends on the compiler and its sanitizers.
"""
import re
import subprocess
import sys

VENDOR = re.compile(r"^(HalconCpp|HDevEngineCpp)::")


def listed(path):
    with open(path, encoding="utf-8") as handle:
        return {line.strip() for line in handle if line.strip() and not line.startswith("#")}


def imported(library):
    output = subprocess.run(
        ["nm", "-D", "--undefined-only", "-C", library], check=True, capture_output=True, text=True
    ).stdout
    names = set()
    for line in output.splitlines():
        name = line.strip()
        if name.startswith("U "):
            name = name[2:].strip()
        if VENDOR.match(name):
            names.add(name)
    return names


def main(library, list_path):
    expected, actual = listed(list_path), imported(library)
    for name in sorted(actual - expected):
        print(f"called but not listed in {list_path}: {name}")
    for name in sorted(expected - actual):
        print(f"listed but no longer called: {name}")
    return 0 if expected == actual else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
