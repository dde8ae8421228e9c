#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times the course author's two slow commands: `course add-document` of a 50-page .docx with
# pictures, and `course pack --deb` of the shipped course. Each is run three times; the times are
# wall-clock seconds. Usage: bench/course-authoring.sh [BUILD_DIR] (default build-test).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
admin="$(cd "${1:-$root/build-test}" && pwd)/tools/admin/velmora-admin"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

# 50 pages: a heading, five paragraphs and a table per page, a picture on every other page.
python3 - <<'PY'
import struct, zlib
def png(w, h, shade):
    raw = b''.join(
        b'\x00' + b''.join(bytes([shade, (x * 7) % 256, (y * 5) % 256]) for x in range(w))
        for y in range(h))
    def chunk(t, d):
        return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b''))
text = []
for page in range(1, 51):
    text.append(f'# Бөлім {page}\n')
    for p in range(5):
        text.append('Желілік хаттамалар деректерді бір түйіннен екінші түйінге жеткізеді; '
                    'әр деңгей өз міндетін атқарады және көрші деңгейлермен келісілген '
                    'интерфейс арқылы байланысады. ' * 3 + '\n')
    text.append('| Деңгей | Хаттама | Бірлік |\n|---|---|---|\n' +
                ''.join(f'| {n} | P{n} | U{n} |\n' for n in range(1, 8)))
    if page % 2 == 0:
        open(f'pic{page}.png', 'wb').write(png(640, 400, page * 5 % 256))
        text.append(f'![Сызба {page}](pic{page}.png)\n')
open('big.md', 'w').write('\n'.join(text))
PY
pandoc big.md -o big.docx
echo "big.docx: $(du -k big.docx | cut -f1) kB"

"$admin" course new course --title "Benchmark" > /dev/null
cp -r "$root/course" shipped
cp course/course.toml course.toml.saved
TIMEFORMAT=%R
for run in 1 2 3; do
  seconds=$( { time (cd course && "$admin" course add-document ../big.docx --menu lectures \
    --caption "Big" > /dev/null); } 2>&1 )
  echo "add-document big.docx, run $run: $seconds s"
  cp course.toml.saved course/course.toml
  rm -rf course/data/lectures/big*
done
for run in 1 2 3; do
  seconds=$( { time "$admin" course pack shipped --deb --version 1.0 > /dev/null; } 2>&1 )
  echo "pack --deb of the shipped course, run $run: $seconds s" \
    "($(du -k velmora-course-velmora_1.0_all.deb | cut -f1) kB)"
done
