# Uninstall of what road 07 installed.
# Needs: 01 07 (road 07's install, of road 01's $made).
# Leaves: nothing installed, no record.

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
