#!/usr/bin/env python3
"""Reads every generated winget and Scoop manifest back and holds it to the rules of the
published schema of its kind and version (required fields, patterns, allowed values, no
unknown fields), then to what this release promises (the uninstall key, exit code 2, the
update address). Each rule is also shown to reject a manifest broken on purpose.

check_manifests.py [dist folder]   (default: dist/ of this tree)
"""
import copy
import json
import pathlib
import re
import sys

import yaml

ROOT = pathlib.Path(__file__).resolve().parents[2]

# ---- winget, manifest version 1.10.0 ----
U16 = r"(0|[1-9][0-9]{0,3}|[1-5][0-9]{4}|6[0-4][0-9]{3}|65[0-4][0-9]{2}|655[0-2][0-9]|6553[0-5])"
NOT_PATH = r'[^\\/:*?"<>|\x01-\x1f]'
ID_PART = r'[^.\s\\/:*?"<>|\x01-\x1f]{1,32}'
S = {"type": str}


def text(lo, hi):
    return {"type": str, "min": lo, "max": hi}


def pattern(p, hi=None):
    return {"type": str, "pattern": p, "max": hi}


def one_of(*values):
    return {"type": str, "enum": values}


def array(item, max_items, unique=True):
    return {"type": list, "items": item, "max_items": max_items, "unique": unique}


URL = pattern(r"^([Hh][Tt][Tt][Pp][Ss]?)://.+$", 2048)
LOCALE = pattern(r"^([a-zA-Z]{2,3}|[iI]-[a-zA-Z]+|[xX]-[a-zA-Z]{1,8})(-[a-zA-Z]{1,8})*$", 20)
COMMON = {
    "PackageIdentifier": pattern(rf"^{ID_PART}(\.{ID_PART}){{1,7}}$", 128),
    "PackageVersion": pattern(rf"^{NOT_PATH}+$", 128),
    "ManifestVersion": pattern(rf"^{U16}(\.{U16}){{2}}$"),
}
LOCALE_FIELDS = {
    **COMMON, "PackageLocale": LOCALE, "Publisher": text(2, 256), "PublisherUrl": URL,
    "PublisherSupportUrl": URL, "PrivacyUrl": URL, "Author": text(2, 256), "PackageName": text(2, 256),
    "PackageUrl": URL, "License": text(3, 512), "LicenseUrl": URL, "Copyright": text(3, 512),
    "CopyrightUrl": URL, "ShortDescription": text(3, 256), "Description": text(3, 10000),
    "Moniker": text(1, 40), "Tags": array(text(1, 40), 16), "ReleaseNotes": text(1, 10000),
    "ReleaseNotesUrl": URL, "InstallationNotes": text(1, 10000),
}
RETURN_RESPONSES = (
    "packageInUse", "packageInUseByApplication", "installInProgress", "fileInUse", "missingDependency",
    "diskFull", "insufficientMemory", "invalidParameter", "noNetwork", "contactSupport",
    "rebootRequiredToFinish", "rebootRequiredForInstall", "rebootInitiated", "cancelledByUser",
    "alreadyInstalled", "downgrade", "blockedByPolicy", "systemNotSupported", "custom")
INSTALLER_TYPES = ("msix", "msi", "appx", "exe", "zip", "inno", "nullsoft", "wix", "burn", "pwa",
                   "portable", "advinstExe", "advinstMsi")
SHARED_INSTALLER_FIELDS = {
    "InstallerLocale": LOCALE,
    "MinimumOSVersion": pattern(rf"^{U16}(\.{U16}){{0,3}}$"),
    "InstallerType": one_of(*INSTALLER_TYPES),
    "Scope": one_of("user", "machine"),
    "InstallModes": {**array(one_of("interactive", "silent", "silentWithProgress"), 3)},
    "ExpectedReturnCodes": array({"type": dict, "required": ("InstallerReturnCode", "ReturnResponse"),
                                  "fields": {"InstallerReturnCode": {"type": int, "not": 0,
                                                                     "range": (-2147483648, 4294967295)},
                                             "ReturnResponse": one_of(*RETURN_RESPONSES),
                                             "ReturnResponseUrl": URL}}, 128, unique=False),
    "UpgradeBehavior": one_of("install", "uninstallPrevious", "deny"),
    "ProductCode": text(1, 255),
    "ReleaseDate": pattern(r"^\d{4}-\d{2}-\d{2}$"),
}
INSTALLER_ITEM = {
    "type": dict, "required": ("Architecture", "InstallerUrl", "InstallerSha256"),
    "fields": {**SHARED_INSTALLER_FIELDS,
               "Architecture": one_of("x86", "x64", "arm", "arm64", "neutral"),
               "InstallerUrl": URL,
               "InstallerSha256": pattern(r"^[A-Fa-f0-9]{64}$")},
}
WINGET = {  # ManifestType -> (required fields, allowed fields)
    "version": (("PackageIdentifier", "PackageVersion", "DefaultLocale", "ManifestType", "ManifestVersion"),
                {**COMMON, "DefaultLocale": LOCALE, "ManifestType": one_of("version")}),
    "defaultLocale": (("PackageIdentifier", "PackageVersion", "PackageLocale", "Publisher", "PackageName",
                       "License", "ShortDescription", "ManifestType", "ManifestVersion"),
                      {**LOCALE_FIELDS, "ManifestType": one_of("defaultLocale")}),
    "locale": (("PackageIdentifier", "PackageVersion", "PackageLocale", "ManifestType", "ManifestVersion"),
               {**LOCALE_FIELDS, "ManifestType": one_of("locale")}),
    "installer": (("PackageIdentifier", "PackageVersion", "Installers", "ManifestType", "ManifestVersion"),
                  {**COMMON, **SHARED_INSTALLER_FIELDS, "ManifestType": one_of("installer"),
                   "Installers": {**array(INSTALLER_ITEM, 1024, unique=False), "min_items": 1}}),
}


def check_value(where, value, rule, errors):
    kind = rule["type"]
    if kind is int and isinstance(value, bool) or not isinstance(value, kind):
        errors.append(f"{where}: {value!r} is not a {kind.__name__}")
        return
    if kind is str:
        if "min" in rule and len(value) < rule["min"] or rule.get("max") and len(value) > rule["max"]:
            errors.append(f"{where}: length {len(value)} outside its bounds")
        if "pattern" in rule and not re.search(rule["pattern"], value):
            errors.append(f"{where}: {value!r} does not match {rule['pattern']}")
        if "enum" in rule and value not in rule["enum"]:
            errors.append(f"{where}: {value!r} is not one of {', '.join(rule['enum'])}")
    elif kind is int:
        lo, hi = rule["range"]
        if value == rule.get("not") or not lo <= value <= hi:
            errors.append(f"{where}: {value} is not allowed")
    elif kind is list:
        if len(value) < rule.get("min_items", 0) or len(value) > rule["max_items"]:
            errors.append(f"{where}: {len(value)} items")
        if rule["unique"] and len({json.dumps(v, sort_keys=True) for v in value}) != len(value):
            errors.append(f"{where}: items repeat")
        for i, v in enumerate(value):
            check_value(f"{where}[{i}]", v, rule["items"], errors)
    elif kind is dict:
        check_object(where, value, rule["required"], rule["fields"], errors)


def check_object(where, doc, required, fields, errors):
    for name in required:
        if name not in doc:
            errors.append(f"{where}: lacks {name}")
    for name, value in doc.items():
        if name not in fields:
            errors.append(f"{where}: unknown field {name}")
        elif value is not None:
            check_value(f"{where}.{name}", value, fields[name], errors)


def winget_errors(docs):
    """docs: file name -> parsed manifest, the files of one package version."""
    errors = []
    for name, doc in docs.items():
        if not isinstance(doc, dict) or doc.get("ManifestType") not in WINGET:
            errors.append(f"{name}: no known ManifestType")
            continue
        required, fields = WINGET[doc["ManifestType"]]
        check_object(name, doc, required, fields, errors)
        if doc.get("ManifestVersion") != "1.10.0":
            errors.append(f"{name}: ManifestVersion {doc.get('ManifestVersion')!r}, not 1.10.0")
    # One package version across the files, named as the repository expects.
    kinds = sorted(d.get("ManifestType", "") for d in docs.values() if isinstance(d, dict))
    if kinds.count("version") != 1 or kinds.count("installer") != 1 or kinds.count("defaultLocale") != 1:
        errors.append(f"one version, one installer and one defaultLocale manifest wanted: {kinds}")
    for key in ("PackageIdentifier", "PackageVersion", "ManifestVersion"):
        if len({str(d.get(key)) for d in docs.values() if isinstance(d, dict)}) != 1:
            errors.append(f"the files disagree on {key}")
    for name, doc in docs.items():
        if not isinstance(doc, dict):
            continue
        ident, kind = doc.get("PackageIdentifier"), doc.get("ManifestType")
        want = {"version": f"{ident}.yaml", "installer": f"{ident}.installer.yaml"}.get(
            kind, f"{ident}.locale.{doc.get('PackageLocale')}.yaml")
        if name != want:
            errors.append(f"{name}: a {kind} manifest is named {want}")
        if kind == "version" and not any(
                d.get("ManifestType") == "defaultLocale" and d.get("PackageLocale") == doc.get("DefaultLocale")
                for d in docs.values() if isinstance(d, dict)):
            errors.append(f"no defaultLocale manifest for {doc.get('DefaultLocale')}")
    return errors


def release_errors(docs, uninstall_key):
    """What this release promises beyond the schema."""
    errors = []
    installer = next((d for d in docs.values() if isinstance(d, dict) and d.get("ManifestType") == "installer"), {})
    if installer.get("ProductCode") != uninstall_key:
        errors.append(f"ProductCode {installer.get('ProductCode')!r}, the uninstall key is {uninstall_key!r}")
    if {"InstallerReturnCode": 2, "ReturnResponse": "packageInUse"} not in (installer.get("ExpectedReturnCodes") or []):
        errors.append("exit code 2 is not declared as packageInUse")
    if "silentWithProgress" not in (installer.get("InstallModes") or []):
        errors.append("InstallModes lacks silentWithProgress")
    for name, doc in docs.items():
        if isinstance(doc, dict) and doc.get("ManifestType") in ("defaultLocale", "locale") \
                and not doc.get("ReleaseNotesUrl"):
            errors.append(f"{name}: no ReleaseNotesUrl")
    return errors


# ---- Scoop, the published schema.json ----
URI = {"type": str, "pattern": r"^[A-Za-z][A-Za-z0-9+.-]*:[^\s]+$"}
HASH = {"type": str, "pattern": r"^([a-fA-F0-9]{64}|(sha1|sha256|sha512|md5):([a-fA-F0-9]{32}|[a-fA-F0-9]{40}|"
                                r"[a-fA-F0-9]{64}|[a-fA-F0-9]{128}))$"}
STRINGS = "string or non-empty array of strings"
ARCH_FIELDS = ("bin", "checkver", "extract_dir", "hash", "installer", "msi", "post_install", "pre_install",
               "shortcuts", "uninstaller", "url", "pre_uninstall", "post_uninstall", "env_add_path", "env_set")
SCOOP_FIELDS = ("$schema", "_comment", "##", "architecture", "autoupdate", "bin", "persist", "checkver", "cookie",
                "depends", "description", "env_add_path", "env_set", "extract_dir", "extract_to", "hash",
                "homepage", "innosetup", "installer", "license", "msi", "notes", "post_install",
                "post_uninstall", "pre_install", "pre_uninstall", "psmodule", "shortcuts", "suggest",
                "uninstaller", "url", "version")
CHECKVER_FIELDS = ("github", "re", "regex", "url", "jp", "jsonpath", "xpath", "reverse", "replace", "useragent",
                   "script", "sourceforge")


def is_strings(v):
    return isinstance(v, str) or isinstance(v, list) and v and all(isinstance(x, str) for x in v)


def scoop_errors(m):
    errors = []

    def uri(where, v, dollar_ok):
        if not isinstance(v, str) or not re.match(URI["pattern"], v) or not dollar_ok and "$" in v:
            errors.append(f"{where}: {v!r} is not a download address")

    if not isinstance(m, dict):
        return ["not a JSON object"]
    for name in ("version", "homepage", "license"):
        if name not in m:
            errors.append(f"lacks {name}")
    errors += [f"unknown field {k}" for k in m if k not in SCOOP_FIELDS]
    if not re.match(r"^[\w.\-+]+$", str(m.get("version", ""))) or not isinstance(m.get("version"), str):
        errors.append(f"version {m.get('version')!r}")
    uri("homepage", m.get("homepage"), True)
    lic = m.get("license")
    if not (isinstance(lic, str) or isinstance(lic, dict) and "identifier" in lic
            and set(lic) <= {"identifier", "url"}):
        errors.append(f"license {lic!r}")
    for name in ("notes", "pre_uninstall", "post_uninstall", "pre_install", "post_install", "depends",
                 "extract_dir", "description"):
        if name in m and not (is_strings(m[name]) if name != "description" else isinstance(m[name], str)):
            errors.append(f"{name}: not a {STRINGS}")
    if "persist" in m and not (is_strings(m["persist"]) or isinstance(m["persist"], list)
                               and m["persist"] and all(is_strings(x) for x in m["persist"])):
        errors.append("persist: not a list of folders")
    for s in m.get("shortcuts", []):
        if not isinstance(s, list) or not 2 <= len(s) <= 4 or not all(isinstance(x, str) for x in s):
            errors.append(f"shortcut {s!r}: 2 to 4 strings wanted")
    arch = m.get("architecture", {})
    if not isinstance(arch, dict) or set(arch) - {"32bit", "64bit", "arm64"}:
        errors.append(f"architecture keys {list(arch)}")
        arch = {}
    for key, a in arch.items():
        errors += [f"architecture.{key}: unknown field {k}" for k in a if k not in ARCH_FIELDS]
        urls = a.get("url", [])
        for u in urls if isinstance(urls, list) else [urls]:
            uri(f"architecture.{key}.url", u, False)
        hashes = a.get("hash", [])
        for h in hashes if isinstance(hashes, list) else [hashes]:
            if not isinstance(h, str) or not re.match(HASH["pattern"], h):
                errors.append(f"architecture.{key}.hash {h!r}")
    if "url" not in m and not all("url" in a for a in arch.values()) or not arch and "url" not in m:
        errors.append("no download address")
    cv = m.get("checkver")
    if isinstance(cv, dict):
        errors += [f"checkver: unknown field {k}" for k in cv if k not in CHECKVER_FIELDS]
        for k in ("re", "regex"):
            if k in cv:
                try:
                    re.compile(cv[k])
                except re.error as e:
                    errors.append(f"checkver.{k}: {e}")
        if "url" in cv:
            uri("checkver.url", cv["url"], True)
    elif cv is not None and not isinstance(cv, str):
        errors.append("checkver: a regex or an object wanted")
    au = m.get("autoupdate")
    if au is not None:
        if not isinstance(au, dict):
            errors.append("autoupdate: an object wanted")
            au = {}
        errors += [f"autoupdate: unknown field {k}" for k in au
                   if k not in ("architecture", "extract_dir", "hash", "note", "url", "bin", "env_add_path",
                                "env_set", "installer", "license", "notes", "persist", "post_install",
                                "shortcuts", "version")]
        for key, a in (au.get("architecture") or {}).items():
            if key not in ("32bit", "64bit", "arm64"):
                errors.append(f"autoupdate.architecture.{key}")
                continue
            errors += [f"autoupdate.architecture.{key}: unknown field {k}" for k in a
                       if k not in ("url", "hash", "extract_dir", "bin", "env_add_path", "env_set", "installer",
                                    "shortcuts")]
            if "url" in a:
                uri(f"autoupdate.architecture.{key}.url", a["url"], True)
    return errors


def scoop_release_errors(m, zip_name, version):
    errors = []
    url = m.get("architecture", {}).get("64bit", {}).get("url", "")
    update = m.get("autoupdate", {}).get("architecture", {}).get("64bit", {}).get("url", "")
    if update.replace("$version", version) != url:
        errors.append(f"autoupdate's address {update!r} does not give this release's {url!r}")
    try:
        found = re.search(m.get("checkver", {}).get("regex", "^$"), f'<a href="{url}">{zip_name}</a>')
    except re.error:
        found = None
    if not found or found.group(1) != version:
        errors.append("checkver's regex does not find this version beside the zip's name")
    notes = " ".join(m["notes"]) if isinstance(m.get("notes"), list) else m.get("notes", "")
    if not all(w in notes for w in ("texts", "settings", "persist")):
        errors.append("notes do not say that texts and settings are kept in persist")
    hook = "\n".join(m.get("pre_uninstall", []))
    for link in ("Tavimbra.lnk", "Tavimbraに登録.lnk", "'Startup'", "'SendTo'", "$cmd -eq 'uninstall'"):
        if link not in hook:
            errors.append(f"pre_uninstall lacks {link}")
    return errors


# Each broken manifest must be rejected: a rule that lets these through checks nothing.
DROP = object()


def broken(doc, path, value):
    doc = copy.deepcopy(doc)
    at = doc
    try:
        for p in path[:-1]:
            at = at[p]
    except (KeyError, IndexError, TypeError):
        return None  # the real manifest lacks it: its own errors say so
    if value is DROP:
        del at[path[-1]]
    else:
        at[path[-1]] = value
    return doc


WINGET_BREAKS = [  # (file suffix, path, value)
    (".yaml", ["ManifestVersion"], "1.10"),
    (".yaml", ["PackageIdentifier"], "Tavimbra"),
    (".yaml", ["DefaultLocale"], "Japanese"),
    (".yaml", ["PackageVersion"], 1.0),
    (".installer.yaml", ["InstallModes"], ["silent", "quiet"]),
    (".installer.yaml", ["Scope"], "perUser"),
    (".installer.yaml", ["MinimumOSVersion"], "10.0.15063.0.1"),
    (".installer.yaml", ["ExpectedReturnCodes", 0, "ReturnResponse"], "inUse"),
    (".installer.yaml", ["ExpectedReturnCodes", 0, "InstallerReturnCode"], 0),
    (".installer.yaml", ["Installers", 0, "InstallerSha256"], "abc"),
    (".installer.yaml", ["Installers", 0, "InstallerUrl"], DROP),
    (".installer.yaml", ["Installers"], []),
    (".installer.yaml", ["ProductCode"], "Tavimbra.Tavimbra"),
    (".installer.yaml", ["Silent"], "/S"),
    (".locale.ja-JP.yaml", ["License"], DROP),
    (".locale.ja-JP.yaml", ["PackageUrl"], "example.invalid/tavimbra"),
    (".locale.ja-JP.yaml", ["Tags"], ["launcher", "launcher"]),
    (".locale.en-US.yaml", ["ShortDescription"], "x" * 257),
    (".locale.en-US.yaml", ["ManifestType"], "defaultLocale"),
]
SCOOP_BREAKS = [  # (path, value)
    (["homepage"], DROP),
    (["version"], "1.0 beta"),
    (["bins"], "Tavimbra.exe"),
    (["architecture", "64bit", "hash"], "sha256:1234"),
    (["architecture", "64bit", "url"], "https://example.invalid/$version/x.zip"),
    (["architecture", "64bit", "sha"], "0" * 64),
    (["shortcuts"], [["Tavimbra.exe"]]),
    (["checkver", "regex"], "Tavimbra-([\\d.+)"),
    (["checkver", "page"], "https://example.invalid/"),
    (["autoupdate", "urls"], []),
    (["notes"], []),
]


def main():
    dist = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else ROOT / "dist"
    version = re.search(r"project\(Tavimbra VERSION ([0-9.]+)", (ROOT / "CMakeLists.txt").read_text()).group(1)
    key = re.search(r'!define UNINSTALL_KEY ".*\\([^\\"]+)"', (ROOT / "installer/tavimbra.nsi").read_text()).group(1)
    failures = []

    folder = dist / "winget" / "Tavimbra.Tavimbra" / version
    files = sorted(folder.glob("*.yaml"))
    docs = {f.name: yaml.safe_load(f.read_bytes().decode("utf-8")) for f in files}
    if not docs:
        failures.append(f"no winget manifests in {folder}")
    failures += [f"winget {e}" for e in winget_errors(docs) + release_errors(docs, key)]
    for suffix, path, value in WINGET_BREAKS:
        name = f"Tavimbra.Tavimbra{suffix}"
        if name in docs:
            bad = {**docs, name: broken(docs[name], path, value)}
            if bad[name] is not None and not winget_errors(bad) + release_errors(bad, key):
                failures.append(f"winget check let {name} through with {path} = {value!r}")

    scoop = json.loads((dist / "scoop" / "tavimbra.json").read_text(encoding="utf-8"))
    failures += [f"scoop {e}" for e in scoop_errors(scoop) + scoop_release_errors(
        scoop, f"Tavimbra-{version}-win64.zip", version)]
    for path, value in SCOOP_BREAKS:
        bad = broken(scoop, path, value)
        if bad is not None and not scoop_errors(bad) + scoop_release_errors(bad, f"Tavimbra-{version}-win64.zip", version):
            failures.append(f"scoop check let the manifest through with {path} = {value!r}")

    for f in failures:
        print("FAIL:", f)
    if failures:
        return 1
    print(f"manifests of {version}: {len(docs)} winget files (1.10.0) and the Scoop manifest follow their "
          f"schemas; {len(WINGET_BREAKS) + len(SCOOP_BREAKS)} broken copies rejected")
    return 0


if __name__ == "__main__":
    sys.exit(main())
