#!/usr/bin/env python3
"""Writes the benchmark inputs into a folder (argument): the ASCII point
files of the send, the DC job and points file of the export, the DC job of
the translation, the KX77 coordinate file of koordles and a large
Formats.ini."""
import os
import sys

POINTS = 1_000_000
TRANSLATE_LINES = 499_999  # just under the library's 500,000-line limit


def col(*fields):
    """A DC record from (text, width) pairs laid side by side."""
    out = []
    for text, width in fields:
        out.append(str(text)[:width].ljust(width) if width else str(text))
    return "".join(out)


def point(i):
    north = 6100000.0 + (i * 7919 % 99991) * 1.001
    east = 500000.0 + (i * 104729 % 99989) * 0.999
    height = 10.0 + (i % 9973) * 0.011
    return "P%d" % i, north, east, height, "K%d" % (i % 97)


def write_send(folder):
    with open(os.path.join(folder, "send.csv"), "w", newline="") as f:
        f.write("Punkt,Nord,Oest,Kote,Kode\r\n")
        for i in range(POINTS):
            n, x, y, z, c = point(i)
            f.write("%s,%.3f,%.3f,%.3f,%s\r\n" % (n, x, y, z, c))
        f.write("end\r\n")
    with open(os.path.join(folder, "send.txt"), "w", newline="") as f:
        for i in range(POINTS):
            n, x, y, z, c = point(i)
            f.write("%-10s%14.3f%14.3f%10.3f %-8s\r\n" % (n, x, y, z, c))


def write_export(folder):
    half = POINTS // 2
    with open(os.path.join(folder, "export.dc"), "w", newline="") as f:
        f.write("00NMTP V10-70           08-Dec-26 07:00 213110\r\n")
        f.write("10NMBENCH           \r\n")
        for i in range(half):
            n, x, y, z, c = point(i)
            f.write(col(("69KI", 4), (n, 16), ("%.3f" % x, 16), ("%.3f" % y, 16),
                        ("%.3f" % z, 16), (c, 16), ("11", 2)) + "\r\n")
        for i in range(half, POINTS):
            n, x, y, z, c = point(i)
            f.write(col(("66KI", 4), (n, 16), ("", 48), (c, 16), ("41", 2),
                        ("0.012", 16), ("0.020", 16)) + "\r\n")
    with open(os.path.join(folder, "export.tic"), "w", newline="") as f:
        f.write('JOB,"BENCH",1070\r\n')
        for i in range(half, POINTS):
            n, x, y, z, c = point(i)
            f.write('NEZ,"%s","%s",%.3f,%.3f,%.3f,\r\n' % (n, c, x, y, z))


def write_translate(folder):
    head = [
        "00NMTP V10-70           08-Dec-26 07:00 213110",
        "10NMBENCH           ",
        col(("64NM", 4), ("3", 1), ("", 16), ("9.5", 16)),
        col(("65NM", 4), ("6378137", 16)),
        col(("61NM", 4), ("R10", 8), ("12345", 8), ("", 3), ("R10 Internal", 30),
            ("", 24), ("0.1", 16), ("0.05", 16)),
        col(("57NM", 4), ("2.01", 16), ("1", 1)),
    ]
    lines = list(head)
    i = 0
    while len(lines) < TRANSLATE_LINES:
        s = "S%d" % i
        n, x, y, z, c = point(i)
        block = [
            col(("02NM", 4), (s, 16), ("%.3f" % x, 16), ("%.3f" % y, 16),
                ("%.3f" % z, 16), ("1.650", 16)),
            col(("07NM", 4), (s, 16), ("B%d" % i, 16), ("12.3456", 16), ("0.0000", 16)),
            col(("09NM", 4), (s, 16), ("T%d" % i, 16), ("123.456", 16), ("99.8765", 16),
                ("234.5678", 16)),
            col(("08NM", 4), (n, 16), ("%.3f" % x, 16), ("%.3f" % y, 16), ("%.3f" % z, 16),
                (c, 16)),
            col(("69KI", 4), ("Q%d" % i, 16), ("%.3f" % (x + 1), 16), ("%.3f" % y, 16),
                ("%.3f" % z, 16), (c, 16), ("11", 2)),
            col(("66NM", 4), ("G%d" % i, 16), ("", 48), (c, 16), ("41", 2),
                ("0.010", 16), ("0.020", 16)),
            col(("C6NM", 4), ("12", 2), ("", 17), ("0.8", 16), ("1.2", 16), ("0.015", 16)),
            col(("09NM", 4), (s, 16), ("U%d" % i, 16), ("45.678", 16), ("101.2345", 16),
                ("12.3456", 16)),
        ]
        lines.extend(block)
        i += 1
    del lines[TRANSLATE_LINES:]
    with open(os.path.join(folder, "translate.dc"), "w", newline="") as f:
        f.write("\r\n".join(lines) + "\r\n")


def write_koordles(folder):
    with open(os.path.join(folder, "koordles.kx77"), "w", newline="") as f:
        f.write("/* Job            : BENCH\r\n")
        f.write("Koordinatsystem: KP2000 Jylland/Fyn\r\n")
        f.write("' Pkt.nr.    ,   Y meter    ,   X meter   ,   Kote   , Type     ,"
                "                    '\r\n")
        for i in range(POINTS - 3):
            n, x, y, z, c = point(i)
            f.write("%10s%16.3f%16.3f%11.3f %s\r\n" % (n, x, y, z, c))


INI_KEYS = 100_000


def write_formats(folder):
    """About 10 MB and 100,000 keys: one section of 60,000 entries of one
    repeated key, and 2,000 sections of 20 keys each."""
    padding = "x" * 70
    with open(os.path.join(folder, "formats.ini"), "w", newline="") as f:
        f.write("[Repeated]\r\nNAME=Repeated keys\r\nDIRECTION=Upload\r\n")
        repeated = INI_KEYS - 2 - 2000 * 20
        for i in range(repeated):
            f.write("FIELD=NAME,STRING,10,0,LEFT,%s%d\r\n" % (padding, i))
        for s in range(2000):
            f.write("[S%04d]\r\nNAME=Section %d\r\nDIRECTION=Download\r\n" % (s, s))
            for k in range(18):
                f.write("FIELD%d=NORTHING,REAL,12,3,RIGHT,%s%d\r\n" % (k, padding, s))


def write_registry(folder):
    # A settings store of 100,000 keys: device families with a few values
    # each, some of them deep, and Pelixo's own key among them.
    with open(os.path.join(folder, "registry.reg"), "w", newline="") as f:
        f.write("REGEDIT4\n")
        base = "HKEY_CURRENT_USER\\Software\\Corvane\\Syncrona\\Device Drivers"
        f.write("\n[HKEY_CURRENT_USER\\Software]\n")
        f.write("\n[HKEY_CURRENT_USER\\Software\\Corvane]\n")
        f.write("\n[HKEY_CURRENT_USER\\Software\\Corvane\\Syncrona]\n")
        f.write("\n[%s]\n" % base)
        keys = 4
        family = 0
        while keys < 100000 - 1:
            path = "%s\\Family%05d" % (base, family)
            f.write("\n[%s]\n\"Port\"=\"COM%d\"\n\"Timeout\"=dword:%08x\n"
                    % (path, family % 9 + 1, family))
            keys += 1
            for depth in range(min(19, 100000 - 1 - keys)):
                path += "\\Level%d" % depth
                f.write("\n[%s]\n\"Value\"=hex:01,02,03\n" % path)
                keys += 1
            family += 1
        f.write("\n[HKEY_CURRENT_USER\\Software\\Corvane\\Pelixo]\n"
                "\"CoordUnits\"=dword:00000000\n")


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    which = sys.argv[2:] or ["send", "export", "translate", "koordles", "formats", "registry"]
    for name in which:
        globals()["write_" + name](folder)


if __name__ == "__main__":
    main()
