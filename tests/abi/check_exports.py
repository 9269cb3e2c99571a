#!/usr/bin/env python3
"""Compares a built library's exported symbols with the project's export list.

Every listed name must be exported, nothing else may be, and every alias must share the
address of the entry point it names.
"""
import subprocess
import sys


def read_export_list(path):
    names, aliases = [], {}
    with open(path, encoding="utf-8") as handle:
        for line in handle:
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            name, _, target = (part.strip() for part in line.partition("="))
            names.append(name)
            if target:
                aliases[name] = target
    return names, aliases


def exported_symbols(library):
    output = subprocess.run(
        ["nm", "-D", "--defined-only", library], check=True, capture_output=True, text=True
    ).stdout
    symbols = {}
    for line in output.splitlines():
        fields = line.split()
        if len(fields) == 3 and fields[1] in "TtWi":
            symbols[fields[2].split("@")[0]] = int(fields[0], 16)
    return symbols


def compare_with_list(names, aliases, symbols):
    """What differs between the listed names and the exported symbols (name to address)."""
    problems = []
    missing = sorted(set(names) - set(symbols))
    extra = sorted(set(symbols) - set(names))
    if missing:
        problems.append("missing: " + ", ".join(missing))
    if extra:
        problems.append("exported but not listed: " + ", ".join(extra))
    for alias, target in sorted(aliases.items()):
        if alias in symbols and target in symbols and symbols[alias] != symbols[target]:
            problems.append(f"{alias} is a copy, not an alias of {target}")
    return problems


def main(library, export_list):
    names, aliases = read_export_list(export_list)
    symbols = exported_symbols(library)
    problems = compare_with_list(names, aliases, symbols)
    for problem in problems:
        print(problem)
    print(f"{len(names)} names listed, {len(symbols)} exported, {len(aliases)} aliases")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
