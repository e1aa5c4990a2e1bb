#!/usr/bin/env python3
"""Times the launcher's start-up against what it cannot avoid.

Runs, interleaved round after round (the order rotating), an empty Java main
through:
  zep          the launcher (command word "animation" of the test archive)
  floor        jvm_floor: the discovery's load probe, the load, create, main, destroy
  floor-noprobe  the same without the probe load
  java         the JDK's own launcher, java -cp zep.jar <class>
  package      zep of the Linux package, unpacked, on the runtime it carries
and prints the median wall and CPU (user + system) time of each, and ratios.
All run in the test archive's folder, whose zep.jar is their class path.

    bench/startup.py BUILD_DIR [ROUNDS]       (BUILD_DIR: build/native, packaged)
"""
import os
import resource
import statistics
import subprocess
import sys
import tarfile
import tempfile
import time
from pathlib import Path

EMPTY_MAIN = "com/quorvane/gridmere/traffic/classic/ui/analysis/PlaybackWorker"


def timed(command, env, cwd):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    result = subprocess.run(command, cwd=cwd, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    if result.returncode != 0:
        sys.exit(f"{command[0]} failed ({result.returncode}): {result.stderr.decode(errors='replace')}")
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return wall, cpu


def unpack_package(build, scratch):
    """The launcher of the package the build made, unpacked into scratch."""
    packages = sorted(build.glob("zep-*-linux-*.tar.gz"))
    if len(packages) != 1:
        sys.exit(f"expected one package in {build}, found {len(packages)}: run cpack --preset native")
    with tarfile.open(packages[0]) as archive:
        archive.extractall(scratch)
    (launcher,) = Path(scratch).resolve().glob("*/zep")
    return launcher


def main(build, rounds, scratch):
    build = Path(build).resolve()
    e2e = build / "tests" / "e2e"
    library = subprocess.run([build / "tests" / "find_runtime"], capture_output=True, text=True, check=True).stdout
    home = Path(library).parents[2]
    packaged = unpack_package(build, scratch)
    untraced = {k: v for k, v in os.environ.items() if k not in ("QRVN_ZEP_JAVA_HOME", "QRVN_ZEP_TRACE")}
    on_the_jdk = dict(untraced, QRVN_ZEP_JAVA_HOME=str(home))
    on_its_own = untraced
    commands = {
        "zep": ([build / "zep", "animation"], on_the_jdk),
        "floor": ([build / "bench" / "jvm_floor", library, EMPTY_MAIN], on_the_jdk),
        "floor-noprobe": ([build / "bench" / "jvm_floor", "--no-probe", library, EMPTY_MAIN], on_the_jdk),
        "java": ([home / "bin" / "java", "-cp", "zep.jar", EMPTY_MAIN.replace("/", ".")], on_the_jdk),
        "package": ([packaged, "animation"], on_its_own),
    }
    # The package's launcher must run on its own runtime, not on one installed.
    chosen = f'runtime search chose "{packaged.parent / "runtime"}/lib/server/libjvm.so"'
    trace = subprocess.run([packaged, "animation"], cwd=e2e, env=dict(untraced, QRVN_ZEP_TRACE="1"),
                           capture_output=True, text=True).stderr
    if chosen not in trace:
        sys.exit(f"the package's launcher did not run on its own runtime:\n{trace}")
    names = list(commands)
    samples = {name: [] for name in names}
    for name in names:  # warm the file cache
        timed(*commands[name], e2e)
    for round_ in range(rounds):
        order = names[round_ % len(names):] + names[:round_ % len(names)]
        for name in order:
            samples[name].append(timed(*commands[name], e2e))

    median = {name: (statistics.median(w for w, _ in s), statistics.median(c for _, c in s))
              for name, s in samples.items()}
    print(f"runtime: {library}")
    print(f"rounds: {rounds}")
    print(f"{'':15}{'wall ms':>10}{'cpu ms':>10}")
    for name in names:
        wall, cpu = median[name]
        print(f"{name:15}{wall * 1000:10.1f}{cpu * 1000:10.1f}")
    for a, b in (("zep", "floor"), ("zep", "floor-noprobe"), ("floor", "floor-noprobe"), ("java", "zep"),
                 ("package", "zep")):
        print(f"{a} / {b}: wall {median[a][0] / median[b][0]:.3f}, cpu {median[a][1] / median[b][1]:.3f}")


if __name__ == "__main__":
    with tempfile.TemporaryDirectory() as scratch:
        main(sys.argv[1] if len(sys.argv) > 1 else "build/native", int(sys.argv[2]) if len(sys.argv) > 2 else 25,
             scratch)
