# A large version up (release 8 over 6): the window answers and the bar moves.
# Needs: 13 18 ($out/zimel.dat, $listed, release 6).
# Leaves: nothing installed, no record, no shortcuts; $out/releases removed.

echo "--- A large version-up: the window answers, and the bar shows the copy between its ends, then at its end"
large=(prog.exe big1.bin big2.bin big3.bin big4.bin big5.bin big6.bin)
mkdir -p "$out/releases/8"
for name in "${large[@]:1}"; do head -c 40000000 /dev/zero > "$out/releases/8/$name"; done
# Half way, the run copies files of the medium that a scanner holds: the copy stays there until
# the road lets go, whatever the machine's speed.
held_copies "$out/releases/held1.txt" "$out/releases/held2.txt" "$out/releases/held3.txt"
make_release 8 "${large[@]:0:4}" "${copy_lines[@]}" "${large[@]:4}"
release_6_installed
program=$out/releases/setup-8.exe start_setup release-8-large
d wait Quillfen >/dev/null
d command Quillfen 1010
d wait VersionUp >/dev/null
# Held from before the click until the bar has been read half way, each let go at most 4 s after
# the one before, within the 5 s the run waits for each from its first try.
hold_file "$held_paths" 4
d click VersionUp 1
positions=() answers=()
end=$((SECONDS + 120))
until d wait SETUP 0.1 >/dev/null 2>&1 || [ "$SECONDS" -ge "$end" ]; do
  position=$(d progress Quillfen 1015)
  positions+=("$position")
  answers+=("$(d answers Quillfen)")
  [ "$position" -gt 0 ] 2>/dev/null && [ "$position" -lt 255 ] && touch "$out/let-go"
done
let_go
d wait SETUP >/dev/null
check "the large version-up succeeds" "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟは正常に終了しました。" "$(d text SETUP 65535)"
check "the bar was read between its ends during the copy" yes \
  "$(printf '%s\n' "${positions[@]}" | awk '$1 > 0 && $1 < 255 {found = 1} END {print found ? "yes" : "no: " NR " readings"}')"
check "the bar at its end with the last file" 255 "$(awaited 255 d progress Quillfen 1015)"
check "the window answered throughout the copy" "" "$(printf '%s\n' "${answers[@]}" | grep -v '^1$')"
close_message_for_layout "2 3 1004 "
check "the large release installed" 0 "$(same_as_release 8 "${large[@]}"; echo $?)"
cancel_setup
clear_record
rm -rf "$install_dir_unix" "$(programs_dir)/Corvane" "$(desktop_dir)/Quillfen.lnk" "$out/releases"
