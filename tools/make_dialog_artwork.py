#!/usr/bin/python3
"""Makes the artwork of the shell's two small windows:

- res/shell/run_dialog.bmp: the run dialog's 347 x 147 background, in the look of the system's
  own run dialog: dialog grey, a program icon at the top left, a two-line prompt, the caption
  of the input line and an empty sunken input field (the dialog lays its real text box exactly
  over it, at 69, 61, 265 x 19) with its drop-down button;
- res/shell/search.ico: the search bar's icon, a monitor with a blue screen (16 and 32 pixels).

The icons come from the Tango icon theme (public domain, Debian package tango-icon-theme); the
text is set in WenQuanYi Micro Hei (Debian package fonts-wqy-microhei).

    tools/make_dialog_artwork.py
"""
import io
import pathlib
import subprocess
import sys

from PIL import Image, ImageDraw, ImageFont

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
from make_program_icons import write_ico  # noqa: E402

TANGO = pathlib.Path("/usr/share/icons/Tango/scalable")
FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
ROOT = pathlib.Path(__file__).resolve().parent.parent

GREY = (212, 208, 200)
WHITE = (255, 255, 255)
DARK = (64, 64, 64)
SHADOW = (128, 128, 128)
LIGHT = (255, 255, 255)
BLACK = (0, 0, 0)


def render(svg: str, size: int) -> Image.Image:
    png = subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), str(TANGO / svg)],
                         check=True, capture_output=True).stdout
    return Image.open(io.BytesIO(png)).convert("RGBA")


def sunken(draw: ImageDraw.ImageDraw, x0: int, y0: int, x1: int, y1: int) -> None:
    """A classic two-pixel sunken frame around (x0, y0) .. (x1, y1) inclusive."""
    draw.line([(x0, y1), (x0, y0), (x1, y0)], fill=SHADOW)
    draw.line([(x0 + 1, y1 - 1), (x0 + 1, y0 + 1), (x1 - 1, y0 + 1)], fill=DARK)
    draw.line([(x0, y1), (x1, y1), (x1, y0)], fill=LIGHT)
    draw.line([(x0 + 1, y1 - 1), (x1 - 1, y1 - 1), (x1 - 1, y0 + 1)], fill=GREY)


def raised(draw: ImageDraw.ImageDraw, x0: int, y0: int, x1: int, y1: int) -> None:
    draw.rectangle([x0, y0, x1, y1], fill=GREY)
    draw.line([(x0, y1), (x0, y0), (x1, y0)], fill=LIGHT)
    draw.line([(x0, y1), (x1, y1), (x1, y0)], fill=DARK)
    draw.line([(x0 + 1, y1 - 1), (x1 - 1, y1 - 1), (x1 - 1, y0 + 1)], fill=SHADOW)


def run_dialog() -> Image.Image:
    image = Image.new("RGB", (347, 147), GREY)
    icon = render("apps/preferences-system-windows.svg", 32)
    image.paste(icon, (14, 14), icon)
    draw = ImageDraw.Draw(image)
    font = ImageFont.truetype(FONT, 12)
    draw.text((58, 14), "请键入程序、文件夹、文档或 Internet 资源的", font=font, fill=BLACK)
    draw.text((58, 31), "名称，Windows 将为您打开它。", font=font, fill=BLACK)
    draw.text((12, 63), "打开(O):", font=font, fill=BLACK)
    # The input field: the text box covers 69 .. 333 x 61 .. 79; the frame lies around it.
    draw.rectangle([69, 61, 333, 79], fill=WHITE)
    sunken(draw, 67, 59, 346, 81)
    raised(draw, 334, 61, 344, 79)
    cx, cy = 339, 70
    draw.polygon([(cx - 2, cy - 1), (cx + 2, cy - 1), (cx, cy + 1)], fill=BLACK)
    return image


def main() -> None:
    out = ROOT / "res" / "shell" / "run_dialog.bmp"
    run_dialog().save(out, format="BMP")
    print(f"{out.relative_to(ROOT)}")
    ico = ROOT / "res" / "shell" / "search.ico"
    write_ico(ico, [render("devices/video-display.svg", s) for s in (16, 32)])
    print(f"{ico.relative_to(ROOT)} <- Tango devices/video-display.svg")


if __name__ == "__main__":
    main()
