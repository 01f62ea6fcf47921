#!/usr/bin/env python3
"""Packs the release ZIP.

Usage: make_release.py PACKAGE VERSION README NAME=FILE...

The package holds the programs under the names given and README.txt: the user guide of
README.md (the part between the guide markers), with Windows line ends and a UTF-8 byte order
mark so that Notepad shows the Chinese text. Refuses to pack anything named Boot.1.
"""
import os
import sys
import zipfile

GUIDE_START = '<!-- guide -->'
GUIDE_END = '<!-- /guide -->'


def guide_text(readme_path):
    with open(readme_path, encoding='utf-8') as f:
        text = f.read()
    start = text.index(GUIDE_START) + len(GUIDE_START)
    end = text.index(GUIDE_END)
    return text[start:end].strip() + '\n'


def main(argv):
    if len(argv) < 5:
        sys.exit(__doc__)
    package, version, readme = argv[1], argv[2], argv[3]
    members = [arg.split('=', 1) for arg in argv[4:]]
    for name, _ in members:
        if os.path.basename(name).lower() == 'boot.1':
            sys.exit('make_release: a Boot.1 never goes into the package')
    folder = 'xpboot-%s/' % version
    tmp = package + '.partial'
    with zipfile.ZipFile(tmp, 'w', zipfile.ZIP_DEFLATED) as z:
        for name, path in members:
            z.write(path, folder + name)
        guide = guide_text(readme).replace('\n', '\r\n')
        z.writestr(folder + 'README.txt', '\ufeff' + guide)
    os.replace(tmp, package)


if __name__ == '__main__':
    main(sys.argv)
