#!/usr/bin/env python3
"""Draws the launcher's skin images with ImageMagick and packs them, with the layout
files, into the skin archive (a zip file, deflated, UTF-8 member names).

    make_skin.py --layouts skin/layouts --work build/skin-images --out bin/skin/Wakfu.ui

Every image is drawn from the primitives below, so the art can be changed here.
"""
import argparse
import os
import shutil
import subprocess
import sys
import zipfile

GOLD = "#D8A84E"
GOLD_LIGHT = "#F3D58E"
GOLD_DARK = "#8A6B3A"
INK = "#0B141C"
TEAL = "#1C4A5A"
TEAL_DARK = "#10303E"
GREY = "#6B7480"


def magick(work, name, args):
    out = os.path.join(work, name)
    # PNGs are stored in the form the launcher decodes fastest: 8-bit RGBA (ImageMagick
    # keeps its 16-bit working depth otherwise, which the decoder then converts pixel by
    # pixel) with no ancillary chunks (gamma, chromaticity, time, text), which the
    # decoder would read for every image at every start.
    output = ["-strip", "-depth", "8", "PNG32:" + out] if name.endswith(".png") else [out]
    cmd = ["convert"] + args + output
    subprocess.run(cmd, check=True)
    return out


def rounded_mask(w, h, r, inset=0):
    return ["(", "-size", f"{w}x{h}", "xc:black", "-fill", "white", "-draw",
            f"roundrectangle {inset},{inset},{w - 1 - inset},{h - 1 - inset},{r},{r}", ")"]


def gradient_button(work, name, w, h, top, bottom, border, r=8, extra=None):
    args = ["-size", f"{w}x{h}", f"gradient:{top}-{bottom}"] + rounded_mask(w, h, r) + [
        "-alpha", "off", "-compose", "CopyOpacity", "-composite", "-compose", "Over",
        "-fill", "none", "-stroke", border, "-strokewidth", "2",
        "-draw", f"roundrectangle 1,1,{w - 2},{h - 2},{r - 1},{r - 1}"]
    # A soft highlight on the upper half gives the button some depth.
    args += ["-stroke", "none", "-fill", "rgba(255,255,255,0.10)",
             "-draw", f"roundrectangle 3,3,{w - 4},{h // 2},{r - 2},{r - 2}"]
    if extra:
        args += extra
    return magick(work, name, args)


def icon_canvas(size=28, bg="none"):
    return ["-size", f"{size}x{size}", f"xc:{bg}"]


def draw_images(work):
    # Main window background: night sky over the mountains of the World of Twelve.
    magick(work, "main_bg.jpg", [
        "-size", "1024x600", "gradient:#1B4456-#060B11",
        "(", "-size", "760x560", "radial-gradient:rgba(90,190,170,0.55)-rgba(0,0,0,0)", ")",
        "-geometry", "+420-160", "-composite",
        "(", "-size", "520x420", "radial-gradient:rgba(216,168,78,0.30)-rgba(0,0,0,0)", ")",
        "-geometry", "-160+120", "-composite",
        "-fill", "rgba(255,255,255,0.55)",
        "-draw", "point 120,90 point 210,140 point 330,80 point 415,170 point 505,95 point 610,60 "
                 "point 700,150 point 805,85 point 890,130 point 960,70 point 160,200 point 560,210 "
                 "point 760,220 point 270,230 point 930,240 point 60,150",
        "-fill", "none", "-stroke", "rgba(243,213,142,0.35)", "-strokewidth", "2",
        "-draw", "circle 780,250 780,120",
        "-stroke", "rgba(243,213,142,0.18)", "-strokewidth", "1",
        "-draw", "circle 780,250 780,95",
        "-stroke", "none", "-fill", "#12303C",
        "-draw", "polygon 0,600 0,400 90,350 180,390 300,300 420,380 520,330 640,400 760,320 "
                 "880,390 1024,330 1024,600",
        "-fill", "#0A1A22",
        "-draw", "polygon 0,600 0,460 140,410 260,450 380,400 520,470 660,420 800,470 920,430 "
                 "1024,450 1024,600",
        "-fill", "rgba(0,0,0,0.45)", "-draw", "rectangle 0,0,1024,60",
        "-fill", "rgba(216,168,78,0.55)", "-draw", "rectangle 0,60,1024,60",
        "-fill", "rgba(4,8,12,0.82)", "-draw", "rectangle 0,510,1024,600",
        "-fill", "rgba(216,168,78,0.70)", "-draw", "rectangle 0,510,1024,511",
        "-quality", "92"])

    # Emblem: a gold ring around a green leaf-shaped crystal.
    magick(work, "logo.png", [
        "-size", "44x44", "xc:none",
        "-fill", "#0E2430", "-stroke", GOLD, "-strokewidth", "3", "-draw", "circle 22,22 22,3",
        "-stroke", "none", "-fill", "#5FBF7A", "-draw", "polygon 22,9 33,22 22,35 11,22",
        "-fill", "#A9E8B8", "-draw", "polygon 22,9 27,22 22,35 17,22",
        "-fill", "#F3D58E", "-draw", "circle 22,22 22,19"])

    # Tabs: the selected tab images are JPEG (drawn over the tab button).
    for name, accent in (("首页选中.jpg", GOLD), ("设置选中.jpg", GOLD)):
        magick(work, name, [
            "-size", "110x44", f"gradient:#245A6B-{TEAL_DARK}",
            "-fill", accent, "-draw", "rectangle 14,40,95,43",
            "-fill", "rgba(243,213,142,0.25)", "-draw", "rectangle 0,0,109,1",
            "-quality", "95"])
    magick(work, "tab_hot.png", ["-size", "110x44", "xc:rgba(255,255,255,0.08)",
                                 "-fill", "rgba(216,168,78,0.55)", "-draw", "rectangle 30,41,79,43"])

    # Title bar buttons.
    def title_button(name, hot, glyph, hot_bg="rgba(255,255,255,0.14)"):
        bg = hot_bg if hot else "none"
        color = "#FFFFFF" if hot else "#C9D3DA"
        magick(work, name, icon_canvas(28) + [
            "-fill", bg, "-draw", "roundrectangle 0,0,27,27,5,5",
            "-fill", "none", "-stroke", color, "-strokewidth", "2"] + glyph(color))

    title_button("min_normal.png", False, lambda c: ["-draw", "line 8,18 20,18"])
    title_button("min_hot.png", True, lambda c: ["-draw", "line 8,18 20,18"])
    cross = lambda c: ["-draw", "line 9,9 19,19", "-draw", "line 19,9 9,19"]
    title_button("close_normal.png", False, cross)
    title_button("close_hot.png", True, cross, hot_bg="#C0392B")
    gear = lambda c: ["-draw", "circle 14,14 14,9", "-strokewidth", "3",
                      "-draw", "line 14,4 14,7", "-draw", "line 14,21 14,24", "-draw", "line 4,14 7,14",
                      "-draw", "line 21,14 24,14", "-draw", "line 7,7 9,9", "-draw", "line 19,19 21,21",
                      "-draw", "line 21,7 19,9", "-draw", "line 7,21 9,19"]
    title_button("setting_normal.png", False, gear)
    title_button("setting_hot.png", True, gear)
    bubble = lambda c: ["-draw", "roundrectangle 6,7,22,18,3,3", "-draw", "line 10,18 9,23",
                        "-draw", "line 9,23 14,18"]
    title_button("feedback_normal.png", False, bubble)
    title_button("feedback_hot.png", True, bubble)

    # The big start button.
    gradient_button(work, "start_normal.png", 230, 70, "#F6C453", "#C8741A", GOLD_LIGHT, r=10)
    gradient_button(work, "start_hot.png", 230, 70, "#FFD977", "#DE8A26", "#FFF3C8", r=10)
    gradient_button(work, "start_pushed.png", 230, 70, "#C8741A", "#E9A33A", GOLD_LIGHT, r=10)
    gradient_button(work, "start_disabled.png", 230, 70, "#8C8C8C", "#5A5A5A", "#A0A0A0", r=10)

    # Dialog and page buttons.
    gradient_button(work, "btn_ok_normal.png", 100, 45, "#E9B54A", "#B26A17", GOLD_LIGHT, r=6)
    gradient_button(work, "btn_ok_hot.png", 100, 45, "#FFD06A", "#C97B22", "#FFF3C8", r=6)
    gradient_button(work, "btn_ok_pushed.png", 100, 45, "#B26A17", "#E0A443", GOLD_LIGHT, r=6)
    gradient_button(work, "btn_normal.png", 100, 45, "#2C5C6C", "#173845", GOLD_DARK, r=6)
    gradient_button(work, "btn_hot.png", 100, 45, "#3A7386", "#1E4756", GOLD, r=6)
    gradient_button(work, "btn_pushed.png", 100, 45, "#173845", "#2C5C6C", GOLD, r=6)
    gradient_button(work, "btn_disabled.png", 100, 45, "#4A4F55", "#33373C", "#5C6168", r=6)

    magick(work, "dlg_close_normal.png", icon_canvas(24) + [
        "-fill", "none", "-stroke", "#D5DCE2", "-strokewidth", "2", "-draw", "line 7,7 17,17", "-draw", "line 17,7 7,17"])
    magick(work, "dlg_close_hot.png", icon_canvas(24) + [
        "-fill", "#C0392B", "-draw", "roundrectangle 0,0,23,23,4,4",
        "-fill", "none", "-stroke", "#FFFFFF", "-strokewidth", "2", "-draw", "line 7,7 17,17", "-draw", "line 17,7 7,17"])

    # Check boxes (20 x 20).
    def check(name, fill, border, mark):
        args = icon_canvas(20) + ["-fill", fill, "-stroke", border, "-strokewidth", "1.5",
                                  "-draw", "roundrectangle 1,1,18,18,4,4"]
        if mark:
            args += ["-fill", "none", "-stroke", mark, "-strokewidth", "2.5",
                     "-draw", "polyline 5,10 8.5,14 15,6"]
        magick(work, name, args)

    check("check_off.png", "#0E1D26", GOLD_DARK, None)
    check("check_off_hot.png", "#14303C", GOLD, None)
    check("check_on.png", "#1F5A44", GOLD, "#F3D58E")
    check("check_on_hot.png", "#267055", GOLD_LIGHT, "#FFFFFF")
    check("check_off_disabled.png", "#2A2F34", "#4F555C", None)
    check("check_on_disabled.png", "#2A2F34", "#4F555C", "#7A828A")

    # Slider ruler and thumb, coloured and grey (for the switched-off memory block).
    def ruler(name, bar_top, bar_bottom, tick):
        magick(work, name, [
            "-size", "260x24", "xc:none",
            "(", "-size", "250x6", f"gradient:{bar_top}-{bar_bottom}", ")", "-geometry", "+5+9", "-composite",
            "-fill", tick,
            "-draw", "rectangle 8,4 10,19", "-draw", "rectangle 129,4 131,19", "-draw", "rectangle 249,4 251,19",
            "-draw", "rectangle 68,7 69,16", "-draw", "rectangle 190,7 191,16"])

    ruler("标尺.png", GOLD_LIGHT, "#B07A2A", "#F3D58E")
    ruler("标尺灰.png", "#7A828A", "#4F555C", "#8A9198")

    def thumb(name, top, bottom, border):
        magick(work, name, ["-size", "18x24", f"gradient:{top}-{bottom}"] + rounded_mask(18, 24, 5) + [
            "-alpha", "off", "-compose", "CopyOpacity", "-composite", "-compose", "Over",
            "-fill", "none", "-stroke", border, "-strokewidth", "1.5", "-draw", "roundrectangle 1,1,16,22,4,4",
            "-stroke", "rgba(0,0,0,0.45)", "-strokewidth", "1", "-draw", "line 9,7 9,16"])

    thumb("滑竿.png", "#FFE4A0", "#C98A2E", "#FFF3C8")
    thumb("滑竿灰.png", "#B4BAC0", "#6B7480", "#D0D4D8")

    # Combo box and edit field frames.
    def frame(name, w, h, fill, border, arrow=None):
        args = ["-size", f"{w}x{h}", "xc:none", "-fill", fill, "-stroke", border, "-strokewidth", "1",
                "-draw", f"roundrectangle 0.5,0.5,{w - 1.5},{h - 1.5},4,4"]
        if arrow:
            args += ["-stroke", "none", "-fill", arrow,
                     "-draw", f"polygon {w - 22},{h // 2 - 3} {w - 10},{h // 2 - 3} {w - 16},{h // 2 + 4}"]
        magick(work, name, args)

    frame("combo_normal.png", 200, 30, "#0E1D26", GOLD_DARK, GOLD)
    frame("combo_hot.png", 200, 30, "#14303C", GOLD, GOLD_LIGHT)
    frame("combo_pushed.png", 200, 30, "#14303C", GOLD_LIGHT, GOLD_LIGHT)
    frame("combo_disabled.png", 200, 30, "#23282D", "#454B52", "#5C6168")
    frame("edit_normal.png", 90, 30, "#F4EFE4", GOLD_DARK)
    frame("edit_hot.png", 90, 30, "#FFFFFF", GOLD)
    frame("edit_disabled.png", 90, 30, "#3A3F45", "#4F555C")

    # Dialog backgrounds: dark header with a gold rule; the message boxes have a light
    # parchment body because their text is dark grey.
    def dialog(name, w, h, body_top, body_bottom, header=40):
        magick(work, name, [
            "-size", f"{w}x{h}", f"gradient:{body_top}-{body_bottom}",
            "(", "-size", f"{w}x{header}", f"gradient:#245A6B-{TEAL_DARK}", ")", "-geometry", "+0+0", "-composite",
            "-fill", GOLD, "-draw", f"rectangle 0,{header},{w},{header + 1}",
            "-fill", "none", "-stroke", GOLD_DARK, "-strokewidth", "2",
            "-draw", f"rectangle 1,1,{w - 2},{h - 2}"])

    dialog("msg_big_bg.png", 440, 280, "#F6F0E2", "#E3D7BD")
    dialog("msg_normal_bg.png", 380, 220, "#F6F0E2", "#E3D7BD")
    dialog("about_bg.png", 420, 300, "#15303C", "#080F15")
    dialog("findpath_bg.png", 500, 230, "#15303C", "#080F15")

    # Home page art: the gold ring portal with a crystal, and a news panel frame.
    magick(work, "hero.png", [
        "-size", "420x260", "xc:none",
        "(", "-size", "420x260", "xc:none", "-fill", "rgba(95,191,122,0.55)", "-draw", "circle 210,130 210,50",
        "-blur", "0x30", ")", "-composite",
        "-fill", "none", "-stroke", "rgba(243,213,142,0.85)", "-strokewidth", "3", "-draw", "circle 210,130 210,30",
        "-stroke", "rgba(243,213,142,0.40)", "-strokewidth", "1", "-draw", "circle 210,130 210,18",
        "-stroke", "none", "-fill", "#5FBF7A", "-draw", "polygon 210,55 262,130 210,205 158,130",
        "-fill", "#A9E8B8", "-draw", "polygon 210,55 232,130 210,205 188,130",
        "-fill", "rgba(255,255,255,0.85)", "-draw", "circle 210,130 210,122"])

    # Menu item icons (16 x 16).
    def menu_icon(name, glyph):
        magick(work, name, icon_canvas(16) + ["-fill", "none", "-stroke", GOLD_LIGHT, "-strokewidth", "1.5"] + glyph)

    menu_icon("menu_path.png", ["-draw", "polyline 1,4 6,4 8,6 15,6 15,14 1,14 1,4"])
    menu_icon("menu_site.png", ["-draw", "circle 8,8 8,1", "-draw", "line 1,8 15,8", "-draw", "ellipse 8,8 3,7 0,360"])
    menu_icon("menu_update.png", ["-draw", "arc 2,2 14,14 200,520", "-fill", GOLD_LIGHT, "-stroke", "none",
                                  "-draw", "polygon 12,1 15,6 10,6"])
    menu_icon("menu_about.png", ["-draw", "circle 8,8 8,1", "-fill", GOLD_LIGHT, "-stroke", "none",
                                 "-draw", "rectangle 7,7 9,12", "-draw", "rectangle 7,4 9,5"])
    menu_icon("menu_start.png", ["-fill", GOLD_LIGHT, "-draw", "polygon 4,2 14,8 4,14"])
    menu_icon("menu_feedback.png", ["-draw", "roundrectangle 1,2,15,11,2,2", "-draw", "polyline 4,11 3,15 8,11"])
    menu_icon("menu_exit.png", ["-draw", "arc 2,2 14,14 300,600", "-draw", "line 8,1 8,8"])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--layouts", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--out", required=True)
    a = parser.parse_args()
    if shutil.which("convert") is None:
        sys.exit("make_skin.py: ImageMagick's convert is missing (scripts/setup.sh installs imagemagick)")
    os.makedirs(a.work, exist_ok=True)
    draw_images(a.work)
    os.makedirs(os.path.dirname(os.path.abspath(a.out)), exist_ok=True)
    temp = a.out + ".part"
    with zipfile.ZipFile(temp, "w", compression=zipfile.ZIP_DEFLATED) as z:
        for folder in (a.layouts, a.work):
            for name in sorted(os.listdir(folder)):
                path = os.path.join(folder, name)
                if os.path.isfile(path):
                    z.write(path, arcname=name)
    os.replace(temp, a.out)


if __name__ == "__main__":
    main()
