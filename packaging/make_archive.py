#!/usr/bin/env python3
"""Writes a folder as a .tar.gz or .zip that two builds of one commit make
byte for byte alike, whoever and wherever builds it:

    make_archive.py <folder> <archive.tar.gz | archive.zip> <seconds since 1970>

The archive holds the folder itself as its top entry, then everything in it,
in name order. Every entry is dated from the time given and owned by 0/0; a
folder and a file that anyone may run get mode 755, every other file 644,
whatever the builder's umask made of them. The gzip header carries neither a
name nor a time. A symbolic link stays one in a .tar.gz and becomes a copy of
what it leads to in a .zip, which Windows cannot unpack as a link.
"""

import gzip
import os
import stat
import sys
import tarfile
import time
import zipfile

PROGRAM_MODE = 0o755
FILE_MODE = 0o644


def entries(folder):
    """(path in the archive, path on disk) for the folder and everything in
    it, in name order."""
    top = os.path.basename(os.path.normpath(folder))
    found = [(top, folder)]
    for root, directories, files in os.walk(folder):
        directories.sort()
        relative = os.path.relpath(root, folder)
        for name in sorted(directories + files):
            inside = name if relative == "." else os.path.join(relative, name)
            found.append((top + "/" + inside.replace(os.sep, "/"), os.path.join(root, name)))
    return sorted(found, key=lambda entry: entry[0].encode("utf-8"))


def mode_of(path):
    status = os.stat(path)
    if stat.S_ISDIR(status.st_mode) or status.st_mode & 0o111:
        return PROGRAM_MODE
    return FILE_MODE


def write_tar_gz(folder, archive, date):
    with open(archive, "wb") as raw, gzip.GzipFile(filename="", mode="wb", fileobj=raw, mtime=0) as packed:
        with tarfile.open(fileobj=packed, mode="w", format=tarfile.GNU_FORMAT) as tar:
            for name, path in entries(folder):
                info = tar.gettarinfo(path, arcname=name)
                info.uid = info.gid = 0
                info.uname = info.gname = "root"
                info.mtime = date
                if info.issym():
                    info.mode = 0o777
                    tar.addfile(info)
                elif info.isdir():
                    info.mode = PROGRAM_MODE
                    tar.addfile(info)
                else:
                    info.mode = mode_of(path)
                    with open(path, "rb") as content:
                        tar.addfile(info, content)


def write_zip(folder, archive, date):
    # A ZIP entry's time has two-second steps and no zone: the date's UTC
    # fields, rounded down.
    fields = time.gmtime(date)[:6]
    if fields[0] < 1980:
        sys.exit("make_archive.py: a ZIP entry cannot be dated before 1980")
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as zip_file:
        for name, path in entries(folder):
            directory = os.path.isdir(path)
            info = zipfile.ZipInfo(name + "/" if directory else name, date_time=fields)
            info.create_system = 3  # modes as on Unix
            info.external_attr = ((stat.S_IFDIR if directory else stat.S_IFREG) | mode_of(path)) << 16
            if directory:
                info.external_attr |= 0x10  # the MS-DOS folder flag
                zip_file.writestr(info, b"")
            else:
                info.compress_type = zipfile.ZIP_DEFLATED
                with open(path, "rb") as content:
                    zip_file.writestr(info, content.read(), compresslevel=9)


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    folder, archive, date = sys.argv[1], sys.argv[2], int(sys.argv[3])
    partial = archive + ".partial"
    if archive.endswith(".tar.gz"):
        write_tar_gz(folder, partial, date)
    elif archive.endswith(".zip"):
        write_zip(folder, partial, date)
    else:
        sys.exit("make_archive.py: " + archive + " is neither a .tar.gz nor a .zip")
    os.replace(partial, archive)


if __name__ == "__main__":
    main()
