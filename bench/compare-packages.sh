#!/usr/bin/env bash
# Whole-file compression against pigz on the same 50 MB of page-like text, in one run:
# CompressFile (orvtool compress) vs "pigz -p 1 -6 -z" and DecompressFile (orvtool decompress)
# vs "pigz -d -z", best of three each, printed as time ratios (ours / pigz; 1.00 = as fast).
# Then the package benchmark: one 100 KB page out of a 2,000-member package, end to end.
# Usage: bench/compare-packages.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: compare-packages.sh BUILD_DIR}" && pwd)
tool=$build/tools/orvtool/orvtool
bench=$build/bench/packages_bench
command -v pigz >/dev/null || { echo "pigz is missing: run scripts/install-deps" >&2; exit 1; }
[[ -x $tool ]] || { echo "no orvtool in $build" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# GB2312 page text: tags, picture addresses, technical words and numbers (compresses about 4:1).
perl -e '
    srand(42);
    my @w = ("<p>", "</p>", "<td>", "</td>", "<tr>", "</tr>", "\xB3\xDD\xC2\xD6", "\xD6\xE1\xB3\xD0",
             "\xC2\xDD\xCB\xA8", "\xB3\xDF\xB4\xE7", "\xB2\xC4\xC1\xCF", "GB/T", "mm", "M", "<img src=\"A12.files/image",
             ".gif\">", "<a href=\"B3.htm\">", "</a>", "\r\n", "&nbsp;");
    my $out = "<html><head><meta charset=\"gb2312\"></head><body>\r\n";
    my $target = 50 * 1024 * 1024;
    while (length($out) < $target) {
        $out .= $w[int(rand(@w))] . int(rand(2000)) . " ";
    }
    print substr($out, 0, $target);
' > "$work/pages.htm"

now() { date +%s%N; }
# best_of COMMAND...: the best wall time of three runs, in nanoseconds.
best_of() {
    local best=0 start end t
    for _ in 1 2 3; do
        start=$(now); "$@"; end=$(now)
        t=$((end - start))
        if [[ $best -eq 0 || $t -lt $best ]]; then best=$t; fi
    done
    echo "$best"
}
ms() { awk -v n="$1" 'BEGIN { printf "%.1f ms", n / 1e6 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

ours_c=$(best_of "$tool" compress "$work/pages.htm" "$work/ours.z")
pigz_c=$(best_of sh -c 'pigz -p 1 -6 -z -c "$0" > "$1"' "$work/pages.htm" "$work/pigz.z")
# Both decompressors read the same stream.
ours_d=$(best_of "$tool" decompress "$work/ours.z" "$work/ours.out")
pigz_d=$(best_of sh -c 'pigz -d -z -c "$0" > "$1"' "$work/ours.z" "$work/pigz.out")
cmp -s "$work/pages.htm" "$work/ours.out" || { echo "round trip through orvtool differs" >&2; exit 1; }
cmp -s "$work/pages.htm" "$work/pigz.out" || { echo "pigz does not read our stream back" >&2; exit 1; }
pigz -d -z -c "$work/pigz.z" | cmp -s - "$work/pages.htm" || { echo "pigz round trip differs" >&2; exit 1; }

in_size=$(stat -c %s "$work/pages.htm")
echo "input: $in_size bytes of page-like text; compressed: ours $(stat -c %s "$work/ours.z"), pigz $(stat -c %s "$work/pigz.z")"
printf 'compress    CompressFile %s   pigz -p 1 -6 -z %s   ratio %s (aim <= 1.15)\n' \
    "$(ms "$ours_c")" "$(ms "$pigz_c")" "$(ratio "$ours_c" "$pigz_c")"
printf 'decompress  DecompressFile %s   pigz -d -z %s   ratio %s (aim <= 1.15)\n' \
    "$(ms "$ours_d")" "$(ms "$pigz_d")" "$(ratio "$ours_d" "$pigz_d")"

if [[ -x $bench ]]; then
    "$bench" --benchmark_filter=BM_ExtractPageEndToEnd --benchmark_repetitions=3 \
        --benchmark_report_aggregates_only=true 2>/dev/null | grep -E "BM_" || true
    echo "(target for BM_ExtractPageEndToEnd: under 2 ms)"
fi
