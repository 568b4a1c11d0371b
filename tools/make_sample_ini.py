#!/usr/bin/python3
"""Writes config/SysInfo.ini, the sample configuration of the shell: all 146 keys of section
"Zephra", in code page 936 (GBK) with CRLF line ends, as the shell's profile functions read it.

    tools/make_sample_ini.py

The texts below are the sample's own; an operator edits the generated file (or this list).
Links are handed unchanged to the system's "open" verb: program names are found beside the
shell (its working folder) or on the system path, "::{...}" names open shell folders, and web
addresses open in the default browser.
"""
import pathlib

ROOT = pathlib.Path(__file__).resolve().parent.parent

# Start-menu categories 1 .. 10: caption and six (caption, link) entries. Entry 4 is the
# Internet category.
CATEGORIES = [
    ("常用工具", [("记事本", "notepad.exe"), ("计算器", "calc.exe"), ("画图", "mspaint.exe"),
                  ("写字板", "write.exe"), ("字符映射表", "charmap.exe"), ("命令提示符", "cmd.exe")]),
    ("系统维护", [("系统检查 Sanivo", "Sanivo.exe"), ("控制面板 Palomid", "Palomid.exe"),
                  ("任务管理器", "taskmgr.exe"), ("注册表编辑器", "regedit.exe"),
                  ("系统配置", "msconfig.exe"), ("关于 Windows", "winver.exe")]),
    ("办公软件", [("打印文档 Prindle", "Prindle.exe"), ("写字板", "write.exe"),
                  ("记事本", "notepad.exe"), ("我的文档", "::{450D8FBA-AD25-11D0-98A8-0800361B1103}"),
                  ("计算器", "calc.exe"), ("字符映射表", "charmap.exe")]),
    ("网络应用", [("百度搜索", "https://www.baidu.com/"), ("新浪新闻", "https://news.sina.com.cn/"),
                  ("网易邮箱", "https://mail.163.com/"), ("腾讯网", "https://www.qq.com/"),
                  ("百度地图", "https://map.baidu.com/"), ("浏览器", "iexplore.exe")]),
    ("多媒体", [("媒体播放器", "wmplayer.exe"), ("录音机", "sndrec32.exe"),
                ("音量控制", "sndvol32.exe"), ("画图", "mspaint.exe"),
                ("我的音乐", "::{450D8FBA-AD25-11D0-98A8-0800361B1103}"), ("记事本", "notepad.exe")]),
    ("图形图像", [("画图", "mspaint.exe"), ("我的图片", "::{450D8FBA-AD25-11D0-98A8-0800361B1103}"),
                  ("字符映射表", "charmap.exe"), ("放大镜", "magnify.exe"),
                  ("屏幕键盘", "osk.exe"), ("写字板", "write.exe")]),
    ("游戏娱乐", [("扫雷", "winmine.exe"), ("空当接龙", "freecell.exe"), ("纸牌", "sol.exe"),
                  ("蜘蛛纸牌", "spider.exe"), ("红心大战", "mshearts.exe"), ("弹球", "pinball.exe")]),
    ("编程开发", [("命令提示符", "cmd.exe"), ("记事本", "notepad.exe"),
                  ("注册表编辑器", "regedit.exe"), ("任务管理器", "taskmgr.exe"),
                  ("系统信息", "msinfo32.exe"), ("DirectX 诊断", "dxdiag.exe")]),
    ("安全防护", [("系统检查 Sanivo", "Sanivo.exe"), ("系统配置", "msconfig.exe"),
                  ("磁盘清理", "cleanmgr.exe"), ("任务管理器", "taskmgr.exe"),
                  ("系统还原", "rstrui.exe"), ("控制面板", "control.exe")]),
    ("我的电脑", [("我的电脑", "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"),
                  ("我的文档", "::{450D8FBA-AD25-11D0-98A8-0800361B1103}"),
                  ("回收站", "::{645FF040-5081-101B-9F08-00AA002F954E}"),
                  ("资源管理器", "explorer.exe"), ("控制面板", "control.exe"),
                  ("网上邻居", "::{208D2C60-3AEA-1069-A2D7-08002B30309D}")]),
]

# Quick-launch buttons 2 .. 7 of the taskbar.
QUICK_LAUNCH = [
    ("KS_A_Link", "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"),
    ("KS_B_Link", "iexplore.exe"),
    ("KS_C_Link", "notepad.exe"),
    ("KS_D_Link", "Sanivo.exe"),
    ("KS_E_Link", "Palomid.exe"),
    ("Prindle_Link", "Prindle.exe"),
]

# Desktop icons 1 .. 5, in the order of their pictures: computer, documents, browser, recycle
# bin, system checker.
DESKTOP_ICONS = [
    ("我的电脑", "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"),
    ("我的文档", "::{450D8FBA-AD25-11D0-98A8-0800361B1103}"),
    ("上网冲浪", "iexplore.exe"),
    ("回收站", "::{645FF040-5081-101B-9F08-00AA002F954E}"),
    ("系统检查", "Sanivo.exe"),
]


def lines():
    yield "[Zephra]"
    for n, (caption, _) in enumerate(CATEGORIES, 1):
        yield f"KS{n}_Caption={caption}"
    for n, (_, entries) in enumerate(CATEGORIES, 1):
        for m, (caption, link) in enumerate(entries, 1):
            yield f"KS{n}_{m}_Caption={caption}"
            yield f"KS{n}_{m}_Link={link}"
    for key, link in QUICK_LAUNCH:
        yield f"{key}={link}"
    for n, (caption, _) in enumerate(DESKTOP_ICONS, 1):
        yield f"ZM{n}_Caption={caption}"
    for n, (_, link) in enumerate(DESKTOP_ICONS, 1):
        yield f"ZM{n}_Link={link}"


def main():
    text = "\r\n".join(lines()) + "\r\n"
    keys = text.count("=")
    assert keys == 146, keys
    for line in text.splitlines()[1:]:
        assert len(line.split("=", 1)[1].encode("gbk")) <= 143, line
    out = ROOT / "config" / "SysInfo.ini"
    out.write_bytes(text.encode("gbk"))
    print(f"{out.relative_to(ROOT)}: {keys} keys")


if __name__ == "__main__":
    main()
