# Version up while another program holds the old program, for a moment and for good.
# Needs: 13 ($out/zimel.dat, $old_chunks).
# Leaves: version 4 recorded, its program and saved data.

echo "--- Version up while a scanner holds the old program for a moment: it waits and succeeds"
hold_program() { hold_file "$install_dir\\Quillfen.exe" "$1"; }
# Held from before the click for 4 s: the run waits 5 s from its first try at the file, which comes
# later, so it outlasts the hold however slow the machine.
hold_for_a_moment() { hold_program 4; }
before_version_up=hold_for_a_moment version_up_from_4 "$out/zimel.dat" road-version-up-held
check "version-up success with a file held for a moment" "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟは正常に終了しました。" "$(d text SETUP 65535)"
let_go
close_message_for_layout "2 3 1004 "
check "the held program replaced" yes "$(cmp -s "$demo/bin/Quillfen.exe" "$install_dir_unix/Quillfen.exe" && echo yes)"
cancel_setup

echo "--- Version up while the old program is held for good: the failure, nothing lost"
# Held until the failure has shown, however long the run takes to come to it.
hold_for_good() { hold_program 120; }
before_version_up=hold_for_good version_up_from_4 "$out/zimel.dat" road-version-up-held-for-good
check "version-up failure with a file held for good" "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟに失敗しました。" "$(d text SETUP 65535)"
close_message_for_layout "2 "
let_go
check "the held program kept" "MZ old program" "$(cat "$install_dir_unix/Quillfen.exe")"
check "no temporary file left beside it" "" "$(ls "$install_dir_unix" | grep -i tmp)"
check "saved data untouched with a file held" "$old_chunks" "$(chunks "$install_dir_unix/zimel.dat" 2>&1)"
check "record still at version 4 with a file held" 0x4 "$(record_value Version)"
cancel_setup
