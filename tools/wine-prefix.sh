#!/bin/sh
# Prepares the Wine prefix named by $WINEPREFIX for the programs: boots it, and maps
# the Windows Chinese face names onto WenQuanYi Micro Hei so that GDI and GDI+ can
# draw Chinese text.
set -eu
: "${WINEPREFIX:?set WINEPREFIX to the prefix to prepare}"
export WINEDEBUG=-all LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
wineboot -i >/dev/null 2>&1 || true
wineserver -w
key='HKCU\Software\Wine\Fonts\Replacements'
for face in "Microsoft YaHei" "微软雅黑" "SimSun" "宋体" "NSimSun" "新宋体" "SimHei" "黑体"; do
  wine reg add "$key" /v "$face" /t REG_SZ /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
done
wineserver -w
