#!/usr/bin/python3
"""Makes the checker's three image lists from the Tango icon theme (public domain, Debian package
tango-icon-theme): one icon file per picture in res/checker/images/ and the resource script
res/checker/images.rc that compiles them into Sanivo.exe.

    tools/make_checker_images.py

ImageList1 holds the 16 x 16 pictures of the menus, the result rows and the check list; ImageList2
and ImageList3 hold the 32 x 32 tool-bar pictures, plain and lit (under the pointer). Tango's own
16 and 32 pixel drawings are used as they are; the plain tool-bar pictures are slightly muted so
that the lit ones stand out. Needs Pillow (python3-pil).
"""
import pathlib
import sys

from PIL import Image, ImageEnhance

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
from make_program_icons import write_ico  # noqa: E402

TANGO = pathlib.Path("/usr/share/icons/Tango")
ROOT = pathlib.Path(__file__).resolve().parent.parent
OUT = ROOT / "res" / "checker"

# ImageList1: index -> (Tango picture, what it stands for). The indices are fixed by the program.
IMAGE_LIST1 = [
    ("status/dialog-warning", "a result row"),
    ("actions/system-search", "scan"),
    ("categories/preferences-system", "repair"),
    ("actions/edit-clear", "repair all"),
    ("actions/document-save", "registry backup"),
    ("actions/edit-undo", "registry restore"),
    ("mimetypes/x-office-document", "history log; a shared-DLL row"),
    ("apps/internet-web-browser", "home page"),
    ("actions/mail-message-new", "e-mail"),
    ("status/weather-clear", "a repaired row"),
    ("devices/computer", "check: the computer"),
    ("mimetypes/application-x-executable", "check: classes and file types; DLLs"),
    ("places/user-home", "check: the current user"),
    ("apps/system-users", "check: all users"),
    ("apps/system-installer", "check: uninstall entries"),
    ("apps/preferences-desktop-font", "check: fonts"),
    ("places/start-here", "check: program menus"),
    ("mimetypes/package-x-generic", "check: application software"),
    ("apps/help-browser", "check: help files"),
    ("places/folder", "check: disk folders"),
    ("devices/drive-harddisk", "check: disk files"),
    ("mimetypes/application-certificate", "check: protected system files"),
]

# ImageList2 (plain) and ImageList3 (lit): the tool buttons' pictures.
TOOL_BAR = [
    ("actions/system-search", "scan"),
    ("actions/edit-clear", "repair all"),
    ("categories/preferences-system", "repair"),
    ("actions/document-save", "registry backup"),
    ("actions/edit-undo", "registry restore"),
    ("mimetypes/x-office-document", "history log"),
]

# Resource ids: list n, picture i -> n * 100 + i.
FIRST_ID = {1: 100, 2: 200, 3: 300}


def load(name: str, size: int) -> Image.Image:
    return Image.open(TANGO / f"{size}x{size}" / f"{name}.png").convert("RGBA")


def muted(image: Image.Image) -> Image.Image:
    rgb = ImageEnhance.Color(image.convert("RGB")).enhance(0.55)
    rgb = ImageEnhance.Brightness(rgb).enhance(0.97)
    out = rgb.convert("RGBA")
    out.putalpha(image.getchannel("A"))
    return out


def main() -> int:
    images = OUT / "images"
    images.mkdir(parents=True, exist_ok=True)
    lines = [
        "// Made by tools/make_checker_images.py from the Tango icon theme (public domain).",
        "// ImageList1: ids 100-121 (16 x 16); ImageList2: 200-205 and ImageList3: 300-305 (32 x 32).",
    ]
    lists = {
        1: [(load(name, 16), name, use) for name, use in IMAGE_LIST1],
        2: [(muted(load(name, 32)), name, use) for name, use in TOOL_BAR],
        3: [(load(name, 32), name, use) for name, use in TOOL_BAR],
    }
    for number, pictures in lists.items():
        for index, (image, name, use) in enumerate(pictures):
            file = f"list{number}_{index:02d}.ico"
            write_ico(images / file, [image])
            lines.append(f'{FIRST_ID[number] + index} ICON "images/{file}"  // {use}: Tango {name}')
    (OUT / "images.rc").write_text("\n".join(lines) + "\n", encoding="utf-8")
    print(f"wrote {sum(len(p) for p in lists.values())} icons and res/checker/images.rc")
    return 0


if __name__ == "__main__":
    sys.exit(main())
