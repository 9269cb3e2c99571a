#!/usr/bin/env python3
"""Checks every #include of the C and C++ sources against tools/layers/layers.txt and finds
include circles among the project's own modules (a header with its source); with --update, writes the table into
docs/conventions.md, whose copy must otherwise match it.

Usage: check_layers.py [--root DIR] [--update]
"""
import argparse
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
SOURCES = (".h", ".hpp", ".c", ".cc", ".cpp", ".inc")
DOC_BEGIN = "<!-- layers: generated from tools/layers/layers.txt by check_layers.py --update -->"
DOC_END = "<!-- end of layers -->"


def read_table(path):
    areas = []
    for line in path.read_text().splitlines():
        if not line.strip() or line.startswith("#"):
            continue
        name, folders, allowed, meaning = (field.strip() for field in line.split("|"))
        areas.append({
            "name": name,
            "folders": [f.strip() for f in folders.split(",")],
            "allowed": set() if allowed == "-" else {a.strip() for a in allowed.split(",")},
            "meaning": meaning,
        })
    return areas


def area_of(relative, areas):
    best = None
    for area in areas:
        for folder in area["folders"]:
            if relative.startswith(folder) and (best is None or len(folder) > len(best[1])):
                best = (area, folder)
    return best[0] if best else None


def resolve(root, source, name):
    candidates = [source.parent / name, root / name, root / "include" / name]
    relative = source.relative_to(root).parts
    if relative[0] == "standins" and len(relative) > 2:
        candidates.append(root / "standins" / relative[1] / name)
    candidates += sorted(root.glob(f"standins/*/include/{name}"))
    candidates += sorted(root.glob(f"standins/*/controls/include/{name}"))
    for candidate in candidates:
        if candidate.is_file():
            return candidate.resolve()
    return None


def doc_table(areas):
    rows = ["| Area | Folders | May include | What it is |", "|---|---|---|---|"]
    for area in areas:
        folders = ", ".join(f"`{f}`" for f in area["folders"])
        allowed = ", ".join(sorted(area["allowed"])) or "nothing of the project"
        rows.append(f"| {area['name']} | {folders} | {allowed} | {area['meaning']} |")
    return "\n".join(rows)


def circles(graph):
    """Each include circle once, as a list of files."""
    found, state, stack = [], {}, []

    def visit(node):
        state[node] = "open"
        stack.append(node)
        for target in sorted(graph.get(node, ())):
            if state.get(target) == "open":
                found.append(stack[stack.index(target):] + [target])
            elif target not in state:
                visit(target)
        stack.pop()
        state[node] = "done"

    for node in sorted(graph):
        if node not in state:
            visit(node)
    return found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", default=str(pathlib.Path(__file__).resolve().parents[2]))
    parser.add_argument("--update", action="store_true")
    args = parser.parse_args()
    root = pathlib.Path(args.root).resolve()
    areas = read_table(root / "tools" / "layers" / "layers.txt")
    names = {area["name"] for area in areas}
    problems = []
    for area in areas:
        unknown = area["allowed"] - names
        if unknown:
            problems.append(f"layers.txt: area {area['name']} names unknown areas {unknown}")

    graph, checked = {}, 0
    for source in sorted(root.rglob("*")):
        relative = source.relative_to(root).as_posix()
        if source.suffix not in SOURCES or relative.startswith(("build/", ".")):
            continue
        own = area_of(relative, areas)
        for name in INCLUDE.findall(source.read_text(errors="replace")):
            target = resolve(root, source, name)
            if target is None:
                continue  # a file the build generates
            # A header and its source are one module: x.cc including y.h while y.h includes
            # x.h is a circle too. x_detail.h is the private part of module x.
            module, used = (re.sub(r"_detail$", "", pathlib.PurePosixPath(p).with_suffix("").as_posix())
                            for p in (relative, target.relative_to(root).as_posix()))
            if module != used:
                graph.setdefault(module, set()).add(used)
            if own is None:
                continue  # tests, fuzzers, benchmarks and examples may include what they test
            checked += 1
            theirs = area_of(target.relative_to(root).as_posix(), areas)
            if theirs is None or (theirs["name"] != own["name"] and
                                  theirs["name"] not in own["allowed"]):
                problems.append(f"{relative}: includes \"{name}\" "
                                f"({theirs['name'] if theirs else 'outside every area'}), "
                                f"which {own['name']} may not")
    for circle in circles(graph):
        problems.append("include circle: " + " -> ".join(circle))

    doc = root / "docs" / "conventions.md"
    text = doc.read_text()
    begin, end = text.find(DOC_BEGIN), text.find(DOC_END)
    if begin < 0 or end < 0:
        problems.append(f"{doc}: the markers of the layer table are missing")
    else:
        updated = text[:begin] + DOC_BEGIN + "\n" + doc_table(areas) + "\n" + text[end:]
        if args.update:
            doc.write_text(updated)
        elif updated != text:
            problems.append(f"{doc}: the layer table differs from layers.txt (run with --update)")

    for problem in problems:
        print(problem)
    print(f"{checked} includes checked against {len(areas)} areas, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
