#!/usr/bin/env python3
"""Writes the stand-in "Boot.1" of the sandbox and the tests, and variants of it for tests.

Usage: make_standin_archive.py BOOT_INI OUTDIR

OUTDIR/Boot.1 is a ZIP archive of the shape the program installs: bootmgr and the Windows XP
loader files at its root. BOOT.INI is the project's own; every other file is a short text that
says it is a stand-in. The real files come from the user's own Windows media and are never
shipped.

OUTDIR/variants/ holds what the installation must refuse or fail on:
  no-bootmgr.zip        the loader files without bootmgr
  upper-bootmgr.zip     the boot manager named BOOTMGR (accepted: names are case-blind)
  nested-bootmgr.zip    bootmgr only inside a folder, none at the root
  damaged-ntldr.zip     bootmgr intact, ntldr's deflated data broken (reserved block type)
  not-a-zip             a text file
"""
import os
import sys
import zipfile

# Fixed times keep the archives the same from build to build.
WHEN = (2013, 1, 1, 12, 0, 0)

STAND_INS = ['bootmgr', 'ntldr', 'NTDETECT.COM', 'bootfont.bin']


def stand_in(name):
    return ('xpboot stand-in %s: made by the project for its sandbox and tests.\r\n'
            'Not a real boot file: it cannot start anything.\r\n' % name).encode('ascii') * 4


def write(path, entries):
    """entries: (name, data) pairs; a name ending in '/' is a directory entry."""
    with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as archive:
        for name, data in entries:
            info = zipfile.ZipInfo(name, WHEN)
            info.compress_type = zipfile.ZIP_STORED if name.endswith('/') else zipfile.ZIP_DEFLATED
            info.create_system = 0  # made on DOS/Windows: no Unix mode in the attributes
            if name.endswith('/'):
                info.external_attr = 0x10
            archive.writestr(info, data)


def break_deflate_data(path, name):
    """Makes the first byte of an entry's deflated data announce the reserved block type 3,
    which every inflater must reject."""
    with zipfile.ZipFile(path) as archive:
        info = archive.getinfo(name)
    with open(path, 'r+b') as f:
        f.seek(info.header_offset + 26)
        name_len = int.from_bytes(f.read(2), 'little')
        extra_len = int.from_bytes(f.read(2), 'little')
        f.seek(info.header_offset + 30 + name_len + extra_len)
        f.write(bytes([0x07]))  # BFINAL=1, BTYPE=11


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    boot_ini, out = argv[1], argv[2]
    with open(boot_ini, 'rb') as f:
        ini = f.read().replace(b'\r\n', b'\n').replace(b'\n', b'\r\n')
    files = [(name, stand_in(name)) for name in STAND_INS] + [('BOOT.INI', ini)]
    loader = [entry for entry in files if entry[0] != 'bootmgr']

    os.makedirs(os.path.join(out, 'variants'), exist_ok=True)
    write(os.path.join(out, 'Boot.1'), files)
    variants = os.path.join(out, 'variants')
    write(os.path.join(variants, 'no-bootmgr.zip'), loader)
    write(os.path.join(variants, 'upper-bootmgr.zip'), [('BOOTMGR', stand_in('BOOTMGR'))] + loader)
    write(os.path.join(variants, 'nested-bootmgr.zip'),
          [('boot/', b''), ('boot/bootmgr', stand_in('bootmgr'))] + loader)
    damaged = os.path.join(variants, 'damaged-ntldr.zip')
    write(damaged, files)
    break_deflate_data(damaged, 'ntldr')
    with open(os.path.join(variants, 'not-a-zip'), 'wb') as f:
        f.write(b'xpboot test file: plain text, not a ZIP archive.\r\n' * 4)


if __name__ == '__main__':
    main(sys.argv)
