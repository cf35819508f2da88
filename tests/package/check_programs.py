#!/usr/bin/env python3
"""Reads the shipped programs back: the Windows functions they import and the awareness their
manifest asks for must exist on the oldest Windows the release declares; they are stripped
(their symbols kept in the build folder), terminal-server aware, and hold no path of the
machine that built them.

check_programs.py <installation folder> <windows build folder> [dist folder]
"""
import pathlib
import re
import subprocess
import sys

import yaml

ROOT = pathlib.Path(__file__).resolve().parents[2]
OBJDUMP = "x86_64-w64-mingw32-objdump"
PROGRAMS = ("Tavimbra.exe", "Tavimset.exe", "plugins/kovrand/kovrand.exe")

# The first Windows that has each function (its build number); anything not listed is older
# than Windows 10's first release.
WIN81 = (6, 3, 9600)
V1607 = (10, 0, 14393)
V1703 = (10, 0, 15063)
V1803 = (10, 0, 17134)
FIRST_WINDOWS = {
    "shcore.dll": {"GetDpiForMonitor": WIN81, "SetProcessDpiAwareness": WIN81,
                   "GetProcessDpiAwareness": WIN81, "GetScaleFactorForMonitor": WIN81},
    "user32.dll": {"GetDpiForWindow": V1607, "GetDpiForSystem": V1607, "AdjustWindowRectExForDpi": V1607,
                   "GetSystemMetricsForDpi": V1607, "SystemParametersInfoForDpi": V1607,
                   "EnableNonClientDpiScaling": V1607, "SetThreadDpiAwarenessContext": V1607,
                   "GetThreadDpiAwarenessContext": V1607, "GetWindowDpiAwarenessContext": V1607,
                   "GetAwarenessFromDpiAwarenessContext": V1607, "AreDpiAwarenessContextsEqual": V1607,
                   "IsValidDpiAwarenessContext": V1607, "SetProcessDpiAwarenessContext": V1703,
                   "GetSystemDpiForProcess": V1803, "GetDpiFromDpiAwarenessContext": V1803,
                   "SetThreadDpiHostingBehavior": V1803},
    "kernel32.dll": {"SetThreadDescription": V1607, "GetThreadDescription": V1607},
}
# What a manifest's dpiAwareness asks for has an effect only from these builds on.
MANIFEST_FIRST_WINDOWS = {"PerMonitorV2": V1703}


def objdump(*args):
    return subprocess.run([OBJDUMP, *args], check=True, capture_output=True, text=True).stdout


def imports(dump):
    """objdump -p text -> {(dll lower-case, function)}"""
    found, dll = set(), None
    for line in dump.splitlines():
        m = re.match(r"\s*DLL Name: (\S+)", line)
        if m:
            dll = m.group(1).lower()
        elif dll and (m := re.match(r"\s+[0-9a-f]+\s+\d+\s+(\w+)\s*$", line)):
            found.add((dll, m.group(1)))
        elif not line.strip():
            pass
        elif line.startswith("The ") or line.startswith("PE File Base Relocations"):
            dll = None
    return found


def needs(found, manifest_text):
    """-> [(version, why)] of everything newer than Windows 10's first release."""
    out = [(FIRST_WINDOWS[dll][fn], f"{dll}!{fn}") for dll, fn in found if fn in FIRST_WINDOWS.get(dll, {})]
    awareness = re.search(r"<dpiAwareness[^>]*>([^<]*)<", manifest_text or "")
    for value in (awareness.group(1).split(",") if awareness else []):
        if value.strip() in MANIFEST_FIRST_WINDOWS:
            out.append((MANIFEST_FIRST_WINDOWS[value.strip()], f"manifest dpiAwareness {value.strip()}"))
    return out


def version_tuple(text):
    return tuple(int(x) for x in text.split("."))[:3]


def program_errors(exe, dump, headers, declared):
    errors = []
    manifest = (ROOT / "resources" / "app.manifest").read_text(encoding="utf-8")
    for need, why in sorted(needs(imports(dump), manifest)):
        if need > declared:
            errors.append(f"{exe.name} needs Windows {'.'.join(map(str, need))} ({why}), "
                          f"the release declares {'.'.join(map(str, declared))}")
    m = re.search(r"^DllCharacteristics\s+([0-9a-fA-F]+)", dump, re.M)
    if not m or not int(m.group(1), 16) & 0x8000:
        errors.append(f"{exe.name} is not terminal-server aware")
    if re.search(r"\s\.debug_\w+\s", headers) or re.search(r"^NumberOfSymbols\s+0*[1-9]", dump, re.M):
        errors.append(f"{exe.name} is not stripped")
    data = exe.read_bytes()
    for path in {str(ROOT), str(ROOT.resolve())}:
        for enc in ("utf-8", "utf-16-le"):
            if path.encode(enc) in data:
                errors.append(f"{exe.name} holds the build path {path} ({enc})")
    return errors


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    folder, build = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    dist = pathlib.Path(sys.argv[3]) if len(sys.argv) > 3 else ROOT / "dist"
    version = re.search(r"project\(Tavimbra VERSION ([0-9.]+)", (ROOT / "CMakeLists.txt").read_text()).group(1)
    installer = dist / "winget" / "Tavimbra.Tavimbra" / version / "Tavimbra.Tavimbra.installer.yaml"
    declared_text = str(yaml.safe_load(installer.read_text(encoding="utf-8"))["MinimumOSVersion"])
    declared = version_tuple(declared_text)
    failures = []
    # The README tells users the same minimum (as its build number).
    if f"{declared[2]}" not in (ROOT / "README.md").read_text(encoding="utf-8"):
        failures.append(f"README does not name Windows build {declared[2]}")

    for rel in PROGRAMS:
        exe = folder / rel
        failures += program_errors(exe, objdump("-p", str(exe)), objdump("-h", str(exe)), declared)
        symbols = list(build.rglob(pathlib.Path(rel).name + ".debug"))
        if not symbols or ".debug_info" not in objdump("-h", str(symbols[0])):
            failures.append(f"no debug symbols of {rel} in {build}")

    # The table is only worth something if it catches a function newer than the declared minimum.
    probe = needs({("user32.dll", "GetDpiForWindow"), ("user32.dll", "GetWindowTextW")}, "")
    if probe != [(V1607, "user32.dll!GetDpiForWindow")] or needs(set(), "<dpiAwareness>PerMonitorV2, PerMonitor<") \
            != [(V1703, "manifest dpiAwareness PerMonitorV2")]:
        failures.append(f"the first-version table does not find what it lists: {probe}")

    for f in failures:
        print("FAIL:", f)
    if failures:
        return 1
    print(f"programs: stripped, terminal-server aware, no build path, nothing newer than Windows {declared_text}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
