#!/bin/sh
# check_launcher.sh PREFIX WORK: runs PREFIX/bin/dovrex headless from an
# unrelated folder with a scratch home, the installed data read-only, and
# checks the running game's folder, its links and the player's score table.
set -eu
prefix=$1
work=$2
fail() { echo "launcher: $*" >&2; exit 1; }

home=$work/home
rm -rf "$home" "$work/elsewhere"
mkdir -p "$home" "$work/elsewhere"
data=$prefix/share/dovrex
player=$home/.local/share/dovrex

"$prefix/bin/dovrex" --help | grep -q XDG_DATA_HOME || fail "--help does not describe the folder"
if "$prefix/bin/dovrex" --bogus 2>/dev/null; then fail "an unknown argument was accepted"; fi
if env -u HOME -u XDG_DATA_HOME "$prefix/bin/dovrex" 2>/dev/null; then fail "started without HOME"; fi

# A score table of the player's from before, and a link left by an earlier
# installation elsewhere: the first must stay as it is, the second renewed.
mkdir -p "$player"
printf 'scores-of-the-player' >"$player/M_score.dat"
ln -s /nonexistent/bmp "$player/bmp"

chmod -R a-w "$data"
trap 'chmod -R u+w "$data"' EXIT

# Start it from elsewhere, through a symlink to the launcher, like a
# desktop's PATH entry might; a relative XDG_DATA_HOME counts as unset.
ln -sf "$prefix/bin/dovrex" "$work/elsewhere/dovrex-link"
cd "$work/elsewhere"
HOME=$home XDG_DATA_HOME=relative/path ./dovrex-link >"$work/launcher.out" 2>&1 &
pid=$!
# The launcher replaces itself with the game: wait for that, then look.
game=$(readlink -f "$prefix/libexec/dovrex/dovrex")
for _ in $(seq 1 100); do
  [ "$(readlink -f /proc/$pid/exe 2>/dev/null)" = "$game" ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
sleep 2
kill -0 "$pid" 2>/dev/null || { cat "$work/launcher.out" >&2; fail "the game did not keep running"; }
exe=$(readlink -f /proc/$pid/exe)
cwd=$(readlink -f /proc/$pid/cwd)
kill "$pid"
wait "$pid" 2>/dev/null || true

[ "$exe" = "$game" ] || fail "running $exe, not the installed game $game"
[ "$cwd" = "$(readlink -f "$player")" ] || fail "the game runs in $cwd, not in $player"
for folder in bmp wav mid; do
  [ -L "$player/$folder" ] || fail "$folder is not a link"
  [ "$(readlink -f "$player/$folder")" = "$(readlink -f "$data/$folder")" ] || fail "$folder links elsewhere"
done
[ -f "$player/bmp/title.bmp" ] || fail "the game's pictures are not reachable"
[ ! -L "$player/M_score.dat" ] || fail "the score table is a link"
[ "$(cat "$player/M_score.dat")" = scores-of-the-player ] || fail "the player's score table was changed"
[ -w "$player" ] || fail "the player's folder is not writable"

# XDG_DATA_HOME, when absolute, is where the folder goes.
xdg=$work/xdg
rm -rf "$xdg"
if HOME=$home XDG_DATA_HOME=$xdg timeout 3 "$prefix/bin/dovrex" >/dev/null 2>&1; then :; fi
[ -L "$xdg/dovrex/wav" ] || fail "XDG_DATA_HOME was not used"
echo "launcher: game in $cwd, data linked, score table kept"
