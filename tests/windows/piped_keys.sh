#!/usr/bin/env bash
# The Windows avl-demo under Wine with no console at all: its keys from a
# pipe or a file, its output to a pipe or a file.
#   * keys from a pipe: the end of the pipe ends it as Esc does, status 0;
#   * keys from a file, with an arrow key as a terminal sends it: the arrow
#     does nothing and the keys after it count;
#   * a lone Esc from a pipe, with the next keys after a pause: Esc ends it
#     and the keys after it are never read;
#   * --record: the cast holds the session's frames as a terminal is sent
#     them, code page 437's glyphs in UTF-8.
#
#   piped_keys.sh WINE_RUN AVL_DEMO_EXE
set -euo pipefail
wine_run=$1
demo=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
menus() { grep -ao "Exit : Esc" "$dir/out" | wc -l; }

status=0
output=$(printf 'x123' | "$wine_run" "$demo") || status=$?
[ "$status" = 0 ] || fail "exit status $status at the end of the keys"
grep -qF "L rotation at 1" <<<"$output" || fail "no rotation in: $output"

printf 'x\e[A123' >"$dir/keys"
"$wine_run" "$demo" <"$dir/keys" >"$dir/out" || fail "exit status $? with keys from a file"
grep -qaF "L rotation at 1" "$dir/out" || fail "the keys after the arrow were lost"

# The menu is drawn once more after each key the demo reads.
mkfifo "$dir/pipe"
"$wine_run" "$demo" <"$dir/pipe" >"$dir/out" &
exec 3>"$dir/pipe"
printf 'x\e[A1' >&3
for ((i = 0; i < 300 && $(menus) < 3; ++i)); do sleep 0.1; done
[ "$(menus)" = 3 ] || fail "the demo did not read x, the arrow and 1"
printf '\e' >&3
sleep 0.5
trap '' PIPE # the demo may have closed the pipe already
printf '23' >&3 2>/dev/null || true
exec 3>&-
status=0
wait $! || status=$?
[ "$status" = 0 ] || fail "exit status $status after Esc"
[ "$(menus)" = 3 ] || fail "keys were read after Esc"

cast=$dir/session.cast
printf 'x123' | "$wine_run" "$demo" --record "$("$wine_run" winepath -w "$cast")" >/dev/null ||
  fail "exit status $? with --record"
frames=$(grep -c '^\[[0-9.]*, "o", ".*"\]$' "$cast" || true)
[ "$frames" -ge 5 ] && [ "$frames" = $(($(wc -l <"$cast") - 1)) ] ||
  fail "$frames frames in the cast: $(head -c 400 "$cast")"
for text in '{"version": 2, "width": 80, "height": 25,' '┌───' '»' 'L rotation at 1'; do
  grep -qF "$text" "$cast" || fail "no $text in the cast: $(head -c 400 "$cast")"
done
echo "PASS: keys from a pipe and a file, escape sequences decoded; a recorded session"
