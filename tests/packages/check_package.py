#!/usr/bin/env python3
"""Checks what a NuGet package or a jar holds and prints its file list: the managed code, and
each Windows DLL at the place its loader looks for it, built for that place's machine, equal
byte for byte to the DLL the build was given, and with every DLL it imports either part of
Windows, the vendor's runtime, or beside it in the package."""
import argparse
import struct
import sys
import zipfile

I386 = 0x14C
AMD64 = 0x8664


def pe_machine(data: bytes) -> int:
    if data[:2] != b"MZ":
        return -1
    header = struct.unpack_from("<I", data, 0x3C)[0]
    if data[header:header + 4] != b"PE\0\0":
        return -1
    return struct.unpack_from("<H", data, header + 4)[0]


# What a Windows machine with the vendor's runtime has; anything else must travel along.
PROVIDED = {"kernel32.dll", "user32.dll", "msvcrt.dll", "halconcpp.dll", "hdevenginecpp.dll"}


def rva_to_offset(data: bytes, sections: list, rva: int) -> int:
    for virtual, size, raw in sections:
        if virtual <= rva < virtual + size:
            return rva - virtual + raw
    raise ValueError(f"address {rva:#x} is in no section")


def pe_imports(data: bytes) -> list:
    header = struct.unpack_from("<I", data, 0x3C)[0]
    count, optional_size = struct.unpack_from("<H", data, header + 6)[0], \
        struct.unpack_from("<H", data, header + 20)[0]
    optional = header + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    import_rva = struct.unpack_from("<I", data, directories + 8)[0]
    sections = []
    for index in range(count):
        entry = optional + optional_size + 40 * index
        size, virtual, _, raw = struct.unpack_from("<IIII", data, entry + 8)
        sections.append((virtual, size, raw))
    names = []
    descriptor = rva_to_offset(data, sections, import_rva)
    while True:
        name_rva = struct.unpack_from("<I", data, descriptor + 12)[0]
        if name_rva == 0:
            return names
        start = rva_to_offset(data, sections, name_rva)
        names.append(data[start:data.index(b"\0", start)].decode())
        descriptor += 20


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("--archive", required=True)
    parser.add_argument("--kind", choices=["nuget", "jar"], required=True)
    parser.add_argument("--win32-dll", required=True)
    parser.add_argument("--win64-dll", required=True)
    args = parser.parse_args()

    if args.kind == "nuget":
        managed = ["lib/net45/Quorvex.dll", "lib/net45/Quorvex.xml", "build/Quorvex.targets",
                   "Quorvex.nuspec", "README.md", "LICENSE"]
        natives = {"runtimes/win-x86/native/quorvex32-11.0.dll": (I386, args.win32_dll),
                   "runtimes/win-x64/native/quorvex32-11.0.dll": (AMD64, args.win64_dll)}
    else:
        managed = ["META-INF/MANIFEST.MF", "META-INF/LICENSE",
                   "META-INF/maven/org.quorvex/quorvex/pom.xml", "org/quorvex/Procedure.class",
                   "org/quorvex/QuorvexException.class"]
        natives = {"win32-x86/quorvex32-11.0.dll": (I386, args.win32_dll),
                   "win32-x86-64/quorvex32-11.0.dll": (AMD64, args.win64_dll)}

    problems = []
    with zipfile.ZipFile(args.archive) as archive:
        entries = {info.filename: info for info in archive.infolist()}
        for info in archive.infolist():
            if not info.filename.endswith("/"):
                print(f"{info.file_size:>10}  {info.filename}")
        problems += [f"missing {name}" for name in managed if name not in entries]
        for name, (machine, built) in natives.items():
            if name not in entries:
                problems.append(f"missing {name}")
                continue
            data = archive.read(name)
            if pe_machine(data) != machine:
                problems.append(f"{name} is for machine {pe_machine(data):#x}, not {machine:#x}")
            with open(built, "rb") as given:
                if given.read() != data:
                    problems.append(f"{name} differs from {built}")
            folder = name.rsplit("/", 1)[0]
            beside = {entry.rsplit("/", 1)[1].lower() for entry in entries
                      if entry.rsplit("/", 1)[0] == folder}
            for imported in pe_imports(data):
                if imported.lower() not in PROVIDED | beside:
                    problems.append(f"{name} imports {imported}, which is not beside it")
    for problem in problems:
        print(f"FAILED: {problem}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
