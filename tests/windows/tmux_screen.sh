# Drives a console program in a tmux pane of 80 by 25 and reads its screen.
# Sourced by the end-to-end scripts beside it. The tmux server is private to
# the script (its own socket) and ends with it.
#
#   screen_start COMMAND...    runs COMMAND in the pane (LANG=C.UTF-8)
#   press KEY...               tmux key names: Enter, Escape, Down, F1, a ...
#   wait_for TEXT              until TEXT is on the screen (else fails)
#   wait_for_line N REGEX      until row N (from 0) matches REGEX (else fails)
#   wait_for_match REGEX       until a row matches REGEX (else fails)
#   screen / screen_sgr        the rows as text / with their colours (SGR)
#   wait_for_sgr TEXT          until TEXT (with SGR codes) is on the coloured screen
#   expect_sgr TEXT            TEXT (with SGR codes) is on the coloured screen now
#   title                      the console's title, as the terminal shows it
#   wait_for_exit              until the program ends; sets exit_status
#   fail MESSAGE               prints MESSAGE and the screen, exits 1

set -euo pipefail

export LANG=C.UTF-8 LC_ALL=C.UTF-8
screen_dir=$(mktemp -d)
screen_socket=$screen_dir/tmux
trap 'tmux -S "$screen_socket" kill-server 2>/dev/null || true; rm -rf "$screen_dir"' EXIT

# How long a wait may take, in tenths of a second.
screen_patience=${SCREEN_PATIENCE:-300}

tmx() { tmux -S "$screen_socket" "$@"; }

# The program's status goes to a file as soon as it ends: the pane itself
# may stay open a little longer, held by Wine's console host.
#
# Wine now and then fails to start a program when the machine is busy: it
# ends at once with a failure status, before the program's main, and shows
# nothing. Such a start is said so and made again, up to twice; a program
# that showed anything, or ended well, is left as it is.
screen_start() {
  local attempt
  for attempt in 1 2 3; do
    rm -f "$screen_dir/status"
    tmx -f /dev/null new-session -d -x 80 -y 25 -e LANG=C.UTF-8 -e LC_ALL=C.UTF-8 \
      bash -c '"$@"; echo $? > "$0.new" && mv "$0.new" "$0"; sleep 600' \
      "$screen_dir/status" "$@"
    retry "the program never showed anything" started
    if ! test -f "$screen_dir/status" || [ "$(cat "$screen_dir/status")" = 0 ] ||
      shows_something; then
      return 0
    fi
    echo "$(basename "${2:-$1}") ended at once with status $(cat "$screen_dir/status")," \
      "showing nothing: Wine failed to start it; starting it again"
    tmx kill-server
  done
  fail "Wine failed to start $(basename "${2:-$1}") three times"
}

shows_something() { screen | grep -q '[^[:space:]]'; }
started() { shows_something || test -f "$screen_dir/status"; }

press() { tmx send-keys "$@"; }

screen() { tmx capture-pane -p; }
title() { tmx display-message -p '#{pane_title}'; }
screen_sgr() { tmx capture-pane -p -e; }

fail() {
  echo "FAIL: $*"
  echo "--- screen ---"
  screen || true
  echo "--- end ---"
  exit 1
}

# Runs the command given after the message until it succeeds, a tenth of a
# second apart, for at most screen_patience tries; then fails with the message.
retry() {
  local message=$1 i
  shift
  for ((i = 0; i < screen_patience; ++i)); do
    "$@" && return 0
    sleep 0.1
  done
  fail "$message"
}

shows() { screen | grep -qF -- "$1"; }
row_matches() { screen | sed -n "$(($1 + 1))p" | grep -qE -- "$2"; }
any_row_matches() { screen | grep -qE -- "$1"; }
shows_coloured() { screen_sgr | grep -qF -- "$1"; }

wait_for() { retry "never showed: $1" shows "$1"; }
wait_for_line() { retry "row $1 never matched: $2" row_matches "$1" "$2"; }
wait_for_match() { retry "no row ever matched: $1" any_row_matches "$1"; }
wait_for_sgr() {
  retry "never showed $(printf '%q' "$1") on the coloured screen" shows_coloured "$1"
}

expect_sgr() {
  shows_coloured "$1" || fail "no $(printf '%q' "$1") on the coloured screen"
}

wait_for_exit() {
  retry "the program did not end" test -f "$screen_dir/status"
  exit_status=$(cat "$screen_dir/status")
}
