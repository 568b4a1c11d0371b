#!/usr/bin/python3
"""Makes the programs' .ico files from the Tango icon theme (public domain, Debian package
tango-icon-theme): each SVG is rendered at 16, 24, 32 and 48 pixels with rsvg-convert and the four
renderings are stored in one icon file, as plain bitmaps (older Windows cannot read PNG icons).

    tools/make_program_icons.py            # writes res/<program>/<program>.ico

Needs rsvg-convert (librsvg2-bin) and Pillow (python3-pil); scripts/setup.sh installs both.
"""
import io
import pathlib
import struct
import subprocess
import sys

from PIL import Image

TANGO = pathlib.Path("/usr/share/icons/Tango/scalable")
ROOT = pathlib.Path(__file__).resolve().parent.parent

# program -> (resource folder, Tango icon)
ICONS = {
    "ZephraShell": ("shell", "places/user-desktop.svg"),
    "Prindle": ("print", "devices/printer.svg"),
    "Palomid": ("controlpanel", "categories/preferences-system.svg"),
    "Sanivo": ("checker", "actions/edit-clear.svg"),
}
SIZES = (16, 24, 32, 48)


def render(svg: pathlib.Path, size: int) -> Image.Image:
    png = subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), str(svg)],
                         check=True, capture_output=True).stdout
    return Image.open(io.BytesIO(png)).convert("RGBA")


def bmp_entry(image: Image.Image) -> bytes:
    """One icon image as a 32-bit bitmap with its AND mask (bottom-up rows)."""
    w, h = image.size
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = image.load()
    color = bytearray()
    mask = bytearray()
    mask_stride = ((w + 31) // 32) * 4
    for y in range(h - 1, -1, -1):
        row_mask = bytearray(mask_stride)
        for x in range(w):
            r, g, b, a = pixels[x, y]
            color += bytes((b, g, r, a))
            if a == 0:
                row_mask[x // 8] |= 0x80 >> (x % 8)
        mask += row_mask
    return header + bytes(color) + bytes(mask)


def write_ico(path: pathlib.Path, images) -> None:
    entries = [bmp_entry(im) for im in images]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for im, data in zip(images, entries):
        w, h = im.size
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in entries:
        out += data
    path.write_bytes(bytes(out))


def main() -> int:
    for program, (folder, icon) in ICONS.items():
        images = [render(TANGO / icon, size) for size in SIZES]
        out = ROOT / "res" / folder / f"{program}.ico"
        out.parent.mkdir(parents=True, exist_ok=True)
        write_ico(out, images)
        print(f"{out.relative_to(ROOT)} <- Tango {icon}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
