# A product's releases 6 and 7, each a program zarc setup made: set up, version up, and an older
# release over a newer.
# Needs: 13 ($out/zimel.dat, $old_chunks).
# Leaves: $listed and releases 6 and 7 in $out/releases; release 7 installed and recorded.

listed=(prog.exe data01.txt data02.txt data03.txt data04.txt data05.txt data06.txt data07.txt data08.txt)
make_release 6 "${listed[@]}"
make_release 7 "${listed[@]}" new7.txt
clear_record
rm -rf "$install_dir_unix" "$(programs_dir)/Corvane"

echo "--- Release 6 of a product made with zarc setup, set up fresh: the record says 6"
program=$out/releases/setup-6.exe start_setup release-6-fresh
d wait Quillfen >/dev/null
agree_and_install
d wait SETUP >/dev/null
check "release 6 set up" "ｾｯﾄｱｯﾌﾟは正常に終了しました。" "$(d text SETUP 65535)"
close_message_for_layout "2 3 1004 "
check "release 6 files installed" 0 "$(same_as_release 6 "${listed[@]}"; echo $?)"
check "record Version of release 6" 0x6 "$(record_value Version)"
cancel_setup
cp "$out/zimel.dat" "$install_dir_unix/zimel.dat"

echo "--- Release 7 over 6: Version up, the files replaced, the record says 7, the saved data carried over"
program=$out/releases/setup-7.exe start_setup release-7-over-6
d wait Quillfen >/dev/null
check "release 7 over 6 offers the version-up" "2 1010 " "$(buttons Quillfen)"
d command Quillfen 1010
d wait VersionUp >/dev/null
d click VersionUp 1
d wait SETUP >/dev/null
check "release 7 over 6 succeeds" "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟは正常に終了しました。" "$(d text SETUP 65535)"
close_message_for_layout "2 3 1004 "
check "release 7 files installed" 0 "$(same_as_release 7 "${listed[@]}" new7.txt; echo $?)"
check "record Version of release 7" 0x7 "$(record_value Version)"
# The saved data is carried over after the installed layout shows.
converted="RNKS $(cut -d' ' -f2 <<<"$old_chunks") $(cut -d' ' -f4 <<<"$old_chunks")"
check "saved data carried over to release 7" "$converted" "$(awaited "$converted" chunks "$install_dir_unix/zimel.dat")"
cancel_setup

echo "--- Release 6 over 7: the maintenance layout, nothing changed"
listing_before=$(cd "$install_dir_unix" && md5sum * | sort)
program=$out/releases/setup-6.exe start_setup release-6-over-7
d wait Quillfen >/dev/null
check "release 6 over 7 offers no version-up" "2 3 1004 " "$(buttons Quillfen)"
cancel_setup
check "release 6 over 7 changes no file" "$listing_before" "$(cd "$install_dir_unix" && md5sum * | sort)"
check "record still says 7" 0x7 "$(record_value Version)"
