#!/usr/bin/env bash
# Checks that a built Trellan.exe is a 32-bit GUI program that imports
# Windows system DLLs only (the C++ runtime is linked in statically).
set -euo pipefail
exe="$1"
dump="$(i686-w64-mingw32-objdump -p "$exe")"
grep -q 'Magic[[:space:]]*010b[[:space:]]*(PE32)' <<<"$dump" || { echo "not PE32: $exe"; exit 1; }
grep -q 'Subsystem[[:space:]]*00000002[[:space:]]*(Windows GUI)' <<<"$dump" || { echo "not a GUI program"; exit 1; }
allowed='^(kernel32|user32|gdi32|advapi32|shell32|comctl32|comdlg32|ole32|oleaut32|shlwapi|msvcrt|version|uxtheme)\.dll$'
status=0
while read -r dll; do
  if ! grep -qiE "$allowed" <<<"$dll"; then echo "unexpected import: $dll"; status=1; fi
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump")
[ $status -eq 0 ] && echo "$exe: PE32 GUI, imports: $(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump" | tr '\n' ' ')"
exit $status
