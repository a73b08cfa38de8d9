# Setup with both shortcuts, kept busy by a held file while the busy animation turns.
# Needs: nothing.
# Leaves: the product installed with a desktop shortcut ($desktop_link), $out/busy.

echo "--- Setup with both shortcuts: the busy animation turns while the files are copied"
clear_record
rm -rf "$install_dir_unix"
mkdir -p "$out/busy"
# The run copies this file from the medium last, and waits while a scanner holds it: the road, not
# the machine's speed, says how long the run stays busy.
held=$out/busy/held.txt
echo "copied once let go" > "$held"
script_with "$out/busy/setup.txt" '' "#C=$(windows_path "$held"),held.txt"
make_package "$out/busy/files.zarc" setup.txt "$out/busy/setup.txt"
start_setup road-busy "$out/busy/files.zarc"
d wait Quillfen >/dev/null
# Held from just before the run starts for at most 4.5 s, so that the run, which waits 5 s from its
# first try at the file, still copies it.
hold_source() { hold_file "$(windows_path "$held")" 4.5; }
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
check "the held file installed" yes "$(cmp -s "$held" "$install_dir_unix/held.txt" && echo yes)"
cancel_setup
