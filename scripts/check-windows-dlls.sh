#!/usr/bin/env bash
# Fails unless every given Windows program imports only DLLs that come with Windows itself, so
# that it runs from a bare folder: the C++ runtime, winpthreads and zlib must be linked in.
# Prints each program's DLLs. Usage: scripts/check-windows-dlls.sh PROGRAM.exe...
set -euo pipefail
objdump="${OBJDUMP:-$(command -v x86_64-w64-mingw32-objdump || command -v objdump)}"
# Windows' own DLLs; api-ms-win-* are the system's API sets.
system_dll() {
  case "$(tr '[:upper:]' '[:lower:]' <<<"$1")" in
    kernel32.dll | user32.dll | gdi32.dll | msvcrt.dll | ucrtbase.dll | advapi32.dll | shell32.dll | \
    ole32.dll | oleaut32.dll | comctl32.dll | comdlg32.dll | winmm.dll | dwmapi.dll | imm32.dll | \
    version.dll | shcore.dll | uxtheme.dll | ws2_32.dll | bcrypt.dll | ntdll.dll | api-ms-win-*) return 0 ;;
    *) return 1 ;;
  esac
}
[ $# -gt 0 ] || { echo "usage: $0 PROGRAM.exe..." >&2; exit 2; }
status=0
for program in "$@"; do
  dlls=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p')
  # Every Windows program imports kernel32; none found means objdump read no import table.
  if ! grep -qix "kernel32.dll" <<<"$dlls"; then
    echo "$program: no import table found (is it a Windows program?)" >&2
    status=1
    continue
  fi
  echo "$program: $(tr '\n' ' ' <<<"$dlls")"
  while read -r dll; do
    system_dll "$dll" && continue
    echo "$program: needs $dll, which does not come with Windows" >&2
    status=1
  done <<<"$dlls"
done
exit $status
