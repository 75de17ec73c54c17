#!/usr/bin/env bash
# Remakes the archives written by other zip writers (Debian's zip command and
# Python's zipfile) that the zip helper tests read. Run from this folder.
set -euo pipefail
here=$(pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -f debian_zip.zip python_zipfile.zip python_empty.zip
python3 - <<'PY'
import zipfile
module = open('Module.xml', 'rb').read()
with zipfile.ZipFile('python_zipfile.zip', 'w') as z:
    info = zipfile.ZipInfo('Module.xml', (2020, 5, 17, 13, 45, 30))
    info.compress_type = zipfile.ZIP_DEFLATED
    z.writestr(info, module)
    info = zipfile.ZipInfo('stored.txt', (2019, 12, 31, 23, 59, 58))
    info.compress_type = zipfile.ZIP_STORED
    z.writestr(info, b'stored by zipfile\n' * 20)
with zipfile.ZipFile('python_empty.zip', 'w'):
    pass
PY
cp Module.xml "$work/Module.xml"
for i in $(seq 50); do echo "stored by zip"; done > "$work/Sample 001.wav"
touch -t 202103040506.08 "$work/Module.xml" "$work/Sample 001.wav"
(cd "$work" && zip -q -X -n .wav "$here/debian_zip.zip" Module.xml "Sample 001.wav")
