#!/bin/sh
# expect_refusal.sh PROGRAM FILE TEXT: PROGRAM FILE must exit with 1 and say TEXT.
out=$("$1" "$2" 2>&1)
rc=$?
echo "$out"
[ "$rc" -eq 1 ] && echo "$out" | grep -q "$3"
