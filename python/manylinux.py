"""The manylinux tag a wheel's libraries allow, from the symbol versions they need.

A wheel is installable on a Linux system whose C library is at least as new as every
``GLIBC_2.N`` version its libraries need, and whose C++ runtime (``GLIBCXX_3.4.N``,
``CXXABI_1.3.N``, which manylinux lets a wheel take from the system) is at least as new as
theirs. The tag ``manylinux_2_N_<arch>`` states the first; pip refuses the wheel on an older
system. Read with the standard library only: the ELF files' version-needs sections.
"""
import struct
from typing import Dict, Iterable, Set, Tuple

SHT_GNU_VERNEED = 0x6FFFFFFE

# The newest C++ runtime versions a system of each C library release ships at the least
# (the distributions each manylinux policy is drawn from), oldest first; a wheel needing a
# newer C++ runtime than its C library's row allows takes the first row that covers it.
CXX_LIMITS: Tuple[Tuple[int, Tuple[int, ...], Tuple[int, ...]], ...] = (
    # (glibc 2.N, newest GLIBCXX, newest CXXABI)
    (17, (3, 4, 19), (1, 3, 7)),
    (24, (3, 4, 22), (1, 3, 10)),
    (28, (3, 4, 25), (1, 3, 11)),
    (31, (3, 4, 28), (1, 3, 12)),
    (34, (3, 4, 29), (1, 3, 13)),
    (35, (3, 4, 30), (1, 3, 13)),
)


def version_needs(path: str) -> Set[str]:
    """Every symbol version the ELF file at ``path`` needs, as ``GLIBC_2.34``."""
    with open(path, "rb") as file:
        data = file.read()
    if data[:4] != b"\x7fELF" or data[5] != 1:
        raise ValueError(f"{path} is not a little-endian ELF file")
    wide = data[4] == 2
    # From e_entry on: entry, program and section header offsets, flags, then the sizes.
    header = struct.unpack_from("<QQQIHHHHHH" if wide else "<IIIIHHHHHH", data, 24)
    shoff, shentsize, shnum = header[2], header[7], header[8]
    section = "<IIQQQQIIQQ" if wide else "<IIIIIIIIII"
    sections = [struct.unpack_from(section, data, shoff + i * shentsize) for i in range(shnum)]
    needs = set()
    for _, kind, _, _, offset, _, link, count, _, _ in sections:
        if kind != SHT_GNU_VERNEED:
            continue
        strings = sections[link][4]
        entry = offset
        for _ in range(count):
            _, aux_count, _, aux, following = struct.unpack_from("<HHIII", data, entry)
            at = entry + aux
            for _ in range(aux_count):
                _, _, _, name, step = struct.unpack_from("<IHHII", data, at)
                end = data.index(b"\0", strings + name)
                needs.add(data[strings + name:end].decode())
                at += step
            entry += following
    return needs


def _newest(needs: Iterable[str], prefix: str) -> Tuple[int, ...]:
    found = [tuple(int(part) for part in need[len(prefix):].split("."))
             for need in needs if need.startswith(prefix)]
    return max(found, default=())


def glibc_minor(needs: Iterable[str]) -> int:
    """The ``N`` of the tag ``manylinux_2_N`` that ``needs`` allow.

    Raises:
        ValueError: The C++ runtime needed is newer than any row of CXX_LIMITS.
    """
    needs = list(needs)
    glibc = _newest(needs, "GLIBC_")
    minor = glibc[1] if len(glibc) > 1 else 17
    glibcxx, cxxabi = _newest(needs, "GLIBCXX_"), _newest(needs, "CXXABI_")
    for release, newest_glibcxx, newest_cxxabi in CXX_LIMITS:
        if glibcxx <= newest_glibcxx and cxxabi <= newest_cxxabi:
            return max(minor, release)
    raise ValueError(f"no manylinux release ships GLIBCXX {glibcxx} and CXXABI {cxxabi}")


def tag(paths: Iterable[str], architecture: str) -> str:
    """The manylinux tag of libraries at ``paths`` for ``architecture`` (``x86_64``)."""
    needs: Set[str] = set()
    for path in paths:
        needs |= version_needs(path)
    return f"manylinux_2_{glibc_minor(needs)}_{architecture}"


def summary(paths: Iterable[str]) -> Dict[str, str]:
    """Each library's newest GLIBC and GLIBCXX need, for the build's log."""
    result = {}
    for path in paths:
        needs = version_needs(path)
        result[path] = " ".join(
            f"{prefix}{'.'.join(map(str, _newest(needs, prefix)))}"
            for prefix in ("GLIBC_", "GLIBCXX_") if _newest(needs, prefix))
    return result
