#!/usr/bin/env python3
"""Checks the resources that an executable carries, as wrestool lists them:
the string table in exactly the nine languages, a manifest that asks for the
invoker's level and leaves the ANSI code page to the system, an icon group
with its four sizes, and version information.

    check_exe_resources.py WRESTOOL ICOTOOL PROGRAM.exe
"""
import re
import subprocess
import sys
import tempfile
from pathlib import Path

STRING_LANGUAGES = [10, 1031, 1033, 1036, 1040, 1041, 1046, 1049, 2052]
ICON_SIZES = [16, 32, 48, 256]
RT_ICON, RT_STRING, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = "3", "6", "14", "16", "24"


def main(wrestool, icotool, program):
    listing = subprocess.run([wrestool, "-l", program], capture_output=True, text=True, check=True).stdout
    resources = re.findall(r"--type=(\S+) --name=(\S+) --language=(\d+)", listing)
    problems = []

    strings = [(name, int(language)) for kind, name, language in resources if kind == RT_STRING]
    if {name for name, _ in strings} != {"7"}:
        problems.append(f"string blocks other than 7 (ids 96 to 111): {sorted({name for name, _ in strings})}")
    if sorted(language for _, language in strings) != STRING_LANGUAGES:
        problems.append(f"string languages {sorted(language for _, language in strings)}, "
                        f"expected {STRING_LANGUAGES}")
    for kind, what in ((RT_MANIFEST, "manifest"), (RT_GROUP_ICON, "icon group"), (RT_VERSION, "version")):
        if not any(found == kind for found, _, _ in resources):
            problems.append(f"no {what} resource")

    manifest = subprocess.run([wrestool, "-x", "--raw", f"--type={RT_MANIFEST}", program],
                              capture_output=True, check=True).stdout.decode("utf-8", "replace")
    if 'level="asInvoker"' not in manifest:
        problems.append("the manifest does not ask for the invoker's execution level")
    if "activeCodePage" in manifest:
        problems.append("the manifest sets the ANSI code page, which runtimes would misread options in")

    with tempfile.TemporaryDirectory() as directory:
        icon = Path(directory) / "icon.ico"
        subprocess.run([wrestool, "-x", f"--type={RT_GROUP_ICON}", "-o", str(icon), program], check=True)
        if icon.exists():
            icons = subprocess.run([icotool, "-l", str(icon)], capture_output=True, text=True, check=True).stdout
            sizes = sorted(int(width) for width in re.findall(r"--width=(\d+)", icons))
            if sizes != ICON_SIZES:
                problems.append(f"icon sizes {sizes}, expected {ICON_SIZES}")
        else:
            problems.append("the icon group could not be extracted")

    for problem in problems:
        print(problem)
    if problems:
        print("wrestool -l lists:\n" + listing)
        return 1
    print(f"{program}: {len(resources)} resources as expected")
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit("usage: check_exe_resources.py WRESTOOL ICOTOOL PROGRAM.exe")
    sys.exit(main(*sys.argv[1:]))
