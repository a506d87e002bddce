#!/usr/bin/env bash
# Access galleries: writes a generated Jet 4 gallery (20,000 directories, 100,000 drawings by
# default), imports it into the reader's SQLite copy, and in the same run exports every table
# with mdb-export (mdbtools), the peer that reads the same file with the same library. Prints
# the write time, the import time, the mdb-export time, their ratio, and the time to open the
# gallery once its copy is fresh.
# Usage: bench/compare-jet.sh BUILD_DIR [DIRECTORIES DRAWINGS]
set -euo pipefail
build=$(cd "${1:?usage: compare-jet.sh BUILD_DIR [DIRECTORIES DRAWINGS]}" && pwd)
dirs=${2:-20000}
drawings=${3:-100000}
tool=$build/tools/orvtool/orvtool
[[ -x "$tool" ]] || { echo "compare-jet: $tool is not built" >&2; exit 1; }
command -v mdb-export >/dev/null || { echo "compare-jet: mdb-export missing (Debian package mdbtools); skipped"; exit 0; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CACHE_HOME=$work/cache
gallery=$work/bench.gal

now() { date +%s.%N; }
calc() { awk "BEGIN { print $1 }"; }
field() { awk -F'\t' -v k="$1" '$1 == k { print $2 }'; }

write=$("$tool" gallery sample "$gallery" --directories "$dirs" --drawings "$drawings" | field seconds)
size=$(stat -c %s "$gallery")

start=$(now)
"$tool" gallery import "$gallery" > "$work/import.txt"
import=$(calc "$(now) - $start")
grep -q $'^status\timported' "$work/import.txt" || { echo "compare-jet: the import did not run" >&2; exit 1; }

start=$(now)
mdb-tables -1 "$gallery" | while IFS= read -r table; do
    mdb-export "$gallery" "$table" > /dev/null
done
export_time=$(calc "$(now) - $start")

start=$(now)
"$tool" sql "$gallery" "Select GalleryName from Gallery" > /dev/null
open=$(calc "$(now) - $start")

printf 'gallery\t%d directories, %d drawings, %.1f MB\n' "$dirs" "$drawings" "$(calc "$size / 1048576")"
printf 'write\t%.3f s\n' "$write"
printf 'import\t%.3f s (orvtool gallery import, libmdb into SQLite, fresh cache)\n' "$import"
printf 'mdb-export\t%.3f s (every table, same file)\n' "$export_time"
printf 'ratio import/mdb-export\t%.2f (aim: at most 1.5)\n' "$(calc "$import / $export_time")"
printf 'open fresh copy\t%.3f s (orvtool sql on the gallery, copy reused)\n' "$open"
