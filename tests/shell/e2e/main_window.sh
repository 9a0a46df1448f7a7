#!/usr/bin/env bash
# End to end: the real program under an Xvfb of its own (a free display, so it runs on machines
# without one), with a fresh home and the start-up options off, opens a fixture problem named on the
# command line; xdotool chooses "&Rapor" > "Yem &Formülü", accepts the report data for a detailed
# report, and leaves by Ctrl+X answering Yes to the exit and save questions. Checked: the caption,
# the report file, the exit. Screenshots go to the output folder to be looked at.
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
home=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$home"
}
trap cleanup EXIT

export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share XDG_RUNTIME_DIR=$home/run
mkdir -p "$XDG_CONFIG_HOME/VEXO_Zud" "$XDG_RUNTIME_DIR" "$home/problems"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
cat > "$XDG_CONFIG_HOME/VEXO_Zud/registry.ini" <<'INI'
[HKEY_LOCAL_MACHINE\Software\Tarvex_Int\VK6Setings]
"VKlstrt"="0"
"VKlogo"="0"
"VKldlg"="0"
"VKrmdo"="0"
INI

fixture=$home/problems/E2E.VKD
"$make_fixture" "$fixture" || fail "the fixture could not be written"

# A display of our own: Xvfb picks a free number and writes it to the descriptor.
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$out/display" 2>"$out/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$out/display" ] && break; sleep 0.1; done
[ -s "$out/display" ] || fail "Xvfb did not start"
export DISPLAY=:$(head -n1 "$out/display")

# Waits for a window whose name matches, and prints its id.
window() {
  timeout "${2:-20}" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n1
}
shot() { import -window root "$out/$1.png"; }

"$program" "$fixture" >"$out/program.log" 2>&1 &
main_pid=$!
pids+=($main_pid)

main=$(window '^VEXO_Zud 2\.6 - ') || true
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

# Leave: Ctrl+X asks to exit, then offers to save the solved problem; Return answers Yes to both.
xdotool windowfocus --sync "$main"
xdotool key ctrl+x
box=$(window '^Çıkış\.\.\.$' 10) || true
[ -n "$box" ] || fail "Ctrl+X did not ask to exit"
shot 5-exit-question
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
