#!/usr/bin/env python3
"""Writes the ZIP archives that the tests of the ZIP reader and the extraction work on.

Usage: make_zip_fixtures.py OUTDIR

Each archive is made in one of three ways, named in its entry in FIXTURES below:
  zip      the Info-ZIP `zip` command on a tree of files written here (OUTDIR/tree);
  zipfile  Python's zipfile module;
  crafted  bytes laid out here by write_archive(), for what neither tool will write
           (raw GBK names, extra fields that differ between the local and central headers,
           wrong checksums and sizes, names that climb out of the target).
Everything is fixed: the same script writes the same bytes, apart from what `zip` puts in.
"""
import os
import shutil
import struct
import subprocess
import sys
import zipfile
import zlib

# 2013-01-01 12:00:00 and 2014-01-01 12:00:00 UTC; the tests know these values too.
MTIME = 1357041600
ATIME = 1388577600
# DOS date and time of 2013-01-01 12:00:00: (year - 1980) << 9 | month << 5 | day, h << 11 | m << 5 | s / 2
DOS_DATE = (2013 - 1980) << 9 | 1 << 5 | 1
DOS_TIME = 12 << 11
WHEN = (2013, 1, 1, 12, 0, 0)

# Unix file types in the upper half of the external attributes.
UNIX_FILE = 0o100000
UNIX_DIR = 0o040000


def content(name, size):
    """Bytes that say which file they belong to, repeated to the size: compressible, but not
    trivially, and different from file to file."""
    line = ('%s: xpboot test data, line ' % name).encode('ascii')
    out = bytearray()
    n = 0
    while len(out) < size:
        out += line + str(n).encode('ascii') + b' ' + bytes([(n * 7919) % 251]) + b'\n'
        n += 1
    return bytes(out[:size])


# --- Crafted archives ------------------------------------------------------------------------

class Entry:
    """One entry of a crafted archive. Every field that a test may want wrong can be given."""

    def __init__(self, name, data=b'', method=8, external=0, made_by=0x0314, flags=0,
                 dos_date=DOS_DATE, dos_time=DOS_TIME, local_extra=b'', central_extra=b'',
                 crc=None, size=None):
        self.name = name if isinstance(name, bytes) else name.encode('gbk')
        self.data = data
        self.method = method
        self.external = external
        self.made_by = made_by
        self.flags = flags
        self.dos_date = dos_date
        self.dos_time = dos_time
        self.local_extra = local_extra
        self.central_extra = central_extra
        self.crc = zlib.crc32(data) if crc is None else crc
        self.size = len(data) if size is None else size

    def stored_bytes(self):
        if self.method == 0:
            return self.data
        packer = zlib.compressobj(6, zlib.DEFLATED, -15)
        return packer.compress(self.data) + packer.flush()


def file_entry(name, data, **kw):
    return Entry(name, data, external=(UNIX_FILE | 0o644) << 16, **kw)


def dir_entry(name, **kw):
    return Entry(name, b'', method=0, external=(UNIX_DIR | 0o755) << 16 | 0x10, **kw)


def write_archive(path, entries, prefix=b''):
    out = bytearray(prefix)
    central = bytearray()
    for e in entries:
        packed = e.stored_bytes()
        offset = len(out) - len(prefix)
        out += struct.pack('<IHHHHHIIIHH', 0x04034B50, 20, e.flags, e.method, e.dos_time, e.dos_date,
                           e.crc, len(packed), e.size, len(e.name), len(e.local_extra))
        out += e.name + e.local_extra + packed
        central += struct.pack('<IHHHHHHIIIHHHHHII', 0x02014B50, e.made_by, 20, e.flags, e.method,
                               e.dos_time, e.dos_date, e.crc, len(packed), e.size, len(e.name),
                               len(e.central_extra), 0, 0, 0, e.external, offset)
        central += e.name + e.central_extra
    start = len(out) - len(prefix)
    out += central
    out += struct.pack('<IHHHHIIH', 0x06054B50, 0, 0, len(entries), len(entries), len(central), start, 0)
    with open(path, 'wb') as f:
        f.write(out)


def ut_block(flags, *times, size=None):
    """An extended time stamp block ("UT"): flags, then the flagged times in order."""
    data = bytes([flags]) + b''.join(struct.pack('<i', t) for t in times)
    return b'UT' + struct.pack('<H', len(data) if size is None else size) + data


def other_block(data=b'\x01\x04\xe8\x03\x00\x00\x04\xe8\x03\x00\x00'):
    """An Info-ZIP Unix uid/gid block ("ux"): something to step over."""
    return b'ux' + struct.pack('<H', len(data)) + data


# The times the extended time stamp tests use (seconds since 1970, UTC).
T_MOD, T_ACC, T_CRE = 1262347200, 1293883200, 1325419200  # 2010/2011/2012-01-01 12:00:00


def time_entries():
    """Entry name -> local extra field; the tests hold the expected times for each name."""
    return [
        Entry('dos-only', b'x'),
        Entry('ut-m', b'x', local_extra=ut_block(1, T_MOD)),
        Entry('ut-a', b'x', local_extra=ut_block(2, T_ACC)),
        Entry('ut-c', b'x', local_extra=ut_block(4, T_CRE)),
        Entry('ut-ma', b'x', local_extra=ut_block(3, T_MOD, T_ACC)),
        Entry('ut-mc', b'x', local_extra=ut_block(5, T_MOD, T_CRE)),
        Entry('ut-ac', b'x', local_extra=ut_block(6, T_ACC, T_CRE)),
        Entry('ut-mac', b'x', local_extra=ut_block(7, T_MOD, T_ACC, T_CRE)),
        Entry('ut-no-flags', b'x', local_extra=ut_block(0) + b'\0' * 4),
        Entry('ut-after-other-block', b'x', local_extra=other_block() + ut_block(1, T_MOD)),
        Entry('ut-second-block-ignored', b'x', local_extra=ut_block(1, T_MOD) + ut_block(7, 1, 2, 3)),
        # Flags promise three times, the block holds one; the next block's bytes are no times.
        Entry('ut-block-ends-early', b'x',
              local_extra=ut_block(7, T_MOD, size=5) + other_block(struct.pack('<ii', T_ACC, T_CRE))),
        # Flags promise three times, the field ends after the first.
        Entry('ut-field-ends-early', b'x', local_extra=ut_block(7, T_MOD)[:2] + struct.pack('<H', 13)
              + bytes([7]) + struct.pack('<i', T_MOD)),
        # Only the local extra field counts.
        Entry('ut-central-only', b'x', central_extra=ut_block(1, T_MOD)),
        Entry('ut-before-1970', b'x', local_extra=ut_block(1, -86400)),
        Entry('dos-date-invalid', b'x', dos_date=0, dos_time=0),
    ]


def attribute_entries():
    """Entry name -> external attributes and maker; the tests hold the expected attributes."""
    unix, dos = 0x0314, 0x0014  # "version made by": Unix, DOS/Windows
    rows = [
        ('unix-file', unix, (UNIX_FILE | 0o644) << 16),
        ('unix-file-readonly', unix, (UNIX_FILE | 0o444) << 16),
        ('unix-dir/', unix, (UNIX_DIR | 0o755) << 16),
        ('unix-dir-readonly/', unix, (UNIX_DIR | 0o555) << 16),
        ('dos-plain', dos, 0),
        ('dos-readonly', dos, 0x01),
        ('dos-hidden', dos, 0x02),
        ('dos-system', dos, 0x04),
        ('dos-archive', dos, 0x20),
        ('dos-dir/', dos, 0x10),
        ('dos-everything', dos, 0x27),
        # The maker is not consulted: both halves are read whoever wrote the entry.
        ('unix-mode-and-dos-bits', unix, (UNIX_FILE | 0o644) << 16 | 0x06),
        ('dos-maker-unix-mode', dos, (UNIX_FILE | 0o644) << 16),
    ]
    return [Entry(name, b'' if name.endswith('/') else b'a', method=0, made_by=made_by, external=ext)
            for name, made_by, ext in rows]


def escape_archives(out):
    """Names that would leave the target, each between two harmless entries."""
    names = {
        'parent': '../xpboot-escape.txt',
        'parent-deep': 'a/../../xpboot-escape.txt',
        'parent-backslash': 'a\\..\\..\\xpboot-escape.txt',
        'parent-trailing-space': '.. /xpboot-escape.txt',
        'slash-root': '/xpboot-escape.txt',
        'backslash-root': '\\xpboot-escape.txt',
        'drive-relative': 'C:xpboot-escape.txt',
        'drive-absolute': 'C:/xpboot-escape.txt',
        'parent-directory-entry': '../xpboot-escape/',
    }
    for case, name in names.items():
        bad = dir_entry(name) if name.endswith('/') else file_entry(name, b'escaped')
        write_archive(os.path.join(out, 'escape-%s.zip' % case),
                      [file_entry('first.txt', b'first'), bad, file_entry('after.txt', b'after')])


# --- Archives of the tools --------------------------------------------------------------------

def write_tree(root):
    """A small tree with directories, an empty file, a read-only one and data large enough to
    need several buffers, all with fixed times."""
    files = {
        'readme.txt': content('readme.txt', 700),
        'data.bin': content('data.bin', 150000),
        'empty.txt': b'',
        'readonly.txt': content('readonly.txt', 40),
        'sub/deeper/note.txt': content('note.txt', 3000),
        'sub/plain.txt': content('plain.txt', 20000),
    }
    if os.path.exists(root):
        for dirpath, dirnames, filenames in os.walk(root):
            for n in dirnames + filenames:
                os.chmod(os.path.join(dirpath, n), 0o755)
        shutil.rmtree(root)
    for name, data in files.items():
        path = os.path.join(root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, 'wb') as f:
            f.write(data)
    os.chmod(os.path.join(root, 'readonly.txt'), 0o444)


def set_tree_times(root):
    for dirpath, dirnames, filenames in os.walk(root, topdown=False):
        for n in filenames + dirnames:
            os.utime(os.path.join(dirpath, n), (ATIME, MTIME))


def run_zip(out, root, name, *options):
    path = os.path.join(out, name)
    if os.path.exists(path):
        os.remove(path)
    # `zip` records the access time, which its own reading of the files has moved.
    set_tree_times(root)
    # In UTC the DOS time that `zip` writes equals the extended time stamp's.
    env = dict(os.environ, TZ='UTC')
    subprocess.run(['zip', '-q', '-r', *options, path, '.'], cwd=root, env=env, check=True)


def python_archive(path, entries, compression=zipfile.ZIP_DEFLATED, dos=True):
    with zipfile.ZipFile(path, 'w') as archive:
        for name, data, *method in entries:
            info = zipfile.ZipInfo(name, WHEN)
            info.compress_type = method[0] if method else compression
            if dos:
                info.create_system = 0
                info.external_attr = 0x10 if name.endswith('/') else 0x20
            archive.writestr(info, data)


def four_files(prefix):
    return [('%s%d.txt' % (prefix, i), content('%s%d' % (prefix, i), 100 + i * 5000)) for i in range(4)]


def patch(path, offset, new):
    with open(path, 'r+b') as f:
        f.seek(offset)
        f.write(new)


def header_offsets(path):
    """(local header offset, central record offset) of every entry, in order."""
    with zipfile.ZipFile(path) as archive:
        locals_ = [i.header_offset for i in archive.infolist()]
    with open(path, 'rb') as f:
        data = f.read()
    centrals = []
    at = data.find(b'PK\x01\x02')
    while at != -1:
        centrals.append(at)
        at = data.find(b'PK\x01\x02', at + 1)
    return list(zip(locals_, centrals))


def set_crc(path, index, crc):
    local, central = header_offsets(path)[index]
    patch(path, local + 14, struct.pack('<I', crc))
    patch(path, central + 16, struct.pack('<I', crc))


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    out = argv[1]
    os.makedirs(out, exist_ok=True)

    # zip: the tree, deflated and stored, with directory entries and Unix modes and times.
    tree = os.path.join(out, 'tree')
    write_tree(tree)
    run_zip(out, tree, 'tree-deflated.zip')
    run_zip(out, tree, 'tree-stored.zip', '-0')
    # zip: encrypted with a password (ZipCrypto), deflated and stored.
    run_zip(out, tree, 'encrypted-deflated.zip', '-P', 'secret')
    run_zip(out, tree, 'encrypted-stored.zip', '-0', '-P', 'secret')

    # zipfile: four files of a DOS/Windows maker, stored and deflated in turn.
    python_archive(os.path.join(out, 'four-files.zip'),
                   [(n, d, zipfile.ZIP_STORED if i % 2 else zipfile.ZIP_DEFLATED)
                    for i, (n, d) in enumerate(four_files('file'))])
    # zipfile: directories ahead of the files in them, and a file without its directory entry.
    python_archive(os.path.join(out, 'directories.zip'),
                   [('a/', b''), ('a/b/', b''), ('a/b/inner.txt', b'inner'), ('top.txt', b'top')])
    python_archive(os.path.join(out, 'missing-directory.zip'),
                   [('first.txt', b'first'), ('nodir/file.txt', b'x'), ('after.txt', b'after')])
    # zipfile: files that meet read-only, hidden and system files at the target.
    python_archive(os.path.join(out, 'replace.zip'),
                   [(n, ('new ' + n).encode('ascii')) for n in
                    ('readonly.txt', 'hidden.txt', 'system.txt', 'everything.txt')])
    # zipfile: the third of four local headers damaged (its signature overwritten).
    damaged = os.path.join(out, 'damaged-third-local-header.zip')
    python_archive(damaged, four_files('file'))
    patch(damaged, header_offsets(damaged)[2][0], b'PK\0\0')
    # zipfile: the third entry compressed with bzip2, a method that is not read.
    python_archive(os.path.join(out, 'bzip2-third.zip'),
                   [(n, d, zipfile.ZIP_BZIP2 if i == 2 else zipfile.ZIP_DEFLATED)
                    for i, (n, d) in enumerate(four_files('file'))])
    # zipfile: a CRC-32 that does not match the data, in both headers, stored and deflated.
    for method, label in ((zipfile.ZIP_STORED, 'stored'), (zipfile.ZIP_DEFLATED, 'deflated')):
        path = os.path.join(out, 'crc-mismatch-%s.zip' % label)
        python_archive(path, [('first.txt', b'first'), ('bad.txt', content('bad', 5000)),
                              ('after.txt', b'after')], compression=method)
        set_crc(path, 1, zlib.crc32(content('bad', 5000)) ^ 1)
    # zipfile: no entries at all (22 bytes); an archive behind an executable stub.
    python_archive(os.path.join(out, 'empty.zip'), [])
    with open(os.path.join(out, 'stub-in-front.zip'), 'wb') as f:
        f.write(b'MZ' + b'\x90' * 510)
        with zipfile.ZipFile(f, 'w') as archive:
            archive.writestr(zipfile.ZipInfo('inside.txt', WHEN), b'inside')
    # crafted: a file shorter than the 32 bytes the header probe reads.
    with open(os.path.join(out, 'short-file.zip'), 'wb') as f:
        f.write(b'PK\x03\x04' + b'\x01' * 16)

    # crafted: the rest.
    write_archive(os.path.join(out, 'times.zip'), time_entries())
    write_archive(os.path.join(out, 'attributes.zip'), attribute_entries())
    write_archive(os.path.join(out, 'empty-first-name.zip'),
                  [file_entry('', b'nameless'), file_entry('second.txt', b'second')])
    # 乗 is 0x81 0x5C in GBK: its second byte is the code of the backslash.
    write_archive(os.path.join(out, 'gbk-names.zip'),
                  [dir_entry('乗/'), dir_entry('乗/子乗/'), file_entry('乗/子乗/乗.txt', b'gbk'),
                   file_entry('表乗.txt', b'top')])
    # Data that end before their recorded size: deflated and stored, the CRC-32 of what is there.
    short = content('short', 4000)
    write_archive(os.path.join(out, 'short-data-deflated.zip'),
                  [file_entry('first.txt', b'first'), file_entry('short.txt', short, size=len(short) + 1000),
                   file_entry('after.txt', b'after')])
    write_archive(os.path.join(out, 'short-data-stored.zip'),
                  [file_entry('first.txt', b'first', method=0),
                   file_entry('short.txt', short, method=0, size=len(short) + 1000),
                   file_entry('after.txt', b'after', method=0)])
    # A name longer than the 259 bytes an entry's information holds.
    write_archive(os.path.join(out, 'long-name-third.zip'),
                  [file_entry('first.txt', b'first'), file_entry('second.txt', b'second'),
                   file_entry('n' * 300, b'long'), file_entry('after.txt', b'after')])
    # The second local header claims a 65535-byte extra field, far past the end of the file.
    bad_extra = os.path.join(out, 'bad-local-extra-second.zip')
    write_archive(bad_extra, [file_entry('first.txt', b'first'), file_entry('second.txt', b'second'),
                              file_entry('after.txt', b'after')])
    patch(bad_extra, header_offsets(bad_extra)[1][0] + 28, struct.pack('<H', 0xFFFF))
    escape_archives(out)


if __name__ == '__main__':
    main(sys.argv)
