# Setup's dialogs: the licence declined and agreed to, the install options and the folder browser.
# Needs: nothing.
# Leaves: no record.

# The status area of the folder browser: control 14146, or the browser's own status line where
# it hides that one. Line breaks read as blanks.
browser=フォルダーの参照
browser_status() { d controls "$browser" | awk -F'\t' '($1 == 14146 || $1 == 14147) && $2 == 1 {print $4}'; }

echo "--- Setup: the licence, declined with its close box, then agreed to"
clear_record
start_setup dialogs-setup
d wait Quillfen >/dev/null
d command Quillfen 1
check "licence dialog opens on Setup" 0 "$(d wait "$licence" >/dev/null; echo $?)"
check "licence text with its line breaks" "$(iconv -f CP932 -t UTF-8 "$demo/files/同意書.txt")" \
  "$(d text "$licence" 1009)"
check "licence lines are not wrapped" 21 "$(d lines "$licence" 1009)"
check "licence buttons" "同意する|同意しない" "$(d text "$licence" 1)|$(d text "$licence" 2)"
shot dialog-licence
d close "$licence"
check "the close box declines" 0 "$(d gone "$licence" >/dev/null; echo $?)"
check "no install options after declining" 1 "$(d wait Install 1 >/dev/null 2>&1; echo $?)"
wait_setup
check "declining the licence ends the program" 0 "$status"
start_setup dialogs-setup-again
d wait Quillfen >/dev/null
d command Quillfen 1
d wait "$licence" >/dev/null
d key "$licence" enter
check "Enter agrees: the install options open" 0 "$(d wait Install >/dev/null; echo $?)"

echo "--- the install options dialog and its folder browser"
check "options buttons" "1 2 1005 1007 1008 " "$(buttons Install)"
check "options button texts" "ｾｯﾄｱｯﾌﾟ開始|ｾｯﾄｱｯﾌﾟ中止|変更" \
  "$(d text Install 1)|$(d text Install 2)|$(d text Install 1008)"
check "options default folder" 'C:\Program Files\Corvane\Quillfen' "$(d text Install 1003)"
check "options free-space line" yes "$(matches "$free_line_re" "$(d text Install 1017)")"
shot dialog-install-options
mkdir -p "$WINEPREFIX/drive_c/Games"
d click Install 1008
check "the browser opens on 変更" 0 "$(d wait "$browser" >/dev/null; echo $?)"
check "browser shows the requirement when it opens" "＊1 MByte以上の空き容量が必要です" "$(browser_status)"
d select "$browser" 'C:\'
check "browser status for a drive root" yes \
  "$(matches '^C:\\   空き容量:\[[0-9]+\.[0-9]+ (MByte|GByte)\]$' "$(browser_status)")"
d treechild "$browser" Games
check "browser status for a folder" yes \
  "$(matches '^C:\\Games   空き容量:\[[0-9]+\.[0-9]+ (MByte|GByte)\]$' "$(browser_status)")"
shot dialog-folder-browser
d click "$browser" 1
d gone "$browser" >/dev/null
# The options show the folder once the browser has returned it, just after the browser goes.
check "the chosen folder with the product folder" 'C:\Games\Quillfen' "$(awaited 'C:\Games\Quillfen' d text Install 1003)"
check "free-space line after browsing" yes "$(matches "$free_line_re" "$(d text Install 1017)")"
d click Install 1008
d wait "$browser" >/dev/null
check "the browser starts at the folder above" Games "$(d treeitem "$browser")"
check "the requirement stays over the start folder's status" "＊1 MByte以上の空き容量が必要です" \
  "$(browser_status)"
d click "$browser" 2
d gone "$browser" >/dev/null
check "a cancelled browse keeps the folder" 'C:\Games\Quillfen' "$(d text Install 1003)"
d click Install 1008
d wait "$browser" >/dev/null
d select "$browser" 'C:\'
d click "$browser" 1
d gone "$browser" >/dev/null
check "a drive root gives one backslash" 'C:\Quillfen' "$(awaited 'C:\Quillfen' d text Install 1003)"
shot dialog-install-options-root
d command Install 2
d gone Install >/dev/null
d command Quillfen 1
check "Setup again asks for no licence" 1 "$(d wait "$licence" 1 >/dev/null 2>&1; echo $?)"
d wait Install >/dev/null
check "each opening starts from the default folder" 'C:\Program Files\Corvane\Quillfen' \
  "$(d text Install 1003)"
d command Install 2
d gone Install >/dev/null
cancel_setup
check "exit status after the dialogs" 0 "$status"
