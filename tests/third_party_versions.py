#!/usr/bin/python3
"""Fails if the Windows program's notices name a library at a version an advisory covers.

    third_party_versions.py ADVISORIES NOTICES [--configured-out NAME...]
                            [--expect-affected NAME...]

NAME is the first of a library's names in the table, in sorted order, case ignored. A library of
the table with no notice fails, unless it is one the build configured out (--configured-out): a
notice whose title changed must not pass as an absent library. A library configured out that
has a notice fails as well.

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
    arguments.add_argument("--configured-out", nargs="+", default=[])
    arguments.add_argument("--expect-affected", nargs="+")
    options = arguments.parse_args()

    table = advisories(options.advisories)
    titles = notices(options.notices)
    if not titles:
        sys.exit("%s holds no notices" % options.notices)
    configured_out = {name.lower() for name in options.configured_out}
    affected = set()
    problems = []
    unaccounted = []  # failures whatever is expected affected
    accounted = set()
    for names, first, fixed, advisory in table:
        library = sorted(names)[0]
        cve = advisory.split(":")[0]
        present = [title for title, name, _ in titles if name in names]
        if library in accounted:
            pass
        elif not present and library not in configured_out:
            unaccounted.append("%s: no notice, and not configured out of the build (a notice "
                               "whose title changed is not an absent library)" % library)
        elif present and library in configured_out:
            unaccounted.append("%s: configured out of the build, yet the program's notices name "
                               "it (%s)" % (library, present[0]))
        elif not present:
            print("%s: configured out of the build" % library)
        accounted.add(library)
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
    for problem in problems + unaccounted:
        print(problem)
    if unaccounted:
        sys.exit("%d librar%s of %s not accounted for" % (
            len(unaccounted), "y" if len(unaccounted) == 1 else "ies", options.advisories))
    if options.expect_affected is not None:
        expected = {name.lower() for name in options.expect_affected}
        if affected != expected:
            sys.exit("expected affected: %s; found: %s" % (sorted(expected), sorted(affected)))
        return
    if problems:
        sys.exit("%d finding(s) against %s" % (len(problems), options.advisories))


if __name__ == "__main__":
    main()
