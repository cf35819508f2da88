#!/usr/bin/env python3
"""The release's own scripts, run in throwaway folders: the build's moment (cmake/moment.cmake),
the release addresses derived at every configure (cmake/release_addresses.cmake) and the gate of
scripts/build.sh release, which stops before building when an address is missing or a placeholder.

python3 tests/package/test_release_scripts.py
"""
import os
import pathlib
import subprocess
import tempfile
import unittest

ROOT = pathlib.Path(__file__).resolve().parents[2]
JAN_2026 = 1767229200   # 2026-01-01 01:00 UTC
DEC_2025 = 1767222000   # 2025-12-31 23:00 UTC


def run(cmd, cwd=None, env=None, **kw):
    return subprocess.run(cmd, cwd=cwd, env=env, capture_output=True, text=True, **kw)


def clean_env(**extra):
    env = {k: v for k, v in os.environ.items() if k not in ("SOURCE_DATE_EPOCH", "GIT_DIR", "GIT_WORK_TREE")}
    env.update(extra)
    return env


class Moment(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.tree = pathlib.Path(self.tmp.name) / "tree"
        self.out = pathlib.Path(self.tmp.name) / "moment"
        self.tree.mkdir()

    def tearDown(self):
        self.tmp.cleanup()

    def commit(self, when):
        env = clean_env(GIT_COMMITTER_DATE=f"@{when} +0000", GIT_AUTHOR_DATE=f"@{when} +0000")
        if not (self.tree / ".git").exists():
            run(["git", "init", "-q"], cwd=self.tree, check=True)
        run(["git", "-c", "user.name=t", "-c", "user.email=t@t", "commit", "-q", "--allow-empty", "-m", "x"],
            cwd=self.tree, env=env, check=True)

    def moment(self, required=True, **env):
        return run(["cmake", f"-DSOURCE_DIR={self.tree}", f"-DOUT={self.out}", "-DHOLDER=The Tavimbra authors",
                    f"-DREQUIRED={'ON' if required else 'OFF'}", "-P", str(ROOT / "cmake/moment.cmake")],
                   env=clean_env(**env))

    def read(self, name):
        return (self.out / name).read_text()

    def test_the_moment_is_the_commit_being_built(self):
        # (commits made before the build, SOURCE_DATE_EPOCH, expected epoch, expected year)
        cases = [
            ([DEC_2025], None, DEC_2025, 2025),
            ([DEC_2025, JAN_2026], None, JAN_2026, 2026),     # a pull between two builds
            ([JAN_2026], str(DEC_2025), DEC_2025, 2025),      # SOURCE_DATE_EPOCH first
        ]
        for commits, epoch, want_epoch, want_year in cases:
            with self.subTest(commits=commits, epoch=epoch):
                self.tearDown()
                self.setUp()
                for i, when in enumerate(commits):
                    self.commit(when)
                    env = {"SOURCE_DATE_EPOCH": epoch} if epoch else {}
                    r = self.moment(**env)  # a build after each commit, without configuring again
                    self.assertEqual(r.returncode, 0, r.stderr)
                self.assertEqual(self.read("epoch"), f"{want_epoch}\n")
                self.assertEqual(self.read("moment.h"), f'#define TAV_COPYRIGHT "Copyright (C) {want_year} The Tavimbra authors"\n')
                self.assertIn(f'!define COPYRIGHT "Copyright (C) {want_year} The Tavimbra authors"', self.read("moment.nsh"))
                self.assertIn(f'set(MOMENT_EPOCH "{want_epoch}")', self.read("moment.cmake"))

    def test_no_moment_stops_a_release_and_not_a_development_build(self):
        # A tree without history and no SOURCE_DATE_EPOCH; and a SOURCE_DATE_EPOCH that is no time.
        # A tree unpacked inside another checkout has no history of its own either: the outer
        # repository's commit is not its moment.
        outer = pathlib.Path(self.tmp.name)
        cases = [  # (inside another checkout, release, environment, succeeds)
            (False, True, {}, False), (False, False, {}, True), (False, False, {"SOURCE_DATE_EPOCH": "soon"}, False),
            (True, True, {}, False), (True, False, {}, True),
            (True, True, {"SOURCE_DATE_EPOCH": str(DEC_2025)}, True),
        ]
        for nested, required, env, ok in cases:
            with self.subTest(nested=nested, required=required, env=env):
                if nested and not (outer / ".git").exists():
                    run(["git", "init", "-q"], cwd=outer, check=True)
                    run(["git", "-c", "user.name=t", "-c", "user.email=t@t", "commit", "-q", "--allow-empty", "-m",
                         "x"], cwd=outer, check=True,
                        env=clean_env(GIT_COMMITTER_DATE=f"@{JAN_2026} +0000", GIT_AUTHOR_DATE=f"@{JAN_2026} +0000"))
                r = self.moment(required=required, **env)
                self.assertEqual(r.returncode == 0, ok, r.stderr)
                if not ok:
                    self.assertIn("SOURCE_DATE_EPOCH", r.stderr)
                elif nested:
                    self.assertNotEqual(self.read("epoch"), f"{JAN_2026}\n", "the outer checkout's commit")
                    self.assertIn('set(MOMENT_COMMIT "")', self.read("moment.cmake"))

    def test_an_unchanged_moment_rewrites_nothing(self):
        self.commit(DEC_2025)
        self.assertEqual(self.moment().returncode, 0)
        before = {f.name: f.stat().st_mtime_ns for f in self.out.iterdir()}
        for f in self.out.iterdir():
            os.utime(f, ns=(1, 1))
        self.assertEqual(self.moment().returncode, 0)
        self.assertEqual({f.name: f.stat().st_mtime_ns for f in self.out.iterdir()}, dict.fromkeys(before, 1))


class ReleaseAddresses(unittest.TestCase):
    """Configures a small project that includes release_addresses.cmake, twice in one folder."""

    def test_derived_addresses_follow_the_home_page_of_every_configure(self):
        with tempfile.TemporaryDirectory() as tmp:
            src, build = pathlib.Path(tmp, "src"), pathlib.Path(tmp, "build")
            src.mkdir()
            (src / "CMakeLists.txt").write_text(
                "cmake_minimum_required(VERSION 3.25)\nproject(p NONE)\n"
                f'include("{ROOT}/cmake/release_addresses.cmake")\n'
                'file(WRITE "${CMAKE_BINARY_DIR}/out" "${TAVIMBRA_RELEASE_NOTES_URL}|${TAVIMBRA_RELEASES_URL}|'
                '${TAVIMBRA_LICENSE_URL}")\n')
            home = "https://github.com/o/tavimbra"
            # (configure options, expected notes|releases|licence addresses)
            steps = [
                ([], "https://example.invalid/tavimbra/releases/tag/v{version}|https://example.invalid/tavimbra/releases|"
                     "https://example.invalid/tavimbra/blob/v{version}/LICENSE"),
                ([f"-DTAVIMBRA_HOMEPAGE={home}"], f"{home}/releases/tag/v{{version}}|{home}/releases|"
                                                  f"{home}/blob/v{{version}}/LICENSE"),
                (["-DTAVIMBRA_RELEASES_URL=https://example.invalid/elsewhere"], f"{home}/releases/tag/v{{version}}|"
                                                                     f"https://example.invalid/elsewhere|{home}/blob/v{{version}}/LICENSE"),
            ]
            for options, want in steps:
                with self.subTest(options=options):
                    r = run(["cmake", "-S", str(src), "-B", str(build)] + options)
                    self.assertEqual(r.returncode, 0, r.stderr)
                    self.assertEqual((build / "out").read_text(), want)


class ReleaseGate(unittest.TestCase):
    """build.sh release with missing or placeholder addresses stops before configuring anything."""

    def test_stops_naming_the_address(self):
        good = {"TAVIMBRA_HOMEPAGE": "https://github.com/o/tavimbra",
                "TAVIMBRA_DOWNLOAD_URL": "https://github.com/o/tavimbra/releases/download/v{version}/{file}"}
        cases = [  # (environment, words the message must hold)
            ({}, ["TAVIMBRA_HOMEPAGE", "TAVIMBRA_DOWNLOAD_URL"]),
            ({**good, "TAVIMBRA_HOMEPAGE": "https://example.invalid/tavimbra"}, ["TAVIMBRA_HOMEPAGE (placeholder"]),
            ({**good, "TAVIMBRA_DOWNLOAD_URL": "https://Downloads.Example.COM/x/{file}"}, ["TAVIMBRA_DOWNLOAD_URL"]),
            ({**good, "TAVIMBRA_DOWNLOAD_URL": "https://github.com/o/tavimbra/releases/latest"}, ["without {file}"]),
            ({**good, "TAVIMBRA_RELEASES_URL": "http://localhost:8000/releases"}, ["TAVIMBRA_RELEASES_URL"]),
            ({**good, "TAVIMBRA_LICENSE_URL": "https://mirror.test/LICENSE"}, ["TAVIMBRA_LICENSE_URL"]),
        ]
        with tempfile.TemporaryDirectory() as tmp:
            for extra, words in cases:
                with self.subTest(env=extra):
                    build = pathlib.Path(tmp, "build")
                    env = clean_env(TAV_BUILD=str(build), **extra)
                    for v in ("TAVIMBRA_HOMEPAGE", "TAVIMBRA_DOWNLOAD_URL", "TAVIMBRA_RELEASES_URL",
                              "TAVIMBRA_LICENSE_URL", "TAVIMBRA_RELEASE_NOTES_URL", "TAV_ALLOW_PLACEHOLDERS"):
                        if v not in extra:
                            env.pop(v, None)
                    r = run(["bash", str(ROOT / "scripts/build.sh"), "release"], env=env, timeout=60)
                    self.assertEqual(r.returncode, 2, r.stdout + r.stderr)
                    for w in words:
                        self.assertIn(w, r.stderr)
                    self.assertFalse(build.exists(), "it configured before stopping")


class Release(unittest.TestCase):
    """The other route of the gate: a release with real addresses builds, and the manifest check
    passes on what it writes without being told they are test manifests. The build folder is the
    tree's own (build/release-gate), so a later run builds only what changed."""

    def test_real_addresses_build_and_pass_the_manifest_check(self):
        home = "https://github.com/o/tavimbra"
        version = next(l.split()[2] for l in (ROOT / "CMakeLists.txt").read_text().splitlines()
                       if l.startswith("project(Tavimbra VERSION"))
        with tempfile.TemporaryDirectory() as tmp:
            env = clean_env(TAV_BUILD=str(ROOT / "build/release-gate"), TAV_DIST_DIR=f"{tmp}/dist/Tavimbra",
                            TAV_RELEASE_DIST=f"{tmp}/dist", TAVIMBRA_HOMEPAGE=home,
                            TAVIMBRA_DOWNLOAD_URL=home + "/releases/download/v{version}/{file}")
            env.pop("TAV_ALLOW_PLACEHOLDERS", None)
            r = run(["bash", str(ROOT / "scripts/build.sh"), "release"], env=env, timeout=3600)
            self.assertEqual(r.returncode, 0, (r.stdout + r.stderr)[-3000:])
            self.assertNotIn("TEST release", r.stdout)
            self.assertIn("no placeholder address", r.stdout)
            installer = pathlib.Path(tmp, "dist/winget/Tavimbra.Tavimbra", version,
                                     "Tavimbra.Tavimbra.installer.yaml").read_text(encoding="utf-8")
            self.assertIn(f"InstallerUrl: {home}/releases/download/v{version}/Tavimbra-{version}-setup.exe",
                          installer)


if __name__ == "__main__":
    unittest.main(verbosity=1)
