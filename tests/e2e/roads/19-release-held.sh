# Release 7 over 6 with a file in the middle held for good.
# Needs: 13 18 ($out/zimel.dat, $old_chunks, $listed, releases 6 and 7).
# Leaves: release 6 recorded, partly replaced by release 7.

echo "--- Release 7 over 6 with a file in the middle held for good: the files before it new, it and the rest old"
release_6_installed
program=$out/releases/setup-7.exe start_setup release-7-held-for-good
d wait Quillfen >/dev/null
d command Quillfen 1010
d wait VersionUp >/dev/null
# Held until the failure has shown, however long the run takes to come to it.
hold_file "$install_dir\\data04.txt" 120
d click VersionUp 1
d wait SETUP >/dev/null
check "release 7 with a file held for good fails" "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟに失敗しました。" "$(d text SETUP 65535)"
close_message_for_layout "2 "
let_go
check "the files before the held one are release 7's" 0 "$(same_as_release 7 prog.exe data01.txt data02.txt data03.txt; echo $?)"
check "the held file and those after it are release 6's" 0 \
  "$(same_as_release 6 data04.txt data05.txt data06.txt data07.txt data08.txt; echo $?)"
check "no new file, no temporary file" "data01.txt data02.txt data03.txt data04.txt data05.txt data06.txt data07.txt data08.txt prog.exe zimel.dat" \
  "$(ls "$install_dir_unix" | tr '\n' ' ' | sed 's/ $//')"
check "record still says 6 after the failure" 0x6 "$(record_value Version)"
check "saved data untouched after the held file" "$old_chunks" "$(chunks "$install_dir_unix/zimel.dat" 2>&1)"
cancel_setup
