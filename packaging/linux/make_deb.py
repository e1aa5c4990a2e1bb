#!/usr/bin/env python3
"""Makes the Debian package, zep_<version>_<arch>.deb, that two builds of one
commit make byte for byte alike:

    make_deb.py --version V --epoch SECONDS --maintainer "NAME <ADDRESS>"
                --launcher zep --windowless zepw --jar zep.jar --runtime DIR
                --sources deb/ --icon-script make_icon.py --work DIR --output FILE.deb

The application goes to /usr/lib/gridmere (the launcher finds runtime/ beside
its real file; the desktop entry starts it in that folder, where its class
path, zep.jar, is), with a desktop entry, the icon in the hicolor theme, the
description of its two file kinds for shared-mime-info and its AppStream
metainfo. Its dependencies are what dpkg-shlibdeps finds the launcher and the
runtime's libraries need; those libraries are stripped as Debian strips a
package's, the launcher is left as the build made it. Every file is dated from the time given, owned by
root, and has mode 755 (folders and files anyone may run) or 644; the
builder's umask and clock change nothing.
"""

import argparse
import gzip
import hashlib
import os
import shutil
import stat
import subprocess
import sys
import time

PREFIX = "usr/lib/gridmere"
APP_ID = "com.quorvane.gridmere.LaneView"
ICON_SIZES = (16, 32, 48, 256)


def normalise(root, date):
    """Modes 755 or 644 and the one date, the links' own included."""
    for folder, directories, files in os.walk(root):
        for name in directories + files:
            path = os.path.join(folder, name)
            if os.path.islink(path):
                continue
            status = os.stat(path)
            runnable = stat.S_ISDIR(status.st_mode) or status.st_mode & 0o111
            os.chmod(path, 0o755 if runnable else 0o644)
    for folder, directories, files in os.walk(root):
        for name in directories + files:
            os.utime(os.path.join(folder, name), (date, date), follow_symlinks=False)
    os.chmod(root, 0o755)
    os.utime(root, (date, date))


def install(source, target, runnable=False):
    os.makedirs(os.path.dirname(target), exist_ok=True)
    shutil.copyfile(source, target)
    os.chmod(target, 0o755 if runnable else 0o644)


def is_elf(path):
    if os.path.islink(path) or not os.path.isfile(path):
        return False
    with open(path, "rb") as content:
        return content.read(4) == b"\x7fELF"


def strip_libraries(folder):
    """The runtime's libraries come from the JDK's jmods with their symbol
    tables; stripped as Debian strips every package's (dh_strip). The
    launcher is shipped as the build made and the tests ran it."""
    for parent, _, files in os.walk(folder):
        for name in sorted(files):
            path = os.path.join(parent, name)
            if is_elf(path):
                subprocess.run(["strip", "--remove-section=.comment", "--remove-section=.note", "--strip-unneeded",
                                path], check=True)


def gzip_file(data, target):
    """gzip -9n: neither a name nor a time in the header."""
    os.makedirs(os.path.dirname(target), exist_ok=True)
    with open(target, "wb") as raw, gzip.GzipFile(filename="", mode="wb", fileobj=raw, mtime=0,
                                                  compresslevel=9) as packed:
        packed.write(data)


def depends(work, package_root):
    """The Depends of the ELF files in the package, as dpkg-shlibdeps finds
    them; the runtime's libraries that others load are its own."""
    elf = []
    for folder, directories, files in os.walk(package_root):
        if "DEBIAN" in directories:
            directories.remove("DEBIAN")
        elf += [os.path.join(folder, name) for name in files if is_elf(os.path.join(folder, name))]
    runtime = os.path.join(package_root, PREFIX, "runtime/lib")
    # dpkg-shlibdeps reads the source package's control file.
    with open(os.path.join(work, "debian/control"), "w", encoding="utf-8") as control:
        control.write("Source: zep\n\nPackage: zep\nArchitecture: any\n")
    result = subprocess.run(
        ["dpkg-shlibdeps", "-O", "-l" + runtime, "-l" + os.path.join(runtime, "server"), "-e"] +
        sorted(os.path.relpath(path, work) for path in elf),
        cwd=work, check=True, stdout=subprocess.PIPE, text=True)
    for line in result.stdout.splitlines():
        if line.startswith("shlibs:Depends="):
            return line[len("shlibs:Depends="):]
    sys.exit("make_deb.py: dpkg-shlibdeps found no dependencies")


def installed_size(root):
    """In KiB, as dpkg-gencontrol counts it: every file and folder rounded up."""
    total = 0
    for folder, directories, files in os.walk(root):
        if "DEBIAN" in directories:
            directories.remove("DEBIAN")
        for name in directories + files:
            path = os.path.join(folder, name)
            size = 0 if os.path.isdir(path) and not os.path.islink(path) else os.lstat(path).st_size
            total += max(1, (size + 1023) // 1024)
    return total


def md5sums(root):
    lines = []
    for folder, directories, files in os.walk(root):
        if "DEBIAN" in directories:
            directories.remove("DEBIAN")
        for name in sorted(files):
            path = os.path.join(folder, name)
            if os.path.islink(path):
                continue
            with open(path, "rb") as content:
                digest = hashlib.md5(content.read()).hexdigest()
            lines.append(digest + "  " + os.path.relpath(path, root))
    return "".join(line + "\n" for line in sorted(lines, key=lambda line: line[34:]))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    for option in ("version", "epoch", "maintainer", "launcher", "windowless", "jar", "runtime", "sources",
                   "icon-script", "work", "output"):
        parser.add_argument("--" + option, required=True)
    args = parser.parse_args()
    date = int(args.epoch)
    architecture = subprocess.run(["dpkg", "--print-architecture"], check=True, stdout=subprocess.PIPE,
                                  text=True).stdout.strip()

    if os.path.lexists(args.work):
        shutil.rmtree(args.work)
    # Laid out as dpkg-shlibdeps expects a package's tree, so that it knows
    # the runtime's libraries ($ORIGIN in their RPATH) for the package's own.
    root = os.path.join(args.work, "debian/zep")
    control_folder = os.path.join(root, "DEBIAN")
    os.makedirs(control_folder)
    application = os.path.join(root, PREFIX)
    share = os.path.join(root, "usr/share")
    install(args.launcher, os.path.join(application, "zep"), runnable=True)
    install(args.windowless, os.path.join(application, "zepw"), runnable=True)
    install(args.jar, os.path.join(application, "zep.jar"))
    shutil.copytree(args.runtime, os.path.join(application, "runtime"), symlinks=True)
    strip_libraries(os.path.join(application, "runtime"))

    sources = args.sources
    install(os.path.join(sources, APP_ID + ".desktop"), os.path.join(share, "applications", APP_ID + ".desktop"))
    install(os.path.join(sources, "gridmere.xml"), os.path.join(share, "mime/packages/gridmere.xml"))
    with open(os.path.join(sources, APP_ID + ".metainfo.xml.in"), encoding="utf-8") as template:
        metainfo = template.read().replace("@VERSION@", args.version).replace(
            "@DATE@", time.strftime("%Y-%m-%d", time.gmtime(date)))
    os.makedirs(os.path.join(share, "metainfo"))
    with open(os.path.join(share, "metainfo", APP_ID + ".metainfo.xml"), "w", encoding="utf-8") as out:
        out.write(metainfo)
    for size in ICON_SIZES:
        icon = os.path.join(share, "icons/hicolor/%dx%d/apps" % (size, size), APP_ID + ".png")
        os.makedirs(os.path.dirname(icon))
        subprocess.run([sys.executable, args.icon_script, "--png", str(size), icon], check=True)
    documents = os.path.join(share, "doc/zep")
    os.makedirs(documents)
    with open(os.path.join(sources, "copyright.in"), encoding="utf-8") as template:
        copyright_text = template.read().replace("@YEAR@", time.strftime("%Y", time.gmtime(date)))
    with open(os.path.join(documents, "copyright"), "w", encoding="utf-8") as out:
        out.write(copyright_text)
    changelog = ("zep (%s) unstable; urgency=medium\n\n  * Release %s.\n\n -- %s  %s\n" % (
        args.version, args.version, args.maintainer,
        time.strftime("%a, %d %b %Y %H:%M:%S +0000", time.gmtime(date))))
    gzip_file(changelog.encode("utf-8"), os.path.join(documents, "changelog.gz"))
    install(os.path.join(sources, "lintian-overrides"), os.path.join(share, "lintian/overrides/zep"))

    normalise(root, date)
    sums = md5sums(root)
    control = (
        "Package: zep\n"
        "Version: %s\n"
        "Architecture: %s\n"
        "Maintainer: %s\n"
        "Installed-Size: %d\n"
        "Depends: %s\n"
        "Section: science\n"
        "Priority: optional\n"
        "Description: Gridmere LaneView, a traffic simulation\n"
        " A single-lane ring road as a cellular automaton: road models (.gmodel)\n"
        " are simulated into runs (.grun), which it lists, prints and replays in\n"
        " a window. It carries its own Java runtime.\n"
    ) % (args.version, architecture, args.maintainer, installed_size(root), depends(args.work, root))
    with open(os.path.join(control_folder, "control"), "w", encoding="utf-8") as out:
        out.write(control)
    with open(os.path.join(control_folder, "md5sums"), "w", encoding="utf-8") as out:
        out.write(sums)
    normalise(root, date)

    environment = dict(os.environ, SOURCE_DATE_EPOCH=str(date))
    partial = args.output + ".partial"
    subprocess.run(["dpkg-deb", "--root-owner-group", "-Zxz", "--build", root, partial], check=True,
                   env=environment, stdout=subprocess.DEVNULL)
    os.replace(partial, args.output)


if __name__ == "__main__":
    main()
