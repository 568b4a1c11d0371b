#!/usr/bin/env python3
"""Checks that Windows programs start on Windows XP SP3 (NT 5.1).

    tools/check_xp_imports.py program.exe [more.exe ...]

For each program it reads the PE file itself and fails (exit 1) when
- it imports a function that XP SP3 does not export (looked up in winapi/exports.tsv, the Windows
  versions in which each system DLL exports each name, and winapi/newer-than-xp.tsv, the names
  XP lacks although the first list reads them as present), or a function of a DLL that neither
  list covers, or a function by ordinal (which cannot be judged);
- it imports a function that comctl32 exports by name only from version 6 on
  (winapi/comctl32-v6.tsv) and its manifest does not ask for the common controls version 6;
- its header asks for a newer Windows than 5.1 (subsystem or operating system version).
Functions looked up at run time with GetProcAddress are not in the import table; their callers
must cope with their absence.
"""
import os
import struct
import sys
import xml.etree.ElementTree as ET

XP = 0x501
HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "winapi")
RT_MANIFEST = 24


def rows(name):
    with open(os.path.join(HERE, name), encoding="utf-8") as f:
        for line in f:
            if line.strip() and not line.startswith("#"):
                yield line.rstrip("\n").split("\t")


def load_lists():
    exports = {}
    for dll, name, lo, hi in (r[:4] for r in rows("exports.tsv")):
        exports.setdefault(dll, {}).setdefault(name, []).append(
            (int(lo, 16), None if hi in ("-", "") else int(hi, 16)))
    newer = {(dll, name): int(lo, 16) for dll, name, lo in (r[:3] for r in rows("newer-than-xp.tsv"))}
    comctl6 = {(dll, name) for dll, name in (r[:2] for r in rows("comctl32-v6.tsv"))}
    return exports, newer, comctl6


class PE:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        d = self.data
        if d[:2] != b"MZ":
            raise ValueError("not a Windows program")
        pe = struct.unpack_from("<I", d, 0x3C)[0]
        if d[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        sections, opt_size = struct.unpack_from("<2xH12xH", d, pe + 4)
        opt = pe + 24
        magic = struct.unpack_from("<H", d, opt)[0]
        self.wide = magic == 0x20B
        (self.os_major, self.os_minor, _, _, self.sub_major,
         self.sub_minor) = struct.unpack_from("<6H", d, opt + 40)
        dirs = opt + (112 if self.wide else 96)
        count = struct.unpack_from("<I", d, dirs - 4)[0]
        self.dirs = [struct.unpack_from("<II", d, dirs + 8 * i) for i in range(count)]
        self.sections = []
        for i in range(sections):
            va_size, va, raw_size, raw = struct.unpack_from("<4I", d, opt + opt_size + 40 * i + 8)
            self.sections.append((va, max(va_size, raw_size), raw))

    def at(self, rva):
        for va, size, raw in self.sections:
            if va <= rva < va + size:
                return raw + rva - va
        raise ValueError(f"address 0x{rva:x} outside every section")

    def cstring(self, rva):
        start = self.at(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii", "replace")

    def imports(self):
        rva, size = self.dirs[1] if len(self.dirs) > 1 else (0, 0)
        found = []
        entry = self.at(rva) if size else None
        while entry is not None:
            names, _, _, dll, thunks = struct.unpack_from("<5I", self.data, entry)
            if not dll:
                break
            dll_name = self.cstring(dll).lower().rsplit(".", 1)[0]
            step, fmt, flag = (8, "<Q", 1 << 63) if self.wide else (4, "<I", 1 << 31)
            thunk = self.at(names or thunks)
            while True:
                value = struct.unpack_from(fmt, self.data, thunk)[0]
                if not value:
                    break
                if value & flag:
                    found.append((dll_name, None, value & 0xFFFF))
                else:
                    found.append((dll_name, self.cstring(value + 2), None))
                thunk += step
            entry += 20
        return found

    def resources(self, type_id):
        rva, size = self.dirs[2] if len(self.dirs) > 2 else (0, 0)
        if not size:
            return []
        root = self.at(rva)

        def entries(offset):
            named, ids = struct.unpack_from("<12xHH", self.data, root + offset)
            for i in range(named + ids):
                yield struct.unpack_from("<II", self.data, root + offset + 16 + 8 * i)

        def leaves(offset):
            for _, target in entries(offset):
                if target & 0x80000000:
                    yield from leaves(target & 0x7FFFFFFF)
                else:
                    data_rva, data_size = struct.unpack_from("<II", self.data, root + target)
                    yield self.data[self.at(data_rva):self.at(data_rva) + data_size]

        found = []
        for name, target in entries(0):
            if name == type_id and target & 0x80000000:
                found.extend(leaves(target & 0x7FFFFFFF))
        return found


def asks_for_comctl6(pe):
    for manifest in pe.resources(RT_MANIFEST):
        try:
            root = ET.fromstring(manifest)
        except ET.ParseError:
            continue
        for element in root.iter():
            if (element.tag.endswith("}assemblyIdentity") and
                    element.get("name") == "Microsoft.Windows.Common-Controls" and
                    element.get("version", "").startswith("6.")):
                return True
    return False


def check(path, exports, newer, comctl6):
    exe = os.path.basename(path)
    problems = []
    try:
        pe = PE(path)
        imports = pe.imports()
    except (OSError, ValueError, struct.error) as error:
        return [f"{exe}: cannot be read ({error})"]
    if (pe.sub_major, pe.sub_minor) > (5, 1) or (pe.os_major, pe.os_minor) > (5, 1):
        problems.append(f"{exe}: header asks for Windows {pe.os_major}.{pe.os_minor}, subsystem "
                        f"{pe.sub_major}.{pe.sub_minor}; XP is 5.1")
    needs_comctl6 = []
    for dll, name, ordinal in imports:
        where = f"{exe}: {dll}!{name if name else f'#{ordinal}'}"
        if name is None:
            problems.append(f"{where}: imported by ordinal, which cannot be judged")
        elif dll not in exports:
            problems.append(f"{where}: no export list for {dll}.dll, so not known to be on XP")
        elif (dll, name) in newer:
            problems.append(f"{where}: needs Windows 0x{newer[(dll, name)]:x} or later")
        elif name not in exports[dll]:
            problems.append(f"{where}: not exported by {dll}.dll on the Windows versions listed")
        elif not any((lo <= XP or lo == 0x502) and (hi is None or hi >= XP)
                     for lo, hi in exports[dll][name]):
            lo = min(lo for lo, _ in exports[dll][name])
            problems.append(f"{where}: needs Windows 0x{lo:x} or later")
        elif (dll, name) in comctl6:
            needs_comctl6.append(where)
    if needs_comctl6 and not asks_for_comctl6(pe):
        problems += [f"{w}: needs a manifest that asks for the common controls version 6"
                     for w in needs_comctl6]
    return problems


def main(argv):
    if len(argv) < 2:
        print(__doc__.strip())
        return 2
    lists = load_lists()
    problems = [p for path in argv[1:] for p in check(path, *lists)]
    for problem in problems:
        print(problem)
    print(f"XP check: {len(argv) - 1} program(s), {len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
