#!/usr/bin/python3
"""Makes the skin artwork of the shell: the quick-launch images 1 to 7 of the taskbar and the 19
start-menu entry pictures, as image strings in src/shell/core/SkinArtwork.cpp.

Every picture is drawn from the Tango icon theme (public domain, Debian package
tango-icon-theme) and, where Tango has no icon of the subject, from our own drawings in the Tango
style (res/shell/artwork/*.svg, public domain as well). The SVGs are rendered with rsvg-convert,
layered, and turned into one colour per pixel: pixels that are mostly transparent become -1
(transparent), the others are blended over the skins' light grey face colour so that the soft
edges of the icons keep their look on the flat taskbar and on the menus.

    tools/make_skin_artwork.py                     # writes src/shell/core/SkinArtwork.cpp
    tools/make_skin_artwork.py --preview out.png   # also draws every picture on its backgrounds

Needs rsvg-convert (librsvg2-bin) and Pillow (python3-pil); scripts/setup.sh installs both.
"""
import argparse
import io
import pathlib
import subprocess
import sys

from PIL import Image

TANGO = pathlib.Path("/usr/share/icons/Tango/scalable")
ROOT = pathlib.Path(__file__).resolve().parent.parent
OWN = ROOT / "res" / "shell" / "artwork"
OUTPUT = ROOT / "src" / "shell" / "core" / "SkinArtwork.cpp"

FACE = (0xE6, 0xE6, 0xE6)   # the flat taskbar and the menu body (15132390)
ALPHA_OPAQUE = 96           # pixels at least this opaque are drawn, the others are transparent

# Tango's orange "important" emblem, recoloured to Tango's scarlet red.
RED_EMBLEM = {"#f57900": "#cc0000", "#914900": "#820000", "#fcaf3e": "#ef2929"}


def layer(source, size, x, y, recolor=None):
    """One rendered icon: source "tango:folder/name" or "own:name", size in pixels, top left."""
    return {"source": source, "size": size, "x": x, "y": y, "recolor": recolor or {}}


def icon(rows, columns, size, source, top=None, left=None):
    """A picture of one icon of `size` pixels, centred unless placed."""
    if left is None:
        left = (columns - size) // 2
    if top is None:
        top = (rows - size) // 2
    return {"rows": rows, "columns": columns, "layers": [layer(source, size, left, top)]}


def quick(rows, source):
    # 36-pixel icons centred on the 54-pixel strip where the image is tall enough; the image is
    # painted at the strip's top.
    return icon(rows, 48, 36, source, top=min(9, rows - 36), left=6)


# Quick-launch images 1 (the start button) ... 7, 48 columns each.
QUICK_LAUNCH = [
    (quick(44, "tango:places/start-here"), "the start button: Tango start-here"),
    (quick(47, "tango:devices/computer"), "computer"),
    (quick(46, "tango:apps/internet-web-browser"), "web browser"),
    (quick(48, "tango:apps/accessories-text-editor"), "text editor"),
    (quick(49, "tango:actions/edit-clear"), "system checker (broom)"),
    (quick(47, "tango:categories/preferences-system"), "control panel (screwdriver, wrench)"),
    (quick(48, "tango:devices/printer"), "printer"),
]


def menu(rows, columns, layers):
    return {"rows": rows, "columns": columns, "layers": layers}


def menu_icon(source, size=20, rows=22, columns=27, recolor=None):
    # Centred on x = 14.5 (the picture's left part, before the caption at x = 29) and near the
    # 25-pixel entry's middle row.
    left = 15 - size // 2
    top = rows - size
    return menu(rows, columns, [layer(source, size, left, top, recolor)])


MENU_PICTURES = [
    (menu_icon("own:power-button", 22, 25, 25), "a blue circular power button"),
    (menu_icon("own:padlock", 22, 25, 25), "a gold padlock"),
    (menu(22, 27, [layer("own:window", 20, 4, 1), layer("tango:emblems/emblem-system",
                                                         15, 12, 7)]),
     "a program window with a gear wheel"),
    (menu_icon("tango:places/user-home"), "a folder with a house"),
    (menu_icon("own:life-buoy"), "a life buoy"),
    (menu(22, 27, [layer("own:window", 19, 4, 1), layer("tango:actions/system-search",
                                                        15, 12, 7)]),
     "a window under a magnifying glass"),
    (menu(22, 27, [layer("tango:devices/video-display", 19, 3, 0),
                   layer("own:circuit-board", 14, 12, 8)]),
     "a circuit board in front of a screen"),
    (menu_icon("tango:categories/preferences-system"), "a screwdriver and a wrench"),
    (menu_icon("tango:devices/computer"), "a computer with a monitor"),
    (menu(22, 27, [layer("own:film-strip", 18, 2, 0),
                   layer("own:loudspeaker", 13, 14, 9)]),
     "a film strip and a loudspeaker"),
    (menu_icon("own:tool-box"), "a red tool box"),
    (menu(22, 27, [layer("own:window", 20, 4, 1), layer("own:leaf", 12, 14, 10)]),
     "a window with a green leaf-shaped badge"),
    (menu(22, 27, [layer("tango:mimetypes/x-office-document", 17, 4, 0),
                   layer("tango:mimetypes/x-office-spreadsheet", 17, 10, 5)]),
     "office documents with a pie chart"),
    (menu_icon("tango:categories/applications-internet"), "a globe"),
    (menu_icon("own:palette"), "a painter's palette and brush"),
    (menu(22, 26, [layer("tango:categories/applications-games", 19, 3, 1),
                   layer("own:game-piece", 11, 15, 11)]),
     "playing cards and a game piece"),
    (menu(22, 26, [layer("tango:mimetypes/x-office-document", 16, 4, 0),
                   layer("tango:mimetypes/x-office-document", 16, 7, 3),
                   layer("tango:mimetypes/x-office-document", 16, 10, 6)]),
     "stacked documents"),
    (menu_icon("tango:emotes/face-monkey", 20, 22, 26), "a cartoon animal's head"),
    (menu_icon("tango:emblems/emblem-important", 22, 26, 26, RED_EMBLEM),
     "a red circle with a white exclamation mark"),
]


def svg_path(source):
    kind, name = source.split(":", 1)
    if kind == "tango":
        return TANGO / f"{name}.svg"
    return OWN / f"{name}.svg"


def render(source, size, recolor):
    data = svg_path(source).read_bytes()
    for old, new in recolor.items():
        data = data.replace(old.encode(), new.encode())
    png = subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size)], input=data,
                         check=True, capture_output=True).stdout
    return Image.open(io.BytesIO(png)).convert("RGBA")


def compose(picture):
    canvas = Image.new("RGBA", (picture["columns"], picture["rows"]), (0, 0, 0, 0))
    for part in picture["layers"]:
        image = render(part["source"], part["size"], part["recolor"])
        piece = Image.new("RGBA", canvas.size, (0, 0, 0, 0))
        piece.paste(image, (part["x"], part["y"]))
        canvas = Image.alpha_composite(canvas, piece)
    return canvas


def colour_values(image):
    """Column-major pixel values: -1 for transparent, 0x00BBGGRR for the others."""
    pixels = image.load()
    width, height = image.size
    values = []
    for x in range(width):
        column = []
        for y in range(height):
            r, g, b, a = pixels[x, y]
            if a < ALPHA_OPAQUE:
                column.append(-1)
                continue
            blend = [round((c * a + f * (255 - a)) / 255) for c, f in zip((r, g, b), FACE)]
            column.append(blend[0] | (blend[1] << 8) | (blend[2] << 16))
        values.append(column)
    return values


def skin_text(picture, values):
    return ",".join([str(picture["rows"] - 1)] + [str(v) for column in values for v in column])


def cpp_literal(picture, values):
    """The image string as adjacent literals, one column per line."""
    lines = [f'"{picture["rows"] - 1}"']
    for column in values:
        lines.append('",' + ",".join(str(v) for v in column) + '"')
    return "\n        ".join(lines)


def sources_of(picture):
    return " + ".join(part["source"] for part in picture["layers"])


def write_cpp(quick, menu_pictures):
    out = ["// Generated by tools/make_skin_artwork.py from the Tango icon theme (public domain) and",
           "// the drawings in res/shell/artwork; do not edit. See res/README-artwork.md.",
           '#include "shell/core/SkinArtwork.h"',
           "",
           "namespace SkinArtwork {",
           "",
           "const char* const kQuickLaunch[kQuickLaunchCount] = {"]
    for index, (picture, subject, values) in enumerate(quick, start=1):
        out.append(f"    // {index}: {subject}, {picture['rows']} x {picture['columns']}, "
                   f"{sources_of(picture)}")
        out.append("    " + cpp_literal(picture, values) + ",")
    out.append("};")
    out.append("")
    out.append("const char* const kMenuPicture[kMenuPictureCount] = {")
    for index, (picture, subject, values) in enumerate(menu_pictures, start=1):
        out.append(f"    // {index}: {subject}, {picture['rows']} x {picture['columns']}, "
                   f"{sources_of(picture)}")
        out.append("    " + cpp_literal(picture, values) + ",")
    out.append("};")
    out.append("")
    out.append("}  // namespace SkinArtwork")
    OUTPUT.write_text("\n".join(out) + "\n")


def draw_values(sheet, values, left, top, scale):
    for x, column in enumerate(values):
        for y, v in enumerate(column):
            if v < 0:
                continue
            colour = (v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF)
            for dx in range(scale):
                for dy in range(scale):
                    sheet.putpixel((left + x * scale + dx, top + y * scale + dy), colour)


def preview(path, quick, menu_pictures):
    """Each picture on the flat face, on the dark 3D taskbar and on the menu's blue highlight,
    at its own size and three times enlarged."""
    backgrounds = [FACE, (0x54, 0x54, 0x54), (0x4D, 0x5A, 0xB0)]
    items = [(p, v) for p, _, v in quick] + [(p, v) for p, _, v in menu_pictures]
    cell_w, cell_h = 64 + 3 * 50, 3 * 56
    sheet = Image.new("RGB", (cell_w * 3, cell_h * len(items) // 3 + cell_h), (255, 255, 255))
    for i, (picture, values) in enumerate(items):
        cx, cy = (i % 3) * cell_w, (i // 3) * cell_h
        for b, colour in enumerate(backgrounds):
            sheet.paste(colour, (cx + 2, cy + 2 + b * 52, cx + 60, cy + 52 + b * 52))
            draw_values(sheet, values, cx + 4, cy + 3 + b * 52, 1)
        sheet.paste(FACE, (cx + 64, cy + 2, cx + 64 + 3 * 50, cy + 2 + 3 * 50))
        draw_values(sheet, values, cx + 66, cy + 4, 3)
    sheet.save(path)


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--preview", type=pathlib.Path)
    args = parser.parse_args()
    quick = [(p, s, colour_values(compose(p))) for p, s in QUICK_LAUNCH]
    menu_pictures = [(p, s, colour_values(compose(p))) for p, s in MENU_PICTURES]
    for picture, subject, values in quick + menu_pictures:
        assert len(values) == picture["columns"] and len(values[0]) == picture["rows"], subject
    write_cpp(quick, menu_pictures)
    print(f"{OUTPUT.relative_to(ROOT)}: {len(quick)} quick-launch images, "
          f"{len(menu_pictures)} menu pictures")
    if args.preview:
        preview(args.preview, quick, menu_pictures)
        print(f"preview: {args.preview}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
