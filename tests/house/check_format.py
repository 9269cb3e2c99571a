#!/usr/bin/env python3
"""Every C and C++ source of the tree is as clang-format (with the tree's .clang-format) would
write it. Exits 77, which CTest reads as skipped, where clang-format is not installed.

Usage: check_format.py --root DIR
"""
import argparse
import pathlib
import shutil
import subprocess
import sys

SUFFIXES = {".c", ".cc", ".cpp", ".h", ".hpp"}
SKIPPED = ("build/", ".git/")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    args = parser.parse_args()
    root = pathlib.Path(args.root).resolve()
    tool = shutil.which("clang-format")
    if tool is None:
        print("clang-format is not installed")
        return 77
    files = sorted(str(p.relative_to(root)) for p in root.rglob("*")
                   if p.suffix in SUFFIXES and p.is_file()
                   and not p.relative_to(root).as_posix().startswith(SKIPPED))
    failed = 0
    for start in range(0, len(files), 100):
        result = subprocess.run([tool, "--dry-run", "-Werror", *files[start:start + 100]],
                                cwd=root, capture_output=True, text=True)
        if result.returncode:
            failed += 1
            print(result.stderr[:20000])
    print(f"{len(files)} files checked with {tool}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
