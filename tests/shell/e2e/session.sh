# Sourced by the end-to-end run and the start-up benchmark: a fresh home with the start-up options
# off, an Xvfb of its own on a free display (Xvfb picks the number and writes it to the descriptor),
# and the clean-up of both at exit. Processes added to `pids` are ended at exit too.

home=$(mktemp -d)
pids=()
session_cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$home"
}
trap session_cleanup EXIT

export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share XDG_RUNTIME_DIR=$home/run
mkdir -p "$XDG_CONFIG_HOME/VEXO_Zud" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
printf '[HKEY_LOCAL_MACHINE\\Software\\Tarvex_Int\\VK6Setings]\n"VKlstrt"="0"\n"VKlogo"="0"\n"VKldlg"="0"\n"VKrmdo"="0"\n' \
  >"$XDG_CONFIG_HOME/VEXO_Zud/registry.ini"

Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$home/display" 2>"$home/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$home/display" ] && break; sleep 0.1; done
if [ ! -s "$home/display" ]; then
  echo "FAIL: Xvfb did not start" >&2
  exit 1
fi
export DISPLAY=:$(head -n1 "$home/display")
