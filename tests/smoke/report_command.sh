#!/usr/bin/env bash
# morvaline --report on a known 60-day log, with no display: the PDF's text
# shows the period and the averages worked out by hand, the data folder is
# left exactly as it was, and wrong arguments get one line and a failure.
set -euo pipefail

binary=$1
command -v pdftotext >/dev/null || { echo "report_command: skipped: pdftotext is missing"; exit 0; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data HOME=$work/home
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
folder=$XDG_DATA_HOME/Tavelnor
mkdir -p "$folder" "$HOME"

fail() { echo "report_command: FAIL: $*" >&2; exit 1; }

# 2024/01/01 to 2024/02/29, every tenth day missing; the salt repeats weekly,
# every third day has a reading. Target 7.0.
salts=(6.0 6.1 7.2 5.5 9.0 6.4 7.3)
for i in $(seq 0 59); do
  [ $((i % 10)) -eq 9 ] && continue
  low="" high=""
  if [ $((i % 3)) -eq 0 ]; then low=$((70 + i % 9)) high=$((120 + i % 11)); fi
  printf '"%s","%s","%s","%s"\r\n' "$(date -u -d "2024-01-01 + $i days" +%Y/%m/%d)" "${salts[i % 7]}" "$low" "$high"
done >"$folder/Enbun.txt"
printf '7.0\r\n' >"$folder/Moku.txt"
before=$(cd "$folder" && ls -la --time-style=full-iso && md5sum *)

timeout 30 "$binary" --report "$work/out.pdf" --from 2024/01/10 --to 2024/2/6 || fail "exit $?"
text=$(pdftotext -layout "$work/out.pdf" -)
expect() { grep -qE -- "$1" <<<"$text" || fail "no line like '$1' in:"$'\n'"$text"; }
# Wednesday 2024/01/10 to 2024/02/06, 28 days.
expect '2024/01/10.* 〜 2024/02/06.*28'
# 01/17-01/23: 01/20 missing; 7.2 5.5 9.0 7.3 6.0 6.1 = 41.1 / 6 = 6.85 -> 6.9,
# three above 7.0; readings 70/127 and 73/130 -> 71.5 -> 72, 128.5 -> 129.
expect '^ *2024/01/17〜01/23 +6/7 +6\.9 +3 +2 +129 +72 *$'
# The period: 25 days, 170.3 g -> 6.812 -> 6.8, 11 over; nine readings,
# lows 73 76 70 73 76 70 73 76 70 = 657 -> 73,
# highs 121 124 127 130 122 125 128 120 123 = 1120 -> 124.4 -> 124.
expect '^ *期間全体 +25/28 +6\.8 +11 +9 +124 +73 *$'
# The text is the text drawn: searchable words, not look-alike radicals.
for word in 血圧 日 目標 塩分・血圧; do grep -qF "$word" <<<"$text" || fail "pdftotext does not find $word"; done
# Blood pressure as clinics write it: systolic first.
expect '2024/01/13（.）.* 121/73'
[ "$(cd "$folder" && ls -la --time-style=full-iso && md5sum *)" = "$before" ] || fail "the data folder changed"

# Four weeks, every day with a reading and no target set: one page, no count
# against a target ("—") and no target in the legend.
full=$work/full/Tavelnor
mkdir -p "$full"
for i in $(seq 0 27); do
  printf '"%s","%s","%s","%s"\r\n' "$(date -u -d "2024-03-01 + $i days" +%Y/%m/%d)" "1$((i % 10)).5" 88 146
done >"$full/Enbun.txt"
XDG_DATA_HOME=$work/full "$binary" --report "$work/full.pdf" --from 2024/03/01 --to 2024/03/28 || fail "full: exit $?"
text=$(pdftotext -layout "$work/full.pdf" -)
[ "$(grep -c $'\f' <<<"$text")" = 1 ] || fail "four full weeks are not one page"
expect '^ *期間全体 +28/28 +14\.7 +— +28 +146 +88 *$'
expect '2024/03/28（.）.* 146/88'
! grep -q '目標以内' <<<"$text" || fail "no target, yet the legend shows one"

# A period without a recorded day: one page.
"$binary" --report "$work/empty.pdf" --from 2023/01/01 --to 2023/01/31 || fail "empty period: exit $?"
[ "$(pdftotext "$work/empty.pdf" - | grep -c $'\f')" = 1 ] || fail "empty period is not one page"

# Wrong arguments and an unreadable folder: a failure and one line each (a
# command line not understood at all adds the usage, as for any option).
refused() {
  local err
  if err=$("$binary" "$@" 2>&1 >/dev/null); then fail "$* succeeded"; fi
  [ "$(wc -l <<<"$err")" = 1 ] && [ -n "$err" ] || fail "$* said: $err"
}
unparsed() {
  local err status=0
  err=$("$binary" "$@" 2>&1 >/dev/null) || status=$?
  [ "$status" = 2 ] && [ "$(head -c 11 <<<"$err")" = "morvaline: " ] || fail "$* said ($status): $err"
}
unparsed --report
refused --report "$work/x.pdf" --from 2024/13/01
refused --report "$work/x.pdf" --from 2024/02/01 --to 2024/01/01
unparsed --report "$work/x.pdf" --colour
refused --report "$work/no/such/folder/x.pdf"
XDG_DATA_HOME=$work/nothing refused --report "$work/x.pdf"
# A log over the 64 MB the window reads is named as too large, not parsed.
mkdir -p "$work/big/Tavelnor" && truncate -s 65M "$work/big/Tavelnor/Enbun.txt"
big=$(XDG_DATA_HOME=$work/big LANG=ja_JP.UTF-8 LC_ALL= "$binary" --report "$work/x.pdf" 2>&1) && fail "a 65 MB log made a report"
grep -q 'ファイルが大きすぎます' <<<"$big" || fail "a 65 MB log said: $big"
[ ! -e "$work/x.pdf" ] || fail "a refused run wrote the file"

# Only a regular file of the user's is written: a device, a FIFO, a folder,
# the diary itself (also through a link, and anything in its folder) and a
# read-only file are refused with status 2 and left as they were.
mkfifo "$work/fifo"; mkdir "$work/dir"; ln -s "$folder/Enbun.txt" "$work/log-link.pdf"
printf 'mine' >"$work/ro.pdf"; chmod 444 "$work/ro.pdf"
before=$(cd "$folder" && ls -la --time-style=full-iso && md5sum *)
for target in /dev/null "$work/fifo" "$work/dir" "$folder/Enbun.txt" "$folder/Moku.txt" \
              "$folder/new.pdf" "$folder" "$work/log-link.pdf" "$work/ro.pdf"; do
  status=0; timeout 30 "$binary" --report "$target" 2>/dev/null || status=$?
  [ "$status" = 2 ] || fail "--report $target ended with $status, not 2"
done
[ -c /dev/null ] && [ -p "$work/fifo" ] && [ -d "$work/dir" ] && [ ! -e "$folder/new.pdf" ] ||
  fail "a refused target was replaced"
[ "$(cat "$work/ro.pdf")" = mine ] || fail "the read-only file was replaced"
[ "$(cd "$folder" && ls -la --time-style=full-iso && md5sum *)" = "$before" ] || fail "the data folder changed"
# A regular writable file is still replaced.
printf 'old' >"$work/old.pdf"
"$binary" --report "$work/old.pdf" --from 2024/01/10 --to 2024/02/06 || fail "a writable file was refused"
[ "$(head -c 4 "$work/old.pdf")" = "%PDF" ] || fail "a writable file was not replaced"
# Every line follows the locale; the dates take the panel's forms; a name
# without an extension gets .pdf, one with another is refused.
for args in "--from 2024/02/01 --to 2024/01/01" "--from 2024/13/01" "--to 2024/01/01 --from 1990/01/01"; do
  err=$(LC_ALL=C LANG=ja_JP.UTF-8 "$binary" --report "$work/x.pdf" $args 2>&1 >/dev/null) && fail "$args succeeded"
  ! LC_ALL=C grep -q '[^ -~]' <<<"$err" || fail "under LC_ALL=C, $args said: $err"
done
err=$(LC_ALL=C XDG_DATA_HOME=$work/nothing "$binary" --report "$work/x.pdf" 2>&1) && fail "no folder succeeded"
! LC_ALL=C grep -q '[^ -~]' <<<"$err" || fail "under LC_ALL=C, no folder said: $err"
"$binary" --report "$work/named" --from 2024-01-10 --to 20240206 || fail "the panel's date forms: exit $?"
[ "$(pdftotext "$work/named.pdf" - | grep -c '2024/01/10')" -ge 1 ] || fail "no .pdf was added, or the dates were misread"
status=0; "$binary" --report "$work/x.txt" 2>/dev/null || status=$?
[ "$status" = 2 ] && [ ! -e "$work/x.txt" ] && [ ! -e "$work/x.txt.pdf" ] || fail "--report x.txt ended with $status"
"$binary" --help | grep -qF -- "--report" || fail "--help does not list --report"
echo "report_command: passed"
