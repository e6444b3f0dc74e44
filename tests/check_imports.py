#!/usr/bin/env python3
"""Checks that each given exe imports only from DLLs that Windows never takes
from the program's folder, and only functions Windows XP SP3 has.

Usage: check_imports.py LIST EXE...

LIST holds one DLL a line: its name, a tab, why Windows always takes it from
its own folder; and one function a line: DLL!Function, a tab, the documented
minimum supported client, a tab, where that minimum is documented. Every
import of each exe (by name or by ordinal, direct or delay-loaded) must come
from a listed DLL and be on the list with a minimum no later than Windows XP
SP3. Functions the program looks up at run time with GetProcAddress are not
imports, and are not checked here.
"""
import struct
import sys

# Client versions in release order; everything up to XP SP3 is allowed.
VERSIONS = [
    "Windows NT 3.1", "Windows NT 4.0", "Windows 95", "Windows 98", "Windows 2000 Professional",
    "Windows XP", "Windows XP SP1", "Windows XP SP2", "Windows XP SP3",
    "Windows Vista", "Windows 7", "Windows 8", "Windows 8.1", "Windows 10", "Windows 11",
]
NEWEST_ALLOWED = VERSIONS.index("Windows XP SP3")


def read_list(path):
    dlls = {}
    entries = {}
    problems = []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            fields = line.split("\t")
            if len(fields) == 2 and "!" not in fields[0] and fields[1].strip():
                dlls[fields[0].lower()] = fields[1]
                continue
            if len(fields) != 3 or "!" not in fields[0] or not fields[2].strip():
                problems.append(f"{path}:{number}: not 'DLL<tab>why' nor 'DLL!Function<tab>minimum<tab>source': {line}")
                continue
            name, minimum, _source = fields
            dll, function = name.split("!", 1)
            key = f"{dll.lower()}!{function}"
            if key in entries:
                problems.append(f"{path}:{number}: {key} listed twice")
            if minimum not in VERSIONS:
                problems.append(f"{path}:{number}: unknown minimum '{minimum}' for {key}")
            if dll.lower() not in dlls:
                problems.append(f"{path}:{number}: {key} is from a DLL the list does not allow")
            entries[key] = minimum
    return dlls, entries, problems


class Image:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        if self.data[:2] != b"MZ":
            raise ValueError(f"{path}: not an MZ file")
        pe = self.u32(0x3C)
        if self.data[pe:pe + 4] != b"PE\0\0":
            raise ValueError(f"{path}: no PE signature")
        sections, optional_size = struct.unpack_from("<H12xH", self.data, pe + 6)
        optional = pe + 24
        magic = self.u16(optional)
        if magic == 0x10B:
            self.thunk_size, directories = 4, optional + 96
        elif magic == 0x20B:
            self.thunk_size, directories = 8, optional + 112
        else:
            raise ValueError(f"{path}: unknown optional header magic {magic:#x}")
        self.count = self.u32(directories - 4)
        self.directories = directories
        table = optional + optional_size
        self.sections = []
        for i in range(sections):
            virtual_size, rva, raw_size, raw = struct.unpack_from("<4I", self.data, table + 40 * i + 8)
            self.sections.append((rva, max(virtual_size, raw_size), raw))

    def u16(self, offset):
        return struct.unpack_from("<H", self.data, offset)[0]

    def u32(self, offset):
        return struct.unpack_from("<I", self.data, offset)[0]

    def offset(self, rva):
        for start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError(f"RVA {rva:#x} is in no section")

    def string(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def directory(self, index):
        if index >= self.count:
            return 0
        return self.u32(self.directories + 8 * index)

    def names(self, dll, table_rva):
        """The functions of one DLL from its lookup table."""
        ordinal_flag = 1 << (8 * self.thunk_size - 1)
        at = self.offset(table_rva)
        while True:
            thunk = int.from_bytes(self.data[at:at + self.thunk_size], "little")
            if thunk == 0:
                return
            if thunk & ordinal_flag:
                yield f"{dll}!#{thunk & 0xFFFF}"
            else:
                yield f"{dll}!{self.string((thunk & 0x7FFFFFFF) + 2)}"
            at += self.thunk_size

    def imports(self):
        found = []
        rva = self.directory(1)  # import table: 20-byte descriptors
        if rva:
            at = self.offset(rva)
            while True:
                lookup, _, _, name, address = struct.unpack_from("<5I", self.data, at)
                if name == 0:
                    break
                found += self.names(self.string(name).lower(), lookup or address)
                at += 20
        rva = self.directory(13)  # delay-load table: 32-byte descriptors
        if rva:
            at = self.offset(rva)
            while True:
                _, name, _, _, lookup = struct.unpack_from("<5I", self.data, at)
                if name == 0:
                    break
                found += self.names(self.string(name).lower(), lookup)
                at += 32
        return found


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    dlls, allowed, problems = read_list(sys.argv[1])
    for exe in sys.argv[2:]:
        imports = Image(exe).imports()
        if not imports:
            problems.append(f"{exe}: no imports found")
        for dll in sorted({n.split("!")[0] for n in imports} - dlls.keys()):
            functions = ", ".join(n.split("!")[1] for n in imports if n.split("!")[0] == dll)
            problems.append(f"{exe}: imports {dll} ({functions}), which Windows may take from the program's folder "
                            "or the current folder: load it at run time by its full path in the System folder")
        for name in imports:
            if name.split("!")[0] not in dlls:
                continue
            minimum = allowed.get(name)
            if minimum is None:
                problems.append(f"{exe}: {name} is not on the list")
            elif minimum in VERSIONS and VERSIONS.index(minimum) > NEWEST_ALLOWED:
                problems.append(f"{exe}: {name} needs {minimum}")
        print(f"{exe}: {len(imports)} imports, from {len({n.split('!')[0] for n in imports})} DLLs")
    for problem in problems:
        print("FAIL:", problem)
    if problems:
        sys.exit(1)
    print("PASS")


if __name__ == "__main__":
    main()
