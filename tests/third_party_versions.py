#!/usr/bin/python3
"""Fails if the Windows program's notices name a library at a version an advisory covers.

    third_party_versions.py ADVISORIES NOTICES [--expect-affected NAME...]

NAME is the first of a library's names in the table, in sorted order, case ignored.

ADVISORIES is cmake/third_party_advisories.txt; NOTICES a THIRD-PARTY-NOTICES.txt, whose notices
begin with a title line "Name Version" over a line of dashes. With --expect-affected the check
itself is tried: it passes only if exactly the libraries named are found affected.
"""

import argparse
import re
import sys


def version_key(text):
    return tuple(int(part) for part in re.findall(r"\d+", text))


def advisories(path):
    """(names, affected from, fixed in, advisory) for each advisory line of the table."""
    found = []
    with open(path, encoding="utf-8") as lines:
        for number, line in enumerate(lines, 1):
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            fields = [field.strip() for field in line.split("|", 3)]
            if len(fields) != 4 or not all(fields):
                sys.exit("%s:%d: expected: library | affected from | fixed in | advisory"
                         % (path, number))
            names = {name.strip().lower() for name in fields[0].split(" / ")}
            found.append((names, fields[1], fields[2], fields[3]))
    return found


def notices(path):
    """(title, name, version or None) of each notice: a title line over a line of dashes, the
    title being the name and then the version, if it has one."""
    with open(path, encoding="utf-8") as text:
        lines = text.read().splitlines()
    found = []
    for title, rule in zip(lines, lines[1:]):
        if title and re.fullmatch(r"-{3,}", rule):
            match = re.fullmatch(r"(.*?)\s+v?(\d+(?:\.\d+)+)", title)
            if match:
                found.append((title, match.group(1).lower(), match.group(2)))
            else:
                found.append((title, title.lower(), None))
    return found


def main():
    arguments = argparse.ArgumentParser()
    arguments.add_argument("advisories")
    arguments.add_argument("notices")
    arguments.add_argument("--expect-affected", nargs="+")
    options = arguments.parse_args()

    table = advisories(options.advisories)
    titles = notices(options.notices)
    if not titles:
        sys.exit("%s holds no notices" % options.notices)
    affected = set()
    problems = []
    for names, first, fixed, advisory in table:
        library = sorted(names)[0]
        cve = advisory.split(":")[0]
        for title, name, version in titles:
            if name not in names:
                continue
            if version is None:
                problems.append("%s: no version stated, so not known to be clear of %s"
                                % (title, cve))
                affected.add(library)
            elif version_key(first) <= version_key(version) < version_key(fixed):
                problems.append("%s is affected by %s" % (title, advisory))
                affected.add(library)
            else:
                print("%s: clear of %s" % (title, cve))
    for problem in problems:
        print(problem)
    if options.expect_affected is not None:
        expected = {name.lower() for name in options.expect_affected}
        if affected != expected:
            sys.exit("expected affected: %s; found: %s" % (sorted(expected), sorted(affected)))
        return
    if problems:
        sys.exit("%d finding(s) against %s" % (len(problems), options.advisories))


if __name__ == "__main__":
    main()
