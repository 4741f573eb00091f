#!/usr/bin/env bash
# Installs the Debian packages the diary needs (only those missing).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages "$@"
