#!/usr/bin/env python3
"""The language packages declare the exports by hand; this checks each declaration against
include/quorvex.h: the name is an export, the argument count, each argument's and the result's
kind and width agree, and the call is cdecl (.NET states it on every import and on the
callback delegate; JNA and ctypes' CDLL and CFUNCTYPE call cdecl).

Usage: check_declarations.py --root DIR
"""
import argparse
import ctypes
import pathlib
import re
import sys

# Kinds: what crosses the boundary, with its width where the languages could disagree.
#   i32, f64, void, text (a text the caller passes in), ptr (an address: a record, a handle,
#   a text to release), out (where the library stores a value), callback.
C_KINDS = [
    (r"^void$", "void"),
    (r"^int32_t$", "i32"),
    (r"^double$", "f64"),
    (r"^const char\s*\*$", "text"),
    (r"^char\s*\*$", "ptr"),
    (r"^ErrorMsg\s*\*$", "ptr"),
    (r"^\w+Handle$", "ptr"),
    (r"^hMessageHandler$", "callback"),
    (r"^.+\*$", "out"),
]


def c_kind(declaration):
    text = re.sub(r"\s+", " ", declaration).strip()
    # Drop the parameter's name: the last identifier, unless the whole is a type.
    match = re.match(r"^(.*?[\s\*])(\w+)$", text)
    if match and not re.fullmatch(r"(const )?\w+", text):
        text = match.group(1).strip()
    for pattern, kind in C_KINDS:
        if re.match(pattern, text):
            return kind
    raise ValueError(f"unknown C type: {declaration}")


def header_exports(path):
    text = path.read_text()
    text = re.sub(r"/\*.*?\*/", "", text, flags=re.S)
    exports = {}
    for result, name, params in re.findall(
            r"QUORVEX_API\s+([\w\s\*]+?)\s*QUORVEX_CALL\s+(\w+)\s*\(([^)]*)\)\s*;", text):
        params = params.strip()
        arguments = [] if params in ("", "void") else [c_kind(p) for p in params.split(",")]
        exports[name] = (c_kind(result), arguments)
    return exports


def compatible(expected, found):
    """Whether a package's kind may stand for the header's kind."""
    same_width = {"ptr": {"ptr"}, "out": {"out", "ptr"}, "text": {"text", "ptr"}}
    return found == expected or found in same_width.get(expected, set())


DOTNET_KINDS = {"void": "void", "int": "i32", "double": "f64", "byte[]": "text",
                "IntPtr": "ptr", "MessageCallback": "callback"}


def dotnet_kind(declaration):
    declaration = declaration.strip()
    if declaration.startswith("out ") or declaration.startswith("ref "):
        return "out"
    kind = declaration.split()[0]
    if kind.endswith("Handle"):
        return "ptr"
    return DOTNET_KINDS.get(kind, f"unknown .NET type {kind}")


def dotnet_declarations(root):
    problems, found = [], {}
    source = (root / "dotnet/src/Quorvex/NativeMethods.cs").read_text()
    delegate = re.search(r"\[UnmanagedFunctionPointer\(([^)]*)\)\]\s*internal delegate void "
                         r"MessageCallback\(IntPtr \w+\);", source)
    if not delegate or "Cdecl" not in delegate.group(1):
        problems.append(".NET: MessageCallback is not a cdecl delegate of one IntPtr")
    for attributes, result, name, params in re.findall(
            r"\[DllImport\(([^\]]*)\)\]\s*internal static extern ([\w\[\]]+) (\w+)\(([^)]*)\);",
            source):
        entry = re.search(r'EntryPoint\s*=\s*"(\w+)"', attributes)
        if "CallingConvention = Cdecl" not in attributes:
            problems.append(f".NET {name}: not declared cdecl")
        arguments = [dotnet_kind(p) for p in params.split(",")] if params.strip() else []
        found.setdefault(entry.group(1) if entry else name, []).append(
            (f".NET {name}", dotnet_kind(result), arguments))
    return problems, found


JAVA_KINDS = {"void": "void", "int": "i32", "double": "f64", "byte[]": "text", "String": "text",
              "Pointer": "ptr", "MessageCallback": "callback", "IntByReference": "out",
              "PointerByReference": "out"}


def java_declarations(root):
    found = {}
    source = (root / "java/src/main/java/org/quorvex/NativeApi.java").read_text()
    for result, name, params in re.findall(r"static native ([\w\[\]]+) (\w+)\(([^)]*)\);", source):
        arguments = [JAVA_KINDS.get(p.split()[0], f"unknown Java type {p.split()[0]}")
                     for p in params.split(",")] if params.strip() else []
        found.setdefault(name, []).append((f"Java {name}", JAVA_KINDS.get(result, result),
                                           arguments))
    return [], found


def python_kind(kind):
    if kind is None:
        return "void"
    if kind is ctypes.c_int32:
        return "i32"
    if kind is ctypes.c_double:
        return "f64"
    if kind is ctypes.c_char_p:
        return "text"
    if kind is ctypes.c_void_p:
        return "ptr"
    if isinstance(kind, type) and issubclass(kind, ctypes._CFuncPtr):
        cdecl = not getattr(kind, "_flags_", 0) & getattr(ctypes, "_FUNCFLAG_STDCALL", 0)
        return "callback" if cdecl else "stdcall callback"
    if isinstance(kind, type) and issubclass(kind, ctypes._Pointer):
        return "ptr" if kind._type_.__name__ == "ErrorMsg" else "out"
    return f"unknown ctypes type {kind}"


def python_declarations(root):
    sys.path.insert(0, str(root / "python"))
    from quorvex import _library  # noqa: E402  (the package's table, without loading the library)
    found = {}
    for name, (result, arguments) in _library.SIGNATURES.items():
        found.setdefault(name, []).append((f"Python {name}", python_kind(result),
                                           [python_kind(a) for a in arguments]))
    return [], found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    args = parser.parse_args()
    root = pathlib.Path(args.root)
    exports = header_exports(root / "include/quorvex.h")
    listed = {line.split("=")[0].strip() for line in (root / "api/exports.list").read_text()
              .splitlines() if line.strip() and not line.startswith("#")}
    problems = []
    if set(exports) != listed:
        problems.append(f"the header declares {sorted(set(exports) ^ listed)} unlike exports.list")
    checked = 0
    for read in (dotnet_declarations, java_declarations, python_declarations):
        found_problems, found = read(root)
        problems += found_problems
        for name, declarations in found.items():
            for where, result, arguments in declarations:
                checked += 1
                if name not in exports:
                    problems.append(f"{where}: {name} is no export of quorvex.h")
                    continue
                want_result, want_arguments = exports[name]
                if not compatible(want_result, result):
                    problems.append(f"{where}: returns {result}, the header {want_result}")
                if len(arguments) != len(want_arguments):
                    problems.append(f"{where}: {len(arguments)} arguments, the header "
                                    f"{len(want_arguments)}")
                    continue
                for number, (want, have) in enumerate(zip(want_arguments, arguments), 1):
                    if not compatible(want, have):
                        problems.append(f"{where}: argument {number} is {have}, the header {want}")
    for problem in problems:
        print(problem)
    print(f"{checked} package declarations checked against {len(exports)} exports, "
          f"{len(problems)} problems")
    return 1 if problems or checked == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
