#!/bin/sh
# Runs vxfw.exe list under Wine without a machine and reads the log it left
# beside itself.
set -u
exe="$1"
log="$(dirname "$exe")/VLXFMUpdate.log"
rm -f "$log"
wine "$exe" list >/dev/null 2>&1 || { echo "vxfw list failed"; exit 1; }
text="$(iconv -f UTF-16LE -t UTF-8 "$log")" || { echo "no log"; exit 1; }
printf '%s\n' "$text"
printf '%s' "$text" | grep -q "Identify failed." || { echo "no drop logged"; exit 1; }
printf '%s' "$text" | grep -q "DrivePath = \\\\\\\\.\\\\PhysicalDrive0" || { echo "drive 0 not named"; exit 1; }
printf '%s' "$text" | grep -q "Line      = 263" || { echo "not dropped for want of a transport"; exit 1; }
echo "logged as expected"
