#!/usr/bin/env bash
# End-to-end test of the server stand-ins under Wine, against Wine's real
# service manager:
#   stubs_e2e.sh <build folder of bundle/stubs> <stubcheck.exe>
# Lays a demo tree in a folder whose path has a blank and letters of no 8-bit
# code page (Cyrillic, Chinese), then for each of the six servers registers,
# starts, stops and removes its service with the command lines the panel
# runs (program paths quoted), and makes the stand-ins misbehave through
# their fault file. Every service it may have
# created is removed at the end, also when a check fails. Run inside
# scripts/wine-env (the CTest run of the Windows build is).
set -uo pipefail

here=$(cd "$(dirname "$0")/../.." && pwd)
stubs=${1:?usage: stubs_e2e.sh <stubs build folder> <stubcheck.exe>}
check_exe=${2:?usage: stubs_e2e.sh <stubs build folder> <stubcheck.exe>}

services=("Apache2.2" "MySQL" "postgresql-9.1" "FileZilla Server" "MongoDB" "memcached Server")

tmp=$(mktemp -d)
tree="$tmp/Сервер 测试/demo root"
faults="$tree/vrk/tmp/stub-faults.ini"

win() { "$here/scripts/wine-run" "$@" 2>&1 | tr -d '\r'; return "${PIPESTATUS[0]}"; }
check() { win "$check_exe" "$@"; }

cleanup() {
  rm -f "$faults"
  local s
  for s in "${services[@]}"; do check clean "$s" >/dev/null || echo "could not remove the service $s"; done
  rm -rf "$tmp"
}
trap cleanup EXIT

passed=0
failed=0
ok() { passed=$((passed + 1)); echo "ok   $*"; }
bad() { failed=$((failed + 1)); echo "FAIL $*"; }
expect() { # expect <what> <command...>: the command succeeds
  local what=$1; shift
  if "$@"; then ok "$what"; else bad "$what"; fi
}

# run <command line>: runs the line exactly as written, as the panel's
# ExecAndWait does; sets out (its output) and code (its full exit code).
out="" code=""
run() {
  out=$(check exec "$1")
  code=$(sed -n 's/^\[exit \(0x[0-9a-f]*\)\]$/\1/p' <<<"$out")
  printf '  > %s\n' "$1"
  sed 's/^/    /' <<<"$out"
}
exits() { [ "$code" = "$1" ]; }
fault() { printf '[%s]\r\n%s\r\n' "$1" "$2" >"$faults"; }
nofault() { rm -f "$faults"; }
state_is() { [ "$(check state "$1")" = "$2" ]; }
sc_state_is() { win sc query "$1" | grep -Eq "STATE +: [0-9]+ +$2\$"; }
gone() { check wait "$1" ABSENT 10000 >/dev/null && ! win sc query "$1" >/dev/null; }
path_has() { check config "$1" | grep -Fq -- "$2"; }

# The tree: the stand-ins and configuration files from install-stubs, and
# the panel's vrk\tmp folder, which also marks the root for the fault file.
mkdir -p "$tree/vrk/tmp"
if ! "$here/scripts/install-stubs" "$stubs" "$tree"; then
  echo "FAIL install-stubs"
  exit 1
fi
for s in "${services[@]}"; do check clean "$s" >/dev/null; done

# R: the installation root as the panel forms it, with its trailing separator.
R="$(winepath -w "$tree")\\"
httpd="\"${R}\\servers\\apache\\bin\\httpd.exe\""
conf53="\"${R}\\config\\php\\53\\httpd-php.conf\""
mysqld55="\"${R}\\servers\\mysql\\55\\bin\\mysqld.exe\""
pgctl="\"${R}\\servers\\pgsql\\91\\bin\\pg_ctl.exe\""
pgdata="\"${R}\\data\\pgsql\""
ftp="\"${R}\\servers\\ftp\\FileZillaServer.exe\""
mongod="\"${R}\\servers\\mongo\\bin\\mongod.exe\""
mongoconf="\"${R}\\config\\mongo\\mongo.conf\""
mongorepair="\"${R}\\tmp\\mongo\""
memcached="\"${R}\\servers\\memcached\\memcached.exe\""
# The programs' own paths, as they name themselves in the services they
# register (the system gives them without the doubled separator).
own() { printf '"%s\\%s"' "$(winepath -w "$tree")" "$1"; }

echo "== Apache: httpd -k install / start / stop / uninstall"
run "$httpd -k install -f \"${R}\\config\\php\\59\\httpd-php.conf\""
expect "install with a missing configuration file fails" exits 0x00000001
expect "... and installs nothing" state_is "Apache2.2" ABSENT
run "$httpd -k install -f \"\""
expect "install with an empty configuration path fails" exits 0x00000001
run "$httpd -k start"
expect "start of a service that is not installed fails" exits 0x00000001
run "$httpd -k install -f $conf53"
expect "install exits 0" exits 0x00000000
expect "sc query shows Apache2.2 stopped" sc_state_is "Apache2.2" STOPPED
expect "the service runs httpd.exe -k runservice from the tree" \
  path_has "Apache2.2" "$(own 'servers\apache\bin\httpd.exe') -k runservice"
expect "demand start" path_has "Apache2.2" "start=DEMAND"
run "$httpd -k install -f $conf53"
expect "a second install fails" exits 0x00000001
expect "... and keeps the service" sc_state_is "Apache2.2" STOPPED
run "$httpd -k stop"
expect "stop of a stopped service fails" exits 0x00000001
run "$httpd -k start"
expect "start exits 0" exits 0x00000000
expect "Apache2.2 is running" check wait "Apache2.2" RUNNING 10000
expect "it answers INTERROGATE as running" eval '[ "$(check interrogate "Apache2.2")" = RUNNING ]'
run "$httpd -k start"
expect "a second start fails" exits 0x00000001
run "$httpd -k stop"
expect "stop exits 0" exits 0x00000000
expect "Apache2.2 has stopped" check wait "Apache2.2" STOPPED 10000
run "$httpd -k uninstall"
expect "uninstall exits 0" exits 0x00000000
expect "Apache2.2 is gone" gone "Apache2.2"
run "$httpd -k uninstall"
expect "uninstall of a service that is not installed fails" exits 0x00000001

echo "== MySQL: mysqld --install, sc start, NET STOP, sc delete"
run "$mysqld55 --install MySQL --defaults-file=\"${R}config\\mysql\\55\\my.ini\""
expect "install exits 0" exits 0x00000000
expect "sc query shows MySQL stopped" sc_state_is "MySQL" STOPPED
expect "the service keeps the option file" \
  path_has "MySQL" "--defaults-file=\"${R}config\\mysql\\55\\my.ini\""
expect "the service runs mysqld.exe of 5.5 as the service MySQL" \
  path_has "MySQL" "$(own 'servers\mysql\55\bin\mysqld.exe') --defaults-file="
run "$mysqld55 --install MySQL --defaults-file=\"${R}config\\mysql\\55\\my.ini\""
expect "a second install fails" exits 0x00000001
expect "sc start MySQL" win sc start "MySQL"
expect "MySQL is running" check wait "MySQL" RUNNING 10000
expect "NET STOP MySQL" win net stop MySQL
expect "MySQL has stopped" check wait "MySQL" STOPPED 10000
expect "sc delete MySQL" win sc delete "MySQL"
expect "MySQL is gone" gone "MySQL"

echo "== PostgreSQL: pg_ctl register, NET START, NET STOP, pg_ctl unregister"
run "$pgctl register -N \"postgresql-9.1\" -D $pgdata"
expect "register exits 0" exits 0x00000000
expect "sc query shows postgresql-9.1 stopped" sc_state_is "postgresql-9.1" STOPPED
expect "the service keeps its name and data folder" \
  path_has "postgresql-9.1" "$(own 'servers\pgsql\91\bin\pg_ctl.exe') runservice -N \"postgresql-9.1\" -D $pgdata"
expect "NET START postgresql-9.1" win net start postgresql-9.1
expect "postgresql-9.1 is running" check wait "postgresql-9.1" RUNNING 10000
expect "NET STOP postgresql-9.1" win net stop postgresql-9.1
expect "postgresql-9.1 has stopped" check wait "postgresql-9.1" STOPPED 10000
run "$pgctl unregister -N \"postgresql-9.1\""
expect "unregister exits 0" exits 0x00000000
expect "postgresql-9.1 is gone" gone "postgresql-9.1"

echo "== FileZilla: /install auto, /start, /stop, sc delete"
run "$ftp /install auto"
expect "install exits 0" exits 0x00000000
expect "sc query shows FileZilla Server stopped" sc_state_is "FileZilla Server" STOPPED
expect "automatic start" path_has "FileZilla Server" "start=AUTO"
run "$ftp /start"
expect "start exits 0" exits 0x00000000
expect "FileZilla Server is running" check wait "FileZilla Server" RUNNING 10000
run "$ftp /stop"
expect "stop exits 0" exits 0x00000000
expect "FileZilla Server has stopped" check wait "FileZilla Server" STOPPED 10000
expect "sc delete \"FileZilla Server\"" win sc delete "FileZilla Server"
expect "FileZilla Server is gone" gone "FileZilla Server"

echo "== MongoDB: mongod --install, sc start, NET STOP, sc delete"
run "$mongod --config \"${R}\\config\\mongo\\missing.conf\" --repairpath $mongorepair --directoryperdb --install"
expect "install with a missing configuration file fails" exits 0x00000001
expect "... and installs nothing" state_is "MongoDB" ABSENT
run "$mongod --config $mongoconf --repairpath $mongorepair --directoryperdb --install"
expect "install exits 0" exits 0x00000000
expect "sc query shows MongoDB stopped" sc_state_is "MongoDB" STOPPED
expect "the service keeps the configuration and repair folder" \
  path_has "MongoDB" "$(own 'servers\mongo\bin\mongod.exe') --config $mongoconf --repairpath $mongorepair --directoryperdb"
expect "sc start MongoDB" win sc start "MongoDB"
expect "MongoDB is running" check wait "MongoDB" RUNNING 10000
expect "NET STOP MongoDB" win net stop MongoDB
expect "MongoDB has stopped" check wait "MongoDB" STOPPED 10000
expect "sc delete MongoDB" win sc delete "MongoDB"
expect "MongoDB is gone" gone "MongoDB"

echo "== memcached: -d install, sc start, NET STOP \"memcached Server\", sc delete"
run "$memcached -d install"
expect "install exits 0" exits 0x00000000
expect "sc query shows memcached Server stopped" sc_state_is "memcached Server" STOPPED
expect "sc start \"memcached Server\"" win sc start "memcached Server"
expect "memcached Server is running" check wait "memcached Server" RUNNING 10000
expect "NET STOP \"memcached Server\"" win net stop "memcached Server"
expect "memcached Server has stopped" check wait "memcached Server" STOPPED 10000
expect "sc delete \"memcached Server\"" win sc delete "memcached Server"
expect "memcached Server is gone" gone "memcached Server"

echo "== Faults of the commands"
run "$httpd -k install -f $conf53"
fault httpd "fail=start"
run "$httpd -k start"
expect "fail=start: the start exits 1" exits 0x00000001
expect "... and leaves the service stopped" state_is "Apache2.2" STOPPED
nofault
run "$httpd -k start"
expect "without the fault the start works again" exits 0x00000000
expect "Apache2.2 is running" check wait "Apache2.2" RUNNING 10000
fault httpd "hang=stop:6000"
"$here/scripts/wine-run" "$check_exe" exec "$httpd -k stop" >"$tmp/stop.out" 2>&1 &
stopper=$!
# The stop command sleeps before it asks the service to stop: for a second
# after the stop was launched the service must still be running. The sleep
# is long so that a busy machine, slow to start the watching process, cannot
# let the stop overtake it.
expect "hang=stop:6000: the service still runs a second after the stop began" \
  eval '! check wait "Apache2.2" STOPPED 1000 >/dev/null'
wait "$stopper"
expect "... and the delayed stop exits 0" grep -q 'exit 0x00000000' "$tmp/stop.out"
expect "... and the service has stopped" state_is "Apache2.2" STOPPED
nofault
run "$httpd -k uninstall"

fault pg_ctl "fail=register"
run "$pgctl register -N \"postgresql-9.1\" -D $pgdata"
expect "fail=register: pg_ctl register exits 1" exits 0x00000001
expect "... and registers nothing" state_is "postgresql-9.1" ABSENT
fault memcached "crash=install"
run "$memcached -d install"
expect "crash=install: memcached dies of an access violation" exits 0xc0000005
expect "... and installs nothing" state_is "memcached Server" ABSENT
nofault

echo "== Faults of the service process"
run "$mongod --config $mongoconf --repairpath $mongorepair --directoryperdb --install"
fault mongod "pending=start"
win sc start "MongoDB" >/dev/null
expect "pending=start: MongoDB is starting" check wait "MongoDB" START_PENDING 10000
expect "... and does not get to running" eval '! check wait "MongoDB" RUNNING 1500 >/dev/null'
expect "... until its process is ended" check clean "MongoDB"
nofault

# The service process reads the fault file when it starts.
run "$ftp /install auto"
fault FileZillaServer "pending=stop"
run "$ftp /start"
run "$ftp /stop"
expect "pending=stop: /stop gives up and exits 1" exits 0x00000001
expect "... with the service left stopping" state_is "FileZilla Server" STOP_PENDING
expect "... until its process is ended" check clean "FileZilla Server"
nofault

run "$memcached -d install"
fault memcached "service_crash=1"
win sc start "memcached Server" >/dev/null
expect "service_crash=1: memcached Server ends stopped" check wait "memcached Server" STOPPED 10000
expect "... with exit code 1067 (process aborted)" eval 'win sc query "memcached Server" | grep -q "WIN32_EXIT_CODE *: 1067"'
nofault
expect "... and starts again once the fault is gone" win sc start "memcached Server"
expect "memcached Server is running" check wait "memcached Server" RUNNING 10000
win net stop "memcached Server" >/dev/null
check wait "memcached Server" STOPPED 10000 >/dev/null
win sc delete "memcached Server" >/dev/null

echo "== Version resources and administration windows"
version_is() { # version_is <file below the tree> <line>
  check version "$(winepath -w "$tree/$1")" | grep -Fxq -- "$2"
}
expect "httpd.exe: Apache 2.2.25" version_is servers/apache/bin/httpd.exe "ProductVersion=2.2.25"
expect "ssleay32.dll: OpenSSL 0.9.8y" version_is servers/apache/bin/ssleay32.dll "ProductVersion=0.9.8y"
expect "perl.exe: fixed block 5.16.3.1" version_is servers/perl/bin/perl.exe "fixed=5.16.3.1"
expect "php.exe of 5.2" version_is servers/php/52/php.exe "ProductVersion=5.2.17"
expect "php.exe of 5.3" version_is servers/php/53/php.exe "ProductVersion=5.3.27"
expect "php.exe of 5.4" version_is servers/php/54/php.exe "ProductVersion=5.4.19"
expect "mysql.exe of 5.5" version_is servers/mysql/55/bin/mysql.exe "ProductVersion=5.5.33"
expect "mysql.exe of 5.6" version_is servers/mysql/56/bin/mysql.exe "ProductVersion=5.6.13"
expect "pg_ctl.exe: PostgreSQL 9.1.9" version_is servers/pgsql/91/bin/pg_ctl.exe "ProductVersion=9.1.9"
expect "FileZillaServer.exe: fixed block 0.9.41.0" version_is servers/ftp/FileZillaServer.exe "fixed=0.9.41.0"
expect "pgAdmin3.exe opens its window and closes on WM_CLOSE" \
  check window "\"${R}\\servers\\pgsql\\91\\bin\\pgAdmin3.exe\"" "pgAdmin III (demo)"
expect "FileZillaServerInterface.exe opens its window and closes on WM_CLOSE" \
  check window "\"${R}\\servers\\ftp\\FileZillaServerInterface.exe\"" "FileZilla Server Interface (demo)"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
