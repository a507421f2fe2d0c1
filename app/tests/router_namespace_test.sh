#!/usr/bin/env bash
# The router's ports with a real gateway: Debian's miniupnpd (UPnP IGD and
# NAT-PMP) in a "router" namespace between a "lan" and a "wan" namespace.
#   1. A program in "lan" hosts: its waiting dialog names the router's
#      external address and port, `upnpc -l` lists the two mappings with the
#      program's description, vexa-bot in "wan" joins by the invitation link
#      through the mapped port and plays a game, and once hosting has ended
#      the mappings are gone. A port taken on the router gives the next
#      pair, told in the dialog, and a program that quits while hosting
#      removes its mapping.
#   2. With a lease of a few seconds the mapping stays through several
#      leases while the program hosts, renewed, and is gone once hosting
#      has ended.
#   3. With the daemon stopped the dialog says, within the timeout, that
#      the ports must be forwarded by hand.
#
#   router_namespace_test.sh PROBE VEXA_BOT
#
# Exit status 77 (skipped) without root, ip netns, miniupnpd or upnpc.
set -u
probe=$1 bot=$2
source "$(dirname "$0")/netns_common.sh"
require_root_and_tools miniupnpd upnpc nft

lan=${NETNS_PREFIX}lan router=${NETNS_PREFIX}rtr wan=${NETNS_PREFIX}wan
make_namespace "$lan"
make_namespace "$router"
make_namespace "$wan"
lan_if=${NETNS_PREFIX}l wan_if=${NETNS_PREFIX}w
ip link add "${lan_if}a" netns "$lan" type veth peer name "${lan_if}b" netns "$router"
ip link add "${wan_if}a" netns "$router" type veth peer name "${wan_if}b" netns "$wan"
ip -n "$lan" addr add 10.77.1.2/24 dev "${lan_if}a"
ip -n "$lan" link set "${lan_if}a" up
ip -n "$lan" route add default via 10.77.1.1
ip -n "$router" addr add 10.77.1.1/24 dev "${lan_if}b"
ip -n "$router" link set "${lan_if}b" up
# miniupnpd refuses a private external address: one from the public range,
# which exists only inside these namespaces.
ip -n "$router" addr add 11.0.0.1/24 dev "${wan_if}a"
ip -n "$router" link set "${wan_if}a" up
ip -n "$wan" addr add 11.0.0.2/24 dev "${wan_if}b"
ip -n "$wan" link set "${wan_if}b" up
ip netns exec "$router" sysctl -qw net.ipv4.ip_forward=1

# The tables Debian's nft_init.sh would make (it fails on a missing file).
tables_refused() { fail "nft did not load the router's tables: $(cat "$work/nft.err")"; }
ip netns exec "$router" nft -f - 2>"$work/nft.err" <<NFT || tables_refused
table inet filter {
  chain miniupnpd {
  }
  chain forward {
    type filter hook forward priority 0; policy accept;
    jump miniupnpd
  }
  chain prerouting_miniupnpd {
    type nat hook prerouting priority -100; policy accept;
  }
  chain postrouting_miniupnpd {
    type nat hook postrouting priority 100; policy accept;
  }
}
table ip nat {
  chain postrouting {
    type nat hook postrouting priority 110; policy accept;
    oifname "${wan_if}a" masquerade
  }
}
NFT
cat >"$work/miniupnpd.conf" <<CONF
ext_ifname=${wan_if}a
listening_ip=${lan_if}b
port=5000
enable_natpmp=yes
enable_upnp=yes
# Off, so that the test can map a port for another machine of the lan.
secure_mode=no
system_uptime=yes
allow 1024-65535 10.77.1.0/24 1024-65535
deny 0-65535 0.0.0.0/0 0-65535
CONF
ip netns exec "$router" miniupnpd -f "$work/miniupnpd.conf" -d -4 -P "$work/miniupnpd.pid" \
  >"$work/miniupnpd.log" 2>&1 &
daemon_pid=$!
background_pids+=("$daemon_pid")

mappings() { ip netns exec "$lan" upnpc -l 2>&1; }
gateway_answers() { mappings | grep -q "ExternalIPAddress = 11.0.0.1"; }
wait_until 20 gateway_answers || fail "upnpc in lan never saw the gateway"

# The namespaces are new: nothing listens there, any port is free. A
# random one still keeps two runs' logs apart.
port=$(( 20000 + RANDOM % 20000 * 2 ))
echo "== the daemon's mappings before hosting (upnpc -l):"
mappings | grep -E "^ *[0-9]+ (TCP|UDP)|ExternalIPAddress" || true
mappings | grep -q -- "->10.77.1.2:" && fail "a mapping exists before hosting"

# The probe hosting on $port in the lan, its lines in $work/NAME.log; waits
# for the router's answer. The probe's process is $hosting_pid.
host_in_lan() {  # NAME PROBE-OPTIONS...
  local name=$1
  shift
  ip netns exec "$lan" env QT_QPA_PLATFORM=offscreen ${host_environment:-} "$probe" host \
    "${host_port:-$port}" Taro "$@" \
    >"$work/$name.log" 2>"$work/$name.err" &
  hosting_pid=$!
  background_pids+=("$hosting_pid")
  wait_until 30 has_line "$work/$name.log" "^LINK "
}

# 1. Hosting behind the router, a guest from the internet.
host_in_lan host --play || fail "the host never told the router's answer"
host_pid=$hosting_pid
grep -E "^(ROUTER|DIALOG|LINK) " "$work/host.log"
grep -q "^ROUTER [0-9]* .*11\.0\.0\.1:$port " "$work/host.log" ||
  fail "the router's line does not name 11.0.0.1:$port"
grep -q "^DIALOG .*11\.0\.0\.1:$port" "$work/host.log" || fail "the waiting dialog does not show it"
grep -q "^LINK vexa://11\.0\.0\.1:$port$" "$work/host.log" || fail "the link is not vexa://11.0.0.1:$port"
echo "== the daemon's mappings while hosting (upnpc -l):"
mappings | grep -E "^ *[0-9]+ TCP"
mappings | grep -q "TCP *$port->10\.77\.1\.2:$port *'Vexa with Online'" ||
  fail "no mapping of the game's port with the program's description"
mappings | grep -q "TCP *$((port + 1))->10\.77\.1\.2:$((port + 1)) *'Vexa with Online'" ||
  fail "no mapping of the chat's port"

ip netns exec "$wan" "$bot" join "vexa://11.0.0.1:$port" --name Hanako --games 1 --pause-ms 0 \
  --seed 3 >"$work/bot.log" 2>"$work/bot.err" &
bot_pid=$!
background_pids+=("$bot_pid")
wait_until 120 has_line "$work/host.log" "^HOSTING_ENDED" || fail "the hosting did not end"
wait "$bot_pid" || fail "vexa-bot in wan ended with status $?"
grep -q "^GAME_OVER" "$work/host.log" || fail "the host saw no game end"
[ -s "$work/bot.log" ] || fail "vexa-bot reported no game"
echo "== vexa-bot in wan: $(head -n 1 "$work/bot.log")"
no_mapping() { ! mappings | grep -q -- "->10\.77\.1\.2:"; }
wait_until 15 no_mapping || fail "the mappings stay after hosting"
echo "== the daemon's mappings after hosting (upnpc -l):"
mappings | grep -E "^ *[0-9]+ (TCP|UDP)" || echo "(none)"
wait "$host_pid" || fail "the host ended with status $?"

# 2. The port is taken on the router by another machine of the lan: the
# program takes the next pair, and the dialog says which port it got; the
# program then quits while still hosting.
ip netns exec "$lan" upnpc -e other -a 10.77.1.3 "$port" "$port" TCP >/dev/null 2>&1 ||
  fail "upnpc could not take the port"
host_in_lan taken --quit-file "$work/stop_taken" || fail "no answer with the port taken"
taken_pid=$hosting_pid
grep -E "^(ROUTER|LINK) " "$work/taken.log"
grep -q "^DIALOG .*11\.0\.0\.1:$((port + 2)) .*$port" "$work/taken.log" ||
  fail "the dialog does not tell the port the router gave instead"
grep -q "^LINK vexa://11\.0\.0\.1:$((port + 2))$" "$work/taken.log" || fail "the link is not the given port's"
touch "$work/stop_taken"
wait "$taken_pid" || fail "the second host ended with status $?"
# The program quits while it hosts: it removes the mapping on its way out.
wait_until 15 no_mapping || fail "the given ports stay mapped after the program quit"
mappings | grep -q "$port->10\.77\.1\.3:$port" || fail "the other machine's mapping is gone"

# 2. A short lease: the program asks for $lease s (a variable for this test
# only; the real one is an hour), renews at half of it, and the mapping
# outlives several leases. miniupnpd removes a mapping whose lease ran out,
# so each look that finds it with at most $lease s left shows a renewal.
lease=5
lease_port=$((port + 10))
# Asked of the daemon directly, without a search: a look takes milliseconds.
listed() { ip netns exec "$lan" upnpc -u http://10.77.1.1:5000/rootDesc.xml -l 2>&1; }
lease_left() {
  listed | sed -n "s/^ *[0-9]* TCP *$lease_port->10\.77\.1\.2:$lease_port *'Vexa with Online' '[^']*' \([0-9]*\)\$/\1/p"
}
host_environment=VEXA_TEST_ROUTER_LEASE_SECONDS=$lease host_port=$lease_port \
  host_in_lan lease --stop-file "$work/stop_lease" || fail "no answer with a short lease"
lease_pid=$hosting_pid
grep -q "^DIALOG .*11\.0\.0\.1:$lease_port" "$work/lease.log" || fail "the short lease was not mapped"
started=$(now_ms)
looks=()
while [ $(( $(now_ms) - started )) -lt $(( 3 * lease * 1000 + 1000 )) ]; do
  left=$(lease_left)
  [ -n "$left" ] || fail "the mapping was gone $(( $(now_ms) - started )) ms after hosting began (lease ${lease} s; seen: ${looks[*]})"
  [ "$left" -le "$lease" ] || fail "the router holds a lease of $left s, not the $lease s asked for"
  looks+=("$left")
  sleep 0.5
done
echo "== seconds left of the ${lease} s lease, looked at every half second over $((3 * lease + 1)) s: ${looks[*]}"
touch "$work/stop_lease"
wait "$lease_pid" || fail "the host with a short lease ended with status $?"
gone() { [ -z "$(lease_left)" ]; }
wait_until 15 gone || fail "the renewed mapping stays after hosting"

# 3. No gateway answers: the dialog says so within the timeout.
kill "$daemon_pid"
wait "$daemon_pid" 2>/dev/null
ip netns exec "$lan" env QT_QPA_PLATFORM=offscreen "$probe" host "$port" Taro \
  --stop-file "$work/stop" >"$work/alone.log" 2>"$work/alone.err" &
alone_pid=$!
background_pids+=("$alone_pid")
wait_until 30 has_line "$work/alone.log" "^DIALOG " || fail "no answer without the daemon"
grep -E "^(ROUTER|DIALOG) " "$work/alone.log"
grep -q "^DIALOG .*手動で転送" "$work/alone.log" || fail "the dialog does not say to forward by hand"
elapsed=$(sed -n 's/^ROUTER \([0-9]*\) .*/\1/p' "$work/alone.log")
# About two seconds are asked of the router; a wide margin for a loaded machine.
[ "$elapsed" -lt 8000 ] || fail "the answer took $elapsed ms"
touch "$work/stop"
wait "$alone_pid" || fail "the host without a router ended with status $?"
echo "PASS"
