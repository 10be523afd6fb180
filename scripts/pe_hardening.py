#!/usr/bin/env python3
"""Quenda.exe against DLL planting.

  pe_hardening.py link-load-config EXE NM
      Points the PE header's load configuration entry at the symbol _load_config_used
      (src/app/load_config.cpp): MinGW's linker (binutils 2.40) leaves the entry empty.
  pe_hardening.py check EXE OBJDUMP
      Fails when EXE imports a DLL outside the allowed list, or when its load configuration does
      not limit its imports' own dependencies to the system folder.
"""
import struct
import subprocess
import sys

# Windows maps these from its KnownDLLs list (HKLM\\SYSTEM\\CurrentControlSet\\Control\\Session
# Manager\\KnownDLLs) and never looks for them beside the program. Only those Quenda needs are
# allowed; the rest of that list (combase, rpcrt4, shlwapi, shcore, ...) is not imported.
KNOWN_DLLS = {"advapi32.dll", "comdlg32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll",
              "ole32.dll", "oleaut32.dll", "shell32.dll", "user32.dll"}
# No KnownDLL: the manifest's dependency on Microsoft.Windows.Common-Controls 6.0 makes the
# loader take it from the side-by-side store (WinSxS), not from the program's folder.
THROUGH_MANIFEST = {"comctl32.dll"}

LOAD_CONFIG_ENTRY = 10
DEPENDENT_LOAD_FLAGS_OFFSET = 0x4E  # in IMAGE_LOAD_CONFIG_DIRECTORY64
LOAD_LIBRARY_SEARCH_SYSTEM32 = 0x800


class Pe:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise SystemExit("not a PE file")
        sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
        self.optional = pe + 24
        if struct.unpack_from("<H", data, self.optional)[0] != 0x20B:
            raise SystemExit("not a 64-bit PE file")
        self.image_base = struct.unpack_from("<Q", data, self.optional + 24)[0]
        table = self.optional + optional_size
        self.sections = [struct.unpack_from("<8xIIII", data, table + 40 * i)
                         for i in range(sections)]  # virtual size, address, raw size, raw offset

    def directory_offset(self, entry):
        return self.optional + 112 + 8 * entry

    def file_offset(self, rva):
        for size, address, raw_size, raw in self.sections:
            if address <= rva < address + min(size, raw_size):
                return raw + rva - address
        raise SystemExit(f"RVA {rva:#x} lies in no section's file data")


def link_load_config(exe, nm):
    symbols = subprocess.run([nm, exe], check=True, capture_output=True, text=True).stdout
    found = [int(line.split()[0], 16) for line in symbols.splitlines()
             if line.endswith(" _load_config_used")]
    if len(found) != 1:
        raise SystemExit(f"{exe}: no single _load_config_used symbol")
    data = bytearray(open(exe, "rb").read())
    pe = Pe(data)
    rva = found[0] - pe.image_base
    size = struct.unpack_from("<I", data, pe.file_offset(rva))[0]
    struct.pack_into("<II", data, pe.directory_offset(LOAD_CONFIG_ENTRY), rva, size)
    open(exe, "wb").write(data)


def check(exe, objdump):
    problems = []
    dump = subprocess.run([objdump, "-p", exe], check=True, capture_output=True, text=True).stdout
    imports = [line.split(":", 1)[1].strip() for line in dump.splitlines()
               if line.strip().startswith("DLL Name:")]
    if not imports:
        problems.append("no imports found")
    for dll in imports:
        if dll.lower() not in KNOWN_DLLS | THROUGH_MANIFEST:
            problems.append(f"imports {dll}, which Windows would look for beside the program")
    pe = Pe(open(exe, "rb").read())
    rva, size = struct.unpack_from("<II", pe.data, pe.directory_offset(LOAD_CONFIG_ENTRY))
    if size <= DEPENDENT_LOAD_FLAGS_OFFSET:
        problems.append("no load configuration with DependentLoadFlags")
    else:
        flags = struct.unpack_from("<H", pe.data,
                                   pe.file_offset(rva) + DEPENDENT_LOAD_FLAGS_OFFSET)[0]
        if flags != LOAD_LIBRARY_SEARCH_SYSTEM32:
            problems.append(f"DependentLoadFlags is {flags:#x}, not {LOAD_LIBRARY_SEARCH_SYSTEM32:#x}")
    for problem in problems:
        print(f"{exe}: {problem}")
    if problems:
        return 1
    print(f"{exe}: imports {', '.join(imports)}; DependentLoadFlags {LOAD_LIBRARY_SEARCH_SYSTEM32:#x}")
    return 0


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "link-load-config":
        link_load_config(sys.argv[2], sys.argv[3])
    elif len(sys.argv) == 4 and sys.argv[1] == "check":
        sys.exit(check(sys.argv[2], sys.argv[3]))
    else:
        raise SystemExit(__doc__)
