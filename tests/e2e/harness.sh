# The Wine side of the end-to-end tests, sourced by each scenario script: a fresh prefix under
# $out with the Japanese locale and font, on the user's X display or on Xvfb, the UI driver as `d`,
# and `check` counting what passed. Needs $out and $driver_exe set.

export WINEPREFIX=$out/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8

# Runs COMMAND every 0.2 s until it succeeds; 1 when it has not within SECONDS. The bound only ends
# a wait that would never end: a loaded machine may take long to reach any state.
poll_until() {  # poll_until SECONDS COMMAND...
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.2
  done
}

if [ -z "${DISPLAY:-}" ] || [ -n "${SETUP_E2E_XVFB:-}" ]; then
  # A display of its own, named once it takes clients, however long the machine needs. Picked at
  # random among many rather than as the first free one: an Xvfb looking for a free display
  # briefly takes the address of each one in use on its way, and a client of another run that
  # connects in that moment loses its display.
  n=
  for _ in $(seq 20); do
    try=$((100 + RANDOM % 800))
    rm -f "$out/xvfb-display"
    Xvfb ":$try" -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$out/xvfb-display" >/dev/null 2>&1 &
    xvfb=$!
    xvfb_named() { [ -s "$out/xvfb-display" ] || ! kill -0 "$xvfb" 2>/dev/null; }
    poll_until 60 xvfb_named
    n=$(tr -dc 0-9 <"$out/xvfb-display" 2>/dev/null)
    [ -n "$n" ] && kill -0 "$xvfb" 2>/dev/null && break
    kill "$xvfb" 2>/dev/null
    n=
  done
  if [ -z "$n" ]; then
    echo "harness: Xvfb took no display" >&2
    exit 1
  fi
  export DISPLAY=":$n"
fi
cleanup() {
  wineserver -k 2>/dev/null
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
}
trap cleanup EXIT

wineboot -i >/dev/null 2>&1
wineserver -w
# Without a window manager Wine waits up to 2 s for one each time it hides a managed window (every
# dialog that closes); unmanaged windows draw and behave the same here without that wait.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null
# The user's shell folders are links into $HOME; real folders keep every shortcut inside the prefix.
for folder in "$WINEPREFIX"/drive_c/users/*/*; do
  [ -L "$folder" ] && rm "$folder" && mkdir "$folder"
done
# The dialogs ask for the proportional "ＭＳ Ｐゴシック"; its proportional stand-in keeps their texts
# inside the template's rectangles as on Windows.
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
  /v 'ＭＳ Ｐゴシック' /t REG_SZ /d IPAPGothic /f >/dev/null

passed=0
failed=0
check() {  # check WHAT EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAIL %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"
  fi
}
# The output of COMMAND once it is EXPECTED, or its last output when it has not become so within
# 60 s: for what the program does in its own time after the state a road waited for.
awaited() {  # awaited EXPECTED COMMAND...
  local expected=$1 end=$((SECONDS + 60)) output
  shift
  while output=$("$@" 2>/dev/null); [ "$output" != "$expected" ] && [ "$SECONDS" -lt "$end" ]; do
    sleep 0.2
  done
  printf '%s' "$output"
}
d() { wine "$driver_exe" "$@"; }
# The ids of the visible buttons of the main window, sorted.
buttons() { d controls "$1" | awk -F'\t' '$2 == 1 && $3 == "Button" {print $1}' | sort -n | tr '\n' ' '; }
