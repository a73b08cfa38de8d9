# Where the product lives on the machine: its install record, folder and shortcut folders.

record_key='HKEY_USERS\.Default\Software\CORVANE\QUILLFEN'
order_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu\&Programs'
install_dir='C:\Program Files\Corvane\Quillfen'
install_dir_unix=$WINEPREFIX/drive_c/Program\ Files/Corvane/Quillfen
write_record() {  # write_record VERSION EXECUTE_PATH
  wine reg add "$record_key" /v ExecutePath /t REG_SZ /d "$2" /f >/dev/null
  wine reg add "$record_key" /v MainPath /t REG_SZ /d 'C:\Program Files\Corvane\Quillfen' /f >/dev/null
  wine reg add "$record_key" /v StartMenuPath /t REG_SZ /d 'Corvane\Quillfen' /f >/dev/null
  wine reg add "$record_key" /v RegistryPath /t REG_SZ /d '.Default\Software\CORVANE\QUILLFEN' /f >/dev/null
  wine reg add "$record_key" /v Version /t REG_DWORD /d "$1" /f >/dev/null
}
# What the registry holds at KEY (and its value NAME): "value:DATA" or "missing". A loaded machine
# now and then fails to start a wine program at all, which must not read as a missing value: a
# query that gave no answer is asked again, for up to 60 s.
registry_answer() {  # registry_answer KEY [NAME]
  local answer end=$((SECONDS + 60))
  until answer=$(d value "$@" 2>/dev/null); [ -n "$answer" ] || [ "$SECONDS" -ge "$end" ]; do sleep 1; done
  printf '%s' "$answer"
}
# A value of the install record, empty when there is none.
record_value() {
  local answer
  answer=$(registry_answer "$record_key" "$1")
  [ "${answer#value:}" = "$answer" ] || printf '%s\n' "${answer#value:}"
}
# 0 when the registry has KEY (and its value NAME), 1 when not, as "reg query" exits.
registry_status() {  # registry_status KEY [NAME]
  case $(registry_answer "$@") in
    missing) echo 1 ;;
    value:*) echo 0 ;;
    *) echo "no answer from the registry" ;;
  esac
}
clear_record() { wine reg delete "$record_key" /f >/dev/null 2>&1; }
programs_dir() { find "$WINEPREFIX/drive_c/users" -path '*Start Menu/Programs' -type d | grep -v Public | head -n 1; }
start_menu_links() { find "$(programs_dir)/Corvane/Quillfen" -name '*.lnk' 2>/dev/null | wc -l; }
desktop_dir() { find "$WINEPREFIX/drive_c/users" -maxdepth 2 -type d -name Desktop | grep -v Public | head -n 1; }
