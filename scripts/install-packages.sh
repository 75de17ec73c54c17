#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the programs need.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev
  zlib1g-dev libminizip-dev libflac++-dev libflac-dev libvorbis-dev libogg-dev
  libcurl4-openssl-dev portaudio19-dev libjpeg-dev
  libx11-dev libcairo2-dev libasound2-dev
  # The window layer tells monitors apart; the help's pages are laid out by litehtml.
  libxrandr-dev liblitehtml-dev
  # A local X server reads the windows' pixels from shared memory (MIT-SHM).
  libxext-dev
  # Tests only: real windows on an X server of their own, driven through XTest,
  # some beside a real window manager's frames.
  xvfb libxtst-dev openbox
  # Tests only: a sound card for the Host, a JACK server on its paced dummy driver.
  jackd2
  # Images, raster and text: pixman under Cairo, FreeType over a private fontconfig;
  # the Arial stand-ins and the monospace face renamed to the product font at build time.
  libpixman-1-dev libfontconfig-dev libfreetype-dev
  fonts-liberation2 fonts-dejavu-core python3-fonttools
  clang libclang-rt-14-dev
  # The plug-in's link lays its audio path out together (lld's symbol order).
  lld
  # The thread sanitizer's runtime for the file box's thread tests.
  libtsan2
  # The desktop's file, colour and message dialogs: zenity first, else
  # kdialog (the tests also put stand-ins of both first on PATH); without
  # either the program draws its own.
  zenity kdialog
  # Programs the tests run: archive tools, the audio tools that make and check
  # FLAC and Ogg files, the markup checker, nm for the library's exports, and
  # fc-list to show the machine's fonts never include ours.
  zip unzip flac vorbis-tools sox libxml2-utils binutils fontconfig
  # Tests only: a reference reader for imported modules, and modules made by others.
  libopenmpt-dev biniax2-data njam-data circuslinux-data ceferino-data heroes-sound-tracks
  vodovod rafkill-data gltron ironseed-data madbomber-data
  # Tests only: readers of the image library's GIF, BMP, PCX, icon and WBMP files,
  # and ImageMagick's import, which grabs a window (named by the package that holds it).
  libgif-dev imagemagick imagemagick-6.q16
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
