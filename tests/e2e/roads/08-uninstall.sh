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
check "record removed" 1 "$(registry_status "$record_key")"
check "maker's key kept" 0 "$(registry_status 'HKEY_USERS\.Default\Software\CORVANE')"
check "start-menu ordering key removed" 1 "$(registry_status "$order_key\\Corvane\\Quillfen")"
clear_record
rm -rf "$install_dir_unix"
