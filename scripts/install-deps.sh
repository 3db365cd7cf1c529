#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test; with --test also what only the tests use
# (a single-node Slurm cluster that the cluster-run tests start, the install test's tools); with --package what
# `make package` needs.
# Quiet when everything is present; runs apt-get update only when something is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config clang-format ccache
  qtbase5-dev qtbase5-dev-tools libqt5sql5-sqlite libqt5opengl5-dev libqt5charts5-dev
  libgl-dev libgl1-mesa-dri libglx-mesa0 mesa-utils
  libopencv-core-dev libopencv-imgproc-dev libopencv-imgcodecs-dev libopencv-dnn-dev
  libpoppler-qt5-dev
  libtesseract-dev tesseract-ocr-eng
  darknet
  sqlite3 libsqlite3-dev qpdf
  xvfb xauth
)
# What `make package` runs: dpkg-shlibdeps for the package's dependencies, file for finding the binaries to give it.
packaging=(dpkg-dev file)
if [ "${1:-}" = "--test" ]; then
  packages+=(slurmctld slurmd slurm-client munge)
  # The install test validates the desktop entry and the metainfo, asks GIO for a project file's type and packages.
  packages+=(desktop-file-utils appstream libglib2.0-bin shared-mime-info "${packaging[@]}")
elif [ "${1:-}" = "--package" ]; then
  packages+=("${packaging[@]}")
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then SUDO=sudo; else
    echo "Missing packages (run as root to install): ${missing[*]}" >&2
    exit 1
  fi
else
  SUDO=
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
