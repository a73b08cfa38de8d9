# Where the product lives on the machine: its install record, folder and shortcut folders.

record_key='HKEY_USERS\.Default\Software\CORVANE\QUILLFEN'
order_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu\&Programs'
install_dir_unix=$WINEPREFIX/drive_c/Program\ Files/Corvane/Quillfen
write_record() {  # write_record VERSION EXECUTE_PATH
  wine reg add "$record_key" /v ExecutePath /t REG_SZ /d "$2" /f >/dev/null
  wine reg add "$record_key" /v MainPath /t REG_SZ /d 'C:\Program Files\Corvane\Quillfen' /f >/dev/null
  wine reg add "$record_key" /v StartMenuPath /t REG_SZ /d 'Corvane\Quillfen' /f >/dev/null
  wine reg add "$record_key" /v RegistryPath /t REG_SZ /d '.Default\Software\CORVANE\QUILLFEN' /f >/dev/null
  wine reg add "$record_key" /v Version /t REG_DWORD /d "$1" /f >/dev/null
}
# A value of the install record, empty when there is none. A loaded machine now and then fails to
# start "wine reg" at all, which must not read as a missing value: a failed query is asked again.
record_value() {
  local out
  for _ in 1 2 3; do
    out=$(wine reg query "$record_key" /v "$1" 2>/dev/null) && break
    sleep 1
  done
  tr -d '\r' <<<"$out" | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}
clear_record() { wine reg delete "$record_key" /f >/dev/null 2>&1; }
programs_dir() { find "$WINEPREFIX/drive_c/users" -path '*Start Menu/Programs' -type d | grep -v Public | head -n 1; }
desktop_dir() { find "$WINEPREFIX/drive_c/users" -maxdepth 2 -type d -name Desktop | grep -v Public | head -n 1; }
