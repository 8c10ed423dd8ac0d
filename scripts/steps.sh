# Sourced: runs set-up steps quietly, and loudly when they fail.
#   step "what it does" "how to fix it when it fails" command [args...]
# A step's output is kept; when the step fails, the script ends with its
# exit code after printing what failed, the whole output and the hint, so
# that no failure is silent and nothing a failing step said is lost.
step() {
  local what="$1" hint="$2"
  shift 2
  local log status=0
  log="$(mktemp)"
  "$@" >"$log" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    {
      echo "error: $what failed (exit code $status): $*"
      sed 's/^/  | /' "$log"
      echo "How to fix: $hint"
    } >&2
    rm -f "$log"
    exit "$status"
  fi
  rm -f "$log"
}

# A progress line, named after the script that prints it.
say() { echo "${0##*/}: $*"; }

# Ends the script with a message and a hint when a condition does not hold.
fail() {
  echo "error: $1" >&2
  [ -n "${2:-}" ] && echo "How to fix: $2" >&2
  exit 1
}
