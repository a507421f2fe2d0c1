#!/usr/bin/env bash
# vexa-bot refuses bad arguments with its usage on standard error and exit
# status 2, as its manual says; asked for it, it prints the usage on
# standard output and succeeds.
#
#   bot_arguments_test.sh VEXA_BOT
set -u
bot=$1
failures=0
for arguments in "serve" "host --games 0" "host --strength Hardest" "join" "host --first me" \
  "lobby host" "lobby --server s --account a --password-file f" "lobby --server s join" \
  "lobby --server s --account a --password-file f --anonymous host"; do
  # shellcheck disable=SC2086  # the words of one argument line
  usage=$("$bot" $arguments 2>&1 >/dev/null)
  status=$?
  if [ "$status" -ne 2 ] || [[ "$usage" != *"usage: vexa-bot"* ]]; then
    echo "FAIL vexa-bot $arguments: exit $status, standard error: $usage"
    failures=1
  fi
done
for asked in "--help" "join --help" "-h"; do
  # shellcheck disable=SC2086
  usage=$("$bot" $asked 2>/dev/null)
  status=$?
  if [ "$status" -ne 0 ] || [[ "$usage" != *"usage: vexa-bot"* ]]; then
    echo "FAIL vexa-bot $asked: exit $status, standard output: $usage"
    failures=1
  fi
done
# The defaults are the ones the options take when left out.
help=$("$bot" --help)
for default in "--port 36150" "--strength VeryHard" "--games 1"; do
  [[ $help == *"$default"* ]] || { echo "FAIL: the help lacks the default $default"; failures=1; }
done
version=$("$bot" --version)
[[ $version =~ ^vexa-bot\ [0-9]+\.[0-9]+ ]] || { echo "FAIL vexa-bot --version: $version"; failures=1; }
[ "$failures" -eq 0 ] && echo "bad arguments refused with status 2, the usage given when asked"
exit "$failures"
