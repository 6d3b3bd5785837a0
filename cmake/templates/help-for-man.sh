#!/bin/sh
# help-for-man.sh TOOL ARGS...: what help2man reads from TOOL ARGS. The help
# must exit 0 and write nothing to stderr, or nothing is printed and the man
# page fails. The usage block is put the way help2man makes a synopsis of it:
# "Usage:", "  or:  TOOL ..." for each further form, wrapped lines joined.
set -u
tool=$1
shift
name=$(basename "$tool")
err=$("$tool" "$@" 2>&1 >/dev/null) || { echo "$name $*: exits non-zero" >&2; exit 1; }
[ -z "$err" ] || { echo "$name $*: writes to stderr: $err" >&2; exit 1; }
"$tool" "$@" | awk -v name="$name" '
  NR == 1 { block = 1; sub(/^usage:/, "Usage:") }
  block && /^         *[^ ]/ { sub(/^ +/, " "); held = held $0; next }
  block && index($0, "       " name " ") == 1 { sub(/^       /, "  or:  ") }
  { if (NR > 1) print held; held = $0 }
  $0 == "" { block = 0 }
  END { if (NR > 0) print held }'
