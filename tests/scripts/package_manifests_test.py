#!/usr/bin/env python3
"""scripts/package-manifests over a distribution of stand-in files, and scripts/check-manifests
on what it wrote: the manifests pass as written and every planted fault is found.

    package_manifests_test.py SOURCE_DIR SCRATCH_DIR
"""

import hashlib
import pathlib
import shutil
import subprocess
import sys
import zipfile

VERSION = "1.2.3"


def run(*args):
    return subprocess.run([str(a) for a in args], capture_output=True, text=True)


def make_dist(folder):
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    name = f"zeziriv-{VERSION}"
    (folder / f"{name}-setup.exe").write_bytes(b"MZ stand-in installer")
    with zipfile.ZipFile(folder / f"{name}-portable.zip", "w") as archive:
        archive.writestr(f"{name}/zeziriv.exe", b"MZ stand-in program")
        archive.writestr(f"{name}/filter/system/protanopia.xml", b"<filter/>")
    sums = []
    for f in (f"{name}-setup.exe", f"{name}-portable.zip"):
        sums.append(f"{hashlib.sha256((folder / f).read_bytes()).hexdigest()}  {f}\n")
    (folder / f"{name}-SHA256SUMS").write_text("".join(sums))


def replace(path, old, new, count=1):
    text = path.read_text(encoding="utf-8")
    if old not in text:
        raise AssertionError(f"{path.name} has no {old!r} to plant a fault in")
    path.write_text(text.replace(old, new, count), encoding="utf-8")


def flip_last_digit(path, key):
    lines = path.read_text(encoding="utf-8").splitlines(keepends=True)
    for i, line in enumerate(lines):
        if key in line:
            stripped = line.rstrip('",\n')
            digit = stripped[-1]
            other = "0" if digit != "0" else "1"
            lines[i] = line.replace(stripped, stripped[:-1] + other, 1)
            break
    else:
        raise AssertionError(f"{path.name} has no {key}")
    path.write_text("".join(lines), encoding="utf-8")


def main():
    source, scratch = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    write = source / "scripts" / "package-manifests"
    check = source / "scripts" / "check-manifests"
    dist = scratch / "dist"
    winget = dist / "winget" / "manifests" / "z" / "zuvadur" / "Zeziriv" / VERSION
    installer = winget / "zuvadur.Zeziriv.installer.yaml"
    version_file = winget / "zuvadur.Zeziriv.yaml"
    locale = winget / "zuvadur.Zeziriv.locale.en-US.yaml"
    scoop = dist / "scoop" / "zeziriv.json"
    setup = dist / f"zeziriv-{VERSION}-setup.exe"
    failures = []

    # Each fault, planted in freshly written manifests, and a word the check's report must say.
    plants = [
        ("a wrong installer hash", lambda: flip_last_digit(installer, "InstallerSha256"),
         "not the installer's"),
        ("a wrong zip hash", lambda: flip_last_digit(scoop, '"hash"'), "not the zip's"),
        ("an installer changed after its manifest",
         lambda: setup.write_bytes(b"MZ another installer"), "not the installer's"),
        ("the version as a number", lambda: replace(version_file, f'"{VERSION}"', "1.2"),
         "PackageVersion is float"),
        ("another version", lambda: replace(locale, f'"{VERSION}"', '"1.2.4"'),
         "PackageVersion is '1.2.4'"),
        ("no machine scope", lambda: replace(installer, "Scope: machine", "Scope: user"),
         "no installer of scope machine"),
        ("the scope's switch swapped", lambda: replace(installer, "/ALLUSERS", "/CURRENTUSER"),
         "runs '/CURRENTUSER'"),
        ("no silent switch", lambda: replace(installer, "  Silent: /S\n", ""), "Silent is None"),
        ("another installer type", lambda: replace(installer, "nullsoft", "nsis"),
         "InstallerType is 'nsis'"),
        ("a plain http address", lambda: replace(installer, "InstallerUrl: https://", "InstallerUrl: http://"),
         "over https"),
        ("an address of another file",
         lambda: replace(scoop, "portable.zip\"", "setup.exe\""), "over https"),
        ("a missing required field", lambda: replace(locale, "License:", "Licence:"),
         "License missing"),
        ("the zip's folder misnamed", lambda: replace(scoop, f'"zeziriv-{VERSION}"', '"zeziriv"'),
         "does not hold"),
        ("a broken YAML file", lambda: replace(installer, "Installers:", "Installers: ["),
         "cannot be read"),
    ]
    for what, plant, said in [("nothing", lambda: None, None)] + plants:
        make_dist(dist)
        made = run(write, "--dist", dist, "--version", VERSION)
        if made.returncode != 0:
            failures.append(f"package-manifests failed: {made.stderr}")
            break
        plant()
        result = run(check, "--dist", dist, "--version", VERSION)
        if said is None:
            if result.returncode != 0:
                failures.append(f"the manifests as written fail: {result.stderr}")
        elif result.returncode == 0:
            failures.append(f"{what}: the check passed")
        elif said not in result.stderr:
            failures.append(f"{what}: the report does not say {said!r}:\n{result.stderr}")

    # Without a sum of the installer no manifest is written.
    make_dist(dist)
    sums = dist / f"zeziriv-{VERSION}-SHA256SUMS"
    sums.write_text("".join(line for line in sums.read_text().splitlines(keepends=True)
                            if "setup" not in line))
    if run(write, "--dist", dist, "--version", VERSION).returncode == 0:
        failures.append("package-manifests wrote manifests without the installer's sum")

    for failure in failures:
        print(f"FAIL: {failure}")
    print(f"{len(plants) + 2 - len(failures)} of {len(plants) + 2} cases pass")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
