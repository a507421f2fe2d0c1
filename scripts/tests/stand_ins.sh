# A throwaway copy of the set-up scripts with stand-ins for the tools they
# run, so a test sees what the scripts do without installing or building
# anything. Source it after setting `work` to an empty folder; it sets
# `repo` (the copy), `stand_ins` (a folder to put first on PATH) and `log`
# (one line per tool run: its name, arguments and user id).
repo=$work/repo
stand_ins=$work/bin
log=$work/log
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
mkdir -p "$repo/scripts" "$stand_ins"
cp "$here"/../setup.sh "$here"/../play.sh "$here"/../test.sh "$here"/../utf8_locale.sh "$repo/scripts/"
: >"$log"
chmod 755 "$work" "$stand_ins"
chmod 666 "$log"
export STAND_IN_LOG=$log

stand_in() {  # stand_in NAME BODY: a tool that logs its call, then runs BODY
  printf '#!/usr/bin/env bash\nset -e\necho "%s $* (uid $(id -u))" >>"$STAND_IN_LOG"\n%s\n' \
    "$1" "$2" >"$stand_ins/$1"
  chmod 755 "$stand_ins/$1"
}
# Every package is installed but those named in STAND_IN_MISSING.
stand_in dpkg-query 'case " ${STAND_IN_MISSING:-} " in *" ${@: -1} "*) exit 1 ;; esac
echo "install ok installed"'
stand_in apt-get ''
# Configuring writes the cache, building the program; the program writes its
# records file beside itself, as the real one does.
stand_in cmake 'case $1 in
  -S) mkdir -p "$4"; echo cache >"$4/CMakeCache.txt" ;;
  --build) mkdir -p "$2/app"; cp "$(dirname "$0")/vexa" "$2/app/vexa" ;;
esac'
stand_in ctest 'mkdir -p "$2/Testing"; echo log >"$2/Testing/LastTest.log"'
stand_in vexa 'echo records >"$(dirname "$0")/Config"'
