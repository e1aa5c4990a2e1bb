#!/usr/bin/env python3
"""Times the Linux package's start to its first window, on an X server of its own.

Interleaved round after round (the order rotating), in the unpacked package's
folder, with the demo told to end once its window is shown
(-Dgridmere.exitWhenShown=true), the time from spawn to the window of:
  zep           the package's zep zep, its cache kept between starts
  zep first     the same, each start with a new empty cache (it makes the archive)
  zep no cache  the same, with a cache folder that cannot be made
  java          java -cp zep.jar <lane view class> on the same runtime
and the wall and CPU time of zep ls in the same three cache states and of
java with the catalog's class. The cache is XDG_CACHE_HOME, in a scratch folder.

The package's runtime has no bin/java: "java" is a copy of that runtime (hard
links, the same files) with the bin/java that jlink took from the JDK's
java.base.jmod before the build removed it.

    bench/window.py BUILD_DIR [ROUNDS]        (BUILD_DIR: build/native, packaged)
"""
import itertools
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

from startup import timed, unpack_package

LANE_VIEW = "com.quorvane.gridmere.traffic.classic.ui.x.LaneViewX"
CATALOG = "com.quorvane.gridmere.traffic.classic.ui.x.CatalogRuns"
EXIT_WHEN_SHOWN = "-Dgridmere.exitWhenShown=true"


def start_x_server():
    """Xvfb on a display number it picks among the free ones; returns (process, ":N")."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp", "-noreset",
                               "-screen", "0", "1024x768x24"], pass_fds=[write_end],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as numbers:
        number = numbers.readline().strip()  # written once the server listens
    if not number:
        server.kill()
        sys.exit("Xvfb did not come up")
    return server, ":" + number


def to_window(command, env, cwd):
    """Seconds from spawn to the time the demo says its window was shown, and to its end."""
    start = time.time()
    result = subprocess.run(command, cwd=cwd, env=env, capture_output=True, text=True, timeout=120)
    end = time.time()
    words = result.stdout.split()
    if result.returncode != 0 or words[:3] != ["window", "shown", "at"]:
        sys.exit(f"{command[0]} showed no window ({result.returncode}):\n{result.stdout}{result.stderr}")
    return int(words[3]) / 1e6 - start, end - start


def cache_files(cache):
    folder = cache / "gridmere" / "cds"
    return {p.name: (p.stat().st_size, p.stat().st_mtime_ns) for p in folder.rglob("*") if p.is_file()} \
        if folder.is_dir() else {}


def archive_state(command, env, cwd, cache):
    """What one traced start did with the launcher's archive: from the cache folder, the trace, and the
    classes the runtime loaded from a dynamic archive (the "top" layer over the runtime's own)."""
    before = cache_files(cache)
    env = dict(env, QRVN_ZEP_TRACE="1", JAVA_TOOL_OPTIONS="-Xlog:class+load=info:stderr")
    err = subprocess.run(command, cwd=cwd, env=env, capture_output=True, text=True, timeout=120).stderr
    after = cache_files(cache)
    changed = sorted(name for name in after if after[name] != before.get(name))
    trace = [line for line in err.splitlines() if line.startswith("zep: ")
             and any(word in line.lower() for word in ("archive", "cds", "share"))]
    top = sum("source: shared objects file (top)" in line for line in err.splitlines())
    made = f"made or changed {', '.join(changed)}" if changed else "nothing made"
    return f"{made}; {len(after)} file(s) in the cache; {top} classes from a dynamic archive", trace


def main(build, rounds, scratch):
    build = Path(build).resolve()
    scratch = Path(scratch)
    launcher = unpack_package(build, scratch / "package")
    folder = launcher.parent
    cmake_cache = dict(line.split("=", 1) for line in (build / "CMakeCache.txt").read_text().splitlines()
                       if "=" in line and not line.startswith(("//", "#")))
    jmods = Path(cmake_cache["ZEP_JDK_JMODS:PATH"])
    jdk = Path(cmake_cache["ZEP_JNI_INCLUDE_DIR:PATH"]).parent

    # The package's runtime again, with the java launcher that jlink put there first.
    image = scratch / "java-runtime"
    shutil.copytree(folder / "runtime", image, copy_function=os.link)
    extracted = scratch / "java.base"
    subprocess.run([jdk / "bin" / "jmod", "extract", "--dir", extracted, jmods / "java.base.jmod"], check=True)
    (image / "bin").mkdir()
    shutil.copy(extracted / "bin" / "java", image / "bin" / "java")
    (image / "bin" / "java").chmod(0o755)
    java = image / "bin" / "java"

    server, display = start_x_server()
    try:
        untraced = {k: v for k, v in os.environ.items() if k not in (
            "QRVN_ZEP_JAVA_HOME", "QRVN_ZEP_TRACE", "JAVA_TOOL_OPTIONS", "WAYLAND_DISPLAY", "XDG_CONFIG_HOME")}
        # An empty home: no user's options file, and nothing written into the user's own cache.
        (scratch / "home").mkdir()
        base = dict(untraced, DISPLAY=display, HOME=str(scratch / "home"))
        kept = scratch / "cache"
        (scratch / "not-a-folder").write_text("")
        with_cache = dict(base, XDG_CACHE_HOME=str(kept))
        without = dict(base, XDG_CACHE_HOME=str(scratch / "not-a-folder" / "cache"))

        chosen = f'runtime search chose "{folder / "runtime"}/lib/server/libjvm.so"'
        trace = subprocess.run([launcher, "ls"], cwd=folder, env=dict(without, QRVN_ZEP_TRACE="1"),
                               capture_output=True, text=True).stderr
        if chosen not in trace:
            sys.exit(f"the package's launcher did not run on its own runtime:\n{trace}")
        print("java: " + subprocess.run([java, "-version"], capture_output=True, text=True).stderr.splitlines()[1])

        # The kept cache's archives, each made by its command's first start, timed alone.
        shown, ended = to_window([launcher, EXIT_WHEN_SHOWN, "zep"], with_cache, folder)
        print(f"first start of zep zep, kept cache: window {shown * 1000:.1f} ms, end {ended * 1000:.1f} ms")
        print(f"first start of zep ls, kept cache: {timed([launcher, 'ls'], with_cache, folder)[0] * 1000:.1f} ms")

        fresh = itertools.count()

        def new_cache():
            return dict(base, XDG_CACHE_HOME=str(scratch / "fresh" / str(next(fresh))))

        window = {
            "zep": lambda: to_window([launcher, EXIT_WHEN_SHOWN, "zep"], with_cache, folder),
            "zep first": lambda: to_window([launcher, EXIT_WHEN_SHOWN, "zep"], new_cache(), folder),
            "zep no cache": lambda: to_window([launcher, EXIT_WHEN_SHOWN, "zep"], without, folder),
            "java": lambda: to_window([java, EXIT_WHEN_SHOWN, "-cp", "zep.jar", LANE_VIEW], base, folder),
        }
        listing = {
            "zep ls": lambda: timed([launcher, "ls"], with_cache, folder),
            "zep ls first": lambda: timed([launcher, "ls"], new_cache(), folder),
            "zep ls no cache": lambda: timed([launcher, "ls"], without, folder),
            "java ls": lambda: timed([java, "-cp", "zep.jar", CATALOG], base, folder),
        }
        runs = dict(window, **listing)
        names = list(runs)
        samples = {name: [] for name in names}
        for name in names:  # warm the file cache
            runs[name]()
        for round_ in range(rounds):
            for name in names[round_ % len(names):] + names[:round_ % len(names)]:
                samples[name].append(runs[name]())
                shutil.rmtree(scratch / "fresh", ignore_errors=True)

        print("\nwhat each start of the package did with the launcher's archive (one traced start each):")
        for label, command, env in (("zep", [launcher, EXIT_WHEN_SHOWN, "zep"], with_cache),
                                    ("zep first", [launcher, EXIT_WHEN_SHOWN, "zep"], new_cache()),
                                    ("zep no cache", [launcher, EXIT_WHEN_SHOWN, "zep"], without),
                                    ("zep ls", [launcher, "ls"], with_cache),
                                    ("zep ls first", [launcher, "ls"], new_cache()),
                                    ("zep ls no cache", [launcher, "ls"], without)):
            summary, lines = archive_state(command, env, folder, Path(env["XDG_CACHE_HOME"]))
            print(f"  {label}: {summary}")
            for line in lines:
                print(f"      {line}")
    finally:
        server.terminate()
        server.wait(10)

    print(f"\nrounds: {rounds}")
    # The quartiles show the noise: before the launcher keeps an archive, the three zep rows are one program.
    # The archive is written as the program ends: after the window, but before the end.
    print(f"{'ms':18}{'window':>9}{'q1':>9}{'q3':>9}{'end':>9}")
    median = {}
    for name in window:
        shown = [w for w, _ in samples[name]]
        median[name] = statistics.median(shown)
        median[name + " end"] = statistics.median(e for _, e in samples[name])
        q1, _, q3 = statistics.quantiles(shown)
        print(f"{name:18}{median[name] * 1000:9.1f}{q1 * 1000:9.1f}{q3 * 1000:9.1f}{median[name + ' end'] * 1000:9.1f}")
    print(f"{'ms':18}{'wall':>9}{'q1':>9}{'q3':>9}{'cpu':>9}")
    for name in listing:
        walls = [w for w, _ in samples[name]]
        median[name] = statistics.median(walls)
        q1, _, q3 = statistics.quantiles(walls)
        cpu = statistics.median(c for _, c in samples[name])
        print(f"{name:18}{median[name] * 1000:9.1f}{q1 * 1000:9.1f}{q3 * 1000:9.1f}{cpu * 1000:9.1f}")
    for a, b in (("zep", "java"), ("zep", "zep no cache"), ("zep first", "zep"), ("zep first end", "zep end"),
                 ("zep ls", "java ls"), ("zep ls", "zep ls no cache"), ("zep ls first", "zep ls")):
        print(f"{a} / {b}: {median[a] / median[b]:.3f} ({(median[a] - median[b]) * 1000:+.1f} ms)")


if __name__ == "__main__":
    with tempfile.TemporaryDirectory() as scratch:
        main(sys.argv[1] if len(sys.argv) > 1 else "build/native", int(sys.argv[2]) if len(sys.argv) > 2 else 15,
             scratch)
