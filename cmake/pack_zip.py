#!/usr/bin/python3
"""Writes a zip of the listed files, in the order listed, every one stamped with the same time and
with no owner, so that the same files always make the same zip, whoever packs them and whenever.

    pack_zip.py ZIP FOLDER SOURCE_DATE_EPOCH LIST    (LIST: one path in FOLDER per line)
"""

import os
import sys
import time
import zipfile


def main():
    archive, folder, epoch, listing = sys.argv[1:5]
    stamp = time.gmtime(int(epoch))[:6]
    with open(listing, encoding="utf-8") as names, \
            zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as packed:
        for name in (line.rstrip("\n") for line in names):
            if not name:
                continue
            entry = zipfile.ZipInfo(name, date_time=stamp)
            entry.compress_type = zipfile.ZIP_DEFLATED
            entry.create_system = 0  # made on Windows' terms: no Unix owner or mode
            with open(os.path.join(folder, name), "rb") as data:
                packed.writestr(entry, data.read(), compresslevel=9)


if __name__ == "__main__":
    main()
