# Version up while another program holds the old program, for a moment and for good.
# Needs: 13 ($out/zimel.dat, $old_chunks).
# Leaves: version 4 recorded, its program and saved data.

echo "--- Version up while a scanner holds the old program for a moment: it waits and succeeds"
before_version_up="hold_file Quillfen.exe 2"
version_up_from_4 "$out/zimel.dat" road-version-up-held
check "version-up success with a file held for a moment" "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟは正常に終了しました。" "$(d text SETUP 65535)"
wait "$holder"
close_message_for_layout "2 3 1004 "
check "the held program replaced" yes "$(cmp -s "$demo/bin/Quillfen.exe" "$install_dir_unix/Quillfen.exe" && echo yes)"
d command Quillfen 2
wait_setup

echo "--- Version up while the old program is held for good: the failure, nothing lost"
before_version_up="hold_file Quillfen.exe 9"
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
