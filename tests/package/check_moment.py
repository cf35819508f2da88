#!/usr/bin/env python3
"""Holds every date in the release files to the moment of the commit they were built from: the
PE timestamps of the programs in the zip, the copyright years of the programs' and the installer's version
resources and of the manifests, the zip's entry times and the build information; and the holder
named in each copyright line to the one LICENSE names. A date taken
from the build machine's clock instead shows here (scripts/reproducible.sh builds a commit dated
long ago, so that the clock and the commit disagree on every date).

check_moment.py <dist folder> <seconds since 1970 of the commit>
"""
import pathlib
import re
import struct
import sys
import time
import zipfile

PROGRAMS = ("Tavimbra/Tavimbra.exe", "Tavimbra/Tavimset.exe", "Tavimbra/plugins/kovrand/kovrand.exe")
COPYRIGHT = re.compile(r"Copyright \(C\) (\d{4}) ([^\x00\r\n\"]*)")
LICENSE_HOLDER = re.compile(r"^Copyright \(c\) (.+)$", re.MULTILINE)


def pe_timestamp(data):
    at = struct.unpack_from("<I", data, 0x3C)[0]
    if data[at:at + 4] != b"PE\0\0":
        raise ValueError("no PE header")
    return struct.unpack_from("<I", data, at + 8)[0]


def errors(dist, epoch):
    dist = pathlib.Path(dist)
    year = time.gmtime(epoch).tm_year
    found = []
    version = next(dist.glob("Tavimbra-*-win64.zip")).name.split("-")[1]
    with zipfile.ZipFile(dist / f"Tavimbra-{version}-win64.zip") as z:
        shipped = {name: z.read(name) for name in PROGRAMS}
        holder = LICENSE_HOLDER.search(z.read("Tavimbra/LICENSE").decode("utf-8"))
    holder = holder.group(1).strip() if holder else "<none in LICENSE>"
    shipped[f"Tavimbra-{version}-setup.exe"] = (dist / f"Tavimbra-{version}-setup.exe").read_bytes()
    lines = {name: COPYRIGHT.findall(data.decode("utf-16-le", "ignore")) for name, data in shipped.items()}
    lines.update({f.name: COPYRIGHT.findall(f.read_text(encoding="utf-8"))
                  for f in sorted((dist / "winget").rglob("*.locale.*.yaml"))})
    for name, data in shipped.items():
        # The installer's PE header is makensis's own stub's, the same in every build.
        if name in PROGRAMS and pe_timestamp(data) != epoch & 0xFFFFFFFF:
            found.append(f"{name}: PE timestamp {pe_timestamp(data)}, the commit's is {epoch}")
    for name, found_lines in lines.items():
        years = [int(y) for y, _ in found_lines]
        if not years or set(years) != {year}:
            found.append(f"{name}: copyright years {years}, the commit's year is {year}")
        holders = sorted({h.strip() for _, h in found_lines} - {holder})
        if holders:
            found.append(f"{name}: copyright holder {holders}, LICENSE names {holder!r}")
    stamp = time.gmtime(epoch)[:5] + (time.gmtime(epoch).tm_sec // 2 * 2,)
    with zipfile.ZipFile(dist / f"Tavimbra-{version}-win64.zip") as z:
        odd = sorted({i.date_time for i in z.infolist()} - {stamp})
        if odd:
            found.append(f"zip entries dated {odd}, the commit's time is {stamp}")
    info = (dist / f"Tavimbra-{version}.buildinfo").read_text(encoding="utf-8")
    if f"\nSource-Date-Epoch: {epoch}\n" not in info:
        found.append(f"the build information does not name Source-Date-Epoch: {epoch}")
    return found


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    found = errors(sys.argv[1], int(sys.argv[2]))
    for e in found:
        print("FAIL:", e)
    if not found:
        print(f"every date of the release files is the commit's ({time.strftime('%Y-%m-%d %H:%M:%S', time.gmtime(int(sys.argv[2])))} UTC)")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
