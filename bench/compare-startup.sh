#!/usr/bin/env bash
# orvtool's start-up against the sqlite3 shell: "orvtool sql" and "sqlite3" run the same
# statement on the same SQLite gallery, best wall time of 30 runs each, printed as a ratio
# (ours / sqlite3). Usage: bench/compare-startup.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: compare-startup.sh BUILD_DIR}" && pwd)
tool=$build/tools/orvtool/orvtool
[[ -x $tool ]] || { echo "no orvtool in $build" >&2; exit 1; }
command -v sqlite3 >/dev/null || { echo "no sqlite3 shell" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$tool" gallery sample --format sqlite "$work/Sample.GAL" >/dev/null
statement="Select Count(*) from DrawingDir"

python3 - "$tool" "$work/Sample.GAL" "$statement" <<'PY'
import subprocess, sys, time
tool, gallery, statement = sys.argv[1:4]
def best(command, runs=30):
    fastest = float("inf")
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        fastest = min(fastest, time.perf_counter() - start)
    return fastest
ours = best([tool, "sql", gallery, statement])
peer = best(["sqlite3", gallery, statement])
print(f"orvtool sql: {ours * 1000:.1f} ms, sqlite3: {peer * 1000:.1f} ms, ratio {ours / peer:.2f}")
PY
