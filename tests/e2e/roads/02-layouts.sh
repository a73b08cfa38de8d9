# The main window's layouts: the warning without a licence, Setup, Version up, maintenance and
# Run, and a record whose program is gone.
# Needs: nothing.
# Leaves: no record, an empty install folder.

echo "--- nothing installed, a package without a licence: the warning, then the end"
make_package "$out/no-licence.zarc" "同意書.txt"
cp "$out/no-licence.zarc" "$out/files.zarc"
start_setup no-licence "$out/files.zarc"
d wait "VERSION UP" >/dev/null
check "warning text" "ｲﾝｽﾄｰﾙされていないので、ﾊﾞｰｼﾞｮﾝｱｯﾌﾟできません。" "$(d text "VERSION UP" 65535)"
shot warning-not-installed
d command "VERSION UP" 1
wait_setup
check "exit status after the warning" 0 "$status"
check "no main window after the warning" 1 "$(d wait Quillfen 1 >/dev/null 2>&1; echo $?)"

echo "--- nothing installed, a package with a licence: the Setup layout"
start_setup fresh
d wait Quillfen >/dev/null
check "setup layout buttons" "1 2 " "$(buttons Quillfen)"
check "setup button text" "ｾｯﾄｱｯﾌﾟ" "$(d text Quillfen 1)"
shot layout-setup
cancel_setup
check "exit status after Cancel" 0 "$status"

echo "--- an older installation: the version-up layout"
mkdir -p "$install_dir_unix"
cp "$demo/bin/Quillfen.exe" "$install_dir_unix/"
write_record 4 'C:\Program Files\Corvane\Quillfen\Quillfen.exe'
start_setup version-4
check "window captioned after the script" 0 "$(d wait Quillfen >/dev/null; echo $?)"
check "version-up layout buttons" "2 1010 " "$(buttons Quillfen)"
shot layout-version-up
cancel_setup

echo "--- a current installation: the maintenance layout, and Run"
for version in 5 0xffffffff; do
  write_record "$version" 'C:\Program Files\Corvane\Quillfen\Quillfen.exe'
  start_setup "version-$version"
  d wait Quillfen >/dev/null
  check "maintenance layout buttons ($version)" "2 3 1004 " "$(buttons Quillfen)"
  [ "$version" = 5 ] && shot layout-maintenance
  cancel_setup
done
start_setup run
d wait Quillfen >/dev/null
d click Quillfen 1004
wait_setup
check "setup ends after Run" 0 "$status"
d wait "Quillfen 5" >/dev/null
program_text=$(d text "Quillfen 5" 65535)
check "the installed program runs in its own folder" 'C:\Program Files\Corvane\Quillfen' \
  "$(printf '%s\n' "$program_text" | tail -n 1)"
shot installed-program-running
d command "Quillfen 5" 1
d gone "Quillfen 5" >/dev/null

echo "--- a record whose program is gone counts as nothing installed"
rm -f "$install_dir_unix/Quillfen.exe"
write_record 5 'C:\Program Files\Corvane\Quillfen\Quillfen.exe'
start_setup program-gone
d wait Quillfen >/dev/null
check "setup layout when the program is gone" "1 2 " "$(buttons Quillfen)"
cancel_setup
clear_record
