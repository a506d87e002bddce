#!/usr/bin/env bash
# The thumbnail grid's drawing statement on a 100,000-drawing gallery, run by `orvtool sql`
# (Jet dialect, materialised result) and by the sqlite3 shell (the same statement with "||"),
# each as a fresh process, 20 times. Usage: bench/compare-database.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: compare-database.sh BUILD_DIR}
orvtool=$build/tools/orvtool/orvtool
command -v sqlite3 >/dev/null || { echo "sqlite3 shell not installed; skipped"; exit 0; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
gallery=$work/Large.gal
"$orvtool" gallery schema "$gallery"
sqlite3 "$gallery" <<'SQL'
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10)
INSERT INTO SpecClass SELECT i, '专业' || i, '\Spec' || i, i FROM n;
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000)
INSERT INTO DrawingDir (DirID, ParDirID, SpecID, DirName, DirType, DirPath, DirContent, DirVisible)
SELECT i, 0, 1 + i % 10, '目录' || i, 0, '\Dir' || i, 'p' || i || '.htm', i FROM n;
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000)
INSERT INTO DrawingList SELECT i, 1 + (i - 1) / 100, 1 + (1 + (i - 1) / 100) % 10, 'D' || i, '图纸 ' || i, 'S', 'A',
    'F', 'H', '关键词', 'd' || i || '.sld', '\Dir' || (1 + (i - 1) / 100), 'd' || i || '.dwg', 'B', 0, 0,
    CASE WHEN i % 10 = 0 THEN i - 1 ELSE 0 END, i % 3 FROM n;
SQL
statement="SELECT DrawingList.DrawingName,DrawingList.DrawingID as TDrawingID,DrawingList.Status1,DrawingList.AppClass,DrawingList.FunClass,DrawingList.ShpClass,DrawingList.QueryKeyword,DrawingList.DrawingCaption, DrawingList.PreviewFile, SpecClass.SpecPath + DrawingDir.DirPath AS DrawingPath FROM DrawingList, DrawingDir, SpecClass WHERE DrawingList.DirID = DrawingDir.DirID AND DrawingDir.SpecID = SpecClass.SpecID AND DrawingList.SpecID = SpecClass.SpecID And DrawingList.BoundDrawingID=0 And DrawingList.DrawingID>0 And DrawingList.DirID = 537 Order By DrawingList.UserType,DrawingList.DrawingID,DrawingList.DrawingName"
peer=${statement/ + / || }

ours_out=$("$orvtool" sql "$gallery" "$statement" | wc -l)
peer_out=$(sqlite3 -header -separator $'\t' "$gallery" "$peer" | wc -l)
[[ "$ours_out" == "$peer_out" ]] || { echo "row counts differ: $ours_out vs $peer_out"; exit 1; }

now() { date +%s.%N; }
start=$(now); for _ in $(seq 20); do "$orvtool" sql "$gallery" "$statement" >/dev/null; done; ours=$(echo "$(now) - $start" | bc)
start=$(now); for _ in $(seq 20); do sqlite3 "$gallery" "$peer" >/dev/null; done; theirs=$(echo "$(now) - $start" | bc)
printf 'thumbnail statement, 20 runs: orvtool sql %.3f s, sqlite3 %.3f s, ratio %.2f (%d rows)\n' \
    "$ours" "$theirs" "$(echo "$ours / $theirs" | bc -l)" "$((ours_out - 1))"
