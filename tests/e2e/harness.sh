# The Wine side of the end-to-end tests, sourced by each scenario script: a fresh prefix under
# $out with the Japanese locale and font, on the user's X display or on Xvfb, the UI driver as `d`,
# and `check` counting what passed. Needs $out and $driver_exe set.

export WINEPREFIX=$out/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8

if [ -z "${DISPLAY:-}" ] || [ -n "${SETUP_E2E_XVFB:-}" ]; then
  for n in $(seq 90 120); do [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || break; done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
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
d() { wine "$driver_exe" "$@"; }
# The ids of the visible buttons of the main window, sorted.
buttons() { d controls "$1" | awk -F'\t' '$2 == 1 && $3 == "Button" {print $1}' | sort -n | tr '\n' ' '; }
