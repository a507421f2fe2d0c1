#!/usr/bin/env bash
# Games on this network with a real avahi-daemon, on a D-Bus of its own,
# in network and mount namespaces that the test makes (so neither the
# machine's daemons nor its network take part):
#   1. a program that hosts appears in a second program's "LAN のゲーム"
#      with its name, and disappears when it stops hosting;
#   2. announcements with damaged TXT records (bytes that are not UTF-8, a
#      control character, a value far too long, no name) are listed safely;
#   3. of 101 announcements (the three damaged ones and 98 more), one more
#      than the list shows, 100 are listed.
#
#   lan_games_namespace_test.sh PROBE
#
# Exit status 77 (skipped) without root, unshare, avahi-daemon or dbus-daemon.
set -u
probe=$1
source "$(dirname "$0")/netns_common.sh"

if [ "${VEXA_IN_NAMESPACE:-}" != 1 ]; then
  require_root_and_tools unshare avahi-daemon avahi-publish dbus-daemon
  require_mount_namespace
  # The rest runs in namespaces of its own: its own /run (the bus and the
  # daemon's socket) and its own network.
  VEXA_IN_NAMESPACE=1 exec unshare --net --mount --fork -- bash "$0" "$@"
fi

mount -t tmpfs tmpfs /run || fail "cannot mount a /run of its own"
mkdir -p /run/dbus /run/avahi-daemon
# Static announcements from a folder of this test's, not the machine's.
mkdir -p "$work/services"
mount --bind "$work/services" /etc/avahi/services || fail "cannot replace /etc/avahi/services"
ip link set lo up
ip link add "${NETNS_PREFIX}a" type veth peer name "${NETNS_PREFIX}b"
ip addr add 10.88.0.1/24 dev "${NETNS_PREFIX}a"
ip link set "${NETNS_PREFIX}a" up
ip link set "${NETNS_PREFIX}b" up
# Its process id, so that the bus ends with the test (a forked bus would
# otherwise keep these namespaces alive).
dbus-daemon --system --fork --nopidfile --print-pid=3 3>"$work/dbus.pid" ||
  fail "dbus-daemon did not start"
avahi-daemon --no-chroot -D >"$work/avahi.log" 2>&1 || fail "avahi-daemon did not start"
stop_daemons() {
  avahi-daemon -k 2>/dev/null
  kill "$(cat "$work/dbus.pid")" 2>/dev/null
  cleanup
}
trap stop_daemons EXIT
wait_until 60 avahi-daemon -c || fail "avahi-daemon is not running"

# A program with "LAN のゲーム" open, printing its list as it changes.
start_browser() {  # LOG
  QT_QPA_PLATFORM=offscreen "$probe" browse 600 >"$1" 2>"$1.err" &
  background_pids+=($!)
  browser_pid=$!
}
# The list's last state in LOG: its count, then its lines.
last_list() { tac "$1" | sed '/^LIST /q' | tac; }
count_is() { last_list "$1" | grep -q "^LIST $2$"; }
list_has() { last_list "$1" | grep -q -- "$2"; }

# 1. A host comes and goes.
start_browser "$work/browse1.log"
wait_until 60 has_line "$work/browse1.log" "^LIST " || fail "the list did not open"
port=$(( 20000 + RANDOM % 20000 * 2 ))  # a namespace of its own: every port is free
QT_QPA_PLATFORM=offscreen "$probe" host "$port" Taro --no-mapping --stop-file "$work/stop" \
  >"$work/host.log" 2>"$work/host.err" &
host_pid=$!
background_pids+=("$host_pid")
wait_until 120 list_has "$work/browse1.log" "^ITEM Taro  .*:$port  (1\.2)$" ||
  fail "the host did not appear in the list"
echo "== while hosting:"; last_list "$work/browse1.log"
touch "$work/stop"
wait "$host_pid" || fail "the host ended with status $?"
wait_until 120 count_is "$work/browse1.log" 0 || fail "the host stayed in the list"
echo "== after hosting:"; last_list "$work/browse1.log"

# 2. Damaged records, listed with what can be read.
long=$(printf 'A%.0s' $(seq 250))
avahi-publish -s "Bytes" _vexa._tcp 40000 $'name=\xff\xfeJiro\x01' "ver=1.2" \
  >"$work/publish1.log" 2>&1 &
background_pids+=($!)
avahi-publish -s "Nameless" _vexa._tcp 40002 "ver" "junk" >"$work/publish2.log" 2>&1 &
background_pids+=($!)
avahi-publish -s "Long" _vexa._tcp 40004 "name=$long" "ver=$long" >"$work/publish3.log" 2>&1 &
background_pids+=($!)
wait_until 120 count_is "$work/browse1.log" 3 || fail "the damaged announcements were not listed"
echo "== damaged records:"; last_list "$work/browse1.log"
list_has "$work/browse1.log" $'^ITEM \uFFFD\uFFFDJiro  .*:40000  (1\\.2)$' ||
  fail "the name that is not UTF-8 is not shown as far as it can be read"
list_has "$work/browse1.log" "^ITEM (名前なし)  .*:40002$" || fail "the record without a name"
list_has "$work/browse1.log" "^ITEM A\{40\}  .*:40004  (A\{40\})$" || fail "the long record is not cut"
kill -0 "$browser_pid" || fail "the browsing program died"

# 3. One game more than the list shows: the three damaged ones are still
# announced, 98 more make 101, and 100 are listed. The test waits until the
# program has been told of all 101, then reads the list of that same
# moment; no time decides.
told=101
flood=$((told - 3))
for i in $(seq "$flood"); do
  cat >"$work/services/game$i.service" <<XML
<?xml version="1.0" standalone='no'?>
<!DOCTYPE service-group SYSTEM "avahi-service.dtd">
<service-group>
  <name>Game $i</name>
  <service><type>_vexa._tcp</type><port>$((41000 + i))</port><txt-record>name=Player$i</txt-record></service>
</service-group>
XML
done
avahi-daemon -r || fail "avahi-daemon did not reload"
start_browser "$work/browse2.log"
flood_seen() { last_list "$work/browse2.log" | sed -n 's/^SEEN //p'; }
all_seen() { [ "$(flood_seen)" -ge "$told" ] 2>/dev/null; }
listed() { last_list "$work/browse2.log" | sed -n 's/^LIST //p'; }
wait_until 270 all_seen ||
  fail "the program was told of $(flood_seen) of $told games; the list reached $(listed)"
[ "$(flood_seen)" -eq "$told" ] || fail "the program was told of $(flood_seen) games, not $told"
count_is "$work/browse2.log" 100 || fail "with all $told games told the list holds $(listed)"
grep -E "^LIST " "$work/browse2.log" | awk '$2 > 100 { bad = 1 } END { exit bad }' ||
  fail "more than 100 games were listed"
echo "== $told announcements: $(last_list "$work/browse2.log" | sed -n 2p)"
echo "PASS"
