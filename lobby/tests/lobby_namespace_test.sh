#!/usr/bin/env bash
# The lobby on a real XMPP server: Debian's prosody (with its SOCKS5 relay,
# mod_proxy65) in a "server" namespace whose bridge plays the internet; a
# guest behind a masquerading home router (nftables) that lets nothing in;
# the host either on a public address ("direct") or behind a second such
# router ("relay"). TLS only, checked against a CA made for the test.
# Both vexa-bots register in-band and enter the room; the guest waits for
# the host's game, sees it within 2 s of its announcement, asks, and is
# invited with the host's address.
#   direct: the guest connects directly. The server is stopped as the game
#     connection comes up: the two games are still played to their end,
#     the two players' lines agreeing (boards the same, sides swapped).
#   relay: the host cannot be reached; after 3 s both turn to the relay.
#     The first game is played to its end through it, the lines agreeing;
#     the server is stopped in a later one: both players end as cut
#     (status 3) within 10 s.
#
#   window: the window (vexa_outreach_probe off screen) as the guest of a
#     host behind the other router: it lists the game, joins it, its
#     connection dialog says "接続できました (中継サーバー経由)", and it plays
#     the game to its end.
#   measure (not a test): forty games at full speed directly, then the same
#     forty through the relay, and the relay's added time per placement.
#   anonymous: a guest without an account (SASL ANONYMOUS at the server's
#     anonymous domain) sees the game of a host with one, behind the other
#     router, and plays it through the relay.
#   certificates: clients that reach the server through a relay writing
#     down what they send, trusting the system's certificates (not the
#     test's CA), or asking for a domain the certificate does not name: each
#     is refused with a message naming the certificate's fault, and nothing
#     but the stream's opening and STARTTLS went in clear.
#
#   rogue: a stranger in the lobby (lobby_rogue), invited by a host behind
#     a router, opens the relay and sends an HTTP request instead of its
#     name: the host drops both streams without a byte and goes on
#     hosting; a real guest then plays its game through the relay.
#   picture (not a test): the README's pictures of the lobby window, in
#     Japanese and English (OUT_DIR/lobby.png, OUT_DIR/lobby-en.png), with
#     two open games and a line of chat.
#
#   lobby_namespace_test.sh VEXA_BOT direct|relay|measure|anonymous
#   lobby_namespace_test.sh VEXA_BOT picture VEXA_OUTREACH_PROBE OUT_DIR
#   lobby_namespace_test.sh VEXA_BOT certificates LOBBY_WIRE_TAP
#   lobby_namespace_test.sh VEXA_BOT rogue LOBBY_ROGUE
#   lobby_namespace_test.sh VEXA_BOT window VEXA_OUTREACH_PROBE
#   CROWD=N lobby_namespace_test.sh VEXA_BOT crowd LOBBY_CROWD   (figures only)
#
# Exit status 77 (skipped) without root, ip netns, prosody, openssl or nft.
set -u
bot=$(realpath "$1") mode=$2 probe=${3:+$(realpath "$3")} out_dir=${4:+$(realpath "$4")}
source "$(dirname "$0")/../../app/tests/netns_common.sh"
require_root_and_tools prosody openssl nft runuser unshare
id prosody >/dev/null 2>&1 || skip "there is no prosody user (Debian's package makes it)"
export LC_ALL=C.UTF-8

srv=${NETNS_PREFIX}srv pub=${NETNS_PREFIX}pub
for ns in "$srv" "$pub" "${NETNS_PREFIX}r1" "${NETNS_PREFIX}c1" "${NETNS_PREFIX}r2" "${NETNS_PREFIX}c2"; do
  make_namespace "$ns"
done
ip -n "$srv" link add br0 type bridge
ip -n "$srv" addr add 11.0.0.1/24 dev br0
ip -n "$srv" link set br0 up
# The host: a public address on the "internet".
ip link add eth0 netns "$pub" type veth peer name port1 netns "$srv"
ip -n "$srv" link set port1 master br0 up
ip -n "$pub" addr add 11.0.0.21/24 dev eth0
ip -n "$pub" link set eth0 up
# Two homes: 10.0.I.2 behind a router at 11.0.0.1I that masquerades and
# lets nothing new in.
for i in 1 2; do
  rtr=${NETNS_PREFIX}r$i lan=${NETNS_PREFIX}c$i
  ip link add wan netns "$rtr" type veth peer name "port$((i + 1))" netns "$srv"
  ip -n "$srv" link set "port$((i + 1))" master br0 up
  ip -n "$rtr" addr add "11.0.0.1$i/24" dev wan
  ip -n "$rtr" link set wan up
  ip link add lan netns "$rtr" type veth peer name eth0 netns "$lan"
  ip -n "$rtr" addr add "10.0.$i.1/24" dev lan
  ip -n "$rtr" link set lan up
  ip -n "$lan" addr add "10.0.$i.2/24" dev eth0
  ip -n "$lan" link set eth0 up
  ip -n "$lan" route add default via "10.0.$i.1"
  ip netns exec "$rtr" sysctl -qw net.ipv4.ip_forward=1
  ip netns exec "$rtr" nft -f - <<'NFT' || fail "nft refused the router's tables"
table ip nat {
  chain postrouting {
    type nat hook postrouting priority 100; policy accept;
    oifname "wan" masquerade
  }
}
table inet filter {
  chain input {
    type filter hook input priority 0; policy drop;
    ct state established,related accept
    iifname { "lo", "lan" } accept
  }
  chain forward {
    type filter hook forward priority 0; policy drop;
    ct state established,related accept
    iifname "lan" oifname "wan" accept
  }
}
NFT
done

# A CA of the test's own and the server's certificate for its three names.
chmod 755 "$work"
cd "$work" || exit 1
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Vexa test CA" \
  -addext basicConstraints=critical,CA:TRUE -keyout ca.key -out ca.crt 2>/dev/null ||
  fail "openssl cannot make the CA"
openssl req -newkey rsa:2048 -nodes -subj "/CN=lobby.test" -keyout lobby.test.key \
  -out lobby.test.csr 2>/dev/null
printf 'subjectAltName=DNS:lobby.test,DNS:conference.lobby.test,DNS:proxy.lobby.test,DNS:anon.lobby.test\n' >san.ext
openssl x509 -req -in lobby.test.csr -CA ca.crt -CAkey ca.key -CAcreateserial -days 2 \
  -extfile san.ext -out lobby.test.crt 2>/dev/null || fail "openssl cannot sign the certificate"
chgrp prosody lobby.test.key && chmod 640 lobby.test.key
# prosody writes its pid, logs and accounts as its own user.
mkdir -p data run && chown prosody:prosody data run
cat >prosody.cfg.lua <<CFG
pidfile = "$work/run/prosody.pid"; data_path = "$work/data"
log = { ${PROSODY_LOG_LEVEL:-info} = "$work/run/prosody.log" }
interfaces = { "11.0.0.1" }; c2s_ports = { 5222 }; s2s_ports = { }
proxy65_ports = { 7777 }; proxy65_interfaces = { "11.0.0.1" }
network_settings = { nagle = false }
modules_enabled = { "roster"; "saslauth"; "tls"; "disco"; "ping"; "register"; "posix" }
modules_disabled = { "s2s" }
allow_registration = true; c2s_require_encryption = true
min_seconds_between_registrations = 0
authentication = "internal_hashed"; storage = "internal"
ssl = { certificate = "$work/lobby.test.crt"; key = "$work/lobby.test.key" }
VirtualHost "lobby.test"
VirtualHost "anon.lobby.test"
  authentication = "anonymous"
-- Served with lobby.test's certificate, which does not name it.
VirtualHost "other.test"
Component "conference.lobby.test" "muc"
  muc_room_locking = false
  muc_room_default_history_length = 0
  muc_room_default_public_jids = true
Component "proxy.lobby.test" "proxy65"
  proxy65_address = "11.0.0.1"
CFG
ip netns exec "$srv" runuser -u prosody -- prosody --config "$work/prosody.cfg.lua" -F \
  >prosody.out 2>&1 &
prosody_pid=$!
background_pids+=("$prosody_pid")
listening() { ip netns exec "$srv" ss -ltn | grep -q '11.0.0.1:5222'; }
wait_until 30 listening || { cat prosody.out run/prosody.log; fail "prosody does not listen"; }

# The names, without touching the machine's /etc.
printf '127.0.0.1 localhost\n11.0.0.1 lobby.test conference.lobby.test proxy.lobby.test anon.lobby.test\n' >hosts
printf 'nameserver 127.0.0.1\n' >resolv.conf
for who in taro jiro; do printf 'secret-%s\n' "$who" >"$who.pw"; chmod 600 "$who.pw"; done
run_in() {  # NAMESPACE LOG COMMAND...   (HOSTS_FILE: another hosts file of $work)
  local ns=$1 log=$2
  shift 2
  ip netns exec "$ns" unshare -m sh -c \
    'mount --bind "$0"/"$1" /etc/hosts && mount --bind "$0"/resolv.conf /etc/resolv.conf && shift && exec "$@"' \
    "$work" "${HOSTS_FILE:-hosts}" "$@" >"$log.out" 2>"$log.log" &
  background_pids+=("$!")
}
bot_in() {  # NAMESPACE LOG ARGUMENTS...
  local ns=$1 log=$2
  shift 2
  run_in "$ns" "$log" "$bot" lobby --server lobby.test --ca-file "$work/ca.crt" "$@"
}

boards() { sed 's/.*board //' "$1"; }

if [ "$mode" = window ]; then
  # The window as the guest, the host behind the other router: it lists the
  # game, joins it through the relay and plays it to its end.
  bot_in "${NETNS_PREFIX}c1" host --account taro --password-file taro.pw --games 1 --pause-ms 20 \
    --seed 1 --opponents 1 host
  host_pid=$!
  wait_until 30 has_line host.log "game announced" || fail "the host did not announce its game"
  QT_QPA_PLATFORM=offscreen run_in "${NETNS_PREFIX}c2" window "$probe" lobby-join lobby.test hana \
    secret-hana "$work/ca.crt" taro
  window_pid=$!
  wait "$window_pid"; window_status=$?
  wait "$host_pid"; host_status=$?
  [ "$window_status" -eq 0 ] || fail "the window's run ended with $window_status: $(cat window.out)"
  grep -q "^CONNECTED 接続できました (中継サーバー経由)$" window.out ||
    fail "the connection dialog did not say the relay: $(grep CONNECTED window.out)"
  grep -q "^GAME_OVER$" window.out || fail "the window's game did not end"
  [ "$(wc -l <host.out)" -eq 1 ] || fail "the host did not report its game"
  echo "lobby: the window saw the game, joined it through the relay and played it to its end"
  exit 0
fi

if [ "$mode" = rogue ]; then
  bot_in "${NETNS_PREFIX}c1" host --account taro --password-file taro.pw --games 1 --pause-ms 20 \
    --seed 1 --opponents 1 host
  host_pid=$!
  wait_until 30 has_line host.log "game announced" || fail "the host did not announce its game"
  run_in "${NETNS_PREFIX}c2" rogue "$probe" lobby.test "$work/ca.crt" mallory secret-mallory taro
  wait "$!" || fail "the stranger's streams: $(cat rogue.out)"
  grep -q "^DROPPED" rogue.out || fail "the stranger's streams: $(cat rogue.out)"
  grep -q "game 1 starts\|playing against" host.log && fail "the stranger became the opponent"
  kill -0 "$host_pid" 2>/dev/null || fail "the host stopped hosting"
  bot_in "${NETNS_PREFIX}c2" guest --account jiro --password-file jiro.pw --games 1 --pause-ms 20 \
    --seed 2 join taro
  guest_pid=$!
  wait "$guest_pid"; guest_status=$?
  [ "$guest_status" -eq 0 ] || fail "the real guest ended with $guest_status"
  wait "$host_pid"; host_status=$?
  [ "$host_status" -eq 0 ] || fail "the host ended with $host_status"
  grep -q "connected through the relay" guest.log || fail "the real guest did not use the relay"
  grep -q "playing against jiro" host.log || fail "the host did not play jiro"
  [ "$(boards host.out | tr 14 41)" = "$(boards guest.out)" ] || fail "the boards disagree"
  echo "lobby: a stranger's relayed noise dropped unanswered ($(cat rogue.out));" \
    "a real guest then played through the relay"
  exit 0
fi

if [ "$mode" = picture ]; then
  bot_in "$pub" taro --account taro --password-file taro.pw --games 1 --seed 1 host
  bot_in "${NETNS_PREFIX}c1" jiro --account jiro --password-file jiro.pw --games 1 --seed 2 \
    --excite 10 host
  wait_until 30 has_line taro.log "game announced" || fail "taro did not announce a game"
  wait_until 30 has_line jiro.log "game announced" || fail "jiro did not announce a game"
  for language in ja en; do
    picture=$out_dir/lobby.png
    [ "$language" = en ] && picture=$out_dir/lobby-en.png
    QT_QPA_PLATFORM=offscreen run_in "${NETNS_PREFIX}c2" "picture-$language" "$probe" \
      lobby-picture lobby.test hana secret-hana "$work/ca.crt" "$language" 2 "$picture"
    wait "$!" || fail "no picture in $language: $(cat "picture-$language.out")"
  done
  echo "lobby: pictures in $out_dir"
  exit 0
fi

if [ "$mode" = anonymous ]; then
  # The host behind the first router: the anonymous guest needs the relay too.
  bot_in "${NETNS_PREFIX}c1" host --account taro --password-file taro.pw --games 1 --pause-ms 20 --seed 1 \
    --opponents 1 host
  host_pid=$!
  wait_until 30 has_line host.log "game announced" || fail "the host did not announce its game"
  bot_in "${NETNS_PREFIX}c2" guest --account hana --anonymous --games 1 --pause-ms 20 --seed 2 \
    join taro
  guest_pid=$!
  wait "$guest_pid"; guest_status=$?
  [ "$guest_status" -eq 0 ] || fail "the anonymous guest ended with $guest_status"
  wait "$host_pid"; host_status=$?
  [ "$host_status" -eq 0 ] || fail "the host ended with $host_status"
  grep -q "in the lobby as hana" guest.log || fail "the anonymous guest did not enter as hana"
  grep -q "game of taro seen" guest.log || fail "the anonymous guest did not list the game"
  grep -q "invited hana to 10.0.1.2" host.log || fail "the host did not invite the anonymous guest"
  grep -q "connected through the relay" guest.log || fail "the anonymous guest did not use the relay"
  accounts=$(find data -path '*accounts*' -name '*.dat' -printf '%f ')
  [ "$accounts" = "taro.dat " ] || fail "the server holds the accounts $accounts (the host's alone expected)"
  [ "$(boards host.out | tr 14 41)" = "$(boards guest.out)" ] || fail "the boards disagree"
  echo "lobby: an anonymous guest listed the game of a host with an account and played it to its end through the relay"
  exit 0
fi

if [ "$mode" = certificates ]; then
  # A relay on a second address of the server's that writes down what the
  # clients send; the refused clients are sent to it.
  ip -n "$srv" addr add 11.0.0.2/24 dev br0
  ip netns exec "$srv" "$probe" 11.0.0.2 5222 11.0.0.1 "$work/wire.bin" >tap.out 2>tap.log &
  background_pids+=("$!")
  wait_until 10 has_line tap.out listening || fail "the wire tap does not listen"
  printf '127.0.0.1 localhost\n11.0.0.2 lobby.test other.test anon.lobby.test\n' >tapped-hosts
  refused() {  # LOG EXPECTED_WORDS ARGUMENTS...
    local log=$1 words=$2
    shift 2
    HOSTS_FILE=tapped-hosts run_in "$pub" "$log" "$bot" lobby --games 1 "$@" host
    local pid=$!
    wait "$pid"
    local status=$?
    [ "$status" -eq 1 ] || fail "$log: exit status $status, not refused"
    grep -q "$words" "$log.log" || fail "$log: no clear message: $(cat "$log.log")"
    grep -q "in the lobby as" "$log.log" && fail "$log: entered the lobby"
  }
  # The system's certificates, which do not hold the test's CA: registering
  # (a raw stream, STARTTLS by hand) and an anonymous login (libstrophe's own).
  refused unknown-ca "not signed by a certificate authority this computer trusts" \
    --server lobby.test --account taro --password-file taro.pw
  refused unknown-ca-anonymous "not signed by a certificate authority this computer trusts" \
    --server lobby.test --account hana --anonymous
  # The test's CA, but a domain the certificate does not name.
  refused wrong-name "is for another name than other.test" \
    --server other.test --ca-file "$work/ca.crt" --account taro --password-file taro.pw
  grep -qa "starttls" wire.bin || fail "the tap saw no STARTTLS: $(head -c 300 wire.bin)"
  for secret in secret-taro "jabber:iq:register" "<auth" "<iq" "<presence" "<message"; do
    grep -qaF -- "$secret" wire.bin && fail "sent in clear: $secret"
  done
  for log in unknown-ca unknown-ca-anonymous wrong-name; do
    echo "$log: $(grep -E 'certificate' "$log.log" | head -n 1)"
  done
  echo "lobby: an unknown CA and a wrong name refused with their reasons; only the opening and STARTTLS in clear"
  exit 0
fi

if [ "$mode" = crowd ]; then
  # Not a test: CROWD clients (200) in CROWD_PROCESSES processes (1), figures
  # on standard output.
  processes=${CROWD_PROCESSES:-1} crowd_status=0 crowd_pids=()
  for ((p = 0; p < processes; ++p)); do
    run_in "${NETNS_PREFIX}c1" "crowd$p" timeout 120 "$probe" lobby.test "$work/ca.crt" \
      $((${CROWD:-200} / processes)) "p${p}c"
    crowd_pids+=("$!")
  done
  for pid in "${crowd_pids[@]}"; do wait "$pid" || crowd_status=$?; done
  for ((p = 0; p < processes; ++p)); do grep -v '^FAILED' "crowd$p.out"; done
  echo "$(cat crowd*.out | grep -c '^FAILED') logins failed and were tried again:"
  cat crowd*.out | sed -n 's/^FAILED [0-9]* \(.*\); again in 1 s$/\1/p' | sort | uniq -c
  # CROWD_KEEP=DIR keeps the server's log and the clients' for a look.
  [ -z "${CROWD_KEEP:-}" ] || cp run/prosody.log crowd*.log "$CROWD_KEEP"/
  [ "$crowd_status" -eq 0 ] || fail "the crowd ended with $crowd_status"
  exit 0
fi

if [ "$mode" = measure ]; then
  # The same seeds both times: the same games, placement for placement.
  play_pair() {  # HOST_NAMESPACE TAG
    bot_in "${NETNS_PREFIX}c2" "guest$2" --account jiro --password-file jiro.pw --games 40 \
      --pause-ms 0 --seed 2 join taro
    local guest=$!
    wait_until 30 has_line "guest$2.log" "waiting for the game of taro" || fail "no guest"
    bot_in "$1" "host$2" --account taro --password-file taro.pw --games 40 --pause-ms 0 --seed 1 \
      --opponents 1 host
    local host=$!
    wait "$guest"
    wait "$host"
  }
  ms_between() {  # LOG FIRST LAST
    echo $(($(sed -n "s/.*$3.*(at \([0-9]*\) ms).*/\1/p" "$1" | tail -n 1) -
      $(sed -n "s/.*$2.*(at \([0-9]*\) ms).*/\1/p" "$1" | head -n 1)))
  }
  play_pair "$pub" direct
  play_pair "${NETNS_PREFIX}c1" relay
  grep -q "through the relay" guestrelay.log || fail "the second pair did not use the relay"
  [ "$(cat hostdirect.out)" = "$(cat hostrelay.out)" ] || fail "the two runs played different games"
  placements=$(sed 's/.*board //' hostdirect.out | tr -d '0\n' | wc -c)
  direct=$(ms_between hostdirect.log "game 1 starts" "leaving")
  relay=$(ms_between hostrelay.log "game 1 starts" "leaving")
  echo "40 games, $placements placements: direct $direct ms, relay $relay ms," \
    "$(((relay - direct) * 1000 / placements)) us added per placement"
  exit 0
fi

case $mode in
  direct) host_ns=$pub host_address=11.0.0.21 ;;
  relay) host_ns=${NETNS_PREFIX}c1 host_address=10.0.1.2 ;;
  *) fail "mode is direct, relay, anonymous or certificates" ;;
esac
# Through the relay the server stops once the first game is over. A second
# game lasts half a second at this pace, less than a loaded machine may take
# to see the first end and stop the server: the players have many games
# before them, so that the stop always cuts one, whichever it is.
games=2
[ "$mode" = relay ] && games=50

# The guest first, so that it sees the game appear.
bot_in "${NETNS_PREFIX}c2" guest --account jiro --password-file jiro.pw --games "$games" --pause-ms 20 \
  --seed 2 join taro
guest_pid=$!
wait_until 30 has_line guest.log "waiting for the game of taro" || fail "the guest is not in the lobby"
bot_in "$host_ns" host --account taro --password-file taro.pw --games "$games" --pause-ms 20 --seed 1 \
  --opponents 1 host
host_pid=$!

at_ms() { sed -n "s/.*$2.*(at \([0-9]*\) ms).*/\1/p" "$1" | head -n 1; }
check_sighting() {
  announced=$(at_ms host.log "game announced")
  seen=$(at_ms guest.log "game of taro seen")
  [ -n "$announced" ] && [ -n "$seen" ] || fail "no announcement or no sighting logged"
  delay=$((seen - announced))
  [ "$delay" -le 2000 ] || fail "the game showed after $delay ms"
  grep -q "invited jiro to $host_address" host.log || fail "the host did not invite with its address"
}

if [ "$mode" = direct ]; then
  # The game connection is up: the server goes away mid-game.
  wait_until 30 has_line guest.log "direct connection" || fail "the guest did not connect to the host"
  kill "$prosody_pid"
  wait "$prosody_pid" 2>/dev/null
  wait "$guest_pid"; guest_status=$?
  wait "$host_pid"; host_status=$?
  [ "$host_status" -eq 0 ] && [ "$guest_status" -eq 0 ] ||
    fail "exit statuses: host $host_status, guest $guest_status"
  check_sighting
  # The lobby was gone before the second game began.
  lost=$(grep -n "connection to the lobby server ended" host.log | head -n 1 | cut -d: -f1)
  second=$(grep -n "game 2 starts" host.log | head -n 1 | cut -d: -f1)
  [ -n "$lost" ] && [ -n "$second" ] && [ "$lost" -lt "$second" ] ||
    fail "the server was not gone before the second game"
  # Two games each, the same boards seen from the two sides.
  [ "$(wc -l <host.out)" -eq 2 ] && [ "$(wc -l <guest.out)" -eq 2 ] || fail "not two games each"
  [ "$(boards host.out | tr 14 41)" = "$(boards guest.out)" ] || fail "the boards disagree"
  echo "lobby: game seen $delay ms after its announcement; two direct games played to the end after the server stopped"
  exit 0
fi

# Through the relay: the first game to its end, then the server stops.
wait_until 60 has_line host.log "game 2 starts" || fail "the first relayed game did not end"
grep -q "through the relay (中継サーバー経由)" guest.log || fail "the guest did not say it went through the relay"
stopped=$(now_ms)
kill "$prosody_pid"
wait "$prosody_pid" 2>/dev/null
wait "$guest_pid"; guest_status=$?
wait "$host_pid"; host_status=$?
cut_ms=$(($(now_ms) - stopped))
[ "$host_status" -eq 3 ] && [ "$guest_status" -eq 3 ] ||
  fail "exit statuses after the relay went: host $host_status, guest $guest_status (3 expected)"
[ "$cut_ms" -le 10000 ] || fail "the cut took $cut_ms ms"
check_sighting
[ "$(head -n 1 host.out | boards /dev/stdin | tr 14 41)" = "$(head -n 1 guest.out | boards /dev/stdin)" ] ||
  fail "the boards of the relayed game disagree"
echo "lobby: game seen $delay ms after its announcement; a game through the relay played to its end; both cut $cut_ms ms after the server stopped"
