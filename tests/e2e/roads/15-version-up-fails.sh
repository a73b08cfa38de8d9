# A version up that fails.
# Needs: 11 13 ($out/fails/files.zarc, $out/zimel.dat, $old_chunks).
# Leaves: nothing installed, no record.

echo "--- A version up that fails: only Cancel, the saved data untouched"
version_up_from_4 "$out/zimel.dat" road-version-up-fails "$out/fails/files.zarc"
check "version-up failure message" "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟに失敗しました。" "$(d text SETUP 65535)"
close_message_for_layout "2 "
check "only Cancel after a failed version-up" "2 " "$(buttons Quillfen)"
shot road-version-up-failed
check "record still at version 4" 0x4 "$(record_value Version)"
check "saved data untouched after a failure" "$old_chunks" "$(chunks "$install_dir_unix/zimel.dat" 2>&1)"
check "no shortcuts after a failed version-up" "" "$(find "$WINEPREFIX/drive_c/users" -name 'Quillfen*.lnk' 2>/dev/null)"
cancel_setup
check "Cancel ends the program after a failure" 0 "$status"
clear_record
rm -rf "$install_dir_unix" "$(programs_dir)/Corvane"
