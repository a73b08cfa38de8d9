# A setup that fails, with a file of the user's in the install folder.
# Needs: nothing.
# Leaves: $out/fails/files.zarc, a package whose install fails; nothing installed, no record.

echo "--- A setup that fails: the message, the Setup layout, the user's file kept, no licence again"
mkdir -p "$out/fails"
script_with "$out/fails/setup.txt" '' '#C=missing-on-the-medium.ini'
make_package "$out/fails/files.zarc" setup.txt "$out/fails/setup.txt"
clear_record
mkdir -p "$install_dir_unix"
echo "the user's own" > "$install_dir_unix/notes.txt"
start_setup road-setup-fails "$out/fails/files.zarc"
d wait Quillfen >/dev/null
agree_and_install
d wait SETUP >/dev/null
check "failure message" "ｾｯﾄｱｯﾌﾟに失敗しました。" "$(d text SETUP 65535)"
shot road-setup-failed
close_message_for_layout "1 2 "
check "setup layout after the failure" "1 2 " "$(buttons Quillfen)"
# The run takes back what it made after the layout shows; the window takes commands once it is done.
list_install_dir() { ls "$install_dir_unix" 2>&1 | tr '\n' ' ' | sed 's/ $//'; }
check "only the user's file is left" "notes.txt" "$(awaited notes.txt list_install_dir)"
check "the user's file unchanged" "the user's own" "$(cat "$install_dir_unix/notes.txt")"
check "no record after a failure" "" "$(record_value Version)"
check "no shortcuts after a failure" "" "$(find "$WINEPREFIX/drive_c/users" -name 'Quillfen*.lnk' 2>/dev/null)"
d command Quillfen 1
check "Setup again skips the licence" 1 "$(d wait "$licence" 1 >/dev/null 2>&1; echo $?)"
check "Setup again opens the options" 0 "$(d wait Install >/dev/null; echo $?)"
d command Install 2
d gone Install >/dev/null
cancel_setup
rm -rf "$install_dir_unix"
