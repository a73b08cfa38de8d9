# Setup with both shortcuts and a large file, while the busy animation turns.
# Needs: nothing.
# Leaves: the product installed with a desktop shortcut ($desktop_link), $out/big.

echo "--- Setup with both shortcuts: the busy animation turns while the files are copied"
clear_record
rm -rf "$install_dir_unix"
mkdir -p "$out/big"
# Long enough to copy that the animation shows, after the two seconds a closing dialog takes
# without a window manager; zeros keep the package small.
head -c 300000000 /dev/zero > "$out/big/big.bin"
script_with "$out/big/setup.txt" 's/^#D=1/#D=300/' '#I=big.bin'
make_package "$out/big/files.zarc" setup.txt "$out/big/setup.txt" "$out/big/big.bin"
start_setup road-busy "$out/big/files.zarc"
d wait Quillfen >/dev/null
agree_and_install
# The frame sits in the picture's bottom right corner; each shot keeps that square only.
for i in $(seq 40); do
  sleep 0.1
  import -window root -crop 72x72+596+378 "$out/shots/busy-corner-$i.png" 2>/dev/null
  [ "$i" = 20 ] && shot road-setup-busy
done
d wait SETUP 60 >/dev/null
corners=$(md5sum "$out/shots"/busy-corner-*.png | awk '{print $1}' | sort -u | wc -l)
rm -f "$out/shots"/busy-corner-*.png
# The dialog above it, the picture without the frame, and at least four frames.
check "the busy animation shows several frames" yes "$([ "$corners" -ge 6 ] && echo yes || echo "$corners")"
d command SETUP 1
d gone SETUP >/dev/null
desktop_link=$(desktop_dir)/Quillfen.lnk
# The shortcuts follow the installed layout, the desktop's first: once the start menu holds all
# three, the desktop's is complete.
for _ in $(seq 50); do
  [ "$(find "$(programs_dir)/Corvane/Quillfen" -name '*.lnk' 2>/dev/null | wc -l)" = 3 ] && break
  sleep 0.2
done
check "desktop shortcut when ticked" yes "$([ -f "$desktop_link" ] && echo yes)"
if [ -f "$desktop_link" ] && command -v lnkinfo >/dev/null; then
  # Not piped into grep -q: lnkinfo would die of the closed pipe, failing the pipeline (pipefail).
  check "desktop shortcut target" yes "$(grep -q 'Quillfen\\Quillfen.exe' <<<"$(lnkinfo "$desktop_link" 2>/dev/null)" && echo yes)"
fi
check "the large file installed" yes "$(cmp -s "$out/big/big.bin" "$install_dir_unix/big.bin" && echo yes)"
d command Quillfen 2
wait_setup
