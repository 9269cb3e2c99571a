#!/usr/bin/env python3
"""Assemble the quorvex wheel with the standard library only (no build backend, no index).

The wheel holds the package and, inside it, the library files the build staged (the
quorvex library and the stand-ins it was built with, their run paths pointing beside
themselves), so that ``pip install --no-index quorvex-*.whl`` is all a user needs.

Usage: build_wheel.py --package python/quorvex --resources resources --libraries STAGED_DIR
                      --version X.Y.Z --out DIR --license-file LICENSE --license NAME
                      --summary TEXT --author NAME --homepage URL --repository URL

The version is the project's (CMake's PROJECT_VERSION): it names the wheel, fills its
metadata and is written into the package's _version.py. The licence, summary, author and
addresses are the project's too (cmake/PackageMetadata.cmake); the licence file travels in
the wheel's .dist-info folder.
"""
import argparse
import base64
import hashlib
import os
import sys
import sysconfig
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import manylinux  # noqa: E402

NAME = "quorvex"


def platform_tag(libraries):
    """The wheel's platform tag: on Linux the manylinux one its libraries' symbol versions
    allow (so that pip refuses it on an older system), else the interpreter's platform."""
    platform = sysconfig.get_platform()
    if platform.startswith("linux-"):
        found = [os.path.join(folder, name) for folder, _, names in os.walk(libraries)
                 for name in names if name.endswith(".so")]
        return manylinux.tag(sorted(found), platform.split("-", 1)[1])
    return platform.replace("-", "_").replace(".", "_")


def record_line(name, data):
    digest = base64.urlsafe_b64encode(hashlib.sha256(data).digest()).rstrip(b"=").decode()
    return f"{name},sha256={digest},{len(data)}"


def metadata_text(version, description, about):
    """The METADATA file (core metadata 2.1; License-File as setuptools writes it)."""
    lines = ["Metadata-Version: 2.1", f"Name: {NAME}", f"Version: {version}",
             f"Summary: {about['summary']}", f"Author: {about['author']}"]
    lines += [f"Home-page: {about['homepage']}", f"Project-URL: Homepage, {about['homepage']}",
              f"Project-URL: Repository, {about['repository']}", f"License: {about['license']}",
              "License-File: LICENSE", "Requires-Python: >=3.8"]
    if about["license"] == "Proprietary":
        lines.append("Classifier: License :: Other/Proprietary License")
    lines += ["Classifier: Programming Language :: Python :: 3",
              "Classifier: Operating System :: Microsoft :: Windows",
              "Classifier: Operating System :: POSIX :: Linux",
              "Description-Content-Type: text/markdown"]
    return "\n".join(lines) + "\n\n" + description


def build(package, resources, libraries, version, out, about):
    files = []
    for name in sorted(os.listdir(package)):
        # py.typed marks the package as typed for type checkers.
        if (name.endswith(".py") and name != "_version.py") or name == "py.typed":
            files.append((f"{NAME}/{name}", os.path.join(package, name)))
    # What the package shares with quorvex-run (the report page, the snapshot procedure) sits
    # beside its modules.
    for name in sorted(os.listdir(resources)):
        files.append((f"{NAME}/{name}", os.path.join(resources, name)))
    # Folders beside the libraries (the engine stand-in's standard procedures) keep their
    # place relative to them.
    for folder, subfolders, names in os.walk(libraries):
        subfolders.sort()
        relative = os.path.relpath(folder, libraries).replace(os.sep, "/")
        prefix = NAME if relative == "." else f"{NAME}/{relative}"
        for name in sorted(names):
            files.append((f"{prefix}/{name}", os.path.join(folder, name)))
    info = f"{NAME}-{version}.dist-info"
    tag = platform_tag(libraries)
    readme = os.path.join(os.path.dirname(os.path.abspath(package)), "README.md")
    with open(readme, encoding="utf-8") as file:
        description = file.read()
    metadata = {
        f"{info}/METADATA": metadata_text(version, description, about),
        f"{info}/WHEEL": ("Wheel-Version: 1.0\nGenerator: quorvex build_wheel.py\n"
                          f"Root-Is-Purelib: false\nTag: py3-none-{tag}\n"),
        f"{info}/top_level.txt": f"{NAME}\n",
        f"{NAME}/_version.py": ('"""The package\'s version, written in when the wheel was built."""\n'
                                f"__version__ = {version!r}\n"),
    }
    files.append((f"{info}/LICENSE", about["license_file"]))
    os.makedirs(out, exist_ok=True)
    wheel = os.path.join(out, f"{NAME}-{version}-py3-none-{tag}.whl")
    records = []
    with zipfile.ZipFile(wheel, "w", zipfile.ZIP_DEFLATED) as archive:
        for name, path in files:
            with open(path, "rb") as file:
                data = file.read()
            entry = zipfile.ZipInfo(name, date_time=(2011, 1, 1, 0, 0, 0))
            entry.external_attr = (0o755 if name.endswith((".so", ".dll")) else 0o644) << 16
            archive.writestr(entry, data, zipfile.ZIP_DEFLATED)
            records.append(record_line(name, data))
        for name, text in metadata.items():
            archive.writestr(name, text)
            records.append(record_line(name, text.encode()))
        records.append(f"{info}/RECORD,,")
        archive.writestr(f"{info}/RECORD", "\n".join(records) + "\n")
    return wheel


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--package", required=True)
    parser.add_argument("--resources", required=True)
    parser.add_argument("--libraries", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--out", required=True)
    for option in ("license-file", "license", "summary", "author", "homepage", "repository"):
        parser.add_argument(f"--{option}", required=True)
    args = parser.parse_args()
    about = {key: getattr(args, key) for key in
             ("license_file", "license", "summary", "author", "homepage", "repository")}
    print(build(args.package, args.resources, args.libraries, args.version, args.out, about))


if __name__ == "__main__":
    main()
