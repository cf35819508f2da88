#!/usr/bin/env python3
"""Writes a release's build-information file: the commit, its moment, the tools that built it
(their own version lines and, where dpkg knows them, their Debian packages) and the SHA-256 of
the release files, so that anyone can set up the same tools and rebuild the same bytes. Then
SHA256SUMS over the release files and the build-information file, as sha256sum -c reads it.

buildinfo.py --out <file> --sums <file> --source <tree> --commit <hash> --epoch <s> --version <v>
             --cxx <compiler> --linker <ld> --makensis <makensis> --cmake <cmake> --python <python>
             --cxxflags <flags> --ldflags <flags>
             <release files...>
"""
import argparse
import hashlib
import os
import pathlib
import re
import shutil
import subprocess


def run(cmd, stdin=None):
    try:
        return subprocess.run(cmd, input=stdin, capture_output=True, text=True, check=True).stdout
    except (OSError, subprocess.CalledProcessError):
        return ""


def first_line(text):
    return text.strip().splitlines()[0].strip() if text.strip() else "unknown"


def debian_package(path):
    """'name (= version)' of the package that installed path, or ''."""
    if not path or not shutil.which("dpkg-query"):
        return ""
    real = os.path.realpath(path)
    for candidate in dict.fromkeys((path, real)):
        owner = run(["dpkg-query", "-S", candidate]).split(":")[0].strip()
        if owner and "," not in owner:
            version = run(["dpkg-query", "-W", "-f", "${Version}", owner]).strip()
            return f"{owner} (= {version})"
    return ""


def mingw_runtime(cxx):
    """The MinGW-w64 runtime's version and its header, as the compiler sees them."""
    probe = "#include <_mingw.h>\n__MINGW64_VERSION_MAJOR.__MINGW64_VERSION_MINOR.__MINGW64_VERSION_BUGFIX\n"
    out = run([cxx, "-x", "c++", "-E", "-P", "-"], probe)
    found = re.search(r"(\d+)\s*\.\s*(\d+)\s*\.\s*(\d+)\s*$", out.strip())
    version = ".".join(found.groups()) if found else "unknown"
    header = re.search(r"(\S*_mingw\.h)", run([cxx, "-x", "c++", "-M", "-"], "#include <_mingw.h>\n"))
    return f"MinGW-w64 runtime {version}", header.group(1) if header else ""


def sha256(path):
    return hashlib.sha256(pathlib.Path(path).read_bytes()).hexdigest()


def main():
    a = argparse.ArgumentParser()
    for name in ("out", "sums", "source", "commit", "epoch", "version", "cxx", "linker", "makensis", "cmake",
                 "python", "cxxflags", "ldflags"):
        a.add_argument("--" + name, default="")
    a.add_argument("files", nargs="*")
    args = a.parse_args()

    commit = args.commit or "unknown (not a git checkout)"
    if args.commit and run(["git", "-C", args.source, "status", "--porcelain", "--untracked-files=no"]).strip():
        commit += " (with uncommitted changes)"
    runtime, runtime_header = mingw_runtime(args.cxx)
    tools = [  # (what, version line, the file whose package says where it came from)
        ("compiler", first_line(run([args.cxx, "--version"])), args.cxx),
        ("binutils", first_line(run([args.linker, "--version"])), args.linker),
        ("runtime", runtime, runtime_header),
        ("nsis", ("makensis " + first_line(run([args.makensis, "-VERSION"]))) if args.makensis else "none",
         args.makensis),
        ("cmake", first_line(run([args.cmake, "--version"])), args.cmake),
        ("python", first_line(run([args.python, "--version"])), args.python),
    ]
    lines = ["Format: 1.0", "Source: Tavimbra", f"Version: {args.version}", f"Commit: {commit}",
             f"Source-Date-Epoch: {args.epoch}", "Build-Tools:"]
    lines += [f" {what}: {version}" for what, version, _ in tools]
    packages = sorted({p for p in (debian_package(shutil.which(path) or path) for _, _, path in tools) if p})
    if packages:
        lines += ["Installed-Build-Depends:"] + [f" {p}" for p in packages]
    lines += ["Build-Flags:", f" CMAKE_CXX_FLAGS: {args.cxxflags}".rstrip(),
              f" CMAKE_EXE_LINKER_FLAGS: {args.ldflags}".rstrip(), "Checksums-Sha256:"]
    for f in args.files:
        lines.append(f" {sha256(f)} {os.path.getsize(f)} {pathlib.Path(f).name}")
    pathlib.Path(args.out).write_text("\n".join(lines) + "\n", encoding="utf-8", newline="\n")

    listed = sorted(args.files + [args.out], key=lambda p: pathlib.Path(p).name)
    pathlib.Path(args.sums).write_text("".join(f"{sha256(f)}  {pathlib.Path(f).name}\n" for f in listed),
                                       encoding="utf-8", newline="\n")


if __name__ == "__main__":
    main()
