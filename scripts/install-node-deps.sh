#!/usr/bin/env bash
# Installs the Node packages of the end-to-end test (playwright-core, which
# drives Debian's chromium) from the lock file. Idempotent.
set -euo pipefail
e2e="$(cd "$(dirname "$0")/../tests/e2e" && pwd)"
[ -d "$e2e/node_modules/playwright-core" ] && exit 0
command -v npm >/dev/null || { echo "install-node-deps: npm is missing" >&2; exit 1; }
cd "$e2e"
npm ci --no-audit --no-fund --loglevel=error
