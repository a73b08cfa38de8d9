# The version-up options and the uninstall dialog, each cancelled.
# Needs: nothing.
# Leaves: nothing installed, no record.

echo "--- Version up: the install options in their version-up layout"
mkdir -p "$install_dir_unix"
cp "$demo/bin/Quillfen.exe" "$install_dir_unix/"
write_record 4 'C:\Program Files\Corvane\Quillfen\Quillfen.exe'
start_setup dialogs-version-up
d wait Quillfen >/dev/null
d command Quillfen 1010
check "version-up options open" 0 "$(d wait VersionUp >/dev/null; echo $?)"
check "version-up options buttons" "1 2 " "$(buttons VersionUp)"
check "version-up button texts" "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟ開始|ﾊﾞｰｼﾞｮﾝｱｯﾌﾟ中止" \
  "$(d text VersionUp 1)|$(d text VersionUp 2)"
check "version-up shows the installed folder" 'C:\Program Files\Corvane\Quillfen' "$(d text VersionUp 1003)"
check "version-up free-space line" yes "$(matches "$free_line_re" "$(d text VersionUp 1017)")"
shot dialog-version-up
d command VersionUp 2
d gone VersionUp >/dev/null
cancel_setup

echo "--- Uninstall: the folder to be removed, and Enter cancels"
write_record 5 'C:\Program Files\Corvane\Quillfen\Quillfen.exe'
start_setup dialogs-uninstall
d wait Quillfen >/dev/null
d command Quillfen 3
check "uninstall dialog opens" 0 "$(d wait UnInstall >/dev/null; echo $?)"
check "uninstall shows the installed folder" 'C:\Program Files\Corvane\Quillfen' "$(d text UnInstall 1003)"
check "uninstall button texts" "ｱﾝｲﾝｽﾄｰﾙ開始|ｱﾝｲﾝｽﾄｰﾙ中止" "$(d text UnInstall 1)|$(d text UnInstall 2)"
check "cancel holds the focus and takes Enter" "2 1" "$(d focus UnInstall)"
shot dialog-uninstall
d key UnInstall enter
check "Enter closes the uninstall dialog" 0 "$(d gone UnInstall >/dev/null; echo $?)"
check "the main window stays" 0 "$(d wait Quillfen >/dev/null; echo $?)"
check "nothing was removed" yes "$([ -f "$install_dir_unix/Quillfen.exe" ] && echo yes)"
cancel_setup
clear_record
rm -rf "$install_dir_unix"
