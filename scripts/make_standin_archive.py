#!/usr/bin/env python3
"""Writes the stand-in "Boot.1" of the sandbox and the tests.

Usage: make_standin_archive.py BOOT_INI OUT

A ZIP archive of the shape the program installs: bootmgr and the Windows XP loader files
at its root. BOOT.INI is the project's own; every other file is a short text that says it
is a stand-in. The real files come from the user's own Windows media and are never shipped.
"""
import sys
import zipfile

# Fixed times keep the archive the same from build to build.
WHEN = (2013, 1, 1, 12, 0, 0)

STAND_INS = ['bootmgr', 'ntldr', 'NTDETECT.COM', 'bootfont.bin']


def stand_in(name):
    return ('xpboot stand-in %s: made by the project for its sandbox and tests.\r\n'
            'Not a real boot file: it cannot start anything.\r\n' % name).encode('ascii') * 4


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    boot_ini, out = argv[1], argv[2]
    with zipfile.ZipFile(out, 'w', zipfile.ZIP_DEFLATED) as archive:
        for name in STAND_INS:
            info = zipfile.ZipInfo(name, WHEN)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # made on DOS/Windows: no Unix mode in the attributes
            archive.writestr(info, stand_in(name))
        info = zipfile.ZipInfo('BOOT.INI', WHEN)
        info.compress_type = zipfile.ZIP_DEFLATED
        info.create_system = 0
        with open(boot_ini, 'rb') as f:
            archive.writestr(info, f.read().replace(b'\r\n', b'\n').replace(b'\n', b'\r\n'))


if __name__ == '__main__':
    main(sys.argv)
