# Starting setup.exe and walking its dialogs, for the roads. Sourced after harness.sh; needs $out,
# $setup_exe and $planted (may be empty).

# The names setup.exe loads under Wine through every dialog (WINEDEBUG=+loaddll), and those the
# system's own DLLs are known to load later under Windows.
planted_names="actxprxy advapi32 apphelp bcrypt cabinet clbcatq combase comctl32 comdlg32 crypt32 cryptbase
  cryptsp cscapi dbghelp dnsapi dwmapi edputil explorerframe gdi32 imm32 iphlpapi kernel32 kernelbase linkinfo
  mpr msasn1 msimg32 msvcrt netapi32 nsi ntdll ntmarta ntshrui ole32 oleacc oleaut32 profapi propsys rpcrt4 rstrtmgr
  sechost secur32 setupapi shcore shell32 shlwapi slc srvcli sspicli textshaping ucrtbase user32 userenv
  uxtheme version win32u windows.storage windowscodecs winex11.drv wininet wintrust wldp ws2_32 wtsapi32 zlib1"
plant() {  # plant FOLDER
  [ -n "${planted:-}" ] || return 0
  for name in $planted_names; do
    case $name in *.drv) cp "$planted" "$1/$name" ;; *) cp "$planted" "$1/$name.dll" ;; esac
  done
}

# Keeps the screen as BUILD/e2e/shots/NAME.png.
shot() { import -window root "$out/shots/$1.png"; }
# Starts setup.exe (or $program when set) in a fresh current folder with the given files in it;
# sets $pid and $run.
start_setup() {
  run=$out/runs/$1
  shift
  mkdir -p "$run"
  plant "$run"
  [ $# -gt 0 ] && cp "$@" "$run/"
  (cd "$run" && WINEDEBUG=+loaddll exec wine "${program:-$setup_exe}") >"$run.log" 2>&1 &
  pid=$!
}
setup_ended() { ! kill -0 "$pid" 2>/dev/null; }
# Waits for setup.exe to end and sets $status to its exit status; "still running", counted as a
# failure, when it has not ended within SECONDS (120 unless told), and then it is ended, so that
# the roads after it start from no window.
wait_setup() {  # wait_setup [SECONDS]
  if ! poll_until "${1:-120}" setup_ended; then
    status="still running"
    failed=$((failed + 1))
    printf 'FAIL setup.exe of run %s still running\n' "${run##*/}"
    kill "$pid"
    poll_until 30 setup_ended || kill -9 "$pid"
    wait "$pid"
    return
  fi
  wait "$pid"
  status=$?
}
# Presses Cancel in the main window (CAPTION, Quillfen unless told) until setup.exe ends, for up to
# 120 s, and sets $status as wait_setup does: the window takes no command while the run's worker
# is still writing the record, the shortcuts or the saved data after the installed layout shows.
cancel_setup() {  # cancel_setup [CAPTION]
  local end=$((SECONDS + 120))
  until setup_ended || [ "$SECONDS" -ge "$end" ]; do
    d command "${1:-Quillfen}" 2 2>/dev/null
    poll_until 3 setup_ended
  done
  # What was still on the screen, for a run that would not end.
  setup_ended || echo "cancel_setup: windows still open: $(d windows | tr '\n' '|'); buttons: $(buttons "${1:-Quillfen}")"
  wait_setup 0
}
# Closes the run's message and waits for the main window's buttons to become BUTTONS.
close_message_for_layout() {
  d command SETUP 1
  d gone SETUP >/dev/null
  awaited "$1" buttons Quillfen >/dev/null
}
# The options' free-space line for the demo's 1 MByte, and the licence dialog's caption.
free_line_re='^空き容量:\[[0-9]+\.[0-9]+ (MByte|GByte)\] / 必要容量:\[1 MByte\]$'
matches() { [[ $2 =~ $1 ]] && echo yes || echo "no: $2"; }  # matches REGEX TEXT
licence=使用許諾契約書

# Confirms an uninstall and lets the program end after its message; sets $message to the
# message's text and keeps a screenshot of it when given a name.
uninstall_to_message() {  # uninstall_to_message RUN [SHOT]
  start_setup "$1"
  d wait Quillfen >/dev/null
  d command Quillfen 3
  d wait UnInstall >/dev/null
  d click UnInstall 1
  message=$(awaited "ｱﾝｲﾝｽﾄｰﾙしました。" d text UnInstall 65535)
  [ -n "${2:-}" ] && shot "$2"
  d command UnInstall 1
  wait_setup
}
# Agrees to the licence when it is asked for, clicks the given install options (1007: the desktop
# shortcut) and confirms them; runs $before_install just before.
agree_and_install() {  # agree_and_install [OPTION-ID...]
  local option
  d command Quillfen 1
  d wait "$licence" >/dev/null && d click "$licence" 1
  d wait Install >/dev/null
  for option in "$@"; do d click Install "$option"; done
  ${before_install:-}
  d click Install 1
}

# Starts a version up over version 4, its program and the given saved data in place, and waits for
# its message; runs $before_version_up when the version-up options show.
version_up_from_4() {  # version_up_from_4 SAVED-DATA|- RUN [PACKAGE]
  clear_record
  rm -rf "$install_dir_unix" "$(programs_dir)/Corvane"
  mkdir -p "$install_dir_unix"
  echo "MZ old program" > "$install_dir_unix/Quillfen.exe"
  [ "$1" != - ] && cp "$1" "$install_dir_unix/zimel.dat"
  shift
  write_record 4 'C:\Program Files\Corvane\Quillfen\Quillfen.exe'
  start_setup "$@"
  d wait Quillfen >/dev/null
  d command Quillfen 1010
  d wait VersionUp >/dev/null
  ${before_version_up:-}
  d click VersionUp 1
  d wait SETUP >/dev/null
}

# The Windows name of a file of this machine: Wine's drive Z: is /.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
# Another program (a scanner) holds the files at the Windows PATHS (joined by |) without sharing,
# from before the run comes to them, until let_go, or lets go of them in turn, each SECONDS after
# the one before; the holder runs in the background as $holder and this returns once it holds
# them. A run waits up to 5 s for a held file, from its first try: a hold it is to wait out ends
# on its own within that, counted from before the try; one it is to fail on lasts until the road
# lets go after the failure.
hold_file() {  # hold_file PATHS SECONDS
  local said
  rm -f "$out/hold.fifo" "$out/let-go"
  mkfifo "$out/hold.fifo"
  d hold "$1" "$2" "$(windows_path "$out/let-go")" >"$out/hold.fifo" &
  holder=$!
  read -r said <"$out/hold.fifo"
  [ "$said" = held ] || echo "hold_file: $1 could not be held"
}
# Files of the medium (outside the install folder) for a run to copy while a scanner holds them:
# writes each FILE and sets $copy_lines, their #C lines in that order, and $held_paths, their
# Windows names for hold_file.
held_copies() {  # held_copies FILE...
  local file
  copy_lines=() held_paths=
  for file in "$@"; do
    echo "copied once let go" >"$file"
    copy_lines+=("#C=$(windows_path "$file"),${file##*/}")
    held_paths+=${held_paths:+|}$(windows_path "$file")
  done
}
holder_gone() { ! kill -0 "$holder" 2>/dev/null; }
# Lets the holder go and waits until it has.
let_go() {
  touch "$out/let-go"
  wait "$holder"
}
