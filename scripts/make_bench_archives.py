#!/usr/bin/env python3
"""Writes the two archives of the extraction benchmark (scripts/bench-extract.sh).

Usage: make_bench_archives.py OUTDIR

  many-small.zip  10,000 deflated files of 0.5 to 4 KiB in 100 folders, with directory entries
  one-large.zip   over 200 MB: five 64 MiB files, three of random bytes (stored by deflate as
                  they are) and two of text (deflated to a fraction)

Both are made with Python's zipfile at its default level, with fixed contents and times.
"""
import os
import random
import sys
import zipfile

WHEN = (2013, 1, 1, 12, 0, 0)


def add(archive, name, data=b''):
    info = zipfile.ZipInfo(name, WHEN)
    info.compress_type = zipfile.ZIP_STORED if name.endswith('/') else zipfile.ZIP_DEFLATED
    info.create_system = 0
    info.external_attr = 0x10 if name.endswith('/') else 0x20
    archive.writestr(info, data)


def text(rng, size):
    words = [bytes(rng.choice(b'abcdefghijklmnopqrstuvwxyz') for _ in range(rng.randint(2, 9)))
             for _ in range(2000)]
    out = bytearray()
    while len(out) < size:
        out += b' '.join(rng.choice(words) for _ in range(12)) + b'\r\n'
    return bytes(out[:size])


def many_small(path):
    rng = random.Random(1)
    with zipfile.ZipFile(path, 'w') as archive:
        for folder in range(100):
            add(archive, 'folder%03d/' % folder)
            for n in range(100):
                add(archive, 'folder%03d/file%03d.txt' % (folder, n), text(rng, rng.randint(512, 4096)))


def one_large(path):
    rng = random.Random(2)
    size = 64 * 1024 * 1024
    with zipfile.ZipFile(path, 'w') as archive:
        for n in range(3):
            add(archive, 'random%d.bin' % n, rng.randbytes(size))
        for n in range(2):
            add(archive, 'text%d.txt' % n, text(rng, size))


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    os.makedirs(argv[1], exist_ok=True)
    for name, make in (('many-small.zip', many_small), ('one-large.zip', one_large)):
        path = os.path.join(argv[1], name)
        if not os.path.exists(path):
            make(path + '.part')
            os.replace(path + '.part', path)


if __name__ == '__main__':
    main(sys.argv)
