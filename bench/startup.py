#!/usr/bin/env python3
"""Times the launcher's start-up against what it cannot avoid.

Runs, interleaved round after round (the order rotating), an empty Java main
through:
  zep          the launcher (command word "animation" of the test archive)
  floor        jvm_floor: the discovery's load probe, the load, create, main, destroy
  floor-noprobe  the same without the probe load
  java         the JDK's own launcher, java -cp zep.jar <class>
and prints the median wall and CPU (user + system) time of each, and ratios.

    bench/startup.py BUILD_DIR [ROUNDS]       (BUILD_DIR: build/native)
"""
import os
import resource
import statistics
import subprocess
import sys
import time
from pathlib import Path

EMPTY_MAIN = "com/quorvane/gridmere/traffic/classic/ui/analysis/PlaybackWorker"


def timed(command, cwd):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    result = subprocess.run(command, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    if result.returncode != 0:
        sys.exit(f"{command[0]} failed ({result.returncode}): {result.stderr.decode(errors='replace')}")
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return wall, cpu


def main(build, rounds):
    build = Path(build).resolve()
    e2e = build / "tests" / "e2e"
    library = subprocess.run([build / "tests" / "find_runtime"], capture_output=True, text=True, check=True).stdout
    home = Path(library).parents[2]
    commands = {
        "zep": [build / "zep", "animation"],
        "floor": [build / "bench" / "jvm_floor", library, EMPTY_MAIN],
        "floor-noprobe": [build / "bench" / "jvm_floor", "--no-probe", library, EMPTY_MAIN],
        "java": [home / "bin" / "java", "-cp", "zep.jar", EMPTY_MAIN.replace("/", ".")],
    }
    os.environ["QRVN_ZEP_JAVA_HOME"] = str(home)
    names = list(commands)
    samples = {name: [] for name in names}
    for name in names:  # warm the file cache
        timed(commands[name], e2e)
    for round_ in range(rounds):
        order = names[round_ % len(names):] + names[:round_ % len(names)]
        for name in order:
            samples[name].append(timed(commands[name], e2e))

    median = {name: (statistics.median(w for w, _ in s), statistics.median(c for _, c in s))
              for name, s in samples.items()}
    print(f"runtime: {library}")
    print(f"rounds: {rounds}")
    print(f"{'':15}{'wall ms':>10}{'cpu ms':>10}")
    for name in names:
        wall, cpu = median[name]
        print(f"{name:15}{wall * 1000:10.1f}{cpu * 1000:10.1f}")
    for a, b in (("zep", "floor"), ("zep", "floor-noprobe"), ("floor", "floor-noprobe"), ("java", "zep")):
        print(f"{a} / {b}: wall {median[a][0] / median[b][0]:.3f}, cpu {median[a][1] / median[b][1]:.3f}")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "build/native", int(sys.argv[2]) if len(sys.argv) > 2 else 25)
