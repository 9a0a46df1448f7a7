#!/usr/bin/env bash
# End to end: the real program under an Xvfb of its own opens a fixture problem, closes its
# ingredient editor, and Alt+G opens the program updater modally. Checked: the updater's caption, the
# download folder it creates under the data root, that opening writes no settings file, and that
# "Çıkış..." ends it and leaves the main window working. Screenshots go to the output folder.
#
#   updater_window.sh PROGRAM MAKE_FIXTURE OUTPUT_FOLDER
set -euo pipefail
program=$1
make_fixture=$2
out=$3

# shellcheck source=../../shell/e2e/problem_session.sh
source "$(dirname "$0")/../../shell/e2e/problem_session.sh"

open_problem
sleep 0.5
# The ingredient editor's menu stands in for the main window's while it is active: close it first.
xdotool windowfocus --sync "$main"
xdotool key --delay 200 alt+p p
sleep 0.5

xdotool windowfocus --sync "$main"
xdotool key alt+g
updater=$(window '^Program Güncelleme Arayüzü$') || true
[ -n "$updater" ] || fail "Alt+G did not open the updater"
sleep 0.5
shot 1-updater

setup_dir="$HOME/Documents/VEXO_Rir26 Veriler/VXO-Setup"
[ -d "$setup_dir" ] || fail "the download folder was not created: $setup_dir"
if find "$HOME" -name VXOFTP.INI | grep -q .; then fail "opening the updater wrote a settings file"; fi

# The dialog is 420 x 281 dialog units; "Çıkış..." sits at (360, 254, 44, 19).
eval "$(xdotool getwindowgeometry --shell "$updater")"
xdotool mousemove --sync $((X + WIDTH * 382 / 420)) $((Y + HEIGHT * 263 / 281)) click 1
for _ in $(seq 50); do
  xdotool search --onlyvisible --name '^Program Güncelleme Arayüzü$' >/dev/null 2>&1 || break
  sleep 0.1
done
if xdotool search --onlyvisible --name '^Program Güncelleme Arayüzü$' >/dev/null 2>&1; then
  fail "Çıkış did not end the updater"
fi
shot 2-back

leave_saving 3-exit-question
echo "end to end: the updater opened by Alt+G and ended by Çıkış; screenshots in $out"
