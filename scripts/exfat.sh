#!/usr/bin/env bash
# Runs the unit tests that need a real exFAT folder, on an image mounted with
# exfat-fuse, where this machine allows it (root, FUSE and a loop device);
# says why not otherwise. Argument: the unit test program.
set -uo pipefail
cd "$(dirname "$0")/.."
program=$1
skip() { echo "exFAT test skipped: $1"; exit 0; }
[ "$(id -u)" -eq 0 ] || skip "not root"
[ -e /dev/fuse ] || skip "no FUSE"
bash scripts/install-deps.sh exfat-fuse exfatprogs >/dev/null || skip "exfat-fuse and exfatprogs cannot be installed"
work=$(mktemp -d)
loop=""
cleanup() {
  mountpoint -q "$work/mnt" && umount "$work/mnt"
  [ -n "$loop" ] && losetup -d "$loop"
  rm -rf "$work"
}
trap cleanup EXIT
truncate -s 64M "$work/exfat.img"
mkfs.exfat "$work/exfat.img" >/dev/null || skip "mkfs.exfat failed"
loop=$(losetup -f --show "$work/exfat.img" 2>/dev/null) || skip "no loop device"
mkdir "$work/mnt"
mount.exfat-fuse "$loop" "$work/mnt" >/dev/null 2>&1 || skip "the image cannot be mounted"
VORLIX_EXFAT_FOLDER="$work/mnt" "$program" --gtest_filter='*RealExfat*' --gtest_brief=1
