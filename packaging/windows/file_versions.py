#!/usr/bin/env python3
"""Reads the version resource of Windows programs and libraries, as the
installer's File table wants it:

    file_versions.py <file>...

prints, for every file given that carries a version resource, one line
"<file>\t<major.minor.build.revision>\t<languages>", the languages as decimal
language ids separated by commas (those of the resource's translations, or
else the resource's own language; empty when it names none). Files that are
no program, or carry no version resource, print nothing.
"""

import struct
import sys

RT_VERSION = 16
FIXED_FILE_INFO_SIGNATURE = 0xFEEF04BD


class NotVersioned(Exception):
    pass


def unpack(data, offset, layout):
    end = offset + struct.calcsize(layout)
    if offset < 0 or end > len(data):
        raise NotVersioned()
    return struct.unpack_from(layout, data, offset)


def resource_section(data):
    """The resource section's bytes and the address it is loaded at."""
    if data[:2] != b"MZ":
        raise NotVersioned()
    (header,) = unpack(data, 0x3C, "<I")
    if data[header:header + 4] != b"PE\0\0":
        raise NotVersioned()
    sections, optional_size = unpack(data, header + 6, "<H12xH")
    optional = header + 24
    (magic,) = unpack(data, optional, "<H")
    directories = {0x10B: 96, 0x20B: 112}.get(magic)
    if directories is None:
        raise NotVersioned()
    (directory_count,) = unpack(data, optional + directories - 4, "<I")
    if directory_count <= 2:
        raise NotVersioned()
    resources, _ = unpack(data, optional + directories + 2 * 8, "<II")
    table = optional + optional_size
    for index in range(sections):
        size, address, raw_size, raw_offset = unpack(data, table + 40 * index + 8, "<IIII")
        if address <= resources < address + max(size, raw_size):
            return data[raw_offset:raw_offset + raw_size], address
    raise NotVersioned()


def entries(section, directory):
    """(id or None for a name, offset, is a subdirectory) of a resource
    directory's entries."""
    named, numbered = unpack(section, directory + 12, "<HH")
    for index in range(named + numbered):
        name, target = unpack(section, directory + 16 + 8 * index, "<II")
        yield (None if name & 0x80000000 else name), target & 0x7FFFFFFF, bool(target & 0x80000000)


def version_resource(data):
    """The first version resource's bytes and its language id."""
    section, address = resource_section(data)
    for type_id, names, is_directory in entries(section, 0):
        if type_id != RT_VERSION or not is_directory:
            continue
        for _, languages, is_directory in entries(section, names):
            if not is_directory:
                continue
            for language, leaf, is_directory in entries(section, languages):
                if is_directory:
                    continue
                where, size = unpack(section, leaf, "<II")
                start = where - address
                if start < 0 or start + size > len(section):
                    raise NotVersioned()
                return section[start:start + size], language or 0
    raise NotVersioned()


def align(offset):
    return (offset + 3) & ~3


def blocks(data, offset, end):
    """(key, value bytes, children's offset, block's end) of the blocks of a
    version resource from offset to end."""
    while offset + 6 <= end:
        length, value_length, kind = unpack(data, offset, "<HHH")
        if length == 0:
            return
        key_end = offset + 6
        while key_end + 2 <= len(data) and data[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        key = data[offset + 6:key_end].decode("utf-16-le", "replace")
        value = align(key_end + 2)
        value_size = value_length * 2 if kind == 1 else value_length
        yield key, data[value:value + value_size], align(value + value_size), offset + length
        offset = align(offset + length)


def version_of(data):
    resource, resource_language = version_resource(data)
    for key, value, children, end in blocks(resource, 0, len(resource)):
        if key != "VS_VERSION_INFO" or len(value) < 52:
            break
        signature, _, most, least = struct.unpack_from("<IIII", value)
        if signature != FIXED_FILE_INFO_SIGNATURE:
            break
        version = f"{most >> 16}.{most & 0xFFFF}.{least >> 16}.{least & 0xFFFF}"
        languages = []
        for child_key, _, grandchildren, child_end in blocks(resource, children, end):
            if child_key != "VarFileInfo":
                continue
            for var_key, var_value, _, _ in blocks(resource, grandchildren, child_end):
                if var_key == "Translation":
                    for (translation,) in struct.iter_unpack("<I", var_value[:len(var_value) // 4 * 4]):
                        languages.append(str(translation & 0xFFFF))
        if not languages and resource_language:
            languages.append(str(resource_language))
        return version, ",".join(dict.fromkeys(languages))
    raise NotVersioned()


def main():
    for path in sys.argv[1:]:
        with open(path, "rb") as file:
            data = file.read()
        try:
            version, languages = version_of(data)
        except NotVersioned:
            continue
        print(f"{path}\t{version}\t{languages}")


if __name__ == "__main__":
    main()
