#!/usr/bin/env bash
# Checks that a built Trellan.exe is fit for school PCs: a 32-bit GUI
# program within its size budget that imports Windows system DLLs only (the C++ runtime is linked in
# statically), allows NX and address randomisation, is terminal-server
# aware, carries no link time, and whose manifest asks for the user's own
# rights only, names Windows 7 to 11, and keeps the classic controls and
# Windows' own DPI scaling.
set -euo pipefail
exe="$1"
dump="$(i686-w64-mingw32-objdump -p "$exe")"
status=0
fail() { echo "$exe: $*"; status=1; }

grep -q 'Magic[[:space:]]*010b[[:space:]]*(PE32)' <<<"$dump" || fail "not PE32"
grep -q 'Subsystem[[:space:]]*00000002[[:space:]]*(Windows GUI)' <<<"$dump" || fail "not a GUI program"
allowed='^(kernel32|user32|gdi32|advapi32|shell32|comctl32|comdlg32|ole32|oleaut32|shlwapi|msvcrt|version|uxtheme|ws2_32|secur32|crypt32)\.dll$'
imports="$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump")"
while read -r dll; do
  grep -qiE "$allowed" <<<"$dll" || fail "unexpected import: $dll"
done <<<"$imports"

# objdump spells out each DllCharacteristics bit on a line of its own.
flags="$(sed -n '/^DllCharacteristics/,/^SizeOfStackReserve/p' <<<"$dump" |
         sed -n 's/^[[:space:]]\+\([A-Z_]\+\)$/\1/p' | sort | tr '\n' ' ')"
for flag in NX_COMPAT DYNAMIC_BASE TERMINAL_SERVICE_AWARE; do
  grep -qw "$flag" <<<"$flags" || fail "DllCharacteristics lack $flag (have: $flags)"
done
# Its size budget: 512 KiB for everything it does, and 48 KB on top for
# publishing over FTP ("Website hochladen", which takes about that much).
limit=$((524288 + 49152))
size="$(stat -c %s "$exe")"
[ "$size" -le "$limit" ] || fail "$size bytes, more than its budget of $limit"

# A link time in the header would make every build's bytes differ.
stamp="$(od -An -tx4 -j "$(( $(od -An -tu4 -j 60 -N4 "$exe") + 8 ))" -N4 "$exe" | tr -d ' ')"
[ "$stamp" = 00000000 ] || fail "the PE header carries a link time (0x$stamp)"

command -v wrestool >/dev/null ||
  { echo "wrestool is missing: apt-get install icoutils (or run scripts/install-deps.sh test)"; exit 1; }
manifest="$(wrestool -x --raw --type=24 --name=1 "$exe" 2>/dev/null | tr -d '\r')" || true
if [ -z "$manifest" ]; then
  fail "no application manifest (resource type 24, id 1)"
else
  has() { grep -qF -- "$1" <<<"$manifest" || fail "manifest lacks $1"; }
  lacks() { ! grep -qiF -- "$1" <<<"$manifest" || fail "manifest must not hold $1"; }
  has '<requestedExecutionLevel level="asInvoker" uiAccess="false"/>'
  for os in 35138b9a-5d96-4fbd-8e2d-a2440225f93a 4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 \
            1f676c76-80e1-4239-95bb-83d0f6d0da78 8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a; do
    has "<supportedOS Id=\"{$os}\"/>"
  done
  lacks 'Microsoft.Windows.Common-Controls'
  lacks 'dpiAware'
fi

if [ $status -eq 0 ]; then
  echo "$exe: PE32 GUI, $size bytes (budget $limit), imports: $(tr '\n' ' ' <<<"$imports")"
  echo "DllCharacteristics: ${flags% }; no link time"
  echo "manifest: asInvoker, uiAccess=false, supportedOS Windows 7/8/8.1/10-11, no common controls 6, no DPI awareness"
fi
exit $status
