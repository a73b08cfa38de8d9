# Release 7 over 6 with a file in the middle held, then with one that cannot be replaced.
# Needs: 13 18 ($out/zimel.dat, $old_chunks, $listed, releases 6 and 7).
# Leaves: release 6 recorded, partly replaced by release 7.

start_release_7() {  # start_release_7 RUN: up to the version-up's options, confirmed
  program=$out/releases/setup-7.exe start_setup "$1"
  d wait Quillfen >/dev/null
  d command Quillfen 1010
  d wait VersionUp >/dev/null
}
release_6_whole() {  # release_6_whole WHEN
  check "every file still release 6's $1" 0 "$(same_as_release 6 "${listed[@]}"; echo $?)"
  check "no new file, no temporary file $1" "data01.txt data02.txt data03.txt data04.txt data05.txt data06.txt data07.txt data08.txt prog.exe zimel.dat" \
    "$(ls "$install_dir_unix" | tr '\n' ' ' | sed 's/ $//')"
  check "record still says 6 $1" 0x6 "$(record_value Version)"
  check "saved data untouched $1" "$old_chunks" "$(chunks "$install_dir_unix/zimel.dat" 2>&1)"
}

echo "--- Release 7 over 6 with a file in the middle held: named first, and Cancel leaves release 6 whole"
release_6_installed
start_release_7 release-7-held
hold_file "$install_dir\\data04.txt" 120
d click VersionUp 1
d wait SETUP >/dev/null
text=$(d text SETUP 65535)
check "the held file in the middle is named" yes "$([[ $text == *"$install_dir\\data04.txt"* ]] && echo yes || echo "$text")"
d command SETUP 2
d gone SETUP >/dev/null
awaited "2 1010 " buttons Quillfen >/dev/null
let_go
release_6_whole "after Cancel"
cancel_setup

echo "--- Release 7 over 6 with a file in the middle that cannot be replaced: the files before it new, it and the rest old"
# Read-only: no program holds it, so the run starts and fails there, as it would on a file that
# became busy after the check.
release_6_installed
chmod a-w "$install_dir_unix/data04.txt"
start_release_7 release-7-read-only
d click VersionUp 1
d wait SETUP >/dev/null
check "release 7 with a file that cannot be replaced fails" "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟに失敗しました。" "$(d text SETUP 65535)"
close_message_for_layout "2 "
chmod u+w "$install_dir_unix/data04.txt"
check "the files before it are release 7's" 0 "$(same_as_release 7 prog.exe data01.txt data02.txt data03.txt; echo $?)"
check "it and those after it are release 6's" 0 \
  "$(same_as_release 6 data04.txt data05.txt data06.txt data07.txt data08.txt; echo $?)"
check "no new file, no temporary file" "data01.txt data02.txt data03.txt data04.txt data05.txt data06.txt data07.txt data08.txt prog.exe zimel.dat" \
  "$(ls "$install_dir_unix" | tr '\n' ' ' | sed 's/ $//')"
check "record still says 6 after the failure" 0x6 "$(record_value Version)"
check "saved data untouched after the failed file" "$old_chunks" "$(chunks "$install_dir_unix/zimel.dat" 2>&1)"
cancel_setup
