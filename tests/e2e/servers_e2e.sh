#!/usr/bin/env bash
# End-to-end: the panel starts and stops the six servers of a fresh demo tree
# (in a folder whose path has a blank) under Wine, against Wine's real service
# manager, clicked from outside through vrkprobe the way a person does it.
#
#   servers_e2e.sh <source root> <windows build dir> <demo dir>
#
# Checks, in two runs of vrk.exe:
#   1. Each server, from its panel: a click on its start/stop image starts its
#      service; the runtime state file follows within two seconds; the
#      start/stop label reads the stop word, the image's name the stop word
#      and the server's title, and the running indicator shows.
#      A second click stops and removes the service, the key goes back to 0
#      and the label reads the start word. All the while three programs read
#      run.ini (two through the profile functions, one holding it open): no
#      error box, and every read they make finds every key. Then an Apache stop that hangs for
#      12 s (the stand-in's fault file): the window keeps answering and the
#      status poll keeps going meanwhile, and nothing stays busy afterwards.
#      Then the system links: Tasks opens the system's task manager, started
#      by the panel, the folder link the system's explorer on the vrk folder,
#      started by the desktop's shell (with the user's own rights), and
#      Services, Monitor and Policies run no program but the system's console
#      (which Wine does not have). run.ini, hidden from the start, is still
#      hidden. Last, run.ini and settings.ini made links to files outside the
#      tree, each held open by another program: the panel reports that it
#      cannot write them (the poll, and Apache's start recording its PHP
#      version), and the files outside are left as they were.
#   Between the runs, a start while the machine's record names a live panel
#   of another user's session: one message box, in the language of the
#   settings, and nothing else: no window, no file written, no service.
#   2. Autorun with Apache on PHP 5.3 and MySQL 5.6: both registered with the
#      chosen files and running, the exit usable afterwards; then, with every
#      server running and the window minimised, a second start from the same
#      folder: it ends at once with 0, one panel and one window remain, every
#      server still runs, settings.ini is as it was, the first window is
#      restored and in front. Then a close with stop-at-exit and
#      clear-temp-files set, and a start during it: every service stopped
#      and removed, the stopped keys recorded, PHP's temporary folder emptied
#      and kept (the ordinary files go, a link to a folder outside stays,
#      and so does all it leads to), the process ended; the start waited for
#      that end before it showed its window, and runs as the panel. Last,
#      that panel killed hard, its record kept: the next start replaces it
#      and runs, and closes with clear-temp-files while tmp\php itself is a
#      link to a folder outside: nothing there is deleted.
#   3. The skin's bg.jpg missing, stop at exit on, Apache left running by an
#      earlier panel: one error box, with the system's reason; the poll runs
#      (Apache stopped and started outside reaches run.ini within two
#      seconds), the captions are set, the information title has its blank
#      before the version, and the close stops and removes Apache.
#   4. Autorun of Apache and FileZilla with wfm_off.ico missing, and of MySQL
#      with no version chosen: one error box, both chosen servers start, and
#      nothing runs for MySQL, above all no program planted at the root of
#      the drive. Then the session ends (wineboot --end-session): the panel
#      stops and removes both servers before it is ended.
# Throughout, the installation root holds programs planted under the names of
# the system's own (sc, net, mmc, taskmgr, explorer; tests/e2e/planted): the
# panel runs with administrator rights, and none of them may ever run.
# Every service that may have been created is removed at the end, also when a
# check fails.
set -uo pipefail
root=${1:?source root}
build=${2:?windows build dir}
demo=${3:?demo dir}

# CTest runs this inside scripts/wine-env; on its own it gets one.
if [ -z "${DISPLAY:-}" ]; then exec "$root/scripts/wine-env" "$0" "$@"; fi

probe_exe=$build/tests/e2e/vrkprobe.exe
check_exe=$build/tests/stubs/stubcheck.exe
reader_exe=$build/tests/windows/inireader.exe
shots=$root/build/screenshots
work=$demo.work
log=$work/wine.log
rm -rf "$work"
mkdir -p "$work" "$shots"

services=("Apache2.2" "MySQL" "postgresql-9.1" "FileZilla Server" "MongoDB" "memcached Server")
run_ini=$demo/vrk/tmp/run.ini
settings=$demo/vrk/config/settings.ini
faults=$demo/vrk/tmp/stub-faults.ini

test_name=servers_e2e
# shellcheck source=e2e_lib.sh
. "$(dirname "$0")/e2e_lib.sh"

# --- the panel's process ----------------------------------------------------------
panel=""
planted_root="" # a program planted at the root of the drive, removed at the end
start_panel() {
  (cd "$demo" && exec "$root/scripts/wine-run" "$demo/vrk.exe" </dev/null >>"$log" 2>&1) &
  panel=$!
  probe wait 90 >/dev/null || abort "the window \"VORLAN Web Server\" did not come up: $(tail -n 3 "$log" | tr '\n' ' ')"
}

cleanup() {
  : >"$work/readers.stop"
  if [ -n "$panel" ] && kill -0 "$panel" 2>/dev/null; then
    probe close >/dev/null 2>&1
    panel_ended 30 || stop_panel_process
  fi
  rm -f "$faults"
  [ -n "$planted_root" ] && rm -f "$planted_root" "$planted_root.ran"
  probe --window "Task Manager" close >/dev/null 2>&1
  probe --window vrk close >/dev/null 2>&1
  local s
  for s in "${services[@]}"; do check clean "$s" >/dev/null || echo "could not remove the service $s"; done
}
trap cleanup EXIT

# --- reading the window --------------------------------------------------------------
snapshot() { probe list >"$work/list.tsv"; }
field() { # field <name> <column>: a column of a control's line in the last snapshot
  awk -F'\t' -v n="$1" -v c="$2" '$1 == n { print $c; found = 1 } END { exit !found }' "$work/list.tsv"
}
picture_is() { local p; p=$(field "$1" 10) && [ "${p%"$2"}" != "$p" ]; }
# looks <conditions...>: every condition holds in the last snapshot; a
# condition is name:visible:<0|1>, name:enabled:<0|1>, name:caption:<text>
# or name:picture:<file>.
looks() {
  local c name what want
  for c in "$@"; do
    name=${c%%:*} what=${c#*:} want=${what#*:} what=${what%%:*}
    case $what in
    visible) [ "$(field "$name" 5)" = "$want" ] || return 1 ;;
    enabled) [ "$(field "$name" 6)" = "$want" ] || return 1 ;;
    caption) [ "$(field "$name" 9)" = "$want" ] || return 1 ;;
    picture) picture_is "$name" "$want" || return 1 ;;
    esac
  done
}
# until_looks <seconds> <conditions...>: until the window looks so; the last
# snapshot stays for the caller's report.
until_looks() {
  local seconds=$1
  shift
  local deadline=$(($(now_ms) + seconds * 1000))
  while :; do
    snapshot
    looks "$@" && return 0
    [ "$(now_ms)" -lt "$deadline" ] || return 1
  done
}
describe() { # describe <names...>: visible/enabled/caption/picture of each, from the last snapshot
  local n
  for n in "$@"; do
    printf '%s(vis=%s en=%s "%s" %s) ' "$n" "$(field "$n" 5)" "$(field "$n" 6)" "$(field "$n" 9)" "$(basename "$(field "$n" 10 | tr '\\' /)")"
  done
}

# --- the runtime state and settings files ----------------------------------------
ini_get() { # ini_get <file> <section> <key>
  tr -d '\r' <"$1" 2>/dev/null | awk -F= -v s="[$2]" -v k="$3" \
    '/^\[/ { in_s = ($0 == s) } in_s && $1 == k { print substr($0, length(k) + 2); found = 1 } END { exit !found }'
}
ini_set() { # ini_set <file> <section> <key> <value>: Windows line ends, the rest kept
  LC_ALL=C awk -v s="[$2]" -v k="$3" -v v="$4" '
    BEGIN { ORS = "\r\n" }
    { sub(/\r$/, "") }
    /^\[/ { if (in_s && !done) { print k "=" v; done = 1 } in_s = ($0 == s) }
    in_s && index($0, k "=") == 1 { if (!done) print k "=" v; done = 1; next }
    { print }
    END { if (!done) { if (!in_s) print s; print k "=" v } }' "$1" >"$1.new" && mv "$1.new" "$1"
}
# key_within <ms> <key> <value>: [servers] key of run.ini reads the value
# within that time from now; waited holds the time it took.
waited=0
key_within() {
  local from
  from=$(now_ms)
  while :; do
    waited=$(($(now_ms) - from))
    [ "$(ini_get "$run_ini" servers "$2")" = "$3" ] && return 0
    [ "$waited" -lt "$1" ] || return 1
    sleep 0.05
  done
}
expect_key() { # expect_key <what> <key> <value>: within two seconds
  if key_within 2000 "$2" "$3"; then
    ok "$1: run.ini [servers] $2=$3 within two seconds (${waited} ms)"
  else
    bad "$1: run.ini [servers] $2=$3 within two seconds (it reads \"$(ini_get "$run_ini" servers "$2")\")"
  fi
}
key_is() { [ "$(ini_get "$run_ini" servers "$1")" = "$2" ]; }

# --- services ---------------------------------------------------------------------
running_within() { check wait "$1" RUNNING "$2" >/dev/null; }
# gone <service>: removed from the service manager (sc query knows it no more)
gone() { check wait "$1" ABSENT 20000 >/dev/null && ! win sc query "$1" >/dev/null; }
fault() { printf '[%s]\r\n%s\r\n' "$1" "$2" >"$faults"; }

# Each planted program records its command line in "<its file>.ran".
nothing_planted_ran() {
  local f ran=""
  for f in "$demo"/*.ran; do [ -e "$f" ] && ran+="$(basename "$f" .ran): $(tr -d '\r' <"$f" | paste -sd' ') "; done
  [ -z "$ran" ] || echo "  planted programs ran: $ran"
  [ -z "$ran" ]
}

no_error_box() {
  local errors
  if ! errors=$(probe errors); then
    echo "  error boxes: $errors"
    return 1
  fi
}

VRK_WINDOWS_BUILD=$build "$root/scripts/make-demo-tree" "$demo" || abort "make-demo-tree failed"
[ -f "$demo/servers/apache/bin/httpd.exe" ] || abort "the demo tree has no stand-ins (build the bundle/stubs targets)"
for p in sc net mmc taskmgr explorer; do
  cp "$build/tests/e2e/planted/$p.exe" "$demo/" || abort "no planted $p.exe (build the planted_$p target)"
done
for s in "${services[@]}"; do check clean "$s" >/dev/null || abort "a service $s is left from before and cannot be removed"; done
R=$(winepath -w "$demo" 2>/dev/null) # the installation root as Windows names it

# Files outside the tree, which no link in it may lead the panel to change.
outside=$work/outside
mkdir -p "$outside/sub"
printf '[servers]\r\nftp=outside\r\n' >"$outside/run.ini"
printf '[vrk]\r\nlanguage=outside\r\n' >"$outside/settings.ini"
echo precious >"$outside/precious.txt"
echo inner >"$outside/sub/inner.txt"
cp -a "$outside" "$work/outside.before"
outside_kept() { diff -r "$outside" "$work/outside.before" >/dev/null; }

# ======================================================================================
echo "== run 1: each server started and stopped from its panel (at ${SECONDS} s)"
# run.ini hidden, as a bundle may ship it: no rewrite makes it visible.
printf '[gui]\r\nversion=0\r\n' >"$run_ini"
win attrib +h "$R\\vrk\\tmp\\run.ini" >/dev/null
hidden() { win attrib "$R\\vrk\\tmp\\run.ini" | grep -q '^[A-Z ]*H'; }
hidden || abort "run.ini could not be made hidden"
start_panel
expect "no error box at start" no_error_box
[ "$(ini_get "$run_ini" servers apache)" = 0 ] || abort "run.ini has no [servers] apache=0 after start-up"

# name | tab | panel | start/stop image | label | running indicator | busy indicator | service | key |
# the server's title in the language, which the image's name ends with
servers_table='FileZilla|imgTabFTP|PanelFTP|imgFTPRunStop|lbl_FTPRunStop|imgFTPRun|ftpGif|FileZilla Server|ftp|FileZilla FTP Server
memcached|imgTabApache|PanelApache|imgMemcacheRunStop|lbl_MemcacheRunStop|-|-|memcached Server|mcache|memcached Server
MySQL|imgTabDB|PanelDB|imgMySQLRunStop|lbl_MySQLRunStop|imgMySQLRun|myGif|MySQL|mysql|MySQL Database
Apache|imgTabApache|PanelApache|imgApacheRunStop|lbl_ApacheRunStop|imgApacheRun|frmGif|Apache2.2|apache|Apache Web Server
PostgreSQL|imgTabDB|PanelDB|imgPgSQLRunStop|lbl_PgSQLRunStop|imgPgSQLRun|pgGif|postgresql-9.1|pgsql|PostgreSQL Database
MongoDB|imgTabDB|PanelDB|imgMongoDBRunStop|lbl_MongoDBRunStop|imgMongoDBRun|mongoGif|MongoDB|mongo|MongoDB Database'

show_panel() { # show_panel <tab> <panel>
  probe click "$1" >/dev/null
  until_looks 10 "$2:visible:1"
}

# start_by_click <row of the table>: shows the server's panel by its tab,
# clicks its start/stop image, and waits until the handler has finished (its
# start/stop picture, caption and indicators set): a click while the handler
# still runs would be ignored.
start_by_click() {
  local name tab pnl image label run gif service key title
  IFS='|' read -r name tab pnl image label run gif service key title <<<"$1"
  expect "$name: its tab $tab shows $pnl" show_panel "$tab" "$pnl"
  probe click "$image" >/dev/null
  if running_within "$service" 20000; then
    ok "$name: a click on $image starts the service \"$service\""
    expect_key "$name" "$key" 1
  else
    bad "$name: a click on $image starts the service \"$service\" (it is $(check state "$service"))"
  fi
  local after=("$image:picture:\\stop.ico" "$label:caption:Stop" "$image:caption:Stop, $title")
  [ "$run" = - ] || after+=("$run:visible:1" "$gif:visible:0")
  if until_looks 10 "${after[@]}"; then
    ok "$name: $label reads \"Stop\", the name of $image \"Stop, $title\"$([ "$run" = - ] || echo ", $run shown")"
  else
    bad "$name: after the start, $(describe "$image" "$label" ${run#-} ${gif#-})"
  fi
}

# stop_by_click <row of the table>: the second click, on the panel shown.
stop_by_click() {
  local name tab pnl image label run gif service key title
  IFS='|' read -r name tab pnl image label run gif service key title <<<"$1"
  probe click "$image" >/dev/null
  if gone "$service"; then
    ok "$name: a second click stops and removes \"$service\" (sc query knows it no more)"
    expect_key "$name" "$key" 0
  else
    bad "$name: a second click stops and removes \"$service\" (it is $(check state "$service"))"
  fi
  local after=("$image:picture:\\run.ico" "$label:caption:Start" "$image:caption:Start, $title")
  [ "$run" = - ] || after+=("$run:visible:0" "$gif:visible:0")
  if until_looks 10 "${after[@]}"; then
    ok "$name: $label reads \"Start\", the name of $image \"Start, $title\"$([ "$run" = - ] || echo ", $run hidden")"
  else
    bad "$name: after the stop, $(describe "$image" "$label" ${run#-} ${gif#-})"
  fi
}

# Other programs read run.ini meanwhile, as they do on users' machines: two
# through the profile functions flat out, one that keeps the file open 300 ms
# at a time. None lets the panel rename a new file over the one it holds.
readers=()
reader_keys="gui/version credit/creator servers/ftp servers/mcache servers/mysql servers/apache servers/pgsql servers/mongo"
W=$(winepath -w "$work" 2>/dev/null)
for mode in "profile" "profile" "hold 300 rw"; do
  n=${#readers[@]}
  # shellcheck disable=SC2086
  "$root/scripts/wine-run" "$reader_exe" ${mode%% *} "$R\\vrk\\tmp\\run.ini" "$W\\readers.stop" "$W\\reader$n.txt" \
    $([ "$mode" = profile ] || echo "${mode#* }") $reader_keys </dev/null >>"$log" 2>&1 &
  readers+=($!)
done

while IFS= read -r row; do
  start_by_click "$row"
  stop_by_click "$row"
done <<<"$servers_table"
expect "no error box after the six starts and stops, with three programs reading run.ini" no_error_box
: >"$work/readers.stop"
for pid in "${readers[@]}"; do wait "$pid"; done
for n in 0 1 2; do
  report=$(cat "$work/reader$n.txt" 2>/dev/null)
  expect "reader $n of run.ini found every key in every read ($report)" \
    eval '[[ $report =~ ^reads=[1-9][0-9]*\ incomplete=0\ failed=0$ ]]'
done
expect "run.ini, rewritten all along, is still hidden" hidden

# --- an Apache stop that hangs ------------------------------------------------------
echo "== run 1: an Apache stop that waits 12 s (at ${SECONDS} s)"
apache_row=$(grep '^Apache|' <<<"$servers_table")
start_by_click "$apache_row"
# memcached registered from outside now, started from outside during the wait.
check exec "\"$R\\servers\\memcached\\memcached.exe\" -d install" >/dev/null
fault httpd "hang=stop:12000"
snapshot
idle=$(now_ms)
snapshot
idle=$(($(now_ms) - idle))
probe click imgApacheRunStop >/dev/null
clicked=$(now_ms)
# The handler waits for "httpd -k stop" now: the busy indicator shows.
expect "the stop is under way: frmGif shown, imgApacheRun hidden, imgTabFTP and imgTabDB disabled" \
  until_looks 3 frmGif:visible:1 imgApacheRun:visible:0 imgTabFTP:enabled:0 imgTabDB:enabled:0
started=$(now_ms)
answered=0
probe wait 2 >/dev/null && answered=1
took=$(($(now_ms) - started))
expect "while the stop waits, the window answers a message within two seconds (${took} ms)" \
  test "$answered" = 1 -a "$took" -le 2000
# A window that does not handle its messages holds every read of a control
# for seconds; the list is measured against the same list when idle.
started=$(now_ms)
snapshot
took=$(($(now_ms) - started))
bound=$((idle * 2 > 2000 ? idle * 2 : 2000))
expect "while the stop waits, a full list takes ${took} ms (${idle} ms when idle; at most ${bound} ms)" \
  test "$took" -le "$bound"
# The poll keeps going: it rewrites a key the test spoils, and follows a server
# that is started from outside meanwhile.
ini_set "$run_ini" servers ftp spoiled
expect_key "while the stop waits, the poll rewrites a spoiled key" ftp 0
check exec "sc start \"memcached Server\"" >/dev/null
# The two seconds count from when the service runs: a loaded machine takes
# its time to bring a service up, which is no fault of the panel's.
running_within "memcached Server" 20000 || bad "memcached, started outside the panel, does not run"
expect_key "while the stop waits, memcached started outside the panel shows" mcache 1
expect "... and lbl_MemcacheRunStop reads \"Stop\"" until_looks 2 lbl_MemcacheRunStop:caption:Stop
expect "... and btnExit is disabled while Apache's handler runs" looks btnExit:enabled:0
expect "all this happened while the stop still waited: Apache2.2 still runs, frmGif still shown" \
  eval '[ "$(check state Apache2.2)" = RUNNING ] && looks frmGif:visible:1'
echo "  (in-wait checks done $(($(now_ms) - clicked)) ms after the click)"
expect "the delayed stop ends: Apache2.2 removed" gone Apache2.2
rm -f "$faults"
if until_looks 10 imgTabFTP:enabled:1 imgTabDB:enabled:1 btnExit:enabled:1 frmGif:visible:0 \
  lbl_ApacheRunStop:caption:Start 'imgApacheRunStop:picture:\run.ico'; then
  ok "afterwards nothing stays busy: imgTabFTP, imgTabDB, btnExit enabled, frmGif hidden, \"Start\""
else
  bad "afterwards: $(describe imgTabFTP imgTabDB btnExit frmGif lbl_ApacheRunStop imgApacheRunStop)"
fi
expect "apache=0 in run.ini" key_within 2000 apache 0
# memcached, started outside, is stopped by its own start/stop image.
stop_by_click "$(grep '^memcached|' <<<"$servers_table")"
expect "no error box after the hanging stop" no_error_box

# --- the system links --------------------------------------------------------------
echo "== run 1: the system links (at ${SECONDS} s)"
probe click imgTaskManager >/dev/null
expect "Tasks opens the system's task manager (a window \"Task Manager\")" probe --window "Task Manager" wait 20
started_by=$(probe --window "Task Manager" parent)
expect "... started by the panel itself, with its rights ($started_by)" test "$started_by" = vrk.exe
probe --window "Task Manager" close >/dev/null
probe click lbl_vrkFolder >/dev/null
expect "the folder link opens the system's explorer on the vrk folder (a window \"vrk\")" probe --window vrk wait 20
started_by=$(probe --window vrk parent)
expect "... started by the desktop's shell, with the user's own rights ($started_by)" test "$started_by" = explorer.exe
probe --window vrk close >/dev/null
for link in lbl_srvmgr imgSystemMonitor lbl_grp_police; do probe click "$link" >/dev/null; done
expect "no error box after the links" no_error_box
expect "run 1: none of the programs planted in the installation root ran" nothing_planted_ran

# --- run.ini and settings.ini made links to files outside ---------------------------
echo "== run 1: run.ini and settings.ini links to files outside, held open (at ${SECONDS} s)"
holders=()
# link_held <file under vrk\> <its path here>: the file becomes a link to the
# file of its name outside, which another program then holds open.
link_held() {
  local n=${#holders[@]}
  cp -p "$2" "$2.real"
  # (renamed into place: the panel may write the file at any moment)
  ln -s "$outside/$(basename "$2")" "$2.link" && mv -T "$2.link" "$2"
  "$root/scripts/wine-run" "$reader_exe" hold "$R\\vrk\\$1" "$W\\holders.stop" "$W\\holder$n.txt" 60000 rw \
    </dev/null >>"$log" 2>&1 &
  holders+=($!)
  for i in $(seq 1 100); do [ "$(cat "$work/holder$n.txt" 2>/dev/null)" = running ] && break; sleep 0.1; done
  sleep 0.5 # the holder opens the file right after it says so
}
# until_reported <text>: an error box shows the text within ten seconds; it
# is closed then. Another box shown first is closed too, and told.
until_reported() {
  local i errors
  for i in $(seq 1 100); do
    errors=$(probe errors) && true
    if [ -n "$errors" ]; then
      probe dismiss >/dev/null
      grep -qxF "$1" <<<"$errors" && return 0
      echo "  another error box: $errors"
    fi
    sleep 0.1
  done
  return 1
}
# Apache's start records its PHP version in settings.ini.
link_held "config\\settings.ini" "$settings"
probe click imgTabApache >/dev/null
probe click imgApacheRunStop >/dev/null
expect "Apache starts" running_within Apache2.2 20000
expect "the panel reports \"Unable to write to $R\\\\vrk\\config\\settings.ini\"" \
  until_reported "Unable to write to $R\\\\vrk\\config\\settings.ini"
# The poll writes run.ini every second.
link_held "tmp\\run.ini" "$run_ini"
expect "the panel reports \"Unable to write to $R\\\\vrk\\tmp\\run.ini\"" \
  until_reported "Unable to write to $R\\\\vrk\\tmp\\run.ini"
expect "... and the files outside are as they were" outside_kept
for pid in "${holders[@]}"; do stop_wrapped "$pid"; wait "$pid" 2>/dev/null; done
for file in "$run_ini" "$settings"; do rm -f "$file" && mv "$file.real" "$file"; done
probe dismiss >/dev/null
expect "with the files back, the poll writes run.ini again" key_within 3000 apache 1
stop_by_click "$(grep '^Apache|' <<<"$servers_table")"
for i in $(seq 1 20); do probe dismiss >/dev/null; no_error_box >/dev/null && break; sleep 0.1; done
expect "no error box left" no_error_box

probe close >/dev/null
if panel_ended 30; then
  ok "run 1: vrk.exe ends when its window is closed"
else
  bad "run 1: vrk.exe ends when its window is closed"
  stop_panel_process
fi

# ======================================================================================
echo "== a start while the panel of another user's session runs (at ${SECONDS} s)"
# Wine runs every process in one session: the probe records itself as the
# panel of another one, in the record's own layout.
"$root/scripts/wine-run" "$probe_exe" record elsewhere 60 </dev/null >>"$log" 2>&1 &
elsewhere=$!
for i in $(seq 1 100); do probe record | grep -q '^processId=[1-9].* state=2 ' && break; sleep 0.1; done
ini_set "$settings" vrk language Deutsch
cp "$settings" "$work/settings.before"
cp "$run_ini" "$work/run.before"
(cd "$demo" && exec "$root/scripts/wine-run" "$demo/vrk.exe" </dev/null >>"$log" 2>&1) &
panel=$!
message=$(ini_get "$demo/vrk/langs/Deutsch.ini" gui PanelInOtherSession)
boxes=""
for i in $(seq 1 100); do boxes=$(probe errors) && sleep 0.1 || break; done
expect "it says so in one message box, in German as the settings ask: \"$boxes\"" test "$boxes" = "$message"
probe --window "VORLAN Web Server" close >/dev/null
if panel_ended 10; then
  ok "... and ends when the box is closed"
else
  bad "... and ends when the box is closed"
  stop_panel_process
fi
expect "... having shown no window of a panel and left no vrk.exe ($(probe panels))" \
  test "$(probe panels)" = "processes=0 windows=0"
expect "... having written neither settings.ini nor run.ini" \
  eval 'cmp -s "$settings" "$work/settings.before" && cmp -s "$run_ini" "$work/run.before"'
stop_wrapped "$elsewhere"
wait "$elsewhere" 2>/dev/null
ini_set "$settings" vrk language English

# ======================================================================================
echo "== run 2: autorun of Apache (PHP 5.3) and MySQL (5.6), close with ssae and ctf (at ${SECONDS} s)"
ini_set "$settings" autorun auto 1
ini_set "$settings" autorun apache 1
ini_set "$settings" autorun php 1
ini_set "$settings" autorun mysqlserv 1
ini_set "$settings" autorun mysql 2
ini_set "$settings" vrk ssae 1
ini_set "$settings" vrk ctf 1
# Only PHP 5.3's configuration file is left: httpd refuses to register with a
# file that is not there, so a running Apache was registered with this one.
rm -f "$demo/config/php/52/httpd-php.conf" "$demo/config/php/54/httpd-php.conf"
[ -f "$demo/config/php/53/httpd-php.conf" ] || abort "the demo tree has no config/php/53/httpd-php.conf"
# PHP's temporary files, for the purge at close.
mkdir -p "$demo/tmp/php/sessions/old"
echo a >"$demo/tmp/php/sess_1"
echo b >"$demo/tmp/php/upload.tmp"
echo c >"$demo/tmp/php/sessions/sess_2"
echo d >"$demo/tmp/php/sessions/old/sess_3"
# A link inside leads to a folder outside: it stays, and so does all it leads to.
ln -s "$outside" "$demo/tmp/php/sub"

start_panel
expect "autorun: Apache2.2 runs" running_within Apache2.2 30000
expect "autorun: MySQL runs" running_within MySQL 30000
config=$(check config MySQL)
echo "  MySQL: $(grep '^path=' <<<"$config")"
expect "autorun: mysqld of MySQL 5.6 is registered" grep -Fq '\servers\mysql\56\bin\mysqld.exe"' <<<"$config"
expect "autorun: ... with the option file ${R}\\config\\mysql\\56\\my.ini" \
  grep -Fq -- "--defaults-file=\"$R\\config\\mysql\\56\\my.ini\"" <<<"$config"
config=$(check config Apache2.2)
echo "  Apache2.2: $(grep '^path=' <<<"$config")"
expect "autorun: httpd.exe of the tree is registered" grep -Fq "\"$R\\servers\\apache\\bin\\httpd.exe\"" <<<"$config"
# After the pass: both handlers done, the choices as the settings asked. The
# two panels are shown once, as a person would look: their controls get their
# windows then.
expect "the Apache panel shows" show_panel imgTabApache PanelApache
expect "the database panel shows" show_panel imgTabDB PanelDB
if until_looks 15 'imgApacheRunStop:picture:\stop.ico' 'imgMySQLRunStop:picture:\stop.ico' \
  imgApacheRun:visible:1 imgMySQLRun:visible:1 frmGif:visible:0 myGif:visible:0; then
  ok "autorun: both servers show as running"
else
  bad "autorun: $(describe imgApacheRunStop imgMySQLRunStop imgApacheRun imgMySQLRun frmGif myGif)"
fi
expect "autorun: PHP 5.3 chosen (rgp_PHPVersions index=1)" test "$(field rgp_PHPVersions 8)" = index=1
expect "autorun: MySQL 5.6 chosen (rgp_MySQLVersions index=2)" test "$(field rgp_MySQLVersions 8)" = index=2
expect "autorun: Apache ran with PHP 5.3: settings.ini [latest] php=1" \
  test "$(ini_get "$settings" latest php)" = 1
expect "autorun: btnExit enabled afterwards" until_looks 5 btnExit:enabled:1
expect "no error box after autorun" no_error_box
screenshot() {
  local rect
  rect=$(probe list | awk -F'\t' 'NR == 1 { split($4, r, ","); printf "%dx%d+%d+%d", r[3], r[4], r[1], r[2] }')
  import -window root -crop "$rect" +repage "$shots/$1" 2>>"$log"
}
screenshot servers-autorun.png

# Every other server too, so that the close has all six to stop.
while IFS= read -r row; do
  case $row in FileZilla\|* | memcached\|* | PostgreSQL\|* | MongoDB\|*) start_by_click "$row" ;; esac
done <<<"$servers_table"

# --- a second start ----------------------------------------------------------------
echo "== run 2: a second start from the same folder (at ${SECONDS} s)"
probe click btnMinimize >/dev/null
for i in $(seq 1 50); do front=$(probe foreground) || break; sleep 0.1; done
expect "btnMinimize minimises the window ($front)" eval '[[ $front == *minimised* ]]'
cp "$settings" "$work/settings.before"
started=$(now_ms)
status=0
(cd "$demo" && exec "$root/scripts/wine-run" "$demo/vrk.exe" </dev/null >>"$log" 2>&1) || status=$?
took=$(($(now_ms) - started))
expect "a second vrk.exe ends with 0 within five seconds (status $status, ${took} ms)" \
  test "$status" = 0 -a "$took" -le 5000
expect "one vrk.exe and one panel window remain ($(probe panels))" test "$(probe panels)" = "processes=1 windows=1"
for s in "${services[@]}"; do
  expect "\"$s\" still runs" eval '[ "$(check state "$s")" = RUNNING ]'
done
expect "settings.ini is as it was" cmp -s "$settings" "$work/settings.before"
for i in $(seq 1 50); do front=$(probe foreground) && break; sleep 0.1; done
expect "the first window is restored and in front${front:+ ($front)}" probe foreground
expect "no error box after the second start" no_error_box

# The start during the close shall not start servers again.
ini_set "$settings" autorun auto 0
probe close >/dev/null
for i in $(seq 1 100); do record=$(probe record) && [[ $record == *" state=3 "* ]] && break; sleep 0.1; done
expect "the close is recorded as begun ($record)" eval '[[ $record == *" state=3 "* ]]'
(cd "$demo" && exec "$root/scripts/wine-run" "$demo/vrk.exe" </dev/null >>"$log" 2>&1) &
third=$!
sole=$(probe sole 60)
expect "a start during the close shows no window until the closing panel has ended ($sole)" test $? = 0
expect "close: vrk.exe ends" panel_ended 60
for s in "${services[@]}"; do
  expect "close: \"$s\" stopped and removed" eval 'check wait "$s" ABSENT 20000 >/dev/null'
done
for k in ftp mongo pgsql mysql apache memcache; do
  if key_is "$k" 0; then
    ok "close: run.ini [servers] $k=0"
  else
    bad "close: run.ini [servers] $k=0 (it reads \"$(ini_get "$run_ini" servers "$k")\"; [servers]:$(tr -d '\r' <"$run_ini" | sed -n '/^\[servers\]/,/^\[/p' | grep = | tr '\n' ' '))"
  fi
done
expect "close: the PHP temporary folder tmp\\php is still there" test -d "$demo/tmp/php"
left=$(find "$demo/tmp/php" -mindepth 1 | sed "s|$demo/||")
expect "close: ... holding only the link tmp\\php\\sub (left: $(echo $left))" test "$(echo $left)" = "tmp/php/sub"
expect "close: ... which still leads outside, where nothing was deleted" \
  eval '[ -L "$demo/tmp/php/sub" ] && outside_kept'

# --- the start that waited, and a panel killed hard ---------------------------------------
panel=$third
expect "the start that waited comes up as the panel" probe wait 90
expect "... the only one ($(probe panels))" test "$(probe panels)" = "processes=1 windows=1"
# Something else keeps the record's memory open, as a start that waits does:
# the record of the panel killed below stays in it. (Run without wine-run,
# whose output comes only at the end: the holder tells when it holds.)
wine "$probe_exe" record hold 60 </dev/null >"$work/holder.out" 2>>"$log" &
holder=$!
for i in $(seq 1 100); do [ -s "$work/holder.out" ] && break; sleep 0.1; done
killed=$(tr -d '\r' <"$work/holder.out")
stop_wrapped "$panel" KILL
panel_ended 10 || abort "the panel could not be killed"
expect "a panel killed hard leaves its record ($killed, now $(probe record))" \
  eval '[[ $killed == *" state=2 "* ]] && [ "$(probe record)" = "$killed" ]'
start_panel
expect "... which does not keep the next start from running as the panel ($(probe record))" \
  eval 'probe record | grep -q " state=2 " && [ "$(probe record)" != "$killed" ]'
expect "no error box in the panel that replaced it" no_error_box
stop_wrapped "$holder"
wait "$holder" 2>/dev/null
# Its close clears the temporary files too: tmp\php is now a link to a folder
# outside, and nothing may be deleted through it.
rm -rf "$demo/tmp/php"
ln -s "$outside" "$demo/tmp/php"
probe close >/dev/null
expect "... and it ends when closed" panel_ended 30
expect "with tmp\\php a link to a folder outside, its close deleted nothing there" outside_kept
rm -f "$demo/tmp/php"
expect "run 2: none of the programs planted in the installation root ran" nothing_planted_ran

# ======================================================================================
echo "== run 3: bg.jpg missing, stop at exit on, Apache left running (at ${SECONDS} s)"
skin=$demo/vrk/skins/default
httpd="\"$R\\servers\\apache\\bin\\httpd.exe\""
check exec "$httpd -k install -f \"$R\\config\\php\\53\\httpd-php.conf\"" >/dev/null
check exec "$httpd -k start" >/dev/null
running_within Apache2.2 20000 || abort "Apache2.2, started outside the panel, does not run"
mv "$skin/bg.jpg" "$work/bg.jpg"
# start_past_box <what the box names>: starts the panel, whose start-up shows
# one error box before the window; box holds its text. The box is closed and
# the window waited for.
box=""
start_past_box() {
  (cd "$demo" && exec "$root/scripts/wine-run" "$demo/vrk.exe" </dev/null >>"$log" 2>&1) &
  panel=$!
  box=""
  for _ in $(seq 1 600); do box=$(probe errors) && sleep 0.1 || break; done
  probe --window "VORLAN Web Server" close >/dev/null
  probe wait 90 >/dev/null || abort "the window did not come up after the box \"$box\""
}
reason() { # reason <code>: the system's text for the error, as one sentence
  local text
  text=$(check message "$1")
  echo "${text%.}"
}
start_past_box
expect "one box, with the system's reason for a missing file: \"$box\"" \
  test "$box" = "Cannot open file \"$R\\\\vrk\\skins\\default\\bg.jpg\". $(reason 2)"
expect "no second box: the start-up went on" no_error_box
check exec "net stop Apache2.2" >/dev/null
expect_key "Apache stopped outside the panel" apache 0
check exec "net start Apache2.2" >/dev/null
running_within Apache2.2 20000 || bad "Apache2.2, started again outside the panel, does not run"
expect_key "Apache started again outside the panel" apache 1
expect "the Apache panel shows" show_panel imgTabApache PanelApache
expect "lbl_ApacheRunStop reads \"Stop\", lbl_MemcacheRunStop \"Start\"" \
  until_looks 5 lbl_ApacheRunStop:caption:Stop lbl_MemcacheRunStop:caption:Start
probe click imgTabVRK >/dev/null
expect "the information title has its blank before the version: \"Control Panel version 1.3.22.0\"" \
  until_looks 5 "lbl_VRKInfo_title:caption:Control Panel version 1.3.22.0"
expect "no error box" no_error_box
probe close >/dev/null
expect "the close ends vrk.exe" panel_ended 60
expect "... having stopped and removed Apache2.2" gone Apache2.2
expect "... and recorded apache=0" key_is apache 0
mv "$work/bg.jpg" "$skin/bg.jpg"

# ======================================================================================
echo "== run 4: autorun with wfm_off.ico missing and no MySQL version, then the session ends (at ${SECONDS} s)"
# No MySQL version chosen ("-1", as the options dialog stores an empty box):
# the register command would name "\mysqld.exe" at the root of the drive the
# panel runs on. A program planted there records any run.
drive_root=$(winepath -u "${R:0:3}" 2>/dev/null)
[ -d "$drive_root" ] || abort "no folder for the drive root ${R:0:3}"
planted_root=${drive_root%/}/mysqld.exe
[ -e "$planted_root" ] && abort "$planted_root is there already"
cp "$build/tests/e2e/planted/sc.exe" "$planted_root" || abort "cannot plant $planted_root"
ini_set "$settings" autorun auto 1
ini_set "$settings" autorun ftp 1
ini_set "$settings" autorun mysql -1
mv "$skin/wfm_off.ico" "$work/wfm_off.ico"
start_past_box
expect "one box, for wfm_off.ico: \"$box\"" eval '[[ $box == *"wfm_off.ico\". "* ]]'
expect "autorun: Apache2.2 runs" running_within Apache2.2 30000
expect "autorun: FileZilla Server runs" running_within "FileZilla Server" 30000
expect "the pass ends: btnExit enabled" until_looks 30 btnExit:enabled:1
expect "MySQL, with no version, was not registered" test "$(check state MySQL)" = ABSENT
expect "nothing ran from the drive's root ($planted_root)" test ! -e "$planted_root.ran"
expect "no second box" no_error_box
# The session ends: Wine's wineboot sends the session-end messages to every
# window, waits for each program's answer, and ends the program as soon as
# its main window has answered.
started=$(now_ms)
wineboot --end-session </dev/null >>"$log" 2>&1
echo "  (wineboot --end-session took $(($(now_ms) - started)) ms)"
expect "at the end of the session vrk.exe is ended" panel_ended 30
for s in Apache2.2 "FileZilla Server"; do
  expect "... having stopped and removed \"$s\"" gone "$s"
done
expect "... and recorded apache=0 and ftp=0" eval 'key_is apache 0 && key_is ftp 0'
# Wine's own background programs (its desktop among them) went with the
# session; they start again here, away from the test's output.
wine cmd /c exit </dev/null >/dev/null 2>&1
mv "$work/wfm_off.ico" "$skin/wfm_off.ico"
expect "run 3 and 4: none of the programs planted in the installation root ran" nothing_planted_ran
rm -f "$planted_root" "$planted_root.ran"

echo "$passed passed, $failed failed (in ${SECONDS} s)"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
