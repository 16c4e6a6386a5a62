#!/usr/bin/env python3
"""Fails unless the version resource and the manifest of a built Pelixo.exe
carry the project's version (the one the installer is named and built with).

    check_version.py <Pelixo.exe> <version, e.g. 1.0.2.0>
"""
import re
import struct
import sys


def utf16(text):
    return text.encode("utf-16-le")


def fixed_file_version(data):
    """The file version numbers of VS_FIXEDFILEINFO after VS_VERSION_INFO."""
    start = data.find(utf16("VS_VERSION_INFO\0"))
    if start < 0:
        sys.exit("no version resource")
    signature = data.find(struct.pack("<I", 0xFEEF04BD), start)
    if signature < 0 or signature - start > 64:
        sys.exit("no fixed file information in the version resource")
    _, _, ms, ls = struct.unpack_from("<IIII", data, signature)
    return "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)


def version_string(data, name):
    """A value of the resource's string table: key, zero padding to 4 bytes
    from the block's start, then the value up to its zero."""
    key = data.find(utf16(name + "\0"))
    if key < 0:
        sys.exit("no %s in the version resource" % name)
    block = key - 6  # wLength, wValueLength, wType come before the key
    value = block + 6 + len(utf16(name + "\0"))
    value += (4 - (value - block) % 4) % 4
    end = value
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[value:end].decode("utf-16-le")


def main():
    program, version = sys.argv[1], sys.argv[2]
    data = open(program, "rb").read()
    found = {
        "FILEVERSION": fixed_file_version(data),
        "FileVersion": version_string(data, "FileVersion"),
    }
    manifest = re.search(rb'name="Corvane\.Pelixo" version="([0-9.]+)"', data)
    found["manifest"] = manifest.group(1).decode() if manifest else "none"
    major_minor = ".".join(version.split(".")[:2])
    product = version_string(data, "ProductVersion")
    wrong = {k: v for k, v in found.items() if v != version}
    if product != major_minor:
        wrong["ProductVersion"] = product + " (not " + major_minor + ")"
    if wrong:
        sys.exit("%s does not carry version %s: %s" % (program, version, wrong))
    print("%s: version %s everywhere" % (program, version))


if __name__ == "__main__":
    main()
