# Sourced by the end-to-end runs that open a fixture problem in the real program. Expects `program`,
# `make_fixture` and `out` (the output folder, emptied here); gives `fail`, `shot`, the session of
# session.sh, the fixture problem `fixture`, and `open_problem`, which starts the program on it and
# sets `main` (its main window) and `main_pid`.
# shellcheck source=../../support/xvfb_session.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../support/xvfb_session.sh"
prepare_output "$out"
# shellcheck source=session.sh
source "$(dirname "${BASH_SOURCE[0]}")/session.sh"
mkdir -p "$home/problems"

fixture=$home/problems/E2E.VKD
"$make_fixture" "$fixture" || fail "the fixture could not be written"

echo "${DISPLAY}" >"$out/display"

shot() { import -window root "$out/$1.png"; }

open_problem() {
  started=
  start_and_wait "$out/program.log" '^VEXO_Zud 2\.6 - ' "$program" "$fixture" >"$out/main" || true
  main=$(cat "$out/main")
  main_pid=$started
  [ -n "$main" ] || fail "the main window with the problem did not appear"
}
