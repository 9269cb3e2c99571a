#!/usr/bin/env python3
"""The project's version (stated in quorvex.h, read by CMake as PROJECT_VERSION) is the one
every artefact carries.

Usage: check_version.py --cmake X.Y.Z --header quorvex.h [--wheels DIR]
                        [--package python/] [--pe quorvex32-11.0.dll] [--pom java/pom.xml]
                        [--nupkgs DIR]
"""
import argparse
import glob
import os
import re
import struct
import subprocess
import sys
import zipfile

FIXED_FILE_INFO_SIGNATURE = struct.pack("<I", 0xFEEF04BD)


def header_version(path):
    with open(path, encoding="utf-8") as file:
        text = file.read()
    parts = [re.search(rf"#define QUORVEX_VERSION_{name} (\d+)", text).group(1)
             for name in ("MAJOR", "MINOR", "PATCH")]
    string = re.search(r'#define QUORVEX_VERSION_STRING "([^"]*)"', text).group(1)
    return {"header macros": ".".join(parts), "header string": string}


def wheel_versions(folder):
    wheels = glob.glob(os.path.join(folder, "quorvex-*.whl"))
    if len(wheels) != 1:
        sys.exit(f"expected one wheel in {folder}, found {wheels}")
    name = os.path.basename(wheels[0]).split("-")[1]
    with zipfile.ZipFile(wheels[0]) as wheel:
        metadata = next(n for n in wheel.namelist() if n.endswith(".dist-info/METADATA"))
        field = re.search(r"^Version: (.*)$", wheel.read(metadata).decode(), re.M).group(1)
        module = re.search(r"__version__ = '([^']*)'",
                           wheel.read("quorvex/_version.py").decode()).group(1)
    return {"wheel file name": name, "wheel metadata": field, "wheel's quorvex.__version__": module}


def package_version(folder):
    script = "import quorvex._version as v; print(v.__version__)"
    result = subprocess.run([sys.executable, "-c", script], cwd=folder, capture_output=True,
                            text=True, check=True)
    return {"quorvex.__version__ from the sources": result.stdout.strip()}


def utf16_value(data, key):
    """The text after a StringFileInfo key: UTF-16LE, NUL-terminated, after padding."""
    at = data.find((key + "\0").encode("utf-16-le"))
    if at < 0:
        return None
    at += len(key + "\0") * 2
    while data[at:at + 2] == b"\0\0":
        at += 2
    end = at
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[at:end].decode("utf-16-le")


def pe_versions(path):
    with open(path, "rb") as file:
        data = file.read()
    # The statically linked winpthread brings a version resource of its own: ours is the one
    # whose strings name the library.
    name = "quorvex32-11.0\0".encode("utf-16-le")
    at = data.find(FIXED_FILE_INFO_SIGNATURE)
    while at >= 0:
        following = data.find(FIXED_FILE_INFO_SIGNATURE, at + 4)
        if name in data[at:following if following >= 0 else len(data)]:
            break
        at = following
    if at < 0:
        return {"PE version resource": None}
    data = data[at:]
    at = 0
    # dwSignature, dwStrucVersion, dwFileVersionMS, dwFileVersionLS, dwProductVersionMS, ...LS
    fields = struct.unpack_from("<6I", data, at)
    numbers = lambda ms, ls: f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}"  # noqa: E731
    return {"PE FILEVERSION": numbers(fields[2], fields[3]),
            "PE PRODUCTVERSION": numbers(fields[4], fields[5]),
            "PE FileVersion text": utf16_value(data, "FileVersion"),
            "PE ProductVersion text": utf16_value(data, "ProductVersion")}


def pom_version(path):
    with open(path, encoding="utf-8") as file:
        text = file.read()
    # The project's own version: the first <version> outside <parent> and <dependencies>.
    text = re.sub(r"<(parent|dependencies|build)>.*?</\1>", "", text, flags=re.S)
    return {"pom.xml": re.search(r"<version>([^<]*)</version>", text).group(1)}


def nupkg_versions(folder):
    """The NuGet packages the build made (none where nuget is missing)."""
    found = {}
    for path in glob.glob(os.path.join(folder, "Quorvex.*.nupkg")):
        with zipfile.ZipFile(path) as package:
            nuspec = package.read("Quorvex.nuspec").decode("utf-8")
        found[f"{os.path.basename(path)} nuspec"] = re.search(
            r"<version>([^<]*)</version>", nuspec).group(1)
    return found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cmake", required=True)
    parser.add_argument("--header", required=True)
    parser.add_argument("--wheels")
    parser.add_argument("--package")
    parser.add_argument("--pe")
    parser.add_argument("--pom")
    parser.add_argument("--nupkgs")
    args = parser.parse_args()
    found = header_version(args.header)
    if args.wheels:
        found.update(wheel_versions(args.wheels))
    if args.package:
        found.update(package_version(args.package))
    if args.pe:
        found.update(pe_versions(args.pe))
    if args.pom:
        found.update(pom_version(args.pom))
    if args.nupkgs:
        found.update(nupkg_versions(args.nupkgs))
    wrong = {place: version for place, version in found.items() if version != args.cmake}
    for place, version in found.items():
        print(f"{place}: {version}")
    if wrong:
        sys.exit(f"not CMake's project version {args.cmake}: {wrong}")


if __name__ == "__main__":
    main()
