# A files.zarc in the current folder replaces the built-in package; one without parts.bmp ends.
# Needs: nothing.
# Leaves: no record.

echo "--- files.zarc in the current folder wins over the built-in package"
mkdir -p "$out/other"
sed 's/^#T=Quillfen/#T=Inkwell/' "$demo/files/setup.txt" > "$out/other/setup.txt"
make_package "$out/other/files.zarc" "setup.txt" "$out/other/setup.txt"
start_setup files-zarc "$out/other/files.zarc"
check "caption from the files.zarc script" 0 "$(d wait Inkwell >/dev/null; echo $?)"
shot files-zarc-wins
cancel_setup Inkwell

echo "--- a package without parts.bmp ends silently"
make_package "$out/files.zarc" "parts.bmp"
start_setup no-parts "$out/files.zarc"
wait_setup
check "exit status without parts.bmp" 0 "$status"
check "no window without parts.bmp" 1 "$(d wait Quillfen 1 >/dev/null 2>&1; echo $?)"
