# Uninstall of what road 09 installed, with a read-only file and another product of the maker.
# Needs: 09 (the product installed, $desktop_link).
# Leaves: nothing installed, no record, no start-menu folder of the maker.

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
check "record removed with a file left" 1 "$(registry_status "$record_key")"
check "ordering key removed" 1 "$(registry_status "$order_key\\Corvane\\Quillfen")"
chmod -R u+w "$install_dir_unix"
rm -rf "$install_dir_unix" "$(programs_dir)/Corvane" "$out/busy"
