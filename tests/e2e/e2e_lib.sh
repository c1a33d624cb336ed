# Helpers of the end-to-end scripts, sourced after they have set root,
# build, work, log, probe_exe, check_exe and test_name.

passed=0
failed=0
ok() { passed=$((passed + 1)); echo "ok   $*"; }
bad() { failed=$((failed + 1)); echo "FAIL $*"; }
expect() { # expect <what> <command...>: the command succeeds
  local what=$1
  shift
  if "$@"; then ok "$what"; else bad "$what"; fi
}
abort() {
  echo "$test_name: FAIL: $*" >&2
  exit 1
}

# Wine's daemons must not inherit an output pipe of CTest: every Windows
# program reads nothing and writes to a file.
win() { # win <program> <args...>: its output, line ends made Unix ones
  local status=0
  "$root/scripts/wine-run" "$@" </dev/null >"$work/win.out" 2>>"$log" || status=$?
  tr -d '\r' <"$work/win.out"
  return $status
}
probe() { win "$probe_exe" "$@"; }
check() { win "$check_exe" "$@"; }

now_ms() { echo $(($(date +%s%N) / 1000000)); }

for f in "$build/app/vrk.exe" "$probe_exe" "$check_exe"; do
  [ -f "$f" ] || abort "$f is missing (build the vrk, vrkprobe and stub_check targets)"
done

# --- the panel's process (its wrapper's pid in $panel) ---------------------------
panel_ended() { # panel_ended <seconds>: the process has ended within that time
  local i
  for i in $(seq 1 $(($1 * 10))); do
    kill -0 "$panel" 2>/dev/null || { wait "$panel" 2>/dev/null; return 0; }
    sleep 0.1
  done
  return 1
}

# Ends a Windows program started in the background through wine-run: the
# program runs as the child of its wrapper, which alone would leave it running.
stop_wrapped() { # stop_wrapped <wrapper pid> [signal]
  local child
  for child in $(ps -o pid= --ppid "$1" 2>/dev/null); do kill "-${2:-TERM}" "$child" 2>/dev/null; done
  kill "$1" 2>/dev/null
}

# The last resort for the panel.
stop_panel_process() { stop_wrapped "$panel"; }
