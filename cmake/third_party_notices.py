#!/usr/bin/python3
"""Writes the notices of everything the Windows program holds that is not Tempulo's own.

The program links a static Qt, the parts Qt bundles, and MinGW-w64's and GCC's runtimes. Which of
them went in is read from the linker's map of the program: every input it kept code or data from.
Qt's part is traced back to Qt's source through what scripts/windows kept of its build (which
object came from which files, headers included) and matched with Qt's attribution files, read by
Qt's own qtattributionsscanner. Every other input is traced to the Debian package that installed
it, whose copyright file is its notice.

    third_party_notices.py --map tempulo.map --qt QT_DIR --scanner qtattributionsscanner \
        --out DIR

DIR receives THIRD-PARTY-NOTICES.txt and licenses/, with the text of every licence it names.
"""

import argparse
import gzip
import json
import os
import re
import subprocess
import sys
from collections import defaultdict

SECTION = re.compile(r"^ (\.\S+)?\s+0x[0-9a-f]+\s+0x([0-9a-f]+)\s+(\S.*)$")
NAME_ONLY = re.compile(r"^ (\.\S+)$")
MEMBER = re.compile(r"^(.*\.a)\((.+)\)$")


def kept_inputs(map_path):
    """The inputs the linker kept something of: (file, member or None)."""
    kept = set()
    in_map = False
    pending = None
    with open(map_path, encoding="utf-8", errors="replace") as lines:
        for line in lines:
            line = line.rstrip("\n")
            if line.startswith("Linker script and memory map"):
                in_map = True
                continue
            if not in_map:
                continue
            if NAME_ONLY.match(line):
                pending = NAME_ONLY.match(line).group(1)
                continue
            match = SECTION.match(line)
            if not match:
                pending = None
                continue
            name = match.group(1) or pending
            pending = None
            if name is None or name.startswith(".debug") or int(match.group(2), 16) == 0:
                continue
            source = match.group(3).strip()
            member = MEMBER.match(source)
            kept.add((member.group(1), member.group(2)) if member else (source, None))
    return kept


def qt_objects(qt_dir):
    """For each Qt library and member name, the objects of Qt's build that carry that name."""
    objects = defaultdict(set)
    with gzip.open(os.path.join(qt_dir, "share/tempulo/build.ninja.gz"), "rt") as rules:
        statement = ""
        for line in rules:
            line = line.rstrip("\n")
            if line.endswith("$"):
                statement += line[:-1]
                continue
            statement += line
            if statement.startswith("build ") and ".a:" in statement.split(" ")[1]:
                head, _, inputs = statement.partition(": ")
                library = os.path.basename(head[len("build "):].replace("$ ", " "))
                for item in inputs.split("|")[0].split()[1:]:
                    if item.endswith(".obj"):
                        objects[(library, os.path.basename(item))].add(item)
            statement = ""
    return objects


def qt_sources(qt_dir):
    """For each object of Qt's build, the files of Qt's source it was compiled from."""
    sources = {}
    current = None
    with gzip.open(os.path.join(qt_dir, "share/tempulo/deps.gz"), "rt") as deps:
        for line in deps:
            if not line.startswith(" "):
                current = line.split(":")[0].strip() if ":" in line else None
                if current:
                    sources[current] = set()
            elif current and line.strip():
                sources[current].add(os.path.normpath(line.strip()))
    return sources


def attributions(qt_dir, scanner):
    source = os.path.join(qt_dir, "share/tempulo/source")
    # Only the attribution and licence files of Qt's source are kept: the scanner of Qt 6.8 and
    # later would look for the files each entry names, and fail.
    usage = subprocess.run([scanner, "--help"], capture_output=True, text=True).stdout
    checks = ["--no-check-paths"] if "--no-check-paths" in usage else []
    found = subprocess.run([scanner, "--output-format", "json", "--silent", *checks,
                            os.path.join(source, "src")],
                           check=True, capture_output=True, text=True).stdout
    entries = json.loads(found)
    for entry in entries:
        path = os.path.relpath(entry["Path"], source)
        files = [f for f in re.split(r"[\s,]+", entry.get("Files", "")) if f]
        entry["scope"] = [os.path.normpath(os.path.join(path, f)) for f in files] or [path]
        licence = entry.get("LicenseFile") or entry.get("LicenseFiles") or []
        entry["texts"] = [licence] if isinstance(licence, str) else list(licence)
    return entries


def covers(entry, source_file):
    return any(source_file == scope or source_file.startswith(scope + "/")
               for scope in entry["scope"])


def debian_package(path):
    owner = subprocess.run(["dpkg-query", "-S", os.path.realpath(path)],
                           capture_output=True, text=True)
    if owner.returncode != 0:
        return None
    return owner.stdout.split(":")[0].split(",")[0].strip()


def package_version(package):
    return subprocess.run(["dpkg-query", "-W", "-f=${Version}", package],
                          capture_output=True, text=True).stdout.strip()


def licence_name(path):
    """The file name the text is shipped under, from where it lies in Qt's source."""
    parts = os.path.normpath(path).split(os.sep)
    if "3rdparty" in parts:
        parts = parts[parts.index("3rdparty") + 1:]
    else:
        parts = parts[-2:]
    name = re.sub(r"[^A-Za-z0-9.+-]", "_", "-".join(parts))
    return name if name.endswith(".txt") else name + ".txt"  # opens in Notepad


def main():
    arguments = argparse.ArgumentParser()
    arguments.add_argument("--map", required=True)
    arguments.add_argument("--qt", required=True)
    arguments.add_argument("--scanner", required=True)
    arguments.add_argument("--out", required=True)
    options = arguments.parse_args()

    kept = kept_inputs(options.map)
    if not kept:
        sys.exit("third_party_notices: the link map %s lists nothing kept" % options.map)
    qt_dir = os.path.realpath(options.qt)
    objects = qt_objects(qt_dir)
    sources = qt_sources(qt_dir)
    entries = attributions(qt_dir, options.scanner)
    # How the Qt was made (scripts/windows): one "key value" a line.
    with open(os.path.join(qt_dir, "share/tempulo/origin"), encoding="utf-8") as origin_file:
        made = [line.rstrip("\n").split(" ", 1) for line in origin_file if " " in line]
    origin = {key: value for key, value in made if key in ("package", "version")}
    settings = [value for key, value in made if key == "setting"]
    changes = [value for key, value in made if key == "change"]

    qt_libraries = set()
    used_entries = {}
    packages = defaultdict(set)
    for path, member in sorted(kept, key=lambda k: (k[0], k[1] or "")):
        real = os.path.realpath(path)
        if real.startswith(qt_dir + "/"):
            library = os.path.basename(path)
            qt_libraries.add(library)
            files = set()
            for obj in objects.get((library, member), ()):
                files |= sources.get(obj, set())
            for entry in entries:
                if any(covers(entry, f) for f in files):
                    used_entries[entry["Id"]] = entry
        elif real.startswith("/usr/"):
            package = debian_package(real)
            if package is None:
                sys.exit("third_party_notices: no Debian package installed %s" % real)
            packages[package].add(os.path.basename(path))
        # Anything else is Tempulo's own build.

    os.makedirs(os.path.join(options.out, "licenses"), exist_ok=True)
    shipped = {}

    def ship(path, name):
        if name not in shipped:
            with open(path, encoding="utf-8", errors="replace") as text, \
                    open(os.path.join(options.out, "licenses", name), "w", encoding="utf-8",
                         newline="\r\n") as copy:
                copy.write(text.read())
            shipped[name] = path
        return "licenses\\" + name

    source = os.path.join(qt_dir, "share/tempulo/source")
    out = []
    out.append("Third-party notices for Tempulo for Windows")
    out.append("=" * 43)
    out.append("")
    out.append("tempulo.exe is Tempulo's own code (see LICENSE.txt) linked with the parts below.")
    out.append("Each part is named with its copyright notice and licence; the licence texts are")
    out.append("in the licenses folder beside this file. This list is made from the program's")
    out.append("link: it names what went into this tempulo.exe, and nothing else.")
    out.append("")
    if qt_libraries:
        lgpl = ship(os.path.join(source, "LICENSES/LGPL-3.0-only.txt"), "Qt-LGPL-3.0-only.txt")
        gpl = ship(os.path.join(source, "LICENSES/GPL-3.0-only.txt"), "GPL-3.0-only.txt")
        out.append("Qt %s" % origin.get("version", "").split("+")[0])
        out.append("-" * 40)
        out.append("Copyright (C) The Qt Company Ltd. and other contributors.")
        out.append("Libraries: %s" % ", ".join(sorted(l for l in qt_libraries if l.endswith(".a"))))
        out.append("Licence: GNU Lesser General Public License version 3 (%s)," % lgpl)
        out.append("which builds on the GNU General Public License version 3 (%s)." % gpl)
        out.append("")
        out.append("Qt is linked into tempulo.exe statically. To use tempulo.exe with a changed Qt,")
        out.append("relink it: Tempulo's source is public, and its scripts/windows builds the")
        out.append("program against a Qt for Windows of your own (TEMPULO_WINDOWS_QT=DIR). The Qt")
        out.append("in this program was built from Debian's source package %s, version %s"
                   % (origin.get("package", "qt6-base"), origin.get("version", "")))
        out.append("(apt-get source %s=%s), by scripts/windows, with these settings:"
                   % (origin.get("package", "qt6-base"), origin.get("version", "")))
        for setting in settings:
            out.append("    " + setting)
        out.append("(@WORK@ stands for the folder the build took place in.)")
        if changes:
            out.append("Before it was configured, this change was made to the unpacked source:")
            for change in changes:
                out.append("    " + change)
        out.append("")
    for entry in sorted(used_entries.values(), key=lambda e: e["Name"].lower()):
        title = entry["Name"] + (" " + entry["Version"] if entry.get("Version") and
                                 len(entry["Version"]) < 20 else "")
        out.append(title)
        out.append("-" * min(len(title), 78))
        out.append("Part of Qt: " + entry.get("QtUsage", "").strip())
        version = entry.get("Version", "").strip()
        if len(version) >= 20:
            out.append("Version: " + version)  # a commit of its upstream, too long for a title
        elif not version:
            out.append("Version: none stated by its upstream; the copy in Qt's source")
        out.append("Came with Qt's source (%s), in Debian's %s %s"
                   % (os.path.relpath(entry["Path"], source),
                      origin.get("package", "qt6-base"), origin.get("version", "")))
        if entry.get("Homepage"):
            out.append("Home page: " + entry["Homepage"])
        for line in entry.get("Copyright", "").strip().splitlines():
            out.append(line.strip())
        if entry["Id"] == "freetype":
            # FreeType's licence asks for this credit in the documentation.
            out.append("Portions of this software are copyright (C) 2022 The FreeType Project")
            out.append("(https://freetype.org). All rights reserved.")
        texts = [ship(t, licence_name(os.path.relpath(t, source))) for t in entry["texts"]
                 if os.path.isfile(t)]
        out.append("Licence: %s%s" % (entry.get("License", entry.get("LicenseId", "")),
                                      " (%s)" % ", ".join(texts) if texts else ""))
        out.append("")
    # Packages built from one source share one copyright file (their documentation folders are
    # links to one): one notice for each file.
    by_file = defaultdict(list)
    for package in sorted(packages):
        copyright_file = os.path.realpath("/usr/share/doc/%s/copyright" % package)
        if not os.path.isfile(copyright_file):
            sys.exit("third_party_notices: %s has no copyright file" % package)
        by_file[copyright_file].append(package)
    for copyright_file, owners in sorted(by_file.items()):
        text = ship(copyright_file, "debian-%s.txt" % os.path.basename(os.path.dirname(copyright_file)))
        title = ", ".join("%s %s" % (p, package_version(p)) for p in owners) + " (Debian)"
        linked = sorted(set().union(*(packages[p] for p in owners)))
        out.append(title)
        out.append("-" * min(len(title), 78))
        out.append("Linked from it: " + ", ".join(linked))
        out.append("Copyright and licences: %s (Debian's copyright file of the package)" % text)
        out.append("")
    with open(os.path.join(options.out, "THIRD-PARTY-NOTICES.txt"), "w", encoding="utf-8",
              newline="\r\n") as notices:
        notices.write("\n".join(out))


if __name__ == "__main__":
    main()
