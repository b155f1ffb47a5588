#!/usr/bin/env bash
# Windows programs under Wine in an 80 by 25 tmux pane, each run by
# console_round_trip, which compares the console before it with the console
# after it: avl-demo ended by Esc and by its input closing (status 0), and a
# program that takes the console over and then calls abort(), lets an
# exception go uncaught, overflows its stack or faults. Every time the
# console must be as it was, and the terminal show the text from before.
# Last, a program that prints and then works without calling the library
# shows what it printed while it works, and ends well; one that prints to a
# file and returns at once has what it printed in the file.
#
#   round_trip.sh WINE_RUN CONSOLE_ROUND_TRIP_EXE AVL_DEMO_EXE CRASHING_PROGRAM_EXE
source "$(dirname "$0")/tmux_screen.sh"
wine_run=$1
round_trip=$2
windows_path() { "$wine_run" winepath -w "$1"; }
demo=$(windows_path "$3")
crashing=$(windows_path "$4")

# round_trip MODE PROGRAM [ARGUMENT]: sets `status` to the program's.
round_trip() {
  local report=$screen_dir/report
  rm -f "$report"
  screen_start "$wine_run" "$round_trip" "$1" "$(windows_path "$report")" "$2${3:+ $3}"
  wait_for_exit
  [ "$exit_status" = 0 ] || fail "$2 $3 ($1): the console changed: $(cat "$report" 2>/dev/null)"
  wait_for "Before the program, line 5"
  [ "$(title)" = "Round trip ☺" ] || fail "$2 $3 ($1): the title [$(title)] is not the one from before"
  status=$(sed -n 's/^exit status \([0-9]*\).*/\1/p' "$report")
  tmx kill-server
}

for mode in keys closed; do
  round_trip "$mode" "$demo"
  [ "$status" = 0 ] || fail "the demo ended with status $status ($mode)"
done
for how in abort terminate overflow fault; do
  round_trip closed "$crashing" "$how"
  [ "$status" != 7 ] || fail "the program did not crash ($how)" # (under Wine, a stack overflow ends with 0)
done

screen_start "$wine_run" "$4" busy
wait_for "Working..."
test -f "$screen_dir/status" && fail "what the program printed showed only once it had ended"
wait_for_exit
[ "$exit_status" = 0 ] || fail "the busy program ended with status $exit_status"

"$wine_run" "$4" return >"$screen_dir/out" || fail "status $? of a program that returns at once"
grep -qF "About to crash" "$screen_dir/out" || fail "a program's last output was lost at exit"
echo "PASS: the console is as it was, after Esc, a closed input and four kinds of crash;" \
  "a busy program's output shows, and a program's last output is not lost"
