#!/usr/bin/python3
"""Checks the Windows plug-in DLL as a host would see it, with pefile.

Usage: check_dll.py DLL

A PE32 DLL for i386 whose one export is PluginMain (by that name, no
decoration), which imports only Windows system DLLs, and whose resources are
the PIPL, the string tables of lists 16000 and 16050, the dialogs 16050,
16051 and 16100 and the icon, all in language 1033. Prints the size, the
imported DLLs and the resources; exits 1 on the first failed check.
"""
import os
import sys

import pefile

# DLLs every Windows installation has; a DLL that imports anything else
# needs a runtime beside it.
SYSTEM_DLLS = {"kernel32.dll", "msvcrt.dll", "user32.dll", "advapi32.dll", "ntdll.dll", "ucrtbase.dll"}
ENGLISH_US = 1033
STRING_LISTS = (16000, 16050)
DIALOGS = (16050, 16051, 16100)
PIPL_ID = 16000
ICON_ID = 16051


def fail(message):
    print("check_dll: FAIL: " + message)
    sys.exit(1)


def resource_entries(pe):
    """(type, name, language) of every resource; names and types are ints or strings."""
    found = []
    for type_entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        kind = str(type_entry.name) if type_entry.name is not None else type_entry.id
        for name_entry in type_entry.directory.entries:
            name = str(name_entry.name) if name_entry.name is not None else name_entry.id
            for language_entry in name_entry.directory.entries:
                lang = language_entry.data.lang | (language_entry.data.sublang << 10)
                found.append((kind, name, lang))
    return found


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    path = sys.argv[1]
    pe = pefile.PE(path)
    if pe.FILE_HEADER.Machine != pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"]:
        fail(f"machine 0x{pe.FILE_HEADER.Machine:04x}, not i386")
    if pe.OPTIONAL_HEADER.Magic != pefile.OPTIONAL_HEADER_MAGIC_PE:
        fail("not a PE32 file")
    if not pe.FILE_HEADER.Characteristics & pefile.IMAGE_CHARACTERISTICS["IMAGE_FILE_DLL"]:
        fail("not a DLL")

    export_table = getattr(pe, "DIRECTORY_ENTRY_EXPORT", None)
    exports = [e.name.decode() if e.name else f"#{e.ordinal}" for e in (export_table.symbols if export_table else [])]
    if exports != ["PluginMain"]:
        fail(f"exports {exports}, not only PluginMain")

    imports = sorted(entry.dll.decode() for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []))
    others = [dll for dll in imports if dll.lower() not in SYSTEM_DLLS]
    if others:
        fail(f"imports DLLs that are not part of Windows: {others}")

    entries = resource_entries(pe) if hasattr(pe, "DIRECTORY_ENTRY_RESOURCE") else []
    expected = [("PIPL", PIPL_ID)]
    expected += [(pefile.RESOURCE_TYPE["RT_STRING"], (list_id >> 4) + 1) for list_id in STRING_LISTS]
    expected += [(pefile.RESOURCE_TYPE["RT_DIALOG"], dialog) for dialog in DIALOGS]
    expected += [(pefile.RESOURCE_TYPE["RT_GROUP_ICON"], ICON_ID)]
    for kind, name in expected:
        languages = [lang for k, n, lang in entries if k == kind and n == name]
        if not languages:
            fail(f"no resource of type {kind} and id {name}")
        if languages != [ENGLISH_US]:
            fail(f"resource {kind}/{name} in languages {languages}, not only {ENGLISH_US}")
    if not any(kind == pefile.RESOURCE_TYPE["RT_ICON"] for kind, _, _ in entries):
        fail("no icon image")
    stray = [e for e in entries if e[2] != ENGLISH_US]
    if stray:
        fail(f"resources in other languages: {stray}")

    type_names = {v: k for k, v in pefile.RESOURCE_TYPE.items() if isinstance(v, int)}
    listed = ", ".join(f"{type_names.get(k, k)} {n}" for k, n, _ in entries)
    print(f"check_dll: {os.path.basename(path)}: PE32 i386 DLL, {os.path.getsize(path)} bytes; "
          f"exports PluginMain; imports {', '.join(imports)}")
    print(f"check_dll: resources (language {ENGLISH_US}): {listed}")
    print("check_dll: passed")


if __name__ == "__main__":
    main()
