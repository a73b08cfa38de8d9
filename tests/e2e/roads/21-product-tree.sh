# A product that is a folder of more files than the old tables held, in nested folders with the
# same file names in several of them: packed and listed by the README's commands, set up, and the
# installed tree compared with the folder byte for byte.
# Needs: nothing.
# Leaves: the tree installed and recorded; its project in $out/tree.

echo "--- a product folder of 600 files: zarc list-folder and zarc setup, then Setup installs the whole tree"
clear_record
rm -rf "$install_dir_unix" "$(programs_dir)/Corvane" "$out/tree"
build=$out/tree/build
mkdir -p "$build/data/empty" "$build/locales"
printf 'the program\n' >"$build/prog.exe"
printf 'top licence\n' >"$build/LICENSE"
for package in $(seq 1 30); do
  # Every package folder holds an __init__.py and a LICENSE of its own, and a deep one below it.
  folder=$build/lib/site-packages/pkg$package
  mkdir -p "$folder/core/sub"
  printf 'package %s\n' "$package" >"$folder/__init__.py"
  printf 'licence of %s\n' "$package" >"$folder/LICENSE"
  printf 'deep %s\n' "$package" >"$folder/core/sub/index.js"
  for module in $(seq 1 17); do
    tail -c +$((package * 131 + module)) "$stub_exe" | head -c $((package * 97 + module * 13)) >"$folder/core/m$module.pyd"
  done
done
for locale in de en fr ja; do printf '%s\n' "$locale" >"$build/locales/$locale.pak"; done
files=$(cd "$build" && find . -type f | wc -l)
check "the tree holds more than 512 files" yes "$([ "$files" -gt 512 ] && echo yes)"

cd "$out/tree"
cp "$demo/files/setup256.bmp" "$demo/files/parts.bmp" "$demo/files/同意書.txt" .
printf '%s\r\n' '#G=.Default\Software\CORVANE\QUILLFEN' '#P=C:\Program Files\Corvane\Quillfen' \
  '#T=Quillfen' '#E=prog.exe' '#S=Corvane\Quillfen' '#N=Quillfen' '#D=1' '#V=8' >setup.txt
check "zarc list-folder writes the tree's list" 0 "$(wine "$zarc_exe" list-folder --into setup.txt build >list.log 2>&1; echo $?)"
check "the script keeps the publisher's settings" yes "$(grep -q '^#E=prog.exe' setup.txt && echo yes)"
check "zarc setup packs the folder" 0 \
  "$(wine "$zarc_exe" setup "$out/download/tree-setup.exe" --stub "$stub_exe" setup.txt 同意書.txt setup256.bmp \
       parts.bmp build >setup.log 2>&1; echo $?)"
cd - >/dev/null

program=$out/download/tree-setup.exe start_setup tree-setup
d wait Quillfen >/dev/null
agree_and_install
check "the tree's setup reports success" "ｾｯﾄｱｯﾌﾟは正常に終了しました。" "$(d wait SETUP >/dev/null; d text SETUP 65535)"
close_message_for_layout "2 3 1004 "
check "the installed tree is the folder, byte for byte" "" "$(diff -r "$build" "$install_dir_unix" 2>&1)"
check "the empty folder is made" yes "$([ -d "$install_dir_unix/data/empty" ] && echo yes)"
check "record Version of the tree" 0x8 "$(record_value Version)"
cancel_setup
