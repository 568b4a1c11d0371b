#!/usr/bin/python3
"""Makes the five desktop icon pictures of the shell (res/shell/desktop1.bmp ... desktop5.bmp)
from the Tango icon theme (public domain, Debian package tango-icon-theme).

Each picture is 50 x 48 pixels: the 48-pixel icon centred on a magenta (0xFF00FF) background,
which the desktop shows as transparent. Magenta keys have no partial transparency, so the
icon's soft edges are blended against the desktop's own colour at the icons' place (the left
end of the background gradient) and its almost-clear pixels become magenta.

    tools/make_desktop_pictures.py
"""
import io
import pathlib
import subprocess

from PIL import Image

TANGO = pathlib.Path("/usr/share/icons/Tango/scalable")
ROOT = pathlib.Path(__file__).resolve().parent.parent

PICTURES = [
    "devices/computer.svg",              # 1: my computer
    "places/folder.svg",                 # 2: my documents
    "apps/internet-web-browser.svg",     # 3: the web
    "places/user-trash.svg",             # 4: recycle bin
    "apps/utilities-system-monitor.svg",  # 5: the system checker
]
MAGENTA = (255, 0, 255)
DESKTOP = (19, 32, 68)  # the gradient near the icons' left edge


def render(svg: pathlib.Path, size: int) -> Image.Image:
    png = subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), str(svg)],
                         check=True, capture_output=True).stdout
    return Image.open(io.BytesIO(png)).convert("RGBA")


def keyed(icon: Image.Image) -> Image.Image:
    out = Image.new("RGB", (50, 48), MAGENTA)
    src = icon.load()
    dst = out.load()
    for y in range(48):
        for x in range(48):
            r, g, b, a = src[x, y]
            if a < 96:
                continue
            k = a / 255.0
            colour = tuple(round(c * k + d * (1 - k)) for c, d in zip((r, g, b), DESKTOP))
            if colour == MAGENTA:
                colour = (254, 0, 254)
            dst[x + 1, y] = colour
    return out


def main() -> None:
    for n, svg in enumerate(PICTURES, 1):
        out = ROOT / "res" / "shell" / f"desktop{n}.bmp"
        keyed(render(TANGO / svg, 48)).save(out, format="BMP")
        print(f"{out.relative_to(ROOT)} <- Tango {svg}")


if __name__ == "__main__":
    main()
