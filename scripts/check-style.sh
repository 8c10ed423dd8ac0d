#!/usr/bin/env bash
# Checks what STYLE.md asks of the code's layers and layout, and fails,
# naming each file and line, when something breaks it:
#   1. nothing outside app/ includes app/ (the dialog is the top layer);
#   2. portable code includes no Win32 header and nothing of system/;
#   3. files, the registry, processes, the shell, the environment,
#      libraries, text conversions and the clock are reached through
#      system/ only: app/, the dialog, calls the user-interface API itself
#      (windows, dialogs, boxes, menus, fonts, the keyboard) and nothing
#      else (portable code reaches no Win32 API at all, by rule 2);
#   4. clang-format (Debian 12's, version 14, with .clang-format) finds
#      nothing to change in the C/C++ sources.
#   scripts/check-style.sh             checks the tree's tracked files
#   scripts/check-style.sh FILE...     checks these files only
# The test command runs it as the CTest entry "style".
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

# The portable folders: built natively as well, free of the platform. A
# folder that does not exist yet is simply not there to check.
portable=(generator sitecheck mediatools utils settings siteupdate upload)
# The program's Windows folders; together with the portable ones, the
# folders whose layering is checked (tests may reach every layer).
windows=(system app)

# Files that clang-format does not check yet: they are being rewritten on
# other branches and are laid out in one run once those have landed.
# Remove an entry when its files are formatted.
format_pending=()

win32_headers='windows|win[a-z0-9_]*|sh[a-z]*|commctrl|commdlg|objbase|ole2|tlhelp32|psapi|bcrypt|ncrypt|sspi|schannel|security|ws2tcpip|wincrypt|dpapi|mmsystem|lmcons|versionhelpers'
# The calls that belong to system/, by family; A/W and Ex variants too.
system_calls=(
  # files and folders
  CreateFile ReadFile WriteFile DeleteFile MoveFile CopyFile ReplaceFile FindFirstFile
  FindNextFile FindClose GetFileAttributes SetFileAttributes CreateDirectory RemoveDirectory
  GetTempPath GetTempFileName FlushFileBuffers SetEndOfFile GetFileSize SetFilePointer
  GetFullPathName GetCurrentDirectory SetCurrentDirectory GetDiskFreeSpace CloseHandle
  # registry
  'Reg[A-Z][A-Za-z]*'
  # processes and threads
  CreateProcess ShellExecute WinExec ExitProcess TerminateProcess OpenProcess
  GetExitCodeProcess WaitForSingleObject WaitForMultipleObjects CreateThread
  # shell and environment
  'SH[A-Z][A-Za-z]*' 'Shell_[A-Za-z]*' ExpandEnvironmentStrings GetEnvironmentVariable
  SetEnvironmentVariable GetCommandLine
  # libraries, text conversions, clock
  LoadLibrary GetProcAddress FreeLibrary MultiByteToWideChar WideCharToMultiByte GetLocalTime
  GetSystemTime GetDateFormat GetTimeFormat
  # network and security
  'WSA[A-Z][A-Za-z]*' 'Crypt[A-Z][A-Za-z]*' 'Cert[A-Z][A-Za-z]*' 'BCrypt[A-Z][A-Za-z]*'
  AcquireCredentialsHandle InitializeSecurityContext EncryptMessage DecryptMessage
)
# A free call: not a member of the program's own classes (files.ReadFile).
system_call_pattern="(^|[^.>[:alnum:]_])($(IFS='|'; echo "${system_calls[*]}"))(Ex)?[AW]?[[:space:]]*\\("

if [ $# -gt 0 ]; then
  files=("$@")
elif git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files)
else
  # A copy without git (a fresh machine's clone has no git to ask).
  mapfile -t files < <(find . -path ./build -prune -o -name node_modules -prune -o -name .git \
                         -prune -o -type f -print | sed 's|^\./||' | sort)
fi

failures=0
report() {  # report FILE LINE WHAT
  echo "$1:$2: $3" >&2
  failures=$((failures + 1))
}

in_folders() {  # in_folders FILE FOLDER... : whether FILE lies in one of them
  local file="$1" folder
  shift
  for folder in "$@"; do [[ "$file" == "$folder"/* ]] && return 0; done
  return 1
}

# Lines of a source file without its // comments, string and character
# literals, numbered as in the file.
code_lines() {
  sed -E "s/'([^'\\\\]|\\\\.)*'/''/g; s/\"([^\"\\\\]|\\\\.)*\"/\"\"/g; s|//.*$||" "$1" | grep -n ''
}

sources=()
for file in "${files[@]}"; do
  [ -f "$file" ] || continue  # deleted, not yet committed
  case "$file" in *.cpp | *.h | *.cc | *.c) sources+=("$file") ;; *) continue ;; esac
  in_folders "$file" "${portable[@]}" "${windows[@]}" || continue

  if ! in_folders "$file" app; then
    while IFS=: read -r line _; do
      report "$file" "$line" "includes app/: nothing below the dialog may (STYLE.md, Layers)"
    done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"app/' "$file" || true)
  fi
  if in_folders "$file" "${portable[@]}"; then
    while IFS=: read -r line _; do
      report "$file" "$line" "portable code includes a Win32 header or system/: keep the platform in system/"
    done < <(grep -niE "^[[:space:]]*#[[:space:]]*include[[:space:]]*(<($win32_headers)\\.h>|\"system/)" \
               "$file" || true)
  fi
  if in_folders "$file" "${windows[@]}" && ! in_folders "$file" system; then
    while IFS=: read -r line text; do
      call="$(grep -oE "$system_call_pattern" <<<"$text" | head -1 | tr -d '( \t' | sed 's/^[^A-Za-z]*//')"
      report "$file" "$line" "calls $call outside system/: give system/ a function for it (app/ calls the user-interface API only)"
    done < <(code_lines "$file" | grep -E "^[0-9]+:.*$system_call_pattern" || true)
  fi
done

# The layout: every C/C++ source clang-format would leave as it is.
clang_format="$(command -v clang-format-14 || command -v clang-format || true)"
if [ -z "$clang_format" ]; then
  report "clang-format" 0 "not installed: scripts/install-deps.sh test installs it (package clang-format)"
else
  checked=()
  for file in "${sources[@]}"; do
    pending=
    for prefix in "${format_pending[@]}"; do [[ "$file" == "$prefix"* ]] && pending=1; done
    [ -n "$pending" ] || checked+=("$file")
  done
  # clang-format names each place as file:line:column: warning: ...; a
  # line is reported once.
  previous=
  while IFS= read -r message; do
    [[ "$message" =~ ^([^:]+):([0-9]+):[0-9]+:\ (warning|error): ]] || continue
    [ "$previous" = "${BASH_REMATCH[1]}:${BASH_REMATCH[2]}" ] && continue
    previous="${BASH_REMATCH[1]}:${BASH_REMATCH[2]}"
    report "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}" \
      "not laid out as .clang-format says: run ${clang_format##*/} -i ${BASH_REMATCH[1]}"
  done < <("$clang_format" --dry-run --Werror "${checked[@]}" 2>&1 || true)
fi

if [ "$failures" -gt 0 ]; then
  echo "check-style: $failures place(s) break STYLE.md (see above)" >&2
  exit 1
fi
echo "check-style: ${#sources[@]} C/C++ files follow the layering and the layout"
