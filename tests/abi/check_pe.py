#!/usr/bin/env python3
"""Checks a Windows DLL's export and import tables, read with the cross binutils' objdump.

check_pe.py OBJDUMP DLL EXPORT_LIST ALLOWED_IMPORTS
  the export directory names the DLL itself; it exports exactly the listed names,
  undecorated (no leading underscore, no "@N"); every alias shares its target's address;
  the DLL imports from the allowed DLLs only (comma-separated, case-insensitive).
check_pe.py OBJDUMP DLL - ALLOWED_IMPORTS
  for a DLL that exports an API of its own: the imports as above, and no export from the
  static C++ runtime, the unwinder or winpthread.
"""
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from check_exports import compare_with_list, read_export_list  # noqa: E402

RUNTIME_EXPORT = re.compile(r"^(_ZNS|_ZNKS|_ZSt|_ZNSt|_ZNKSt|_ZTVSt|_ZTISt|_ZTSSt|__cxa_|_Unwind_|__gxx_|pthread_|__emutls|_ZN9__gnu_cxx)")


def read_tables(objdump, dll):
    text = subprocess.run([objdump, "-p", dll], check=True, capture_output=True,
                          text=True).stdout
    match = re.search(r"^Name\s+[0-9a-fA-F]+\s+(\S+)$", text, re.M)
    dll_name = match.group(1) if match else None
    addresses = {int(i): rva for i, rva in
                 re.findall(r"^\s*\[\s*(\d+)\] \+base\[\s*\d+\]\s+([0-9a-f]+) Export RVA", text, re.M)}
    table = text.split("[Ordinal/Name Pointer] Table", 1)
    exports = {}
    if len(table) == 2:
        for line in table[1].splitlines()[1:]:
            found = re.match(r"^\s*\[\s*(\d+)\] (\S+)$", line)
            if not found:
                break
            exports[found.group(2)] = addresses.get(int(found.group(1)))
    imports = re.findall(r"DLL Name: (\S+)", text)
    return dll_name, exports, imports


def main(objdump, dll, export_list, allowed):
    dll_name, exports, imports = read_tables(objdump, dll)
    problems = []
    allowed_set = {name.lower() for name in allowed.split(",") if name}
    unexpected = [name for name in imports if name.lower() not in allowed_set]
    if unexpected:
        problems.append("unexpected imports: " + ", ".join(unexpected))
    if export_list == "-":
        runtime = sorted(name for name in exports if RUNTIME_EXPORT.match(name))
        if runtime:
            problems.append(f"{len(runtime)} runtime exports, e.g. " + ", ".join(runtime[:5]))
        if not exports:
            problems.append("exports nothing")
    else:
        names, aliases = read_export_list(export_list)
        if dll_name != os.path.basename(dll):
            problems.append(f"export directory names {dll_name}")
        problems += compare_with_list(names, aliases, exports)
    for problem in problems:
        print(problem)
    print(f"{os.path.basename(dll)}: {len(exports)} exports, imports {', '.join(imports)}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:5]))
