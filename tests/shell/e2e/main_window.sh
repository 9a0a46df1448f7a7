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

fail() {
  echo "FAIL: $*" >&2
  [ -f "$out/program.log" ] && sed 's/^/program: /' "$out/program.log" >&2
  exit 1
}

for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null || fail "$tool is missing (tools/deps.sh installs it)"
done

rm -rf "$out"
mkdir -p "$out"
# shellcheck source=session.sh
source "$(dirname "$0")/session.sh"
mkdir -p "$home/problems"

fixture=$home/problems/E2E.VKD
"$make_fixture" "$fixture" || fail "the fixture could not be written"

echo "${DISPLAY}" >"$out/display"

# Waits for a window whose name matches, and prints its id.
window() {
  timeout "${2:-20}" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n1
}
shot() { import -window root "$out/$1.png"; }

started=
start_and_wait "$out/program.log" '^VEXO_Zud 2\.6 - ' "$program" "$fixture" >"$out/main" || true
main=$(cat "$out/main")
main_pid=$started
[ -n "$main" ] || fail "the main window with the problem did not appear"
caption=$(xdotool getwindowname "$main")
[ "$caption" = "VEXO_Zud 2.6 - $fixture" ] || fail "caption is '$caption'"
sleep 0.5
shot 1-opened

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
xdotool windowfocus --sync "$main"
xdotool key ctrl+x
box=$(window '^Çıkış\.\.\.$' 10) || true
[ -n "$box" ] || fail "Ctrl+X did not ask to exit"
shot 6-exit-question
xdotool windowfocus --sync "$box"
xdotool key Return
if save=$(window '^Uyarı\.\.\.$' 5) && [ -n "$save" ]; then
  xdotool windowfocus --sync "$save"
  xdotool key Return
fi
for _ in $(seq 100); do kill -0 "$main_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$main_pid" 2>/dev/null; then fail "the program did not end after the exit question"; fi
wait "$main_pid" || fail "the program ended with an error"
echo "end to end: caption, report and exit as expected; screenshots in $out"
