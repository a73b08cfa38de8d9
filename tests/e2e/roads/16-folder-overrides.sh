# What lies beside a program zarc setup made, ignored unless the program was made to take it.
# Needs: 01 ($made).
# Leaves: nothing installed, no record; $out/download/open-setup.exe.

echo "--- A program zarc setup made installs its own package whatever lies beside it, unless made to take it"
rogue=$out/rogue
mkdir -p "$rogue"
printf 'rogue readme' >"$rogue/readme.txt"
printf 'rogue bytes' >"$rogue/rogue.bin"
{ cat "$demo/files/setup.txt"; printf '#I=rogue.bin\r\n'; } >"$rogue/setup.txt"
make_package "$rogue/files.zarc" "" "$rogue/rogue.bin"
open_made=$out/download/open-setup.exe
check "zarc setup writes a program that takes its folder when asked" 0 \
  "$(wine "$zarc_exe" setup "$open_made" --stub "$stub_exe" --allow-folder-overrides \
       --package "$demo/files.zarc" >/dev/null 2>&1; echo $?)"
install_beside_rogue() {  # install_beside_rogue PROGRAM RUN
  clear_record
  rm -rf "$install_dir_unix" "$(programs_dir)/Corvane"
  program=$1 start_setup "$2" "$rogue/setup.txt" "$rogue/readme.txt" "$rogue/files.zarc"
  d wait Quillfen >/dev/null
  agree_and_install 1007
  d wait SETUP >/dev/null
  close_message_for_layout "2 3 1004 "
  cancel_setup
}
install_beside_rogue "$made" road-rogue-ignored
check "the built-in readme, not the folder's" yes \
  "$(cmp -s "$install_dir_unix/readme.txt" "$demo/files/readme.txt" && echo yes)"
check "nothing the folder's script or package holds" no \
  "$([ -e "$install_dir_unix/rogue.bin" ] && echo yes || echo no)"
install_beside_rogue "$open_made" road-rogue-taken
check "the folder's readme when asked" "rogue readme" "$(cat "$install_dir_unix/readme.txt" 2>/dev/null)"
check "the folder's package when asked" "rogue bytes" "$(cat "$install_dir_unix/rogue.bin" 2>/dev/null)"
clear_record
rm -rf "$install_dir_unix" "$(programs_dir)/Corvane"
