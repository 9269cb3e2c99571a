"""The thread_locals of a library loaded at run time whose own are in the loader's static TLS
block (the DF_STATIC_TLS flag) all land in that block, which keeps only a few hundred bytes
beyond the program's: a library over it fails to load ("cannot allocate memory in static TLS
block"). Each such library's TLS segment stays within a budget well under that room."""
import argparse
import re
import subprocess
import sys

BUDGET = 512  # bytes; glibc keeps about 1600 for every library loaded at run time together


def segment_and_flags(path):
    headers = subprocess.run(["readelf", "-lW", path], check=True, capture_output=True,
                             text=True).stdout
    dynamic = subprocess.run(["readelf", "-dW", path], check=True, capture_output=True,
                             text=True).stdout
    size = 0
    for line in headers.splitlines():
        fields = line.split()
        if fields and fields[0] == "TLS":
            size = int(fields[5], 16)  # MemSiz
    return size, re.search(r"\(FLAGS\).*STATIC_TLS", dynamic) is not None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("libraries", nargs="+")
    failed = False
    for path in parser.parse_args().libraries:
        size, static = segment_and_flags(path)
        print(f"{path}: TLS {size} bytes{', static' if static else ''}")
        if static and size > BUDGET:
            print(f"  over the budget of {BUDGET}: hold larger thread_locals behind a pointer "
                  "(keptOnThread in core/threads.h)")
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
