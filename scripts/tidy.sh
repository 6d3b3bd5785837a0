#!/usr/bin/env bash
# Runs clang-tidy with the repository's .clang-tidy over the project's own
# sources listed in BUILD_DIR/compile_commands.json. Tests and benchmarks are
# left out: GoogleTest's registration macros trip the static-initialisation
# checks on every test. Exits non-zero when clang-tidy reports anything.
#   scripts/tidy.sh [BUILD_DIR] [JOBS] [PATH_PREFIX...]
# PATH_PREFIX limits the run to sources under those folders (e.g. library/debug).
set -euo pipefail

if [ "${1:-}" = "--help" ] || [ "${1:-}" = "-h" ]; then
  sed -n '2,7p' "$0" | sed 's/^# \{0,1\}//'
  exit 0
fi

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-build}" 2>/dev/null && pwd)" || { echo "tidy: no build folder '${1:-build}'" >&2; exit 2; }
jobs="${2:-$(nproc)}"
shift $(( $# < 2 ? $# : 2 ))
db="$build/compile_commands.json"
[ -f "$db" ] || { echo "tidy: $db is missing; configure first (make configure)" >&2; exit 2; }

tidy="$(command -v clang-tidy-14 || command -v clang-tidy || true)"
[ -n "$tidy" ] || { echo "tidy: clang-tidy not found (apt-get install clang-tidy-14)" >&2; exit 2; }

groups='^(platform|library|game|tools|examples|cmake)/'
[ $# -gt 0 ] && groups="^($(IFS='|'; echo "$*"))/"

# Source files of the database, relative to the root, ours only.
mapfile -t files < <(python3 - "$db" "$root" "$groups" <<'EOF'
import json, os, re, sys
db, root, groups = sys.argv[1], sys.argv[2], re.compile(sys.argv[3])
seen = set()
for entry in json.load(open(db)):
    path = os.path.normpath(os.path.join(entry["directory"], entry["file"]))
    rel = os.path.relpath(path, root)
    if rel.startswith("..") or not groups.match(rel) or rel in seen:
        continue
    seen.add(rel)
    print(rel)
EOF
)
[ ${#files[@]} -gt 0 ] || { echo "tidy: no sources matched" >&2; exit 2; }

log="$build/tidy.log"
cd "$root"
printf '%s\n' "${files[@]}" |
  xargs -P "$jobs" -n 4 "$tidy" -p "$build" --quiet 2>/dev/null > "$log" || true

# One finding per "file:line:col: warning|error: ... [check]" line; a header
# included from several sources is reported once.
findings="$(grep -E '^[^ ]+:[0-9]+:[0-9]+: (warning|error):' "$log" | sort -u || true)"
if [ -n "$findings" ]; then
  echo "$findings" | sed "s|^$root/||"
  echo "tidy: $(echo "$findings" | wc -l) finding(s) in ${#files[@]} sources; full output in $log" >&2
  exit 1
fi
echo "tidy: clean (${#files[@]} sources)"
