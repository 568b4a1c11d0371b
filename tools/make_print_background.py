#!/usr/bin/python3
"""Makes Prindle's background picture, res/print/Background.bmp (347 x 147 pixels, the window's
client area on a 96-dpi screen), from the Tango icon theme (public domain, Debian package
tango-icon-theme): a soft white-to-blue sky with a large, faint printer as a watermark at the
lower left, and a light footer band under the buttons.

    tools/make_print_background.py

Needs rsvg-convert (librsvg2-bin) and Pillow (python3-pil); scripts/setup.sh installs both.
The picture is stored as a 24-bit bitmap so that every Windows can load it as a resource.
"""
import io
import pathlib
import subprocess
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter

TANGO = pathlib.Path("/usr/share/icons/Tango/scalable")
ROOT = pathlib.Path(__file__).resolve().parent.parent
OUT = ROOT / "res" / "print" / "Background.bmp"

WIDTH, HEIGHT = 347, 147
TOP, BOTTOM = (255, 255, 255), (214, 227, 242)  # sky gradient, top to bottom
FOOTER_TOP = 104  # the footer band holds the two buttons (their top is at 116)
FOOTER = (232, 238, 246)
FOOTER_LINE, FOOTER_LIGHT = (190, 205, 224), (250, 252, 255)


def render(svg: pathlib.Path, size: int) -> Image.Image:
    png = subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), str(svg)],
                         check=True, capture_output=True).stdout
    return Image.open(io.BytesIO(png)).convert("RGBA")


def lerp(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def faded(image: Image.Image, opacity: float) -> Image.Image:
    r, g, b, a = image.split()
    a = a.point(lambda v: round(v * opacity))
    return Image.merge("RGBA", (r, g, b, a))


def place(canvas: Image.Image, image: Image.Image, x: int, y: int) -> None:
    """Composites image at (x, y), cut by the canvas edges (also at negative places)."""
    left, top = max(0, -x), max(0, -y)
    right = min(image.width, canvas.width - x)
    bottom = min(image.height, canvas.height - y)
    if right > left and bottom > top:
        canvas.alpha_composite(image.crop((left, top, right, bottom)), (x + left, y + top))


def main() -> int:
    canvas = Image.new("RGBA", (WIDTH, HEIGHT))
    draw = ImageDraw.Draw(canvas)
    for y in range(HEIGHT):
        draw.line([(0, y), (WIDTH, y)], fill=lerp(TOP, BOTTOM, y / (HEIGHT - 1)) + (255,))

    # A soft highlight behind the program's icon (drawn by the program at 8, 12, 48 x 48).
    glow = Image.new("L", (WIDTH, HEIGHT), 0)
    ImageDraw.Draw(glow).ellipse([-14, -10, 78, 82], fill=150)
    glow = glow.filter(ImageFilter.GaussianBlur(14))
    white = Image.new("RGBA", (WIDTH, HEIGHT), (255, 255, 255, 255))
    canvas = Image.composite(white, canvas, glow)

    # Footer band under the buttons, with a fine etched line at its top.
    draw = ImageDraw.Draw(canvas)
    for y in range(FOOTER_TOP, HEIGHT):
        t = (y - FOOTER_TOP) / (HEIGHT - FOOTER_TOP)
        draw.line([(0, y), (WIDTH, y)], fill=lerp(FOOTER, BOTTOM, t) + (255,))
    draw.line([(0, FOOTER_TOP), (WIDTH, FOOTER_TOP)], fill=FOOTER_LINE + (255,))
    draw.line([(0, FOOTER_TOP + 1), (WIDTH, FOOTER_TOP + 1)], fill=FOOTER_LIGHT + (255,))

    # Watermark: a large, faint printer, cut by the lower left edge.
    printer = faded(render(TANGO / "devices" / "printer.svg", 120), 0.16)
    place(canvas, printer, -14, 62)

    # A thin accent at the very top, in the blue of the printer's paper tray.
    draw = ImageDraw.Draw(canvas)
    draw.line([(0, 0), (WIDTH, 0)], fill=(114, 159, 207, 255))

    rgb = Image.new("RGB", canvas.size)
    rgb.paste(canvas, mask=ImageChops.constant(canvas.getchannel("A"), 255))
    OUT.parent.mkdir(parents=True, exist_ok=True)
    rgb.save(OUT, format="BMP")
    print(f"{OUT.relative_to(ROOT)} {WIDTH}x{HEIGHT}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
