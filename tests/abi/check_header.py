#!/usr/bin/env python3
"""Compiles header_check.c against include/quorvex.h in every language mode and for every
compiler found, warnings as errors: C89, C99, C11 and C++98 with gcc and clang, 32-bit x86
with stdcall as the compiler's default, the Windows cross compilers, and a consumer that
predefines the two macros. Last, a copy of the header alone in an empty folder compiles in
C89 and C99: a caller who copies the one file needs nothing else of the project."""
import argparse
import functools
import pathlib
import shutil
import subprocess
import sys
import tempfile

WARNINGS = ["-Wall", "-Wextra", "-pedantic", "-Werror"]
MODES = [("c", "c89"), ("c", "c99"), ("c", "c11"), ("c++", "c++98")]


def variants():
    for compiler in ("gcc", "clang"):
        for language, standard in MODES:
            yield compiler, [f"-x{language}", f"-std={standard}"]
    # stdcall as the default must not reach the exports or the callback type.
    yield "gcc", ["-xc", "-std=c89", "-m32", "-mrtd"]
    yield "clang", ["-xc++", "-std=c++98", "-m32", "-mrtd"]
    yield "i686-w64-mingw32-gcc", ["-xc", "-std=c89", "-mrtd"]
    yield "i686-w64-mingw32-gcc", ["-xc++", "-std=c++98", "-mrtd"]
    yield "x86_64-w64-mingw32-gcc", ["-xc", "-std=c99"]
    yield "x86_64-w64-mingw32-gcc", ["-xc++", "-std=c++98"]
    # A consumer's own definitions win; a redefinition would warn.
    yield "gcc", ["-xc", "-std=c99", "-DQUORVEX_API=extern", "-DQUORVEX_CALL="]
    yield "i686-w64-mingw32-gcc", ["-xc", "-std=c99", "-DQUORVEX_API=", "-DQUORVEX_CALL=__cdecl"]


@functools.lru_cache(maxsize=None)
def can_target(compiler: str, machine: tuple) -> bool:
    """The 32-bit multilib may be missing on a machine; such a variant is reported, not run.
    Asked once per compiler and word size."""
    with tempfile.TemporaryDirectory() as folder:
        probe = pathlib.Path(folder) / "probe.c"
        probe.write_text("#include <stdint.h>\nint main(void) { return 0; }\n")
        result = subprocess.run([compiler, "-fsyntax-only", *machine, str(probe)],
                                capture_output=True, text=True)
    return result.returncode == 0


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("--include", action="append", required=True)
    parser.add_argument("--source", required=True)
    args = parser.parse_args()

    includes = [f"-I{folder}" for folder in args.include]
    failures = 0
    checked = 0
    for compiler, flags in variants():
        machine = tuple(flag for flag in flags if flag == "-m32")
        if shutil.which(compiler) is None or not can_target(compiler, machine):
            print(f"not available: {compiler} {' '.join(flags)}")
            continue
        command = [compiler, "-fsyntax-only", *WARNINGS, *flags, *includes, args.source]
        result = subprocess.run(command, capture_output=True, text=True)
        checked += 1
        if result.returncode != 0 or result.stderr.strip():
            failures += 1
            print(f"FAILED: {' '.join(command)}\n{result.stderr}")
        else:
            print(f"ok: {compiler} {' '.join(flags)}")
    header = next(pathlib.Path(folder) / "quorvex.h" for folder in args.include
                  if (pathlib.Path(folder) / "quorvex.h").exists())
    with tempfile.TemporaryDirectory() as folder:
        shutil.copy(header, folder)
        source = pathlib.Path(folder) / "alone.c"
        source.write_text('#include "quorvex.h"\nint main(void) { return QUORVEX_VERSION_MAJOR; }\n')
        for standard in ("c89", "c99"):
            command = ["gcc", "-fsyntax-only", *WARNINGS, f"-std={standard}", str(source)]
            result = subprocess.run(command, capture_output=True, text=True, cwd=folder)
            checked += 1
            if result.returncode != 0 or result.stderr.strip():
                failures += 1
                print(f"FAILED (the header alone): {' '.join(command)}\n{result.stderr}")
            else:
                print(f"ok: the header alone, gcc -std={standard}")
    print(f"{checked} compilations, {failures} failed")
    return 1 if failures or checked == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
