#!/usr/bin/env python3
"""Runs the launcher under valgrind's memcheck with the test double JVM, for a
launch that completes and for every way a launch can fail, and requires of
each: the launcher's exact message and exit code, no memory error, no leak,
and every library it loaded released again.

    memcheck.py VALGRIND ZEP HOMES_DIR WORK_DIR
"""
import os
import re
import shutil
import subprocess
import sys
from pathlib import Path

LEAK_EXIT = 42

# (name, arguments, double's failure switch, home, expected stderr, expected exit code)
CASES = [
    ("completed launch", ["-Dzeptest=\u00e9", "zep", "a", "", "\U0001D11E"], "", "valid", "", 0),
    ("no program arguments", ["animation"], "", "valid", "", 0),
    ("System.exit", ["zep"], "main-exit=3", "valid", "", 3),
    ("refused options, invalid command", ["-Djava.class.path=x", "-Da=1", "ZEP"], "", "valid",
     "Class path cannot be changed.Invalid command.", 1),
    ("library gone after the search", ["zep"], "vanish", "copy", "Failed to load jvm.dll", 1),
    ("no entry point", ["zep"], "", "noentry", "Cannot find JNI_CreateJavaVM entry point.", 1),
    ("creation fails", ["-Da", "zep"], "create=-6", "valid", "Create JVM failed.", 1),
    ("exception after creation", ["zep"], "create-exception", "valid",
     "Exception in thread \"main\" zeptest.DoubleException: create-exception\n"
     "Exception occurred during JVM creation.", 1),
    ("no command word", ["-Dx"], "", "valid", "Main class invalid.", 1),
    ("class not found", ["zep"], "findclass", "valid", "Failed to load main class.", 1),
    ("no array", ["zep", "a"], "array", "valid", "Failed to create command line arguments.", 1),
    ("exception while filling", ["zep", "a"], "array-exception", "valid",
     "Exception in thread \"main\" zeptest.DoubleException: array-exception\n"
     "Failed to create command line arguments.", 1),
    ("no main method", ["zep"], "method", "valid", "Failed to find main method.", 1),
    ("main throws", ["zep"], "main-throws", "valid",
     "Exception in thread \"main\" zeptest.DoubleException: main-throws\n"
     "Exception occurred when calling main method.", 1),
]


def main(valgrind, zep, homes, work):
    work = Path(work)
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    failures = 0
    for name, arguments, switches, home, expected_err, expected_code in CASES:
        log = work / "jvm.log"
        report = work / "memcheck.txt"
        log.unlink(missing_ok=True)
        if home == "copy":
            home_dir = work / "home"
            shutil.rmtree(home_dir, ignore_errors=True)
            shutil.copytree(Path(homes) / "valid", home_dir)
        else:
            home_dir = Path(homes) / home
        environment = dict(os.environ, QRVN_ZEP_JAVA_HOME=str(home_dir), ZEPTEST_JVM_LOG=str(log),
                           ZEPTEST_JVM_FAIL=switches)
        environment.pop("JAVA_HOME", None)
        result = subprocess.run(
            [valgrind, "--tool=memcheck", "--leak-check=full", "--errors-for-leak-kinds=definite,indirect,possible",
             f"--error-exitcode={LEAK_EXIT}", f"--log-file={report}", zep, *arguments],
            env=environment, cwd=work, capture_output=True, timeout=300)
        err = result.stderr.decode("utf-8", errors="replace")
        lines = log.read_text(encoding="utf-8").splitlines() if log.exists() else []
        loads = sum(line.startswith("load ") and line != "load refused" for line in lines)
        unloads = lines.count("unload")
        summary = report.read_text(errors="replace")
        problems = []
        if result.returncode != expected_code:
            problems.append(f"exit code {result.returncode}, expected {expected_code}")
        if err != expected_err:
            problems.append(f"stderr {err!r}, expected {expected_err!r}")
        if not re.search(r"ERROR SUMMARY: 0 errors", summary):
            problems.append("memcheck found errors")
        if loads != unloads:
            problems.append(f"{loads} loads of the JVM library but {unloads} releases")
        if problems:
            failures += 1
            print(f"FAIL {name}: " + "; ".join(problems))
            print(summary)
        else:
            print(f"ok   {name}")
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
