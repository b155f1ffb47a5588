#!/usr/bin/env bash
# The Windows avl-demo under Wine in an 80 by 25 tmux pane: the loading
# screen, a key, then 1, 2, 3 (a left rotation at 1, the tree rooted at 2)
# with their glyphs and colours; a step back, teaching turned on with F2 and
# the step replayed and explained; teaching off, the pause (4 and 5 rotate at
# 3 and wait for a key), a deletion (Shift+5), and Esc ending it with status
# 0 and the console given back (its title as before).
#
#   demo_e2e.sh WINE_RUN AVL_DEMO_EXE
source "$(dirname "$0")/tmux_screen.sh"
wine_run=$1
demo=$2

white=$'\e[97m' grey=$'\e[90m' red=$'\e[91m' blue=$'\e[94m'

screen_start "$wine_run" "$demo"

# The loading screen: its frame in code page 437's single lines, in white.
wait_for "Press any key to continue..."
[ "$(title)" = "AVL Tree Demo" ] || fail "title [$(title)] while running"
wait_for_line 0 "^ This program is powered by"
expect_sgr "$white┌───"
expect_sgr "$white└───"
wait_for_line 2 "│Orvask v1.2 for Win32 +│"
expect_sgr "${blue}Win32"
press Enter

# The empty tree and the menu.
wait_for "Exit : Esc"
wait_for_line 20 "^Pause before rotation : false \(toggle with spacebar\)"
expect_sgr "${red}false"

# 1 then 2: 1 leans right, marked » (byte 175) in red right of it.
press 1
wait_for_line 0 "^ +1 *$"
press 2
wait_for_line 3 "^ +_ +2 *$"
wait_for_line 0 "^ +1» *$"
expect_sgr "$red»"

# 3: the rotation is announced, then settles in dark grey over the tree
# rooted at 2, balanced, with 1 and 3 below it in white.
press 3
wait_for_sgr "${grey}L rotation at 1"
wait_for_line 0 "^L rotation at 1 +2 *$"
wait_for_line 3 "^ +1 +3 *$"
screen | grep -qE '[«»]' && fail "a balanced tree shows no balance marks"
expect_sgr "$white 2 "
expect_sgr "$white 1 "
expect_sgr "$white 3 "
expect_sgr "$grey _ "

# Left: the tree before 3, at once. F2: the history row. Right: 3 again,
# its rotation shown as it moves and explained.
press Left
wait_for_line 0 "^ +1» *$"
press F2
wait_for_line 24 "^Step 2 of 3 +<- back +-> forward +Home +End +F2 teaching off *$"
press Right
wait_for_line 24 "^Step 3 of 3 "
wait_for_line 0 "^L rotation at 1 +2 *$"
wait_for_line 23 "^Inserted 3; 1 is right-heavy by 2, its right child 2 leans right: L rotation\\.$"
# Home and End as an xterm sends them: tmux's own (ESC [1~, ESC [4~) are not
# read as keys by Wine's console.
tmx send-keys -l $'\e[H'
wait_for_line 24 "^Step 0 of 3 "
wait_for_line 0 "^ +_ *$"
tmx send-keys -l $'\e[F'
wait_for_line 24 "^Step 3 of 3 "
wait_for_line 0 "^ +2 *$"

# Teaching off; the pause: the rotation at 3 waits in white for a key, then
# settles.
press F2
wait_for_line 20 "^Pause before rotation : false "
press Space
wait_for_line 20 "^Pause before rotation : true "
press 4 5
wait_for_sgr "${white}L rotation at 3"
sleep 0.5
expect_sgr "${white}L rotation at 3"
press x
wait_for_sgr "${grey}L rotation at 3"
wait_for_line 6 "^ +_ +_ +3 +5 *$"

# Shift+5 deletes 5; 4 then leans left («, byte 174, in blue).
press %
wait_for_line 6 "^ +_ +_ +3 +_ *$"
wait_for_line 3 "^ +1 +« *4 *$"
expect_sgr "$blue«"

press Escape
wait_for_exit
[ "$exit_status" = 0 ] || fail "exit status $exit_status after Esc"
# The console was handed back: its title is the one it had before.
[ "$(title)" != "AVL Tree Demo" ] || fail "the title was not given back"
echo "PASS: demo under Wine"
