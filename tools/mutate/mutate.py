#!/usr/bin/env python3
"""Changes one rule of the library at a time and tells whether the native suites notice.

Each mutant in mutants.txt replaces one exact piece of text in one file of api/, display/,
render/ or messages/. The tree is copied once to a scratch folder (build/mutate/ of this
checkout) and built there; every mutant is then applied to the copy, rebuilt incrementally,
the native suites run until the first failure, and the file put back. A mutant is caught when
a suite fails, missed when they all pass. Run by hand, not in CI:

  tools/mutate/mutate.py [--list FILE] [--only SUBSTRING ...] [--jobs N]
  tools/mutate/mutate.py --check   # every mutant still applies to the tree (a CTest test)

Configure with ccache (installed on the build machines) so that putting a file back costs a
cache hit, not a compile.
"""
import argparse
import os
import pathlib
import shutil
import subprocess
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parents[2]
SCRATCH = ROOT / "build" / "mutate"


def parse(path):
    """The mutants: blocks of '[rule]', 'file: PATH', '- old line'..., '+ new line'..."""
    mutants, current = [], None
    for raw in path.read_text().splitlines():
        if raw.startswith("#") or not raw.strip():
            continue
        if raw.startswith("["):
            current = {"rule": raw.strip()[1:-1], "old": [], "new": []}
            mutants.append(current)
        elif raw.startswith("file: "):
            current["file"] = raw[6:].strip()
        elif raw.startswith("-"):
            current["old"].append(raw[2:])
        elif raw.startswith("+"):
            current["new"].append(raw[2:])
        else:
            sys.exit(f"{path}: cannot read line: {raw}")
    for m in mutants:
        m["old"], m["new"] = "\n".join(m["old"]), "\n".join(m["new"])
    return mutants


def sync(source):
    """Copies the files git knows or would know of, only those that differ, so that the
    scratch build stays incremental."""
    listed = subprocess.run(["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
                            cwd=ROOT, check=True, capture_output=True).stdout.split(b"\0")
    names = {n.decode() for n in listed if n}
    # Files the tree no longer has go too: a moved source left behind would still be found by
    # the build's file patterns.
    for copy in [p for p in source.rglob("*") if p.is_file()]:
        relative = copy.relative_to(source)
        if relative.parts[0] != "build" and relative.as_posix() not in names:
            copy.unlink()
    for name in sorted(names):
        origin, copy = ROOT / name, source / name
        if not origin.is_file():
            continue
        if copy.is_file() and copy.read_bytes() == origin.read_bytes():
            continue
        copy.parent.mkdir(parents=True, exist_ok=True)
        # A fresh modification time, newer than anything built from the old copy.
        shutil.copy(origin, copy)


def run(command, cwd, log):
    with open(log, "a") as out:
        out.write(f"\n$ {' '.join(command)}\n")
        out.flush()
        return subprocess.run(command, cwd=cwd, stdout=out, stderr=subprocess.STDOUT).returncode


def stale(mutants):
    """The mutants whose text is not exactly once in their file, or whose file is missing."""
    found = []
    for m in mutants:
        path = ROOT / m.get("file", "")
        if not m.get("file") or not path.is_file():
            found.append(f"{m['rule']}: no file named {m.get('file')}")
        elif path.read_text().count(m["old"]) != 1:
            found.append(f"{m['rule']}: the text is not in {m['file']} exactly once")
        elif m["old"] == m["new"]:
            found.append(f"{m['rule']}: the mutant changes nothing")
    return found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--list", default=str(pathlib.Path(__file__).with_name("mutants.txt")))
    parser.add_argument("--only", nargs="*", default=[], help="rules containing any of these")
    parser.add_argument("--jobs", default=os.environ.get("QUORVEX_JOBS", "2"))
    parser.add_argument("--check", action="store_true",
                        help="only tell whether every mutant still applies to the tree")
    args = parser.parse_args()
    mutants = [m for m in parse(pathlib.Path(args.list))
               if not args.only or any(s in m["rule"] for s in args.only)]
    if args.check:
        problems = stale(mutants)
        for problem in problems:
            print(f"STALE  {problem}")
        print(f"{len(mutants) - len(problems)} of {len(mutants)} mutants apply")
        return 1 if problems or not mutants else 0

    source = SCRATCH / "src"
    build = source / "build" / "native"
    log = SCRATCH / "log.txt"
    source.mkdir(parents=True, exist_ok=True)
    log.write_text("")
    # The checkout as it stands, uncommitted changes included; the scratch build is kept.
    sync(source)
    configure = ["cmake", "-S", str(source), "-B", str(build), "-DQUORVEX_WERROR=ON",
                 "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                 "-DCMAKE_C_COMPILER_LAUNCHER=ccache", "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"]
    os.environ.setdefault("CCACHE_BASEDIR", str(source))
    if run(configure, source, log) or run(["cmake", "--build", str(build), "-j", args.jobs],
                                           source, log):
        sys.exit(f"the unchanged tree does not build: see {log}")

    caught = 0
    for number, m in enumerate(mutants, 1):
        path = source / m["file"]
        original = path.read_text()
        if original.count(m["old"]) != 1:
            print(f"{number:3} STALE  {m['rule']}: the text is not in {m['file']} exactly once")
            continue
        started = time.time()
        path.write_text(original.replace(m["old"], m["new"]))
        try:
            if run(["cmake", "--build", str(build), "-j", args.jobs], source, log):
                verdict = "NOBUILD"
            else:
                # Without the costs of earlier runs ctest starts the suites in the order they
                # are declared, the quick C++ ones first, and the first failure ends the run.
                (build / "Testing" / "Temporary" / "CTestCostData.txt").unlink(missing_ok=True)
                failed = run(["ctest", "--test-dir", str(build), "-j", args.jobs,
                              "--stop-on-failure", "--timeout", "120"], source, log)
                verdict = "caught" if failed else "MISSED"
        finally:
            path.write_text(original)
        caught += verdict == "caught"
        print(f"{number:3} {verdict:7} {m['rule']}  ({time.time() - started:.0f} s)", flush=True)
    print(f"caught {caught} of {len(mutants)}")
    # The scratch build is left holding the unchanged tree's sources, ready for the next run.
    run(["cmake", "--build", str(build), "-j", args.jobs], source, log)
    return 0 if caught == len(mutants) else 1


if __name__ == "__main__":
    sys.exit(main())
