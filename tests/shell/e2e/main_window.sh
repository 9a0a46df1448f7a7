#!/usr/bin/env bash
# End to end: the real program under an Xvfb of its own (a free display, so it runs on machines
# without one), with a fresh home and the start-up options off, opens a fixture problem named on the
# command line; xdotool chooses "&Rapor" > "Yem &Formülü", accepts the report data for a detailed
# report, sees the report in a pad and closes it, and leaves by Ctrl+X answering Yes to the exit and
# save questions. Checked: the caption, the report file, the pad's save question, the exit. Screenshots go to the output folder to be looked at.
#
#   main_window.sh PROGRAM MAKE_FIXTURE OUTPUT_FOLDER
set -euo pipefail
program=$1
make_fixture=$2
out=$3

# shellcheck source=problem_session.sh
source "$(dirname "$0")/problem_session.sh"

open_problem
caption=$(xdotool getwindowname "$main")
[ "$caption" = "VEXO_Zud 2.6 - $fixture" ] || fail "caption is '$caption'"
sleep 0.5
shot 1-opened

# Opening the problem opened the ingredient editor, whose menu stands in for the main window's while
# it is active: "&Pencere" > "Ka&pat..." closes it first.
xdotool windowfocus --sync "$main"
xdotool key --delay 200 alt+p p
sleep 0.5

# "&Rapor" > "Yem &Formülü" through the menu's mnemonics.
xdotool windowfocus --sync "$main"
xdotool key --delay 150 alt+r
sleep 0.5
shot 2-report-menu
xdotool key f

dialog=$(window '^Rapor Verileri$') || true
[ -n "$dialog" ] || fail "the report-data dialog did not appear"
sleep 0.3
eval "$(xdotool getwindowgeometry --shell "$dialog")"
# The dialog is 248 x 126 dialog units: "Detay" sits at (108, 14, 36, 11), "Tamam" at (216, 7, 24, 22).
click_at() { xdotool mousemove --sync $((X + WIDTH * $1 / 248)) $((Y + HEIGHT * $2 / 126)) click 1; }
click_at 115 19
sleep 0.3
shot 3-report-data
click_at 228 18

report=$home/problems/E2E.TXT
for _ in $(seq 100); do [ -s "$report" ] && break; sleep 0.1; done
[ -s "$report" ] || fail "no report was written"
grep -q "MISIR" "$report" || fail "the report does not name the ingredients"
sleep 0.5
shot 4-solved

# The report opens in a pad under the pad menu, whose Ctrl+X cuts: a typed letter makes Esc ask the
# pad's save question, No closes the pad, and the main menu with its Ctrl+X comes back.
xdotool windowfocus --sync "$main"
xdotool key --delay 100 x Escape
question=$(window '^Uyarı\.\.\.$' 10) || true
[ -n "$question" ] || fail "the report pad did not ask to save its changed text"
shot 5-pad-question
xdotool windowfocus --sync "$question"
xdotool key h  # "&Hayır", the Turkish No
sleep 0.5

# Leave: Ctrl+X asks to exit, then offers to save the solved problem; Return answers Yes to both.
leave_saving 6-exit-question
echo "end to end: caption, report and exit as expected; screenshots in $out"
