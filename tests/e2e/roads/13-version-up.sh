# Version up from version 4, with and without saved data.
# Needs: nothing.
# Leaves: $out/zimel.dat, saved data of version 4, and $old_chunks, its chunks; version 5
# installed and recorded.

echo "--- Version up from version 4: new files, version 5, the saved data converted, shortcuts"
python3 - "$out/zimel.dat" <<'PY'
import struct, sys
chunks = [(b"KTBL", b"key table \x00\x01\x02"), (b"XTRA", b"dropped"), (b"RNKS", b"ranks 1 2 3")]
body = b"".join(cid + struct.pack("<I", 8 + len(data)) + data for cid, data in chunks)
open(sys.argv[1], "wb").write(b"FORM" + struct.pack("<I", 12 + len(body)) + b"ZIML" + body)
PY
old_chunks=$(chunks "$out/zimel.dat")
version_up_from_4 "$out/zimel.dat" road-version-up
check "version-up success message" "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟは正常に終了しました。" "$(d text SETUP 65535)"
shot road-version-up-success
check "the saved data waits for the message" "$old_chunks" "$(chunks "$install_dir_unix/zimel.dat" 2>&1)"
close_message_for_layout "2 3 1004 "
check "maintenance layout after the version-up" "2 3 1004 " "$(buttons Quillfen)"
check "version-up installs the new program" yes "$(cmp -s "$demo/bin/Quillfen.exe" "$install_dir_unix/Quillfen.exe" && echo yes)"
check "record Version after the version-up" 0x5 "$(record_value Version)"
# The saved data and then the shortcuts follow the installed layout.
converted="RNKS $(cut -d' ' -f2 <<<"$old_chunks") $(cut -d' ' -f4 <<<"$old_chunks")"
check "saved data converted, KTBL and RNKS unchanged" "$converted" \
  "$(awaited "$converted" chunks "$install_dir_unix/zimel.dat")"
check "no temporary file left" "" "$(ls "$install_dir_unix" | grep -F .~zt)"
check "start-menu shortcuts after the conversion" 3 "$(awaited 3 start_menu_links)"
cancel_setup
check "exit status after the version-up" 0 "$status"

echo "--- Version up without saved data: no shortcuts"
version_up_from_4 - road-version-up-no-data
close_message_for_layout "2 3 1004 "
check "version-up without saved data installs" yes "$(cmp -s "$demo/bin/Quillfen.exe" "$install_dir_unix/Quillfen.exe" && echo yes)"
# Once the program has ended, its worker has done all it would.
cancel_setup
check "no shortcuts without saved data" "" "$(find "$WINEPREFIX/drive_c/users" -name 'Quillfen*.lnk' 2>/dev/null)"
check "no saved data made" no "$([ -e "$install_dir_unix/zimel.dat" ] && echo yes || echo no)"
