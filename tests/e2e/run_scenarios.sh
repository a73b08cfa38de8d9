#!/usr/bin/env bash
# End-to-end scenarios: setup.exe runs under Wine in a fresh prefix, with the Japanese locale and
# font, on the user's X display or on Xvfb, driven through uidriver. Each layout is captured as a
# PNG in BUILD/e2e/shots. Two roads run on setup programs that "zarc setup" made from the stub.
# Ends with "N passed, M failed".
#
# Every run starts as from a downloads folder that someone else has filled: with --planted, a DLL
# that marks its own loading is put beside setup.exe and in its current directory under the name of
# every DLL the program loads under Wine or Windows; the end checks that none of them ran.
set -uo pipefail

while [ $# -gt 0 ]; do
  case $1 in
    --build) build=$2 ;;
    --setup) setup_exe=$2 ;;
    --stub) stub_exe=$2 ;;
    --zarc) zarc_exe=$2 ;;
    --driver) driver_exe=$2 ;;
    --demo) demo=$2 ;;
    --planted) planted=$2 ;;
    *) echo "run_scenarios: unknown argument $1" >&2; exit 2 ;;
  esac
  shift 2
done

out=$build/e2e
rm -rf "$out"
mkdir -p "$out/shots" "$out/runs"
source "$(dirname "$0")/harness.sh"

# The names setup.exe loads under Wine through every dialog (WINEDEBUG=+loaddll), and those the
# system's own DLLs are known to load later under Windows.
planted_names="actxprxy advapi32 apphelp bcrypt cabinet clbcatq combase comctl32 comdlg32 crypt32 cryptbase
  cryptsp cscapi dbghelp dnsapi dwmapi edputil explorerframe gdi32 imm32 iphlpapi kernel32 kernelbase linkinfo
  mpr msasn1 msimg32 msvcrt netapi32 nsi ntdll ntmarta ntshrui ole32 oleacc oleaut32 profapi propsys rpcrt4
  sechost secur32 setupapi shcore shell32 shlwapi slc srvcli sspicli textshaping ucrtbase user32 userenv
  uxtheme version win32u windows.storage windowscodecs winex11.drv wininet wintrust wldp ws2_32 wtsapi32 zlib1"
plant() {  # plant FOLDER
  [ -n "${planted:-}" ] || return 0
  for name in $planted_names; do
    case $name in *.drv) cp "$planted" "$1/$name" ;; *) cp "$planted" "$1/$name.dll" ;; esac
  done
}
if [ -n "${planted:-}" ]; then
  mkdir -p "$out/download"
  cp "$setup_exe" "$out/download/setup.exe"
  setup_exe=$out/download/setup.exe
  plant "$out/download"
fi
shot() { import -window root "$out/shots/$1.png"; }
record_key='HKEY_USERS\.Default\Software\CORVANE\QUILLFEN'
order_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu\&Programs'
install_dir_unix=$WINEPREFIX/drive_c/Program\ Files/Corvane/Quillfen

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
# Waits for setup.exe to end and sets $status to its exit status ("still running" after 20 s).
wait_setup() {
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
  if kill -0 "$pid" 2>/dev/null; then status="still running"; return; fi
  wait "$pid"
  status=$?
}
write_record() {  # write_record VERSION EXECUTE_PATH
  wine reg add "$record_key" /v ExecutePath /t REG_SZ /d "$2" /f >/dev/null
  wine reg add "$record_key" /v MainPath /t REG_SZ /d 'C:\Program Files\Corvane\Quillfen' /f >/dev/null
  wine reg add "$record_key" /v StartMenuPath /t REG_SZ /d 'Corvane\Quillfen' /f >/dev/null
  wine reg add "$record_key" /v RegistryPath /t REG_SZ /d '.Default\Software\CORVANE\QUILLFEN' /f >/dev/null
  wine reg add "$record_key" /v Version /t REG_DWORD /d "$1" /f >/dev/null
}
# Closes the run's message and waits for the main window's buttons to become BUTTONS.
close_message_for_layout() {
  d command SETUP 1
  d gone SETUP >/dev/null
  for _ in $(seq 50); do [ "$(buttons Quillfen)" = "$1" ] && break; sleep 0.2; done
}
# A value of the install record, empty when there is none. A loaded machine now and then fails to
# start "wine reg" at all, which must not read as a missing value: a failed query is asked again.
record_value() {
  local out
  for _ in 1 2 3; do
    out=$(wine reg query "$record_key" /v "$1" 2>/dev/null) && break
    sleep 1
  done
  tr -d '\r' <<<"$out" | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}
clear_record() { wine reg delete "$record_key" /f >/dev/null 2>&1; }
# A package made from the demo's files, leaving out or replacing some; $1 is the archive to write.
make_package() {
  local archive=$1 leave_out=$2 files=()
  shift 2
  for f in "$demo/bin/Quillfen.exe" "$demo/bin/uninstall.exe" "$demo"/files/*; do
    case "/$leave_out/" in */$(basename "$f")/*) continue ;; esac
    files+=("$f")
  done
  wine "$zarc_exe" create "$archive" "${files[@]}" "$@" >/dev/null
}

echo "--- the stub alone ends silently; zarc setup makes a setup program of it"
program=$stub_exe start_setup stub-alone
wait_setup
check "exit status of the stub alone" 0 "$status"
check "no window from the stub alone" 1 "$(d wait Quillfen 1 >/dev/null; echo $?)"
# Made where setup.exe runs from, among the planted DLLs when there are any.
made=$out/download/made-setup.exe
mkdir -p "$out/download"
check "zarc setup writes the program" 0 \
  "$(wine "$zarc_exe" setup "$made" --stub "$stub_exe" --icon "$demo/setup.ico" \
       --product-version 5.0 --package "$demo/files.zarc" >/dev/null 2>&1; echo $?)"

echo "--- nothing installed, a package without a licence: the warning, then the end"
make_package "$out/no-licence.zarc" "同意書.txt"
cp "$out/no-licence.zarc" "$out/files.zarc"
start_setup no-licence "$out/files.zarc"
d wait "VERSION UP" >/dev/null
check "warning text" "ｲﾝｽﾄｰﾙされていないので、ﾊﾞｰｼﾞｮﾝｱｯﾌﾟできません。" "$(d text "VERSION UP" 65535)"
shot warning-not-installed
d command "VERSION UP" 1
wait_setup
check "exit status after the warning" 0 "$status"
check "no main window after the warning" 1 "$(d wait Quillfen 1 >/dev/null; echo $?)"

echo "--- nothing installed, a package with a licence: the Setup layout"
start_setup fresh
d wait Quillfen >/dev/null
check "setup layout buttons" "1 2 " "$(buttons Quillfen)"
check "setup button text" "ｾｯﾄｱｯﾌﾟ" "$(d text Quillfen 1)"
shot layout-setup
d command Quillfen 2
wait_setup
check "exit status after Cancel" 0 "$status"

echo "--- an older installation: the version-up layout"
mkdir -p "$install_dir_unix"
cp "$demo/bin/Quillfen.exe" "$install_dir_unix/"
write_record 4 'C:\Program Files\Corvane\Quillfen\Quillfen.exe'
start_setup version-4
check "window captioned after the script" 0 "$(d wait Quillfen >/dev/null; echo $?)"
check "version-up layout buttons" "2 1010 " "$(buttons Quillfen)"
shot layout-version-up
d command Quillfen 2
wait_setup

echo "--- a current installation: the maintenance layout, and Run"
for version in 5 0xffffffff; do
  write_record "$version" 'C:\Program Files\Corvane\Quillfen\Quillfen.exe'
  start_setup "version-$version"
  d wait Quillfen >/dev/null
  check "maintenance layout buttons ($version)" "2 3 1004 " "$(buttons Quillfen)"
  [ "$version" = 5 ] && shot layout-maintenance
  d command Quillfen 2
  wait_setup
done
start_setup run
d wait Quillfen >/dev/null
d click Quillfen 1004
wait_setup
check "setup ends after Run" 0 "$status"
d wait "Quillfen 5" >/dev/null
program_text=$(d text "Quillfen 5" 65535)
check "the installed program runs in its own folder" 'C:\Program Files\Corvane\Quillfen' \
  "$(printf '%s\n' "$program_text" | tail -n 1)"
shot installed-program-running
d command "Quillfen 5" 1
d gone "Quillfen 5" >/dev/null

echo "--- a record whose program is gone counts as nothing installed"
rm -f "$install_dir_unix/Quillfen.exe"
write_record 5 'C:\Program Files\Corvane\Quillfen\Quillfen.exe'
start_setup program-gone
d wait Quillfen >/dev/null
check "setup layout when the program is gone" "1 2 " "$(buttons Quillfen)"
d command Quillfen 2
wait_setup
clear_record

echo "--- files.zarc in the current folder wins over the built-in package"
mkdir -p "$out/other"
sed 's/^#T=Quillfen/#T=Inkwell/' "$demo/files/setup.txt" > "$out/other/setup.txt"
make_package "$out/other/files.zarc" "setup.txt" "$out/other/setup.txt"
start_setup files-zarc "$out/other/files.zarc"
check "caption from the files.zarc script" 0 "$(d wait Inkwell >/dev/null; echo $?)"
shot files-zarc-wins
d command Inkwell 2
wait_setup

echo "--- a package without parts.bmp ends silently"
make_package "$out/files.zarc" "parts.bmp"
start_setup no-parts "$out/files.zarc"
wait_setup
check "exit status without parts.bmp" 0 "$status"
check "no window without parts.bmp" 1 "$(d wait Quillfen 1 >/dev/null; echo $?)"

# The status area of the folder browser: control 14146, or the browser's own status line where
# it hides that one. Line breaks read as blanks.
browser=フォルダーの参照
browser_status() { d controls "$browser" | awk -F'\t' '($1 == 14146 || $1 == 14147) && $2 == 1 {print $4}'; }
free_line_re='^空き容量:\[[0-9]+\.[0-9]+ (MByte|GByte)\] / 必要容量:\[1 MByte\]$'
matches() { [[ $2 =~ $1 ]] && echo yes || echo "no: $2"; }  # matches REGEX TEXT
licence=使用許諾契約書

echo "--- Setup: the licence, declined with its close box, then agreed to"
clear_record
start_setup dialogs-setup
d wait Quillfen >/dev/null
d command Quillfen 1
check "licence dialog opens on Setup" 0 "$(d wait "$licence" >/dev/null; echo $?)"
check "licence text with its line breaks" "$(iconv -f CP932 -t UTF-8 "$demo/files/同意書.txt")" \
  "$(d text "$licence" 1009)"
check "licence lines are not wrapped" 21 "$(d lines "$licence" 1009)"
check "licence buttons" "同意する|同意しない" "$(d text "$licence" 1)|$(d text "$licence" 2)"
shot dialog-licence
d close "$licence"
check "the close box declines" 0 "$(d gone "$licence" >/dev/null; echo $?)"
check "no install options after declining" 1 "$(d wait Install 1 >/dev/null; echo $?)"
wait_setup
check "declining the licence ends the program" 0 "$status"
start_setup dialogs-setup-again
d wait Quillfen >/dev/null
d command Quillfen 1
d wait "$licence" >/dev/null
d key "$licence" enter
check "Enter agrees: the install options open" 0 "$(d wait Install >/dev/null; echo $?)"

echo "--- the install options dialog and its folder browser"
check "options buttons" "1 2 1005 1007 1008 " "$(buttons Install)"
check "options button texts" "ｾｯﾄｱｯﾌﾟ開始|ｾｯﾄｱｯﾌﾟ中止|変更" \
  "$(d text Install 1)|$(d text Install 2)|$(d text Install 1008)"
check "options default folder" 'C:\Program Files\Corvane\Quillfen' "$(d text Install 1003)"
check "options free-space line" yes "$(matches "$free_line_re" "$(d text Install 1017)")"
shot dialog-install-options
mkdir -p "$WINEPREFIX/drive_c/Games"
d click Install 1008
check "the browser opens on 変更" 0 "$(d wait "$browser" >/dev/null; echo $?)"
check "browser shows the requirement when it opens" "＊1 MByte以上の空き容量が必要です" "$(browser_status)"
d select "$browser" 'C:\'
check "browser status for a drive root" yes \
  "$(matches '^C:\\   空き容量:\[[0-9]+\.[0-9]+ (MByte|GByte)\]$' "$(browser_status)")"
d treechild "$browser" Games
check "browser status for a folder" yes \
  "$(matches '^C:\\Games   空き容量:\[[0-9]+\.[0-9]+ (MByte|GByte)\]$' "$(browser_status)")"
shot dialog-folder-browser
d click "$browser" 1
d gone "$browser" >/dev/null
check "the chosen folder with the product folder" 'C:\Games\Quillfen' "$(d text Install 1003)"
check "free-space line after browsing" yes "$(matches "$free_line_re" "$(d text Install 1017)")"
d click Install 1008
d wait "$browser" >/dev/null
check "the browser starts at the folder above" Games "$(d treeitem "$browser")"
check "the requirement stays over the start folder's status" "＊1 MByte以上の空き容量が必要です" \
  "$(browser_status)"
d click "$browser" 2
d gone "$browser" >/dev/null
check "a cancelled browse keeps the folder" 'C:\Games\Quillfen' "$(d text Install 1003)"
d click Install 1008
d wait "$browser" >/dev/null
d select "$browser" 'C:\'
d click "$browser" 1
d gone "$browser" >/dev/null
check "a drive root gives one backslash" 'C:\Quillfen' "$(d text Install 1003)"
shot dialog-install-options-root
d command Install 2
d gone Install >/dev/null
d command Quillfen 1
check "Setup again asks for no licence" 1 "$(d wait "$licence" 1 >/dev/null; echo $?)"
d wait Install >/dev/null
check "each opening starts from the default folder" 'C:\Program Files\Corvane\Quillfen' \
  "$(d text Install 1003)"
d command Install 2
d gone Install >/dev/null
d command Quillfen 2
wait_setup
check "exit status after the dialogs" 0 "$status"

echo "--- a licence of more than 4 KiB is shown whole"
mkdir -p "$out/long-licence"
for n in $(seq 1 150); do printf '第%d条 この条項は長い使用許諾のための試験用の文章です。\r\n' "$n"; done |
  iconv -f UTF-8 -t CP932 > "$out/long-licence/同意書.txt"
make_package "$out/long-licence/files.zarc" "同意書.txt" "$out/long-licence/同意書.txt"
start_setup long-licence "$out/long-licence/files.zarc"
d wait Quillfen >/dev/null
d command Quillfen 1
d wait "$licence" >/dev/null
check "a long licence file" yes "$([ "$(stat -c %s "$out/long-licence/同意書.txt")" -gt 8192 ] && echo yes)"
check "the long licence whole" "$(iconv -f CP932 -t UTF-8 "$out/long-licence/同意書.txt")" \
  "$(d text "$licence" 1009)"
d command "$licence" 2
d gone "$licence" >/dev/null
d command Quillfen 2
wait_setup

echo "--- a licence with stray bytes: each shows as one replacement character, the rest stays"
mkdir -p "$out/stray-licence"
{
  printf '\xff'; printf '第1条 使用許諾\r\n' | iconv -f UTF-8 -t CP932
  printf 'cut\x83\r\n'; printf '第2条 本文\r\n' | iconv -f UTF-8 -t CP932; printf 'end\x83'
} > "$out/stray-licence/同意書.txt"
make_package "$out/stray-licence/files.zarc" "同意書.txt" "$out/stray-licence/同意書.txt"
start_setup stray-licence "$out/stray-licence/files.zarc"
d wait Quillfen >/dev/null
d command Quillfen 1
d wait "$licence" >/dev/null
check "stray bytes at the start, middle and end" $'\uFFFD第1条 使用許諾\r\ncut\uFFFD\r\n第2条 本文\r\nend\uFFFD' \
  "$(d text "$licence" 1009)"
d command "$licence" 2
d gone "$licence" >/dev/null
d command Quillfen 2
wait_setup

echo "--- Version up: the install options in their version-up layout"
mkdir -p "$install_dir_unix"
cp "$demo/bin/Quillfen.exe" "$install_dir_unix/"
write_record 4 'C:\Program Files\Corvane\Quillfen\Quillfen.exe'
start_setup dialogs-version-up
d wait Quillfen >/dev/null
d command Quillfen 1010
check "version-up options open" 0 "$(d wait VersionUp >/dev/null; echo $?)"
check "version-up options buttons" "1 2 " "$(buttons VersionUp)"
check "version-up button texts" "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟ開始|ﾊﾞｰｼﾞｮﾝｱｯﾌﾟ中止" \
  "$(d text VersionUp 1)|$(d text VersionUp 2)"
check "version-up shows the installed folder" 'C:\Program Files\Corvane\Quillfen' "$(d text VersionUp 1003)"
check "version-up free-space line" yes "$(matches "$free_line_re" "$(d text VersionUp 1017)")"
shot dialog-version-up
d command VersionUp 2
d gone VersionUp >/dev/null
d command Quillfen 2
wait_setup

echo "--- Uninstall: the folder to be removed, and Enter cancels"
write_record 5 'C:\Program Files\Corvane\Quillfen\Quillfen.exe'
start_setup dialogs-uninstall
d wait Quillfen >/dev/null
d command Quillfen 3
check "uninstall dialog opens" 0 "$(d wait UnInstall >/dev/null; echo $?)"
check "uninstall shows the installed folder" 'C:\Program Files\Corvane\Quillfen' "$(d text UnInstall 1003)"
check "uninstall button texts" "ｱﾝｲﾝｽﾄｰﾙ開始|ｱﾝｲﾝｽﾄｰﾙ中止" "$(d text UnInstall 1)|$(d text UnInstall 2)"
check "cancel holds the focus and takes Enter" "2 1" "$(d focus UnInstall)"
shot dialog-uninstall
d key UnInstall enter
check "Enter closes the uninstall dialog" 0 "$(d gone UnInstall >/dev/null; echo $?)"
check "the main window stays" 0 "$(d wait Quillfen 2 >/dev/null; echo $?)"
check "nothing was removed" yes "$([ -f "$install_dir_unix/Quillfen.exe" ] && echo yes)"
d command Quillfen 2
wait_setup
clear_record
rm -rf "$install_dir_unix"

echo "--- Setup from nothing, with the program zarc setup made: licence, options without the desktop shortcut, the install run"
clear_record
rm -rf "$install_dir_unix"
program=$made start_setup road-setup
d wait Quillfen >/dev/null
d command Quillfen 1
d wait "$licence" >/dev/null
d click "$licence" 1
d wait Install >/dev/null
d click Install 1007
d click Install 1
check "the install run reports success" 0 "$(d wait SETUP 60 >/dev/null; echo $?)"
check "success message" "ｾｯﾄｱｯﾌﾟは正常に終了しました。" "$(d text SETUP 65535)"
check "no record before the message is closed" 1 \
  "$(wine reg query "$record_key" /v Version >/dev/null 2>&1; echo $?)"
check "no shortcut before the message is closed" "" \
  "$(find "$WINEPREFIX/drive_c/users" -name 'Quillfen*.lnk' 2>/dev/null)"
check "the percent text at the end" "100%" "$(d text Quillfen 1016)"
shot road-setup-success
close_message_for_layout "2 3 1004 "
check "maintenance layout after the install" "2 3 1004 " "$(buttons Quillfen)"
shot road-setup-installed
for f in Quillfen.exe uninstall.exe readme.txt; do
  check "installed $f" yes "$(cmp -s "$install_dir_unix/$f" "$( [ -f "$demo/bin/$f" ] && echo "$demo/bin/$f" || echo "$demo/files/$f")" && echo yes)"
done
check "record ExecutePath" 'C:\Program Files\Corvane\Quillfen\Quillfen.exe' "$(record_value ExecutePath)"
check "record MainPath" 'C:\Program Files\Corvane\Quillfen' "$(record_value MainPath)"
check "record StartMenuPath" 'Corvane\Quillfen' "$(record_value StartMenuPath)"
check "record RegistryPath" '.Default\Software\CORVANE\QUILLFEN' "$(record_value RegistryPath)"
check "record Version" 0x5 "$(record_value Version)"
program_link=$(find "$WINEPREFIX/drive_c/users" -path '*Programs/Corvane/Quillfen/Quillfen.lnk' | head -n 1)
check "program shortcut in the start menu" yes "$([ -n "$program_link" ] && echo yes)"
check "three start-menu shortcuts" 3 "$(find "$(dirname "${program_link:-/nonexistent}")" -name '*.lnk' 2>/dev/null | wc -l)"
if [ -n "$program_link" ] && command -v lnkinfo >/dev/null; then
  link_info=$(lnkinfo "$program_link" 2>/dev/null)
  check "shortcut target" yes "$(grep -q 'Quillfen\\Quillfen.exe' <<<"$link_info" && echo yes)"
  check "shortcut working directory" yes \
    "$(grep -i 'working directory' <<<"$link_info" | grep -q 'C:\\Program Files\\Corvane\\Quillfen' && echo yes)"
fi
check "no desktop shortcut when unticked" "" "$(find "$WINEPREFIX/drive_c/users" -path '*Desktop*' -name '*.lnk' 2>/dev/null)"
d command Quillfen 2
wait_setup
check "exit status after the install" 0 "$status"

# Confirms an uninstall and lets the program end after its message; sets $message to the
# message's text and keeps a screenshot of it when given a name.
uninstall_to_message() {  # uninstall_to_message RUN [SHOT]
  start_setup "$1"
  d wait Quillfen >/dev/null
  d command Quillfen 3
  d wait UnInstall >/dev/null
  d click UnInstall 1
  for _ in $(seq 100); do [ "$(d text UnInstall 65535 2>/dev/null)" = "ｱﾝｲﾝｽﾄｰﾙしました。" ] && break; sleep 0.2; done
  message=$(d text UnInstall 65535)
  [ -n "${2:-}" ] && shot "$2"
  d command UnInstall 1
  wait_setup
}

echo "--- Uninstall: the folder, the shortcuts, the maker's empty folder and the record go"
wine reg add "$order_key\\Corvane\\Quillfen" /f >/dev/null
uninstall_to_message road-uninstall road-uninstalled
check "uninstall message" "ｱﾝｲﾝｽﾄｰﾙしました。" "$message"
check "the program ends after the uninstall" 0 "$status"
check "install folder removed" no "$([ -e "$install_dir_unix" ] && echo yes || echo no)"
check "start-menu folders removed" "" \
  "$(find "$WINEPREFIX/drive_c/users" -path '*Programs/Corvane*' 2>/dev/null)"
check "record removed" 1 "$(wine reg query "$record_key" >/dev/null 2>&1; echo $?)"
check "maker's key kept" 0 "$(wine reg query 'HKEY_USERS\.Default\Software\CORVANE' >/dev/null 2>&1; echo $?)"
check "start-menu ordering key removed" 1 "$(wine reg query "$order_key\\Corvane\\Quillfen" >/dev/null 2>&1; echo $?)"
clear_record
rm -rf "$install_dir_unix"


# The demo's script with more lines or other values: script_with OUT SED-EXPRESSION [LINE...]
script_with() {
  local out=$1 expression=$2
  shift 2
  { sed "$expression" "$demo/files/setup.txt"; for line in "$@"; do printf '%s\r\n' "$line"; done; } > "$out"
}
# Agrees to the licence when it is asked for and confirms the install options as they stand.
agree_and_install() {
  d command Quillfen 1
  d wait "$licence" 3 >/dev/null && d click "$licence" 1
  d wait Install >/dev/null
  d click Install 1
}
programs_dir() { find "$WINEPREFIX/drive_c/users" -path '*Start Menu/Programs' -type d | grep -v Public | head -n 1; }
desktop_dir() { find "$WINEPREFIX/drive_c/users" -maxdepth 2 -type d -name Desktop | grep -v Public | head -n 1; }
# The ids of a chunk file's form type and chunks, and a digest of each chunk's data.
chunks() {
  python3 - "$1" <<'PY'
import hashlib, struct, sys
data = open(sys.argv[1], "rb").read()
print(data[8:12].decode(), end="")
at = 12
while at + 8 <= len(data):
    cid, length = data[at:at + 4], struct.unpack("<I", data[at + 4:at + 8])[0]
    print(" %s:%s" % (cid.decode(), hashlib.md5(data[at + 8:at + length]).hexdigest()[:8]), end="")
    at += length
print()
PY
}

echo "--- Setup with both shortcuts: the busy animation turns while the files are copied"
clear_record
rm -rf "$install_dir_unix"
mkdir -p "$out/big"
# Long enough to copy that the animation shows, after the two seconds a closing dialog takes
# without a window manager; zeros keep the package small.
head -c 300000000 /dev/zero > "$out/big/big.bin"
script_with "$out/big/setup.txt" 's/^#D=1/#D=300/' '#I=big.bin'
make_package "$out/big/files.zarc" setup.txt "$out/big/setup.txt" "$out/big/big.bin"
start_setup road-busy "$out/big/files.zarc"
d wait Quillfen >/dev/null
agree_and_install
# The frame sits in the picture's bottom right corner; each shot keeps that square only.
for i in $(seq 40); do
  sleep 0.1
  import -window root -crop 72x72+596+378 "$out/shots/busy-corner-$i.png" 2>/dev/null
  [ "$i" = 20 ] && shot road-setup-busy
done
d wait SETUP 60 >/dev/null
corners=$(md5sum "$out/shots"/busy-corner-*.png | awk '{print $1}' | sort -u | wc -l)
rm -f "$out/shots"/busy-corner-*.png
# The dialog above it, the picture without the frame, and at least four frames.
check "the busy animation shows several frames" yes "$([ "$corners" -ge 6 ] && echo yes || echo "$corners")"
d command SETUP 1
d gone SETUP >/dev/null
desktop_link=$(desktop_dir)/Quillfen.lnk
# The shortcuts follow the installed layout, the desktop's first: once the start menu holds all
# three, the desktop's is complete.
for _ in $(seq 50); do
  [ "$(find "$(programs_dir)/Corvane/Quillfen" -name '*.lnk' 2>/dev/null | wc -l)" = 3 ] && break
  sleep 0.2
done
check "desktop shortcut when ticked" yes "$([ -f "$desktop_link" ] && echo yes)"
if [ -f "$desktop_link" ] && command -v lnkinfo >/dev/null; then
  # Not piped into grep -q: lnkinfo would die of the closed pipe, failing the pipeline (pipefail).
  check "desktop shortcut target" yes "$(grep -q 'Quillfen\\Quillfen.exe' <<<"$(lnkinfo "$desktop_link" 2>/dev/null)" && echo yes)"
fi
check "the large file installed" yes "$(cmp -s "$out/big/big.bin" "$install_dir_unix/big.bin" && echo yes)"
d command Quillfen 2
wait_setup

echo "--- Uninstall: a read-only file stays with its folder, another product keeps the maker's folder"
chmod a-w "$install_dir_unix/readme.txt"
mkdir -p "$(programs_dir)/Corvane/Inkwell"
touch "$(programs_dir)/Corvane/Inkwell/Inkwell.lnk"
wine reg add "$order_key\\Corvane\\Quillfen" /f >/dev/null
uninstall_to_message road-uninstall-read-only
check "uninstall message with a read-only file" "ｱﾝｲﾝｽﾄｰﾙしました。" "$message"
check "the program ends" 0 "$status"
check "the read-only file and its folder stay, the rest goes" "readme.txt" "$(ls "$install_dir_unix" 2>&1 | tr '\n' ' ' | sed 's/ $//')"
check "desktop shortcut removed" no "$([ -e "$desktop_link" ] && echo yes || echo no)"
check "the program's start-menu folder removed" no "$([ -e "$(programs_dir)/Corvane/Quillfen" ] && echo yes || echo no)"
check "the maker's folder kept for the other product" yes "$([ -f "$(programs_dir)/Corvane/Inkwell/Inkwell.lnk" ] && echo yes)"
check "record removed with a file left" 1 "$(wine reg query "$record_key" >/dev/null 2>&1; echo $?)"
check "ordering key removed" 1 "$(wine reg query "$order_key\\Corvane\\Quillfen" >/dev/null 2>&1; echo $?)"
chmod -R u+w "$install_dir_unix"
rm -rf "$install_dir_unix" "$(programs_dir)/Corvane" "$out/big"

echo "--- A setup that fails: the message, the Setup layout, the user's file kept, no licence again"
mkdir -p "$out/fails"
script_with "$out/fails/setup.txt" '' '#C=missing-on-the-medium.ini'
make_package "$out/fails/files.zarc" setup.txt "$out/fails/setup.txt"
clear_record
mkdir -p "$install_dir_unix"
echo "the user's own" > "$install_dir_unix/notes.txt"
start_setup road-setup-fails "$out/fails/files.zarc"
d wait Quillfen >/dev/null
agree_and_install
d wait SETUP 60 >/dev/null
check "failure message" "ｾｯﾄｱｯﾌﾟに失敗しました。" "$(d text SETUP 65535)"
shot road-setup-failed
close_message_for_layout "1 2 "
check "setup layout after the failure" "1 2 " "$(buttons Quillfen)"
check "only the user's file is left" "notes.txt" "$(ls "$install_dir_unix" 2>&1 | tr '\n' ' ' | sed 's/ $//')"
check "the user's file unchanged" "the user's own" "$(cat "$install_dir_unix/notes.txt")"
check "no record after a failure" "" "$(record_value Version)"
check "no shortcuts after a failure" "" "$(find "$WINEPREFIX/drive_c/users" -name 'Quillfen*.lnk' 2>/dev/null)"
d command Quillfen 1
check "Setup again skips the licence" 1 "$(d wait "$licence" 1 >/dev/null; echo $?)"
check "Setup again opens the options" 0 "$(d wait Install >/dev/null; echo $?)"
d command Install 2
d gone Install >/dev/null
d command Quillfen 2
wait_setup
rm -rf "$install_dir_unix"

echo "--- A requirement larger than the free space"
mkdir -p "$out/huge"
script_with "$out/huge/setup.txt" 's/^#D=1/#D=2000000000/'
make_package "$out/huge/files.zarc" setup.txt "$out/huge/setup.txt"
start_setup road-disk-space "$out/huge/files.zarc"
d wait Quillfen >/dev/null
agree_and_install
d wait "DISK SPACE" >/dev/null || { shot debug-disk-space; d windows; }
check "disk space message" "ﾃﾞｨｽｸの空き容量が不足しています。" "$(d text "DISK SPACE" 65535)"
shot road-disk-space
d command "DISK SPACE" 1
d gone "DISK SPACE" >/dev/null
check "nothing installed when the space is short" no "$([ -e "$install_dir_unix" ] && echo yes || echo no)"
check "the Setup layout stays" "1 2 " "$(buttons Quillfen)"
d command Quillfen 2
wait_setup

echo "--- Version up from version 4: new files, version 5, the saved data converted, shortcuts"
python3 - "$out/zimel.dat" <<'PY'
import struct, sys
chunks = [(b"KTBL", b"key table \x00\x01\x02"), (b"XTRA", b"dropped"), (b"RNKS", b"ranks 1 2 3")]
body = b"".join(cid + struct.pack("<I", 8 + len(data)) + data for cid, data in chunks)
open(sys.argv[1], "wb").write(b"FORM" + struct.pack("<I", 12 + len(body)) + b"ZIML" + body)
PY
old_chunks=$(chunks "$out/zimel.dat")
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
  d wait SETUP 60 >/dev/null
}
version_up_from_4 "$out/zimel.dat" road-version-up
check "version-up success message" "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟは正常に終了しました。" "$(d text SETUP 65535)"
shot road-version-up-success
check "the saved data waits for the message" "$old_chunks" "$(chunks "$install_dir_unix/zimel.dat" 2>&1)"
close_message_for_layout "2 3 1004 "
check "maintenance layout after the version-up" "2 3 1004 " "$(buttons Quillfen)"
check "version-up installs the new program" yes "$(cmp -s "$demo/bin/Quillfen.exe" "$install_dir_unix/Quillfen.exe" && echo yes)"
check "record Version after the version-up" 0x5 "$(record_value Version)"
check "saved data converted, KTBL and RNKS unchanged" \
  "RNKS $(cut -d' ' -f2 <<<"$old_chunks") $(cut -d' ' -f4 <<<"$old_chunks")" "$(chunks "$install_dir_unix/zimel.dat" 2>&1)"
check "no temporary file left" "" "$(ls "$install_dir_unix" | grep -i tmp)"
check "start-menu shortcuts after the conversion" 3 \
  "$(find "$(programs_dir)/Corvane/Quillfen" -name '*.lnk' 2>/dev/null | wc -l)"
d command Quillfen 2
wait_setup
check "exit status after the version-up" 0 "$status"

echo "--- Version up without saved data: no shortcuts"
version_up_from_4 - road-version-up-no-data
close_message_for_layout "2 3 1004 "
check "version-up without saved data installs" yes "$(cmp -s "$demo/bin/Quillfen.exe" "$install_dir_unix/Quillfen.exe" && echo yes)"
check "no shortcuts without saved data" "" "$(find "$WINEPREFIX/drive_c/users" -name 'Quillfen*.lnk' 2>/dev/null)"
check "no saved data made" no "$([ -e "$install_dir_unix/zimel.dat" ] && echo yes || echo no)"
d command Quillfen 2
wait_setup

# Another program holds the old program without sharing, from before the version-up starts; the
# holder runs in the background as $holder and this returns once it holds the file.
hold_program() {  # hold_program SECONDS
  rm -f "$out/hold.fifo"
  mkfifo "$out/hold.fifo"
  d hold 'C:\Program Files\Corvane\Quillfen\Quillfen.exe' "$1" >"$out/hold.fifo" &
  holder=$!
  read -r _ <"$out/hold.fifo"
}

echo "--- Version up while a scanner holds the old program for a moment: it waits and succeeds"
before_version_up="hold_program 2"
version_up_from_4 "$out/zimel.dat" road-version-up-held
check "version-up success with a file held for a moment" "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟは正常に終了しました。" "$(d text SETUP 65535)"
wait "$holder"
close_message_for_layout "2 3 1004 "
check "the held program replaced" yes "$(cmp -s "$demo/bin/Quillfen.exe" "$install_dir_unix/Quillfen.exe" && echo yes)"
d command Quillfen 2
wait_setup

echo "--- Version up while the old program is held for good: the failure, nothing lost"
before_version_up="hold_program 9"
version_up_from_4 "$out/zimel.dat" road-version-up-held-for-good
check "version-up failure with a file held for good" "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟに失敗しました。" "$(d text SETUP 65535)"
close_message_for_layout "2 "
wait "$holder"
check "the held program kept" "MZ old program" "$(cat "$install_dir_unix/Quillfen.exe")"
check "no temporary file left beside it" "" "$(ls "$install_dir_unix" | grep -i tmp)"
check "saved data untouched with a file held" "$old_chunks" "$(chunks "$install_dir_unix/zimel.dat" 2>&1)"
check "record still at version 4 with a file held" 0x4 "$(record_value Version)"
d command Quillfen 2
wait_setup
before_version_up=

echo "--- A version up that fails: only Cancel, the saved data untouched"
version_up_from_4 "$out/zimel.dat" road-version-up-fails "$out/fails/files.zarc"
check "version-up failure message" "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟに失敗しました。" "$(d text SETUP 65535)"
close_message_for_layout "2 "
check "only Cancel after a failed version-up" "2 " "$(buttons Quillfen)"
shot road-version-up-failed
check "record still at version 4" 0x4 "$(record_value Version)"
check "saved data untouched after a failure" "$old_chunks" "$(chunks "$install_dir_unix/zimel.dat" 2>&1)"
check "no shortcuts after a failed version-up" "" "$(find "$WINEPREFIX/drive_c/users" -name 'Quillfen*.lnk' 2>/dev/null)"
d command Quillfen 2
wait_setup
check "Cancel ends the program after a failure" 0 "$status"
clear_record
rm -rf "$install_dir_unix" "$(programs_dir)/Corvane"

echo "--- A program zarc setup made installs its own package whatever lies beside it, unless made to take it"
rogue=$out/rogue
mkdir -p "$rogue"
printf 'rogue readme' >"$rogue/readme.txt"
printf 'rogue bytes' >"$rogue/rogue.bin"
{ cat "$demo/files/setup.txt"; printf '#I=rogue.bin\r\n'; } >"$rogue/setup.txt"
make_package "$rogue/files.zarc" "" "$rogue/rogue.bin"
open_made=$out/download/open-setup.exe
check "zarc setup writes a program that takes its folder when asked" 0 \
  "$(wine "$zarc_exe" setup "$open_made" --stub "$stub_exe" --allow-folder-overrides \
       --package "$demo/files.zarc" >/dev/null 2>&1; echo $?)"
install_beside_rogue() {  # install_beside_rogue PROGRAM RUN
  clear_record
  rm -rf "$install_dir_unix" "$(programs_dir)/Corvane"
  program=$1 start_setup "$2" "$rogue/setup.txt" "$rogue/readme.txt" "$rogue/files.zarc"
  d wait Quillfen >/dev/null
  d command Quillfen 1
  d wait "$licence" >/dev/null
  d click "$licence" 1
  d wait Install >/dev/null
  d click Install 1007
  d click Install 1
  d wait SETUP 60 >/dev/null
  close_message_for_layout "2 3 1004 "
  d command Quillfen 2
  wait_setup
}
install_beside_rogue "$made" road-rogue-ignored
check "the built-in readme, not the folder's" yes \
  "$(cmp -s "$install_dir_unix/readme.txt" "$demo/files/readme.txt" && echo yes)"
check "nothing the folder's script or package holds" no \
  "$([ -e "$install_dir_unix/rogue.bin" ] && echo yes || echo no)"
install_beside_rogue "$open_made" road-rogue-taken
check "the folder's readme when asked" "rogue readme" "$(cat "$install_dir_unix/readme.txt" 2>/dev/null)"
check "the folder's package when asked" "rogue bytes" "$(cat "$install_dir_unix/rogue.bin" 2>/dev/null)"
clear_record
rm -rf "$install_dir_unix" "$(programs_dir)/Corvane"
echo "--- a publisher's first hour: zarc init, zarc check, zarc setup, and the setup opens"
clear_record
starter=$out/init/Inkstone
rm -rf "$out/init"
mkdir -p "$out/init"
check "zarc init writes the starter project" 0 "$(wine "$zarc_exe" init "$starter" >/dev/null 2>&1; echo $?)"
(cd "$starter" && wine "$zarc_exe" create files.zarc setup.txt 同意書.txt readme.txt setup256.bmp parts.bmp) \
  >"$out/init/create.log" 2>&1
wine "$zarc_exe" check "$starter/files.zarc" >"$out/init/check.log" 2>&1
status=$?
findings=$(tr -d '\r' <"$out/init/check.log" | grep -E ': (error|warning): ')
check "zarc check finds nothing in the starter project" "0:" "$status:$findings"
made_starter=$out/download/starter-setup.exe
check "zarc setup writes the starter's program" 0 \
  "$(wine "$zarc_exe" setup "$made_starter" --stub "$stub_exe" --package "$starter/files.zarc" >/dev/null 2>&1; echo $?)"
program=$made_starter start_setup starter
check "the starter's setup opens its main window" 0 "$(d wait Inkstone 30 >/dev/null; echo $?)"
check "it offers Setup and Cancel" "1 2 " "$(buttons Inkstone)"
shot starter-setup
d command Inkstone 2
wait_setup
check "exit status after Cancel" 0 "$status"

# A product of this test's own through its releases, each a program that "zarc setup" made:
# make_release VERSION FILE...  writes $out/releases/VERSION/ (its files, "release VERSION" in each,
# the list in that order after #I) and the program $out/releases/setup-VERSION.exe.
make_release() {
  local version=$1 folder=$out/releases/$1 name
  shift
  mkdir -p "$folder"
  {
    printf '%s\r\n' '#G=.Default\Software\CORVANE\QUILLFEN' '#P=C:\Program Files\Corvane\Quillfen' \
      '#T=Quillfen' '#E=prog.exe' '#S=Corvane\Quillfen' '#N=Quillfen' '#D=1' "#V=$version"
    for name in "$@"; do printf '#I=%s\r\n' "$name"; done
  } > "$folder/setup.txt"
  for name in "$@"; do
    [ -e "$folder/$name" ] || echo "release $version: $name" > "$folder/$name"
  done
  wine "$zarc_exe" setup "$out/releases/setup-$version.exe" --stub "$stub_exe" "$folder/setup.txt" \
    "${@/#/$folder/}" "$demo/files/setup256.bmp" "$demo/files/parts.bmp" "$demo/files/同意書.txt" >/dev/null 2>&1
}
# 0 when every FILE of the install folder holds what release VERSION has for it.
same_as_release() {  # same_as_release VERSION FILE...
  local version=$1 name
  shift
  for name in "$@"; do cmp -s "$out/releases/$version/$name" "$install_dir_unix/$name" || return 1; done
}
listed=(prog.exe data01.txt data02.txt data03.txt data04.txt data05.txt data06.txt data07.txt data08.txt)
make_release 6 "${listed[@]}"
make_release 7 "${listed[@]}" new7.txt
clear_record
rm -rf "$install_dir_unix" "$(programs_dir)/Corvane"

echo "--- Release 6 of a product made with zarc setup, set up fresh: the record says 6"
program=$out/releases/setup-6.exe start_setup release-6-fresh
d wait Quillfen >/dev/null
agree_and_install
d wait SETUP 60 >/dev/null
check "release 6 set up" "ｾｯﾄｱｯﾌﾟは正常に終了しました。" "$(d text SETUP 65535)"
close_message_for_layout "2 3 1004 "
check "release 6 files installed" 0 "$(same_as_release 6 "${listed[@]}"; echo $?)"
check "record Version of release 6" 0x6 "$(record_value Version)"
d command Quillfen 2
wait_setup
cp "$out/zimel.dat" "$install_dir_unix/zimel.dat"

echo "--- Release 7 over 6: Version up, the files replaced, the record says 7, the saved data carried over"
program=$out/releases/setup-7.exe start_setup release-7-over-6
d wait Quillfen >/dev/null
check "release 7 over 6 offers the version-up" "2 1010 " "$(buttons Quillfen)"
d command Quillfen 1010
d wait VersionUp >/dev/null
d click VersionUp 1
d wait SETUP 60 >/dev/null
check "release 7 over 6 succeeds" "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟは正常に終了しました。" "$(d text SETUP 65535)"
close_message_for_layout "2 3 1004 "
check "release 7 files installed" 0 "$(same_as_release 7 "${listed[@]}" new7.txt; echo $?)"
check "record Version of release 7" 0x7 "$(record_value Version)"
check "saved data carried over to release 7" \
  "RNKS $(cut -d' ' -f2 <<<"$old_chunks") $(cut -d' ' -f4 <<<"$old_chunks")" "$(chunks "$install_dir_unix/zimel.dat" 2>&1)"
d command Quillfen 2
wait_setup

echo "--- Release 6 over 7: the maintenance layout, nothing changed"
listing_before=$(cd "$install_dir_unix" && md5sum * | sort)
program=$out/releases/setup-6.exe start_setup release-6-over-7
d wait Quillfen >/dev/null
check "release 6 over 7 offers no version-up" "2 3 1004 " "$(buttons Quillfen)"
d command Quillfen 2
wait_setup
check "release 6 over 7 changes no file" "$listing_before" "$(cd "$install_dir_unix" && md5sum * | sort)"
check "record still says 7" 0x7 "$(record_value Version)"

# Puts release 6 back in the install folder, recorded, with the old saved data.
release_6_installed() {
  rm -rf "$install_dir_unix"
  mkdir -p "$install_dir_unix"
  for name in "${listed[@]}"; do cp "$out/releases/6/$name" "$install_dir_unix/"; done
  cp "$out/zimel.dat" "$install_dir_unix/zimel.dat"
  write_record 6 'C:\Program Files\Corvane\Quillfen\prog.exe'
}
# Holds FILE of the install folder without sharing for SECONDS, from before the version-up starts.
hold_file() {  # hold_file FILE SECONDS
  rm -f "$out/hold.fifo"
  mkfifo "$out/hold.fifo"
  d hold "C:\\Program Files\\Corvane\\Quillfen\\$1" "$2" >"$out/hold.fifo" &
  holder=$!
  read -r _ <"$out/hold.fifo"
}

echo "--- Release 7 over 6 with a file in the middle held for good: the files before it new, it and the rest old"
release_6_installed
program=$out/releases/setup-7.exe start_setup release-7-held-for-good
d wait Quillfen >/dev/null
d command Quillfen 1010
d wait VersionUp >/dev/null
hold_file data04.txt 9
d click VersionUp 1
d wait SETUP 60 >/dev/null
check "release 7 with a file held for good fails" "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟに失敗しました。" "$(d text SETUP 65535)"
close_message_for_layout "2 "
wait "$holder"
check "the files before the held one are release 7's" 0 "$(same_as_release 7 prog.exe data01.txt data02.txt data03.txt; echo $?)"
check "the held file and those after it are release 6's" 0 \
  "$(same_as_release 6 data04.txt data05.txt data06.txt data07.txt data08.txt; echo $?)"
check "no new file, no temporary file" "data01.txt data02.txt data03.txt data04.txt data05.txt data06.txt data07.txt data08.txt prog.exe zimel.dat" \
  "$(ls "$install_dir_unix" | tr '\n' ' ' | sed 's/ $//')"
check "record still says 6 after the failure" 0x6 "$(record_value Version)"
check "saved data untouched after the held file" "$old_chunks" "$(chunks "$install_dir_unix/zimel.dat" 2>&1)"
d command Quillfen 2
wait_setup

echo "--- A large version-up: the window answers, and the bar shows the copy between its ends, then at its end"
large=(prog.exe big1.bin big2.bin big3.bin big4.bin big5.bin big6.bin)
mkdir -p "$out/releases/8"
for name in "${large[@]:1}"; do head -c 40000000 /dev/zero > "$out/releases/8/$name"; done
make_release 8 "${large[@]}"
release_6_installed
echo old > "$install_dir_unix/big4.bin"
program=$out/releases/setup-8.exe start_setup release-8-large
d wait Quillfen >/dev/null
d command Quillfen 1010
d wait VersionUp >/dev/null
# A file held for a moment keeps the copy half way for as long, whatever the machine's speed.
hold_file big4.bin 3
d click VersionUp 1
positions=() answers=()
for _ in $(seq 100); do
  d wait SETUP 0.1 >/dev/null && break
  positions+=("$(d progress Quillfen 1015)")
  answers+=("$(d answers Quillfen)")
done
d wait SETUP 60 >/dev/null
check "the large version-up succeeds" "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟは正常に終了しました。" "$(d text SETUP 65535)"
check "the bar was read between its ends during the copy" yes \
  "$(printf '%s\n' "${positions[@]}" | awk '$1 > 0 && $1 < 255 {found = 1} END {print found ? "yes" : "no: " NR " readings"}')"
check "the bar at its end with the last file" 255 "$(d progress Quillfen 1015)"
check "the window answered throughout the copy" "" "$(printf '%s\n' "${answers[@]}" | grep -v '^1$')"
wait "$holder"
close_message_for_layout "2 3 1004 "
check "the large release installed" 0 "$(same_as_release 8 "${large[@]}"; echo $?)"
d command Quillfen 2
wait_setup
clear_record
rm -rf "$install_dir_unix" "$(programs_dir)/Corvane" "$(desktop_dir)/Quillfen.lnk" "$out/releases"

echo "--- no planted DLL was loaded, beside setup.exe or in its current directory"
if [ -n "${planted:-}" ]; then
  check "no planted DLL's code ran" "" "$(cd "$out" && find download runs -name '*.ran' | sort | tr '\n' ' ')"
  # Wine names a builtin DLL after a file of that name that it found first; only native loads count.
  check "no DLL loaded from those folders" "" \
    "$(grep -h 'trace:loaddll' "$out"/runs/*.log | grep -E '\\\\e2e\\\\(download|runs)\\\\' |
       grep -v 'setup\.exe"' | grep ': native' | sed 's/.*Loaded L"\([^"]*\)".*/\1/' | sort -u | tr '\n' ' ')"
fi

echo "screenshots: $out/shots"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
