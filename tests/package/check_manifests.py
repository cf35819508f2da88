#!/usr/bin/env python3
"""Reads every generated winget and Scoop manifest back and holds it to the rules of the
published schema of its kind and version (required fields, patterns, allowed values, which
fields may be null, no unknown fields), then to what this release promises (the uninstall key, the in-use exit
code, the update address). Each rule is also shown to reject a manifest broken on purpose.

Addresses on a reserved placeholder host (example.invalid, *.test, ...) are refused: a release's
manifests must point where its files can be downloaded. The development builds make their
manifests with placeholders; --test-manifests says the manifests checked are such test manifests.

check_manifests.py [--test-manifests] [dist folder]   (default: dist/ of this tree)
"""
import copy
import json
import pathlib
import re
import sys
import urllib.parse

import yaml

ROOT = pathlib.Path(__file__).resolve().parents[2]

# ---- winget, manifest version 1.10.0 ----
# The rules are written from the field lists of the public winget 1.10.0 JSON schemas (installer,
# defaultLocale, locale, version). They go one step further in one place: the schemas allow
# fields they do not name, which winget-pkgs' validation refuses, and so does this check.
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


def obj(required, **fields):
    return {"type": dict, "required": required, "fields": fields}


FLAG = {"type": bool}
RETURN_CODE = {"type": int, "not": 0, "range": (-2147483648, 4294967295)}


URL = pattern(r"^([Hh][Tt][Tt][Pp][Ss]?)://.+$", 2048)
LOCALE = pattern(r"^([a-zA-Z]{2,3}|[iI]-[a-zA-Z]+|[xX]-[a-zA-Z]{1,8})(-[a-zA-Z]{1,8})*$", 20)
PACKAGE_ID = pattern(rf"^{ID_PART}(\.{ID_PART}){{1,7}}$", 128)
PACKAGE_VERSION = pattern(rf"^{NOT_PATH}+$", 128)
COMMON = {
    "PackageIdentifier": PACKAGE_ID,
    "PackageVersion": PACKAGE_VERSION,
    "ManifestVersion": pattern(rf"^{U16}(\.{U16}){{2}}$"),
}
LOCALE_FIELDS = {
    **COMMON, "PackageLocale": LOCALE, "Publisher": text(2, 256), "PublisherUrl": URL,
    "PublisherSupportUrl": URL, "PrivacyUrl": URL, "Author": text(2, 256), "PackageName": text(2, 256),
    "PackageUrl": URL, "License": text(3, 512), "LicenseUrl": URL, "Copyright": text(3, 512),
    "CopyrightUrl": URL, "ShortDescription": text(3, 256), "Description": text(3, 10000),
    "Moniker": text(1, 40), "Tags": array(text(1, 40), 16), "ReleaseNotes": text(1, 10000),
    "ReleaseNotesUrl": URL, "InstallationNotes": text(1, 10000), "PurchaseUrl": URL,
    "Agreements": array(obj((), AgreementLabel=text(1, 100), Agreement=text(1, 10000), AgreementUrl=URL), 128,
                        unique=False),
    "Documentations": array(obj((), DocumentLabel=text(1, 100), DocumentUrl=URL), 256, unique=False),
    "Icons": array(obj(("IconUrl", "IconFileType"), IconUrl=URL, IconFileType=one_of("png", "jpeg", "ico"),
                       IconResolution=one_of("custom", "16x16", "20x20", "24x24", "30x30", "32x32", "36x36",
                                             "40x40", "48x48", "60x60", "64x64", "72x72", "80x80", "96x96",
                                             "256x256"),
                       IconTheme=one_of("default", "light", "dark", "highContrast"),
                       IconSha256=pattern(r"^[A-Fa-f0-9]{64}$")), 1024, unique=False),
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
    "ExpectedReturnCodes": array(obj(("InstallerReturnCode", "ReturnResponse"), InstallerReturnCode=RETURN_CODE,
                                     ReturnResponse=one_of(*RETURN_RESPONSES), ReturnResponseUrl=URL),
                                 128, unique=False),
    "UpgradeBehavior": one_of("install", "uninstallPrevious", "deny"),
    "ProductCode": text(1, 255),
    "ReleaseDate": pattern(r"^\d{4}-\d{2}-\d{2}$"),
    "Platform": array(one_of("Windows.Desktop", "Windows.Universal"), 2),
    "NestedInstallerType": one_of(*(t for t in INSTALLER_TYPES if t not in ("zip", "pwa"))),
    "NestedInstallerFiles": array(obj(("RelativeFilePath",), RelativeFilePath=text(1, 512),
                                      PortableCommandAlias=text(1, 40)), 1024, unique=False),
    "InstallerSwitches": obj((), **{k: text(1, 2048 if k == "Custom" else 512) for k in (
        "Silent", "SilentWithProgress", "Interactive", "InstallLocation", "Log", "Upgrade", "Custom", "Repair")}),
    "InstallerSuccessCodes": array(RETURN_CODE, 16),
    "Commands": array(text(1, 40), 16),
    "Protocols": array(text(0, 2048), 64),
    "FileExtensions": array(pattern(rf"^{NOT_PATH}+$", 64), 512),
    "Dependencies": obj((), WindowsFeatures=array(text(1, 128), 16), WindowsLibraries=array(text(1, 128), 16),
                        ExternalDependencies=array(text(1, 128), 16),
                        PackageDependencies=array(obj(("PackageIdentifier",), PackageIdentifier=PACKAGE_ID,
                                                      MinimumVersion=PACKAGE_VERSION), 16)),
    "PackageFamilyName": pattern(r"^[A-Za-z0-9][-.A-Za-z0-9]+_[A-Za-z0-9]{13}$", 255),
    "Capabilities": array(text(1, 40), 1000),
    "RestrictedCapabilities": array(text(1, 40), 1000),
    # One of the two lists, never both.
    "Markets": {**obj((), AllowedMarkets=array(pattern(r"^[A-Z]{2}$"), 256),
                      ExcludedMarkets=array(pattern(r"^[A-Z]{2}$"), 256)), "one_of": ("AllowedMarkets", "ExcludedMarkets")},
    "InstallerAbortsTerminal": FLAG, "InstallLocationRequired": FLAG, "RequireExplicitUpgrade": FLAG,
    "DisplayInstallWarnings": FLAG, "DownloadCommandProhibited": FLAG, "ArchiveBinariesDependOnPath": FLAG,
    "UnsupportedOSArchitectures": array(one_of("x86", "x64", "arm", "arm64"), 4),
    "UnsupportedArguments": array(one_of("log", "location"), 2),
    "AppsAndFeaturesEntries": array(obj((), DisplayName=text(1, 256), Publisher=text(1, 256),
                                        DisplayVersion=text(1, 128), ProductCode=text(1, 255),
                                        UpgradeCode=text(1, 255), InstallerType=one_of(*INSTALLER_TYPES)), 128),
    "ElevationRequirement": one_of("elevationRequired", "elevationProhibited", "elevatesSelf"),
    "InstallationMetadata": obj((), DefaultInstallLocation=text(1, 2048), Files=array(obj(
        ("RelativeFilePath",), RelativeFilePath=text(1, 2048), FileSha256=pattern(r"^[A-Fa-f0-9]{64}$"),
        FileType=one_of("launch", "uninstall", "other"), InvocationParameter=text(1, 2048),
        DisplayName=text(1, 256)), 2048)),
    "RepairBehavior": one_of("modify", "uninstaller", "installer"),
}
INSTALLER_ITEM = {
    "type": dict, "required": ("Architecture", "InstallerUrl", "InstallerSha256"),
    "fields": {**SHARED_INSTALLER_FIELDS,
               "Architecture": one_of("x86", "x64", "arm", "arm64", "neutral"),
               "InstallerUrl": URL,
               "InstallerSha256": pattern(r"^[A-Fa-f0-9]{64}$"),
               "SignatureSha256": pattern(r"^[A-Fa-f0-9]{64}$")},
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
                   "Channel": text(1, 16),
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
        if "one_of" in rule and sum(k in value for k in rule["one_of"]) != 1:
            errors.append(f"{where}: one of {', '.join(rule['one_of'])} wanted")
    # bool: the type is the rule


# The fields whose schema type has no null: an empty "Field:" line is refused.
NOT_NULL = {"PackageIdentifier", "PackageVersion", "ManifestType", "ManifestVersion", "PackageLocale", "Publisher",
            "PackageName", "License", "ShortDescription", "DefaultLocale", "Installers", "Architecture", "InstallerUrl",
            "InstallerSha256", "InstallerSwitches", "InstallationMetadata", "InstallerReturnCode", "ReturnResponse",
            "RelativeFilePath", "IconUrl", "IconFileType"}


def check_object(where, doc, required, fields, errors):
    for name in required:
        if name not in doc:
            errors.append(f"{where}: lacks {name}")
    for name, value in doc.items():
        if name not in fields:
            errors.append(f"{where}: unknown field {name}")
        elif value is not None:
            check_value(f"{where}.{name}", value, fields[name], errors)
        elif name in NOT_NULL:
            errors.append(f"{where}.{name}: null")


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


def release_errors(docs, uninstall_key, in_use=None):
    """What this release promises beyond the schema: in_use is the installer's in-use exit code,
    the only one declared as packageInUse."""
    errors = []
    installer = next((d for d in docs.values() if isinstance(d, dict) and d.get("ManifestType") == "installer"), {})
    if installer.get("ProductCode") != uninstall_key:
        errors.append(f"ProductCode {installer.get('ProductCode')!r}, the uninstall key is {uninstall_key!r}")
    in_use = IN_USE if in_use is None else in_use
    declared = [c for c in installer.get("ExpectedReturnCodes") or [] if isinstance(c, dict)]
    if {c.get("InstallerReturnCode") for c in declared if c.get("ReturnResponse") == "packageInUse"} != {in_use}:
        errors.append(f"packageInUse is not declared for exit code {in_use} alone")
    if "silentWithProgress" not in (installer.get("InstallModes") or []):
        errors.append("InstallModes lacks silentWithProgress")
    for name, doc in docs.items():
        if isinstance(doc, dict) and doc.get("ManifestType") in ("defaultLocale", "locale"):
            if not doc.get("ReleaseNotesUrl"):
                errors.append(f"{name}: no ReleaseNotesUrl")
            if doc.get("License") != "MIT" or not doc.get("LicenseUrl"):
                errors.append(f"{name}: License {doc.get('License')!r} with LicenseUrl {doc.get('LicenseUrl')!r}, "
                              "not MIT with the licence's address")
    return errors


IN_USE = None  # the installer's in-use exit code, read from installer/decisions.nsh

# Hosts that never serve a download (RFC 2606, RFC 6761).
PLACEHOLDER_DOMAINS = ("invalid", "test", "example", "localhost", "example.com", "example.net", "example.org")


def is_placeholder(address):
    host = (urllib.parse.urlsplit(address).hostname or "").rstrip(".").lower()
    return not host or any(host == d or host.endswith("." + d) for d in PLACEHOLDER_DOMAINS)


def addresses(doc, where=""):
    """(where, value) of every web address in a parsed manifest."""
    if isinstance(doc, dict):
        for k, v in doc.items():
            yield from addresses(v, f"{where}.{k}" if where else str(k))
    elif isinstance(doc, list):
        for i, v in enumerate(doc):
            yield from addresses(v, f"{where}[{i}]")
    elif isinstance(doc, str) and re.match(r"^[A-Za-z][A-Za-z0-9+.-]*://", doc):
        yield where, doc


def placeholder_errors(name, doc):
    return [f"{name}: {where} points at the placeholder {value!r}" for where, value in addresses(doc)
            if is_placeholder(value)]


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
    if not checkver_finds(m.get("checkver"), version):
        errors.append("checkver does not find this version on a releases page whose assets load separately")
    lic = m.get("license")
    if not isinstance(lic, dict) or lic.get("identifier") != "MIT" or not lic.get("url"):
        errors.append(f"license {lic!r}: MIT with the licence's address wanted")
    notes = " ".join(m["notes"]) if isinstance(m.get("notes"), list) else m.get("notes", "")
    if not all(w in notes for w in ("texts", "settings", "persist")):
        errors.append("notes do not say that texts and settings are kept in persist")
    hook = "\n".join(m.get("pre_uninstall", []))
    for link in ("Tavimbra.lnk", "Tavimbraに登録.lnk", "'Startup'", "'SendTo'", "$cmd -eq 'uninstall'"):
        if link not in hook:
            errors.append(f"pre_uninstall lacks {link}")
    return errors


def checkver_finds(cv, version):
    """Whether Scoop's checkver finds version on a releases page as GitHub serves it today: the
    release titles and tags are in the page, the asset list (the zip's name) is loaded later."""
    if isinstance(cv, dict) and isinstance(cv.get("github"), str):
        return cv["github"].startswith("https://github.com/")  # Scoop reads the latest release's tag
    page = (f'<a href="/tavimbra/tavimbra/releases/tag/v{version}" data-view-component="true" '
            f'class="Link--primary Link">Tavimbra {version}</a>\n'
            f'<include-fragment loading="lazy" src="/tavimbra/tavimbra/releases/expanded_assets/v{version}">')
    regex = cv.get("regex", cv.get("re")) if isinstance(cv, dict) else cv
    try:
        found = re.search(regex, page) if isinstance(regex, str) else None
    except re.error:
        found = None
    return bool(found) and found.group(1) == version


def scoop_normalized(v):
    """A member's value as Scoop's formatjson leaves it. Only members of objects change, through
    nested objects; whatever is inside an array stays as it is. A multi-line string becomes the
    array of its trimmed lines; a one-item array of a string without a space becomes that string
    (a string holding a space stays in its array)."""
    if not isinstance(v, dict):
        return v
    out = {}
    for k, x in v.items():
        if isinstance(x, str):
            lines = [line.strip() for line in re.split(r"\r?\n", x)]
            x = lines if len(lines) > 1 else x
        if isinstance(x, list) and len(x) == 1 and isinstance(x[0], str) and " " not in x[0]:
            x = x[0]
        out[k] = scoop_normalized(x)
    return out


def scoop_layout(m):
    """The manifest's text as Scoop's formatjson writes it: normalised values, four spaces,
    every member and item on a line of its own, non-ASCII unescaped."""
    return json.dumps(scoop_normalized(m), indent=4, ensure_ascii=False) + "\n"


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
    (".installer.yaml", ["ExpectedReturnCodes", 0, "InstallerReturnCode"], 2),  # any failure, not in use
    (".installer.yaml", ["ExpectedReturnCodes", 1], {"InstallerReturnCode": 2, "ReturnResponse": "packageInUse"}),
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
    (".locale.ja-JP.yaml", ["License"], "Proprietary"),
    (".locale.en-US.yaml", ["LicenseUrl"], DROP),
    (".installer.yaml", ["ElevationRequirement"], "elevated"),
    (".installer.yaml", ["InstallerSwitches"], {"Quiet": "/S"}),
    (".installer.yaml", ["InstallationMetadata"], {"Files": [{"FileType": "launch"}]}),
    (".installer.yaml", ["Installers", 0, "AppsAndFeaturesEntries"], [{"DisplayVersion": 1}]),
    (".installer.yaml", ["Chanel"], "beta"),  # a field the schema does not name
    (".installer.yaml", ["Channel"], "x" * 17),
    (".installer.yaml", ["Installers", 0, "Channel"], "beta"),  # a root field only
    (".installer.yaml", ["Installers", 0, "InstallerUrl"], None),
    (".installer.yaml", ["Markets"], {"AllowedMarkets": ["JP"], "ExcludedMarkets": ["US"]}),
]
# Optional fields of the schema that a reviewer or a tool may add, in forms the every-field
# manifest below does not give them: they must pass.
WINGET_VALID = [  # (file suffix, path, value)
    (".installer.yaml", ["InstallationMetadata"], {"DefaultInstallLocation": "%LOCALAPPDATA%\\Programs\\Tavimbra",
                                                   "Files": [{"RelativeFilePath": "Tavimbra.exe", "FileType": "launch"}]}),
    (".installer.yaml", ["InstallerSwitches"], {"Upgrade": "/S", "InstallLocation": "/D=<INSTALLPATH>"}),
    (".installer.yaml", ["AppsAndFeaturesEntries"], [{"DisplayName": "Tavimbra", "ProductCode": "Tavimbra"}]),
    (".installer.yaml", ["Installers", 0, "UnsupportedOSArchitectures"], ["x86", "arm"]),
    (".locale.ja-JP.yaml", ["Documentations"], [{"DocumentLabel": "README", "DocumentUrl": "https://example.invalid/tavimbra"}]),
    (".locale.en-US.yaml", ["Agreements"], [{"AgreementLabel": "License", "Agreement": "MIT"}]),
    (".installer.yaml", ["Markets"], {"ExcludedMarkets": ["US"]}),
    (".locale.ja-JP.yaml", ["Author"], None),
]
# Every optional field of the schema at once, on top of the real manifests: all must pass.
URL_X = "https://example.invalid/x"
SHA_X = "0" * 64
EVERY_INSTALLER_FIELD = {
    "Channel": "beta", "InstallerLocale": "ja-JP", "Platform": ["Windows.Desktop"], "MinimumOSVersion": "10.0.0.0",
    "InstallerType": "nullsoft", "NestedInstallerType": "exe", "NestedInstallerFiles": [
        {"RelativeFilePath": "a.exe", "PortableCommandAlias": "a"}], "Scope": "user", "InstallModes": ["silent"],
    "InstallerSwitches": {k: "/x" for k in ("Silent", "SilentWithProgress", "Interactive", "InstallLocation", "Log",
                                             "Upgrade", "Custom", "Repair")},
    "InstallerSuccessCodes": [3010], "ExpectedReturnCodes": [
        {"InstallerReturnCode": 5, "ReturnResponse": "custom", "ReturnResponseUrl": URL_X}],
    "UpgradeBehavior": "install", "Commands": ["tav"], "Protocols": ["tav"], "FileExtensions": ["txt"],
    "Dependencies": {"WindowsFeatures": ["a"], "WindowsLibraries": ["b"], "ExternalDependencies": ["c"],
                     "PackageDependencies": [{"PackageIdentifier": "A.B", "MinimumVersion": "1"}]},
    "PackageFamilyName": "Tavimbra_0123456789abc", "ProductCode": "Tavimbra", "Capabilities": ["a"],
    "RestrictedCapabilities": ["b"], "Markets": {"AllowedMarkets": ["JP"]}, "InstallerAbortsTerminal": False,
    "ReleaseDate": "2026-01-01", "InstallLocationRequired": False, "RequireExplicitUpgrade": False,
    "DisplayInstallWarnings": False, "UnsupportedOSArchitectures": ["arm"], "UnsupportedArguments": ["log"],
    "AppsAndFeaturesEntries": [{"DisplayName": "T", "Publisher": "P", "DisplayVersion": "1", "ProductCode": "T",
                                "UpgradeCode": "U", "InstallerType": "nullsoft"}],
    "ElevationRequirement": "elevationProhibited", "InstallationMetadata": {
        "DefaultInstallLocation": "%LOCALAPPDATA%", "Files": [{"RelativeFilePath": "a.exe", "FileSha256": SHA_X,
                                                               "FileType": "launch", "InvocationParameter": "/x",
                                                               "DisplayName": "A"}]},
    "DownloadCommandProhibited": False, "RepairBehavior": "installer", "ArchiveBinariesDependOnPath": False,
}
EVERY_LOCALE_FIELD = {
    "PublisherUrl": URL_X, "PublisherSupportUrl": URL_X, "PrivacyUrl": URL_X, "Author": "The authors",
    "PackageUrl": URL_X, "LicenseUrl": URL_X, "Copyright": "(C) x", "CopyrightUrl": URL_X, "Description": "A launcher",
    "Moniker": "tav", "Tags": ["a"], "Agreements": [{"AgreementLabel": "L", "Agreement": "A", "AgreementUrl": URL_X}],
    "ReleaseNotes": "n", "ReleaseNotesUrl": URL_X, "PurchaseUrl": URL_X, "InstallationNotes": "n",
    "Documentations": [{"DocumentLabel": "D", "DocumentUrl": URL_X}],
    "Icons": [{"IconUrl": URL_X, "IconFileType": "png", "IconResolution": "32x32", "IconTheme": "dark",
               "IconSha256": SHA_X}],
}


def with_every_field(docs):
    docs = copy.deepcopy(docs)
    for name, doc in docs.items():
        if not isinstance(doc, dict):
            continue
        if doc.get("ManifestType") == "installer":
            doc.update(EVERY_INSTALLER_FIELD)
            for item in doc.get("Installers") or []:
                item.update({k: v for k, v in EVERY_INSTALLER_FIELD.items() if k != "Channel"},
                            SignatureSha256=SHA_X)
        elif doc.get("ManifestType") in ("defaultLocale", "locale"):
            doc.update(EVERY_LOCALE_FIELD)
    return docs


# A member's value and what Scoop's formatjson makes of it.
SCOOP_NORMAL_CASES = [
    (["Tavimbra.exe"], "Tavimbra.exe"),
    (["Start it now"], ["Start it now"]),
    ("first\n  second", ["first", "second"]),
    ([["Tavimbra.exe"]], [["Tavimbra.exe"]]),
    (["texts", ["settings"]], ["texts", ["settings"]]),
    ({"bin": ["Tavimbra.exe"]}, {"bin": "Tavimbra.exe"}),
    ([{"bin": ["Tavimbra.exe"]}], [{"bin": ["Tavimbra.exe"]}]),
    ([], []),
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
    (["checkver", "regex"], "Tavimbra-([\\d.]+)-win64\\.zip"),  # the asset list loads separately
    (["license"], "Proprietary"),
    (["license", "identifier"], "GPL-3.0-only"),
]
# An address's host, and whether it is a placeholder.
PLACEHOLDER_CASES = [
    ("https://example.invalid/tavimbra/releases/download/v1.0.0/x.zip", True),
    ("https://EXAMPLE.INVALID./tavimbra", True),
    ("https://downloads.example.com/tavimbra", True),
    ("https://example.org/", True),
    ("http://localhost:8000/x.zip", True),
    ("https://mirror.test/x", True),
    ("https:///x.zip", True),
    ("https://github.com/tavimbra/tavimbra/releases/download/v1.0.0/x.zip", False),
    ("https://example.com.github.io/x", False),
    ("https://o.github.io/invalid/test", False),
]
# Texts of the Scoop manifest that formatjson would change.
LAYOUT_BREAKS = [
    ("two-space indent", lambda m, text: json.dumps(m, indent=2, ensure_ascii=False) + "\n"),
    ("escaped non-ASCII", lambda m, text: json.dumps(m, indent=4) + "\n"),
    ("no final line end", lambda m, text: text.rstrip("\n")),
    ("a pair on one line", lambda m, text: re.sub(r'\[\s*("Tavimbra\.exe"),\s*("Tavimbra")\s*\]', r"[\1, \2]", text)),
    ("a one-item array", lambda m, text: text.replace('"persist": [', '"persist": [\n        "texts"\n    ],\n    "x": [', 1)),
]


def main():
    args = [a for a in sys.argv[1:] if a != "--test-manifests"]
    test_manifests = len(args) != len(sys.argv) - 1
    dist = pathlib.Path(args[0]) if args else ROOT / "dist"
    version = re.search(r"project\(Tavimbra VERSION ([0-9.]+)", (ROOT / "CMakeLists.txt").read_text()).group(1)
    key = re.search(r'!define UNINSTALL_KEY ".*\\([^\\"]+)"', (ROOT / "installer/tavimbra.nsi").read_text()).group(1)
    global IN_USE
    IN_USE = int(re.search(r"!define EXIT_IN_USE (\d+)", (ROOT / "installer/decisions.nsh").read_text()).group(1))
    zip_name = f"Tavimbra-{version}-win64.zip"
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
    for suffix, path, value in WINGET_VALID:
        name = f"Tavimbra.Tavimbra{suffix}"
        if name in docs:
            good = {**docs, name: broken(docs[name], path, value)}
            if good[name] is not None and winget_errors(good):
                failures.append(f"winget check refused the valid {path} = {value!r}: {winget_errors(good)}")

    if docs and winget_errors(with_every_field(docs)):
        failures.append(f"winget check refused a manifest with every optional field: {winget_errors(with_every_field(docs))}")

    scoop_text = (dist / "scoop" / "tavimbra.json").read_text(encoding="utf-8")
    scoop = json.loads(scoop_text)
    failures += [f"scoop {e}" for e in scoop_errors(scoop) + scoop_release_errors(scoop, zip_name, version)]
    for path, value in SCOOP_BREAKS:
        bad = broken(scoop, path, value)
        if bad is not None and not scoop_errors(bad) + scoop_release_errors(bad, zip_name, version):
            failures.append(f"scoop check let the manifest through with {path} = {value!r}")
    if scoop_text.replace("\r\n", "\n") != scoop_layout(scoop):
        failures.append("scoop/tavimbra.json is not laid out as Scoop's formatjson writes it")
    for value, want in SCOOP_NORMAL_CASES:
        if scoop_normalized({"member": value}) != {"member": want}:
            failures.append(f"formatjson's {value!r} taken for {scoop_normalized({'member': value})['member']!r}")
    for what, change in LAYOUT_BREAKS:
        if change(scoop, scoop_layout(scoop)) == scoop_layout(scoop):
            failures.append(f"the layout check would not see {what}")

    # Placeholders: refused in a release; the test manifests of a development build hold them.
    for address, placeholder in PLACEHOLDER_CASES:
        if is_placeholder(address) != placeholder:
            failures.append(f"{address} taken for {'a real address' if placeholder else 'a placeholder'}")
    found = [e for name, doc in sorted(docs.items()) for e in placeholder_errors(name, doc)]
    found += placeholder_errors("tavimbra.json", scoop)
    if not test_manifests:
        failures += found

    for f in failures:
        print("FAIL:", f)
    if failures:
        return 1
    kind = f"test manifests ({len(found)} placeholder addresses)" if test_manifests else "no placeholder address"
    print(f"manifests of {version}: {len(docs)} winget files (1.10.0) and the Scoop manifest follow their "
          f"schemas, {kind}; {len(WINGET_BREAKS) + len(SCOOP_BREAKS) + len(LAYOUT_BREAKS)} broken copies "
          f"rejected, {len(WINGET_VALID)} valid optional fields accepted")
    return 0


if __name__ == "__main__":
    sys.exit(main())
