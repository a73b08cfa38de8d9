#!/usr/bin/env python3
"""Writes src/model/texts.h: the program's texts as code page 932 byte literals."""
import pathlib

TEXTS = [
    ("kNotInstalledText", "ｲﾝｽﾄｰﾙされていないので、ﾊﾞｰｼﾞｮﾝｱｯﾌﾟできません。", None),
    ("kSetupSucceededText", "ｾｯﾄｱｯﾌﾟは正常に終了しました。", None),
    ("kSetupFailedText", "ｾｯﾄｱｯﾌﾟに失敗しました。", None),
    ("kVersionUpSucceededText", "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟは正常に終了しました。", None),
    ("kVersionUpFailedText", "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟに失敗しました。", None),
    ("kUninstalledText", "ｱﾝｲﾝｽﾄｰﾙしました。", None),
    ("kAlreadyUninstalledText", "ｱﾝｲﾝｽﾄｰﾙ済みです。", "the uninstaller finds no install record"),
    ("kUninstallerRunningText", "ｱﾝｲﾝｽﾄｰﾙは既に実行中です。", None),
    ("kUninstallerNotStartedText", "ｱﾝｲﾝｽﾄｰﾙを開始できませんでした。", "its copy could not be made or started"),
    ("kDiskSpaceShortText", "ﾃﾞｨｽｸの空き容量が不足しています。", None),
    ("kProgramsInUseFormat",
     "次のﾌﾟﾛｸﾞﾗﾑを終了してから、OKを押してください。\r\n\r\n%s\r\n\r\nｷｬﾝｾﾙを押すと、何も変更せずに戻ります。",
     "the programs that hold files a run would replace"),
    ("kFileInUseFormat",
     "次のﾌｧｲﾙを使っているﾌﾟﾛｸﾞﾗﾑを終了してから、OKを押してください。\r\n\r\n%s\r\n\r\nｷｬﾝｾﾙを押すと、何も変更せずに戻ります。",
     "a held file when no program could be named"),
    ("kRunUnderWayText", "ﾌｧｲﾙをｺﾋﾟｰしています。終わるまでお待ちください。",
     "why the session may not end yet"),
    ("kCannotMakeFolderText", "ﾃﾞｨﾚｸﾄﾘが作成できません。", None),
    ("kUninstallerLinkSuffix", "ｱﾝｲﾝｽﾄｰﾗｰ", "appended to the program's shortcut name"),
    ("kVersionUpStartText", "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟ開始", None),
    ("kVersionUpStopText", "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟ中止", None),
    ("kFreeSpaceMBFormat", "空き容量:[%.1f MByte] / 必要容量:[%d MByte]", None),
    ("kFreeSpaceGBFormat", "空き容量:[%.2f GByte] / 必要容量:[%d MByte]", None),
    ("kRequirementFormat", "＊%d MByte以上の空き容量が必要です", None),
    ("kFolderStatusMBFormat", "%s \r\n空き容量:[%.1f MByte]", None),
    ("kFolderStatusGBFormat", "%s \r\n空き容量:[%.2f GByte]", None),
]

CAPTIONS = [
    ("kSetupCaption", "SETUP"),
    ("kVersionUpCaption", "VERSION UP"),
    ("kDiskSpaceCaption", "DISK SPACE"),
    ("kUninstallCaption", "UnInstall"),
]


def literal(data: bytes) -> str:
    out, after_hex = "", False
    for b in data:
        if b == 0x5C:
            c = "\\\\"
        elif b == 0x22:
            c = '\\"'
        elif b == 13:
            c = "\\r"
        elif b == 10:
            c = "\\n"
        elif 32 <= b < 127:
            c = chr(b)
        else:
            out, after_hex = out + "\\x%02x" % b, True
            continue
        if after_hex and c[0] in "0123456789abcdefABCDEF":
            out += '" "'  # a hex escape would swallow the digit
        out, after_hex = out + c, False
    return '"' + out + '"'


def main() -> None:
    lines = [
        "// The program's own texts in code page 932, the encoding it works in whatever the system's",
        "// language. Each is shown in UTF-8 beside it. Made by scripts/make-texts.py; edit there.",
        "#pragma once",
        "",
        "namespace setup {",
        "",
    ]
    for name, text, why in TEXTS:
        shown = text.replace("\r", "\\r").replace("\n", "\\n")
        lines.append("// %s%s" % (shown, "  (%s)" % why if why else ""))
        lines.append("inline constexpr char %s[] = %s;" % (name, literal(text.encode("cp932"))))
    lines += ["", "// Message box captions."]
    lines += ['inline constexpr char %s[] = "%s";' % pair for pair in CAPTIONS]
    lines += ["", "}  // namespace setup", ""]
    target = pathlib.Path(__file__).resolve().parent.parent / "src/model/texts.h"
    target.write_text("\n".join(lines), encoding="utf-8")


if __name__ == "__main__":
    main()
