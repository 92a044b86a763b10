#!/usr/bin/env bash
# Checks the desktop entry and the AppStream metadata with the desktop's own validators; any
# remark fails, hints included. Usage: validate_data.sh DATA_DIR   (exit 77: no validator here)
set -euo pipefail
data=$1
ran=0

if command -v desktop-file-validate >/dev/null 2>&1; then
    for entry in "$data"/*.desktop; do
        remarks=$(desktop-file-validate "$entry" 2>&1) || { echo "$remarks"; exit 1; }
        [ -z "$remarks" ] || { echo "$remarks"; exit 1; }
    done
    ran=1
fi

if command -v appstreamcli >/dev/null 2>&1; then
    appstreamcli validate --no-net --no-color "$data"/*.metainfo.xml
    ran=1
fi

if ((ran == 0)); then
    echo "SKIP: neither desktop-file-validate nor appstreamcli is installed"
    exit 77
fi
