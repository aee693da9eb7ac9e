#!/usr/bin/env bash
# A print-out delivered to a real CUPS server: a private cupsd (its own
# configuration, spool and socket in a scratch directory) with a raw queue
# whose backend (a small script of this test) writes each job into a file;
# kestrel-tool print sends a text with
# Polish letters through the delivery of the program, and the file must
# hold exactly what the printer gets: its reset, the text in the printer's
# letters, CR LF between lines and the form feed.
#
#   cups_print_test.sh KESTREL-TOOL
#
# Fails (does not hang) when cupsd cannot start: every wait has a limit.
set -euo pipefail
tool=$(realpath "$1")

for c in cupsd lpadmin lpstat lp; do
    command -v "$c" >/dev/null || { echo "FAIL: $c is missing (Debian packages cups, cups-client)"; exit 1; }
done

work=$(mktemp -d /tmp/kestrel-cups.XXXXXX)
cupsd_pid=""
cleanup() {
    if [ -n "$cupsd_pid" ]; then kill "$cupsd_pid" 2>/dev/null || true; wait "$cupsd_pid" 2>/dev/null || true; fi
    [ -n "${KESTREL_CUPS_KEEP:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work"/{etc,spool,spool/tmp,cache,state,log,out,run,company.PK,bin/backend}
chmod 755 "$work" "$work"/etc
chmod 1777 "$work"/out "$work"/spool/tmp

user=$(id -un)
group=$(id -gn)
cat > "$work/etc/cupsd.conf" <<CONF
Listen $work/run/cups.sock
LogLevel ${KESTREL_CUPS_LOG:-warn}
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
cat > "$work/etc/cups-files.conf" <<CONF
RequestRoot $work/spool
TempDir $work/spool/tmp
CacheDir $work/cache
StateDir $work/state
ErrorLog $work/log/error_log
AccessLog $work/log/access_log
PageLog $work/log/page_log
ServerBin $work/bin
DataDir /usr/share/cups
SystemGroup $group
CONF
if [ "$(id -u)" -ne 0 ]; then
    echo "User $user" >> "$work/etc/cups-files.conf"
fi
mkdir -p "$work/etc/ppd" "$work/etc/ssl"
# The server's programs are the system's, with one backend more: the job
# into the file named by its device URI (kestrelout:/path).
for d in /usr/lib/cups/*; do
    [ "$(basename "$d")" = backend ] || ln -s "$d" "$work/bin/$(basename "$d")"
done
cat > "$work/bin/backend/kestrelout" <<'BACKEND'
#!/bin/sh
if [ $# -eq 0 ]; then
    echo 'file kestrelout "Unknown" "Job into a file"'
    exit 0
fi
out=${DEVICE_URI#kestrelout:}
if [ $# -ge 6 ]; then cat "$6" > "$out.part"; else cat > "$out.part"; fi
mv "$out.part" "$out"
BACKEND
chmod 755 "$work/bin" "$work/bin/backend" "$work/bin/backend/kestrelout"

cupsd -f -c "$work/etc/cupsd.conf" -s "$work/etc/cups-files.conf" >"$work/log/cupsd.out" 2>&1 &
cupsd_pid=$!
export CUPS_SERVER="$work/run/cups.sock"

fail() {
    echo "FAIL: $*"
    if [ -n "$cupsd_pid" ]; then
        timeout 5 lpstat -W all -o 2>&1 | tail -n 5 || true
        timeout 5 lpstat -l -p 2>&1 | tail -n 5 || true
    fi
    for f in "$work"/log/cupsd.out "$work"/log/error_log; do
        [ -s "$f" ] && { echo "--- $f"; tail -n 30 "$f"; }
    done
    exit 1
}

for _ in $(seq 1 100); do
    if timeout 5 lpstat -r 2>/dev/null | grep -q "is running"; then break; fi
    kill -0 "$cupsd_pid" 2>/dev/null || fail "cupsd did not start"
    sleep 0.1
done
timeout 5 lpstat -r 2>/dev/null | grep -q "is running" || fail "cupsd gives no answer on $CUPS_SERVER"

timeout 20 lpadmin -p KESTREL_RAW -E -v "kestrelout:$work/out/raw.prn" 2>"$work/log/lpadmin.err" ||
    fail "lpadmin: $(cat "$work/log/lpadmin.err")"
timeout 5 lpstat -e | grep -qx KESTREL_RAW || fail "the queue is not listed by lpstat -e"

printf 'Zażółć gęślą jaźń\nLISTA PŁAC\n' > "$work/text.txt"
out=$(timeout 30 "$tool" print "$work/company.PK" "$work/text.txt" --program "$work" \
      --queue KESTREL_RAW --type E --title "Test CUPS") || fail "kestrel-tool print: $out"
[ "$out" = 'KESTREL-TOOL (typ="E",LPT1)' ] || fail "unexpected printer: $out"

# The job's output: reset of a 9-pin printer, the text in CP852, CR LF, FF.
printf '\033@\033P\022Za\276\242\210\206 g\251\230l\245 ja\253\344\r\nLISTA P\235AC\f' > "$work/expected.prn"
for _ in $(seq 1 200); do
    [ -s "$work/out/raw.prn" ] && [ -z "$(timeout 5 lpstat -o KESTREL_RAW 2>/dev/null)" ] && break
    sleep 0.1
done
[ -s "$work/out/raw.prn" ] || fail "the job wrote nothing"
cmp "$work/expected.prn" "$work/out/raw.prn" || {
    od -c "$work/out/raw.prn" | head -20
    fail "the job's output differs from the print file"
}
ls "$work"/company.PK/TEMP*.PRT >/dev/null 2>&1 && fail "the print file was not deleted"

# A queue the server does not have: reported, nothing printed.
if out=$(timeout 30 "$tool" print "$work/company.PK" "$work/text.txt" --program "$work" \
         --queue NO_SUCH_QUEUE 2>&1); then
    fail "printing on a missing queue succeeded: $out"
fi
case "$out" in
    *"Brak takiej drukarki w syst. Windows"*) ;;
    *) fail "unexpected message for a missing queue: $out" ;;
esac

# A server that is down: reported, the program goes on.
kill "$cupsd_pid"; wait "$cupsd_pid" 2>/dev/null || true; cupsd_pid=""
if out=$(timeout 30 "$tool" print "$work/company.PK" "$work/text.txt" --program "$work" \
         --queue KESTREL_RAW 2>&1); then
    fail "printing with the server down succeeded: $out"
fi
case "$out" in
    *"Brak dostępnych drukarek Windows"*) ;;
    *) fail "unexpected message with the server down: $out" ;;
esac
echo "cups print test passed"
