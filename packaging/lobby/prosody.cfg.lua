-- A lobby for Vexa with Online on prosody (Debian 12: apt install prosody).
-- Replace lobby.example.org with the server's name (three DNS names point at
-- it: lobby.example.org, conference.lobby.example.org and
-- proxy.lobby.example.org, and anon.lobby.example.org for anonymous logins),
-- put a certificate for them in place (for
-- example with certbot; `prosodyctl --root cert import /etc/letsencrypt/live`),
-- and copy this file to /etc/prosody/prosody.cfg.lua.
--
-- The program needs nothing of the server beyond standard XEPs: in-band
-- registration (XEP-0077), a multi-user chat room (XEP-0045) and a SOCKS5
-- bytestream proxy (XEP-0065), all over TLS.

admins = { }
pidfile = "/run/prosody/prosody.pid"
log = { info = "/var/log/prosody/prosody.log"; error = "/var/log/prosody/prosody.err" }

modules_enabled = {
  "roster"; "saslauth"; "tls"; "disco"; "ping"; "posix";
  "register";   -- XEP-0077: players make their account from the program
  "limits";     -- the byte rates below
}
modules_disabled = { "s2s" }  -- a lobby of its own: no federation

-- TLS only, with the certificate clients check against their system's store.
c2s_require_encryption = true
authentication = "internal_hashed"  -- passwords stored only as salted hashes
storage = "internal"

-- Registration: open, but one account per address every 5 minutes (players
-- behind one NAT share this).
allow_registration = true
min_seconds_between_registrations = 300

-- A lobby's traffic is small: a presence per open game, chat lines. A client
-- that sends more is slowed down, not disconnected.
limits = {
  c2s = { rate = "10kb/s"; burst = "2s" };
}
network_settings = {
  nagle = false;       -- without this a room's round trip takes ~40 ms longer
  tcp_backlog = 512;   -- many players connecting at once (the default is 128)
}
c2s_stanza_size_limit = 64 * 1024
proxy65_ports = { 7777 }  -- the relay's port, open in the firewall with 5222

VirtualHost "lobby.example.org"

-- Optional: players without an account (ロビーの設定's "匿名でログイン",
-- vexa-bot's --anonymous) log in here. The certificate must name it too.
-- Leave it out to admit account holders alone.
VirtualHost "anon.lobby.example.org"
  authentication = "anonymous"

-- The room: lobby@conference.lobby.example.org, made by the first player.
Component "conference.lobby.example.org" "muc"
  muc_room_locking = false               -- the first occupant finds it open
  muc_room_default_history_length = 0    -- no old chat for newcomers
  muc_room_default_public_jids = true    -- the relay needs the players' addresses
  restrict_room_creation = false
  max_history_messages = 0

-- The relay for players no direct connection reaches (XEP-0065).
Component "proxy.lobby.example.org" "proxy65"
  proxy65_address = "lobby.example.org"
