# Version up while another program holds the old program, for a moment and for good.
# Needs: 13 ($out/zimel.dat, $old_chunks).
# Leaves: version 5 recorded over version 4's saved data, converted.

echo "--- Version up while a scanner holds the old program for a moment: it waits and succeeds"
hold_program() { hold_file "$install_dir\\Quillfen.exe" "$1"; }
# Held from before the click for 4 s: the run waits 5 s from its first try at the file, which comes
# later, so it outlasts the hold however slow the machine.
hold_for_a_moment() { hold_program 4; }
before_version_up=hold_for_a_moment version_up_from_4 "$out/zimel.dat" road-version-up-held
check "version-up success with a file held for a moment" "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟは正常に終了しました。" "$(d text SETUP 65535)"
let_go
close_message_for_layout "2 3 1004 "
check "the held program replaced" yes "$(cmp -s "$demo/bin/Quillfen.exe" "$install_dir_unix/Quillfen.exe" && echo yes)"
cancel_setup

echo "--- Version up while the old program is held for good: named before anything changes"
# Held until the road lets go, however long the run takes to come to it.
hold_for_good() { hold_program 120; }
asked_about_held() {  # the message naming the held program, as the road's check reads it
  local text
  text=$(d text SETUP 65535)
  [[ $text == 次のﾌｧｲﾙを使っているﾌﾟﾛｸﾞﾗﾑを終了してから* && $text == *"$install_dir\\Quillfen.exe"* ]] && echo yes || echo "$text"
}
unchanged_old_version() {
  check "the held program kept $1" "MZ old program" "$(cat "$install_dir_unix/Quillfen.exe")"
  check "nothing written beside it $1" "Quillfen.exe zimel.dat" "$(ls "$install_dir_unix" | tr '\n' ' ' | sed 's/ $//')"
  check "saved data untouched $1" "$old_chunks" "$(chunks "$install_dir_unix/zimel.dat" 2>&1)"
  check "record still at version 4 $1" 0x4 "$(record_value Version)"
}
before_version_up=hold_for_good version_up_from_4 "$out/zimel.dat" road-version-up-held-for-good
check "the held program named before the version-up changes anything" yes "$(asked_about_held)"
shot road-version-up-in-use
unchanged_old_version "while the user is asked"
# A log-off now would cut the run short: the window refuses it while the run is under way.
check "the session may not end while a run is under way" 0 "$(d queryend Quillfen)"
d command SETUP 2
d gone SETUP >/dev/null
check "Cancel offers the version-up again" "2 1010 " "$(awaited "2 1010 " buttons Quillfen)"
unchanged_old_version "after Cancel"
check "the session may end once the run has stopped" 1 "$(awaited 1 d queryend Quillfen)"

echo "--- The same program let go while the user is asked again: OK goes on"
d command Quillfen 1010
d wait VersionUp >/dev/null
d click VersionUp 1
d wait SETUP >/dev/null
check "asked again while it is still held" yes "$(asked_about_held)"
let_go
d command SETUP 1
success_shows() { [ "$(d text SETUP 65535 2>/dev/null)" = "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟは正常に終了しました。" ]; }
poll_until 120 success_shows
check "version-up success once the program is let go" "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟは正常に終了しました。" "$(d text SETUP 65535)"
close_message_for_layout "2 3 1004 "
check "the program let go replaced" yes "$(cmp -s "$demo/bin/Quillfen.exe" "$install_dir_unix/Quillfen.exe" && echo yes)"
check "record at version 5 after the retry" 0x5 "$(record_value Version)"
cancel_setup
