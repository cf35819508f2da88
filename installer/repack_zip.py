#!/usr/bin/env python3
"""Writes a zip again with nothing of the machine that packed it: entries sorted by name,
every time the given moment, fixed permissions, no owner ids or extra fields.

repack_zip.py <in.zip> <out.zip> <seconds since 1970 UTC>
"""
import sys
import time
import zipfile


def repack(src, dst, epoch):
    # DOS times start in 1980 and have no zone: the UTC calendar time, as others do.
    stamp = time.gmtime(max(epoch, 315532800))[:6]
    with zipfile.ZipFile(src) as zin, zipfile.ZipFile(dst, "w") as zout:
        for name in sorted(i.filename for i in zin.infolist()):
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.create_system = 3  # Unix, so the modes below are read
            if name.endswith("/"):
                info.external_attr = (0o40755 << 16) | 0x10  # + MS-DOS directory bit
                zout.writestr(info, b"")
            else:
                info.external_attr = 0o100644 << 16
                info.compress_type = zipfile.ZIP_DEFLATED
                zout.writestr(info, zin.read(name), compresslevel=9)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    repack(sys.argv[1], sys.argv[2], int(sys.argv[3]))
