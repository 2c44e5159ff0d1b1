#!/bin/sh
# Runs a Windows program under Wine with the environment the programs expect on
# players' machines: Chinese locale (ANSI code page 936) and quiet Wine.
# WINEPREFIX is normally set by scripts/run-tests-in-wine.sh to a throw-away prefix.
export WINEDEBUG="${WINEDEBUG:--all}"
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
export WINEPREFIX="${WINEPREFIX:-$HOME/.wine-velmora}"
exec wine "$@"
