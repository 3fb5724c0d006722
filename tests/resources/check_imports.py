#!/usr/bin/env python3
"""Checks that the built program meets Windows through W functions only.

Usage: check_imports.py Kestrovin.scr objdump
Reads the import table with the MinGW objdump and fails on every imported A function (a name
ending in "A" after a lower-case letter or digit, as CreateFontA or GetTextExtentPoint32A) that is
not on the list below. An A function converts its text through the system's ANSI code page, which
need not be 932; the program's texts are converted with 932 itself and handed to W functions. The
functions that may stay carry no text, or only ASCII."""
import re
import subprocess
import sys

# Imported by the C and thread runtimes linked in, not by the program's own code.
ALLOWED = {
    "CreateEventA": "the thread runtime's events, unnamed",
    "CreateSemaphoreA": "the thread runtime's semaphores, unnamed",
    "GetStartupInfoA": "the C runtime's start-up, which reads the show flag only",
    "OutputDebugStringA": "the runtimes' diagnostics, ASCII",
    # i686 only: the unwinder registers its frame tables and looks for libgcc's DLL by name.
    "GetModuleHandleA": "the 32-bit unwinder's look-up of libgcc's DLL, an ASCII name",
    "LoadLibraryA": "the 32-bit unwinder's look-up of libgcc's DLL, an ASCII name",
}
A_FUNCTION = re.compile(r"[a-z0-9]A$")


def imports(program, objdump):
    """(dll, function) for every function imported by name."""
    out = subprocess.run([objdump, "-p", program], check=True, capture_output=True, text=True).stdout
    dll = None
    for line in out.splitlines():
        m = re.match(r"\s*DLL Name: (\S+)", line)
        if m:
            dll = m.group(1)
            continue
        m = re.match(r"\t[0-9a-f]+\t +\d+  (\w+)$", line)
        if m and dll:
            yield dll, m.group(1)


def main():
    program, objdump = sys.argv[1], sys.argv[2]
    found = list(imports(program, objdump))
    # A table that could not be read must not pass as one without A functions.
    if not any(name in ("CreateWindowExW", "MessageBoxW") for _, name in found):
        print(f"{program}: no import table with the window functions found")
        return 1
    bad = [(dll, name) for dll, name in found if A_FUNCTION.search(name) and name not in ALLOWED]
    for dll, name in bad:
        print(f"{program}: imports {dll} {name}; its text would pass the system's ANSI code page")
    print(f"{len(found)} imports, {len(bad)} A functions not allowed")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
