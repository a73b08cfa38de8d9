# Setup from nothing with the program zarc setup made, without the desktop shortcut.
# Needs: 01 ($made).
# Leaves: the product installed and recorded, its start-menu shortcuts, no desktop shortcut.

echo "--- Setup from nothing, with the program zarc setup made: licence, options without the desktop shortcut, the install run"
clear_record
rm -rf "$install_dir_unix"
program=$made start_setup road-setup
d wait Quillfen >/dev/null
agree_and_install 1007
check "the install run reports success" 0 "$(d wait SETUP >/dev/null; echo $?)"
check "success message" "ｾｯﾄｱｯﾌﾟは正常に終了しました。" "$(d text SETUP 65535)"
check "no record before the message is closed" 1 "$(registry_status "$record_key" Version)"
check "no shortcut before the message is closed" "" \
  "$(find "$WINEPREFIX/drive_c/users" -name 'Quillfen*.lnk' 2>/dev/null)"
check "the percent text at the end" "100%" "$(awaited 100% d text Quillfen 1016)"
shot road-setup-success
close_message_for_layout "2 3 1004 "
check "maintenance layout after the install" "2 3 1004 " "$(buttons Quillfen)"
shot road-setup-installed
for f in Quillfen.exe uninstall.exe readme.txt; do
  check "installed $f" yes "$(cmp -s "$install_dir_unix/$f" "$( [ -f "$demo/bin/$f" ] && echo "$demo/bin/$f" || echo "$demo/files/$f")" && echo yes)"
done
check "record ExecutePath" 'C:\Program Files\Corvane\Quillfen\Quillfen.exe' "$(record_value ExecutePath)"
check "record MainPath" 'C:\Program Files\Corvane\Quillfen' "$(record_value MainPath)"
check "record StartMenuPath" 'Corvane\Quillfen' "$(record_value StartMenuPath)"
check "record RegistryPath" '.Default\Software\CORVANE\QUILLFEN' "$(record_value RegistryPath)"
check "record Version" 0x5 "$(record_value Version)"
# The shortcuts follow the installed layout; the program's is the first of three.
check "three start-menu shortcuts" 3 "$(awaited 3 start_menu_links)"
program_link=$(find "$WINEPREFIX/drive_c/users" -path '*Programs/Corvane/Quillfen/Quillfen.lnk' | head -n 1)
check "program shortcut in the start menu" yes "$([ -n "$program_link" ] && echo yes)"
if [ -n "$program_link" ] && command -v lnkinfo >/dev/null; then
  link_info=$(lnkinfo "$program_link" 2>/dev/null)
  check "shortcut target" yes "$(grep -q 'Quillfen\\Quillfen.exe' <<<"$link_info" && echo yes)"
  check "shortcut working directory" yes \
    "$(grep -i 'working directory' <<<"$link_info" | grep -q 'C:\\Program Files\\Corvane\\Quillfen' && echo yes)"
fi
check "no desktop shortcut when unticked" "" "$(find "$WINEPREFIX/drive_c/users" -path '*Desktop*' -name '*.lnk' 2>/dev/null)"
cancel_setup
check "exit status after the install" 0 "$status"
