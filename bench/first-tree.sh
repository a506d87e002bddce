#!/usr/bin/env bash
# Time from starting the reader to its first contents tree on screen, for the demo mechanical
# gallery and for a generated gallery of 20,000 directories and 100,000 drawings (Access form,
# as users have them): first from the database (which writes the tree cache), then from the
# cache. The reader runs off screen with --screenshot, which prints the figure.
#
#   bench/first-tree.sh [BUILD_DIR]      (needs orvbook, orvtool and orvdemo built)
#
# The first start of an Access gallery also imports it into the SQLite copy in the cache
# folder; that one-time import is reported separately, the tree figures are taken with the
# copy in place.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
reader=$build/src/orvbook
orvtool=$build/tools/orvtool/orvtool
for program in "$reader" "$orvtool" "$build/demo/orvdemo"; do
    [[ -x "$program" ]] || { echo "first-tree: $program is not built" >&2; exit 1; }
done

work=$(mktemp -d /tmp/orv-first-tree-XXXXXX)
trap 'rm -rf "$work"' EXIT
export XDG_CACHE_HOME=$work/cache XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen
export QTWEBENGINE_DISABLE_SANDBOX=1

# One start; prints the milliseconds to the first tree.
first_tree() {
    local out
    out=$("$reader" --app-dir "$1" --screenshot "$work/shot.png" --size 1280x800 2>/dev/null)
    sed -n 's/.*first contents tree shown \([0-9]*\) ms after start.*/\1/p' <<<"$out"
}

# Starts three times from each source and prints the best.
measure() {
    local label=$1 app=$2 cache=$3 best= ms
    for _ in 1 2 3; do
        [[ $cache == database ]] && find "$app/ORVBookLib" -iname '*.lst' -delete
        ms=$(first_tree "$app")
        [[ -n $ms ]] || { echo "first-tree: the reader did not show a tree for $label" >&2; exit 1; }
        [[ -z $best || $ms -lt $best ]] && best=$ms
    done
    printf '%-28s %-9s %6s ms\n' "$label" "$cache" "$best"
}

"$build/demo/orvdemo" demo "$work/demo" --quiet
demo=$work/demo-mech
mkdir -p "$demo/ORVBookLib"
cp -r "$work/demo/HomePage" "$demo/" 2>/dev/null || true
for entry in "$work/demo/ORVBookLib"/*; do
    case $(basename "$entry") in [Ee]lec*) ;; *) cp -r "$entry" "$demo/ORVBookLib/" ;; esac
done

large=$work/large
mkdir -p "$large/ORVBookLib"
"$orvtool" gallery sample "$large/ORVBookLib/Large.GAL" --directories 20000 --drawings 100000 >/dev/null
start=$(date +%s%N)
first_tree "$large" >/dev/null
echo "large gallery, first start with the Access import: $(( ($(date +%s%N) - start) / 1000000 )) ms"

measure "demo mechanical gallery" "$demo" database
measure "demo mechanical gallery" "$demo" cache
measure "large gallery (20,000 dirs)" "$large" database
measure "large gallery (20,000 dirs)" "$large" cache
