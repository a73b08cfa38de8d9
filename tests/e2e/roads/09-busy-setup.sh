# Setup with both shortcuts, kept busy by held files while the busy animation turns.
# Needs: nothing.
# Leaves: the product installed with a desktop shortcut ($desktop_link), $out/busy.

echo "--- Setup with both shortcuts: the busy animation turns while the files are copied"
clear_record
rm -rf "$install_dir_unix"
mkdir -p "$out/busy"
# The run copies these files from the medium last, and waits while a scanner holds them: the road,
# not the machine's speed, says how long the run stays busy.
held=("$out/busy/held1.txt" "$out/busy/held2.txt" "$out/busy/held3.txt")
held_copies "${held[@]}"
script_with "$out/busy/setup.txt" '' "${copy_lines[@]}"
make_package "$out/busy/files.zarc" setup.txt "$out/busy/setup.txt"
start_setup road-busy "$out/busy/files.zarc"
d wait Quillfen >/dev/null
# Held from just before the run starts, each let go at most 4.5 s after the one before: the run,
# which waits 5 s for each from its first try, still copies them all.
hold_source() { hold_file "$held_paths" 4.5; }
before_install=hold_source agree_and_install
# The frame sits in the picture's bottom right corner; each sample keeps that square's pixels only.
declare -A corners=()
until [ "${#corners[@]}" -ge 6 ] || holder_gone; do
  corners[$(import -window root -crop 72x72+596+378 rgb:- 2>/dev/null | md5sum | cut -c1-32)]=1
done
shot road-setup-busy
let_go
d wait SETUP >/dev/null
# The dialog above it, the picture without the frame, and at least four frames.
check "the busy animation shows several frames" yes "$([ "${#corners[@]}" -ge 6 ] && echo yes || echo "${#corners[@]}")"
d command SETUP 1
d gone SETUP >/dev/null
desktop_link=$(desktop_dir)/Quillfen.lnk
# The shortcuts follow the installed layout, the desktop's first: once the start menu holds all
# three, the desktop's is complete.
awaited 3 start_menu_links >/dev/null
check "desktop shortcut when ticked" yes "$([ -f "$desktop_link" ] && echo yes)"
if [ -f "$desktop_link" ] && command -v lnkinfo >/dev/null; then
  # Not piped into grep -q: lnkinfo would die of the closed pipe, failing the pipeline (pipefail).
  check "desktop shortcut target" yes "$(grep -q 'Quillfen\\Quillfen.exe' <<<"$(lnkinfo "$desktop_link" 2>/dev/null)" && echo yes)"
fi
check "the held files installed" "" \
  "$(for file in "${held[@]}"; do cmp -s "$file" "$install_dir_unix/${file##*/}" || echo "${file##*/}"; done)"
cancel_setup
