#!/usr/bin/env bash
# The Windows avl-demo under Wine in an 80 by 25 tmux pane, run by
# console_round_trip, which compares the console before it with the console
# after it: once ended by Esc, once by its input closing. The console must
# be as it was, and the terminal show the text from before again.
#
#   round_trip.sh WINE_RUN CONSOLE_ROUND_TRIP_EXE AVL_DEMO_EXE
source "$(dirname "$0")/tmux_screen.sh"
wine_run=$1
round_trip=$2
demo=$("$wine_run" winepath -w "$3")

for mode in keys closed; do
  report=$screen_dir/report-$mode
  screen_start "$wine_run" "$round_trip" "$mode" "$("$wine_run" winepath -w "$report")" "$demo"
  wait_for_exit
  [ "$exit_status" = 0 ] || fail "$mode: the console changed: $(cat "$report" 2>/dev/null)"
  wait_for "Before the program, line 5"
  [ "$(title)" = "Round trip ☺" ] || fail "$mode: the title [$(title)] is not the one from before"
  tmx kill-server
done
echo "PASS: the console is as it was, after Esc and after the input closed"
