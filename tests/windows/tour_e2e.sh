#!/usr/bin/env bash
# The Windows orvask-tour under Wine in an 80 by 25 tmux pane: every screen
# in turn, a key without a character (Down) and Alt+a going on like any
# other, an answer typed into an input box and shown back at the end, Esc
# cancelling the other boxes, and the last key ending it with status 0.
#
#   tour_e2e.sh WINE_RUN ORVASK_TOUR_EXE
source "$(dirname "$0")/tmux_screen.sh"
wine_run=$1
tour=$2

white=$'\e[97m' yellow=$'\e[93m' on_blue=$'\e[44m' on_magenta=$'\e[45m'
screen=1

# Goes on with a key to the screen with this title; its footer comes last.
next() {
  press "${2:-Space}"
  wait_for "Orvask tour - $1"
  screen=$((screen + 1))
  wait_for "Screen $screen of 9"
}

# Waits until the input box with this prompt reads keys: its spinner turns
# in the first input column (keys typed before would be flushed).
wait_for_box() {
  wait_for "$1 : "
  wait_for_match "│$(printf '%s' "$1" | sed 's/[]()?[]/\\&/g') : [-|/\\]"
}

screen_start "$wine_run" "$tour"
wait_for "Press any key to continue..."
press Enter
wait_for "Orvask tour - Welcome"
wait_for "Screen 1 of 9"
# The title bar: white on dark blue, the title in yellow.
expect_sgr "${white}${on_blue} Orvask tour"
expect_sgr "${yellow}Welcome"

next "Colours and markup"
wait_for "Score 1234  field of 6 [    42]"
next "Glyphs"
# The double-line corner of code page 437 (byte 201), and glyphs of the
# bytes below 32 (the sun of `*, the heart of byte 3).
wait_for "╔"
wait_for "\`*   ☼"
wait_for "gives ♥"
next "Frames" Down # a key without a character goes on as well
next "Text boxes" M-a
wait_for "last key code 2001" # Alt+a
wait_for "Centred on column 40"
# Backgrounds as well as foregrounds: a white frame on dark blue around
# yellow text, a yellow frame on dark magenta.
expect_sgr "${white}${on_blue}│${yellow}A plain text box"
wait_for_sgr "${yellow}${on_magenta}│${white}Opening"
next "Input boxes"

wait_for_box "Your name"
press A d a Enter
for prompt in "A whole number" "Your age" "A variable name" "A password" \
  "Like it? (y/n)" "Really? (Y/n)"; do
  wait_for_box "$prompt"
  press Escape # cancels only this box
done
wait_for "Every answer is above."
wait_for "Ada"

next "Dice and random numbers"
wait_for "dice(3, 6)"
next "Timers"
wait_for "elapsed"
next "Your answers"
wait_for "text: Ada"
wait_for "password (0x02):  (cancelled)"
wait_for "strict yes/no (0x08): n" # Esc answers a yes/no box with no
press Enter
wait_for_exit
[ "$exit_status" = 0 ] || fail "exit status $exit_status after the last screen"
echo "PASS: tour under Wine"
