# Sourced by the end-to-end runs that start the real program on a small reference database. Expects
# `program`, `make_fixture`, `out` and `source_dir`; gives the session of session.sh, `shot`, the data
# root `root` holding the fixture tables, and `start_program`, which starts the program and sets
# `main` (its main window) and `main_pid`.
# shellcheck source=../../support/xvfb_session.sh
source "$source_dir/tests/support/xvfb_session.sh"
prepare_output "$out"
# shellcheck source=../../shell/e2e/session.sh
source "$source_dir/tests/shell/e2e/session.sh"
shot() { import -window root "$out/$1.png"; }

root="$home/Documents/VEXO_Rir26 Veriler"
"$make_fixture" "$root" || fail "the reference fixture could not be written"

start_program() {
  started=
  start_and_wait "$out/program.log" '^VEXO_Zud 2\.6' "$program" >"$out/main" || true
  main=$(cat "$out/main")
  main_pid=$started
  [ -n "$main" ] || fail "the main window did not appear"
}
