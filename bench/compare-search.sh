#!/usr/bin/env bash
# The full-text scan against grep on the same 50 MB of page-like GB18030 content, in one run:
# FullTextIndex::Find (search_bench, content in memory, mean of its iterations) vs
# "LC_ALL=C grep -F -c -a" (a Chinese text) and "grep -F -i -c -a" (a text with letters),
# best wall time of five runs with the file in the page cache, printed as ratios
# (ours / grep; 1.00 = as fast). Then the title search over 20,000 directories.
# Usage: bench/compare-search.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: compare-search.sh BUILD_DIR}" && pwd)
bench=$build/bench/search_bench
[[ -x $bench ]] || { echo "no search_bench in $build" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
content=$work/content.cnt

ORV_SEARCH_DUMP=$content "$bench" --benchmark_format=json >"$work/ours.json"

now() { date +%s%N; }
best_ns() {
    local best=0 start t
    for _ in 1 2 3 4 5; do
        start=$(now); sh -c "$1" >/dev/null || true; t=$(($(now) - start))
        if [[ $best -eq 0 || $t -lt $best ]]; then best=$t; fi
    done
    echo "$best"
}
cat "$content" >/dev/null
zh=$(printf '\xC2\xDD\xCB\xA8\xC2\xDD\xCB\xA8')
grep_letters=$(best_ns "LC_ALL=C grep -F -i -c -a bolt '$content'")
grep_chinese=$(best_ns "LC_ALL=C grep -F -c -a '$zh' '$content'")

python3 - "$work/ours.json" "$grep_letters" "$grep_chinese" <<'PY'
import json, sys
runs = {b["name"]: b for b in json.load(open(sys.argv[1]))["benchmarks"]}
def ns(name):
    b = runs[name]
    scale = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[b["time_unit"]]
    return b["real_time"] * scale
for name, peer, label in (("BM_FullTextLetters", float(sys.argv[2]), "grep -F -i -c -a bolt"),
                          ("BM_FullTextChinese", float(sys.argv[3]), "grep -F -c -a 螺栓螺栓")):
    ours = ns(name)
    print(f"{name}: {ours / 1e6:.1f} ms, {label}: {peer / 1e6:.1f} ms, ratio {ours / peer:.2f}")
print(f"BM_TitleSearch20000: {ns('BM_TitleSearch20000') / 1e6:.2f} ms (aim: under 20 ms)")
PY
