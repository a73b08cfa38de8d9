# A requirement larger than the free space.
# Needs: nothing.
# Leaves: nothing installed, no record.

echo "--- A requirement larger than the free space"
mkdir -p "$out/huge"
script_with "$out/huge/setup.txt" 's/^#D=1/#D=2000000000/'
make_package "$out/huge/files.zarc" setup.txt "$out/huge/setup.txt"
start_setup road-disk-space "$out/huge/files.zarc"
d wait Quillfen >/dev/null
agree_and_install
d wait "DISK SPACE" >/dev/null || { shot debug-disk-space; d windows; }
check "disk space message" "ﾃﾞｨｽｸの空き容量が不足しています。" "$(d text "DISK SPACE" 65535)"
shot road-disk-space
d command "DISK SPACE" 1
d gone "DISK SPACE" >/dev/null
check "nothing installed when the space is short" no "$([ -e "$install_dir_unix" ] && echo yes || echo no)"
check "the Setup layout stays" "1 2 " "$(buttons Quillfen)"
cancel_setup
