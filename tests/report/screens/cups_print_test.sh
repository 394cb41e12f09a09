#!/usr/bin/env bash
# Prints through a real CUPS queue: starts a cupsd of its own (configuration,
# spool, logs and socket in a temporary folder, no network port), adds a
# queue whose jobs go through the usual filters into a PDF file, runs the
# print tests against it and stops the daemon, whatever happens.
# Usage: cups_print_test.sh TEST-PROGRAM [gtest arguments]
# Exit 77 (skipped) when cupsd is not installed or we are not root.
set -euo pipefail
program=$1
shift

if [ "$(id -u)" -ne 0 ] || ! command -v /usr/sbin/cupsd >/dev/null || ! command -v lpadmin >/dev/null; then
  echo "cups_print_test: needs root and cupsd; skipped" >&2
  exit 77
fi

work=$(mktemp -d /tmp/sfigmo-cups.XXXXXX)
cupsd_pid=""
cleanup() {
  if [ -n "$cupsd_pid" ] && kill -0 "$cupsd_pid" 2>/dev/null; then
    kill "$cupsd_pid" 2>/dev/null || true
    for _ in $(seq 1 100); do kill -0 "$cupsd_pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$cupsd_pid" 2>/dev/null || true
    wait "$cupsd_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# cupsd drops to the lp user for filters: the folders must let it in.
chmod 755 "$work"
mkdir -p "$work"/{spool,cache,state,tmp,log,out,ppd}
chmod 777 "$work/out"
socket="$work/cups.sock"

cat >"$work/cupsd.conf" <<CONF
Listen $socket
LogLevel info
Browsing No
WebInterface No
DefaultAuthType None
ErrorPolicy abort-job
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF

cat >"$work/cups-files.conf" <<CONF
FileDevice Yes
ServerRoot $work
RequestRoot $work/spool
CacheDir $work/cache
StateDir $work/state
TempDir $work/tmp
ErrorLog $work/log/error_log
AccessLog $work/log/access_log
PageLog $work/log/page_log
User lp
Group lp
SystemGroup root
CONF

# A PDF printer: jobs pass the standard pdftopdf filter and land in a file.
cat >"$work/pdf-file.ppd" <<'PPD'
*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "PDFFILE.PPD"
*Manufacturer: "sfigmo"
*Product: "(PDF file)"
*ModelName: "sfigmo test PDF file queue"
*ShortNickName: "PDF file queue"
*NickName: "sfigmo test PDF file queue"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: True
*DefaultColorSpace: RGB
*FileSystem: False
*Throughput: "1"
*cupsFilter2: "application/vnd.cups-pdf application/pdf 0 -"
*OpenUI *PageSize/Page Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageSize
*DefaultPageRegion: A4
*PageRegion A4/A4: "<</PageSize[595 842]/ImagingBBox null>>setpagedevice"
*DefaultImageableArea: A4
*ImageableArea A4/A4: "0 0 595 842"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
PPD

/usr/sbin/cupsd -f -c "$work/cupsd.conf" -s "$work/cups-files.conf" </dev/null >"$work/log/cupsd.out" 2>&1 &
cupsd_pid=$!
export CUPS_SERVER=$socket

ready=0
for _ in $(seq 1 300); do
  if lpstat -r 2>/dev/null | grep -q 'is running'; then ready=1; break; fi
  kill -0 "$cupsd_pid" 2>/dev/null || break
  sleep 0.1
done
if [ "$ready" -ne 1 ]; then
  echo "cups_print_test: cupsd did not start" >&2
  cat "$work/log/cupsd.out" "$work/log/error_log" 2>/dev/null >&2 || true
  exit 1
fi

queue=sfigmo-test-pdf
output="$work/out/$queue.pdf"
lpadmin -p "$queue" -E -v "file://$output" -P "$work/pdf-file.ppd" 2>&1 | grep -v deprecated || true
lpadmin -d "$queue"
lpstat -p "$queue"

status=0
SFIGMO_TEST_QUEUE=$queue SFIGMO_TEST_QUEUE_OUTPUT=$output "$program" "$@" || status=$?
if [ "$status" -ne 0 ]; then
  echo "---- cupsd error_log" >&2
  tail -n 60 "$work/log/error_log" >&2 || true
fi
exit "$status"
